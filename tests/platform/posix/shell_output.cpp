#include "support/shell_output.h"

#include <stdio.h>

namespace qv::test {

std::string ShellOutput(const std::string& command) {
    std::string text;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char chunk[4096];
        for (std::size_t got; (got = ::fread(chunk, 1, sizeof chunk, pipe)) > 0;)
            text.append(chunk, got);
        ::pclose(pipe);
    }
    return text;
}

}  // namespace qv::test
