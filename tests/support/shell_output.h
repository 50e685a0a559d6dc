// What a shell command writes to its standard output, for the tests that ask
// the system's own tools (df, losetup, unshare) what they see.
#pragma once

#include <string>

namespace qv::test {

// The whole output of `sh -c command`, as it was written; empty when the
// shell could not be started.
std::string ShellOutput(const std::string& command);

}  // namespace qv::test
