// Runs a program as a child process and collects what it did.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace qv::test {

struct Outcome {
    std::string out;
    std::string err;
    int exitCode = -1;  // -1 when ended by a signal
    int signal = 0;     // the signal that ended it, or 0
};

struct Launch {
    std::vector<std::string> argv;
    std::vector<std::string> environment;  // NAME=value added to (or replacing) ours
    std::string stdoutPath;                // write standard output there instead of a pipe
    std::string workingDirectory;          // start there instead of in ours
    bool closeStdoutEarly = false;         // the reader has gone before the child writes
    // Runs in the child before the program starts, to arrange its world (a
    // mount namespace of its own, say). When it fails the child ends with
    // kNotArranged instead.
    std::function<bool()> prepare;
};

constexpr int kNotArranged = 125;

// A settings file with one key, ShowK=0000 (values in bytes): every other key
// is noted in the log.
constexpr const char* kSettingsInBytes = "[QUORVANT]\nShowK=0000\n";

Outcome Run(const Launch& launch);
// The text's lines without their line ends.
std::vector<std::string> Lines(const std::string& text);
inline Outcome Run(std::vector<std::string> argv, std::vector<std::string> environment = {},
                   std::string stdoutPath = "") {
    Launch launch;
    launch.argv = std::move(argv);
    launch.environment = std::move(environment);
    launch.stdoutPath = std::move(stdoutPath);
    return Run(launch);
}

}  // namespace qv::test
