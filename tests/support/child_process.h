// The test helper program (tests/helper) run as a separate process, with its
// standard input and output connected to the test.
#pragma once

#include <string>
#include <vector>

namespace qv::test {

struct Ending {
    int exitCode = -1;  // the exit status, or the exception code on Windows
    int signal = 0;     // the signal that ended it (POSIX), or 0
};

class ChildProcess {
  public:
    explicit ChildProcess(const std::vector<std::string>& arguments);
    ~ChildProcess();  // kills it if it still runs
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // One line of its output without the line end; empty at the end of it.
    std::string ReadLine();
    // Ends its input, which a waiting helper takes as the sign to finish.
    void CloseInput();
    void Kill();
    Ending Wait();

  private:
    struct State;
    State* Process;
};

}  // namespace qv::test

namespace qv::test {

// True when the process ended by an access violation (SIGSEGV on POSIX).
bool EndedByAccessViolation(const Ending& ending);

}  // namespace qv::test
