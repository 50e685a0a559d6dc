#include "e2e/posix/run.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstring>
#include <sstream>

namespace qv::test {
namespace {

void ReadBoth(int outFd, int errFd, Outcome& outcome) {
    pollfd fds[2] = {{outFd, POLLIN, 0}, {errFd, POLLIN, 0}};
    std::string* sinks[2] = {&outcome.out, &outcome.err};
    int open = (outFd >= 0) + 1;
    if (outFd < 0) fds[0].fd = -1;
    while (open > 0) {
        if (::poll(fds, 2, 10000) <= 0) break;
        for (int i = 0; i < 2; ++i) {
            if (fds[i].fd < 0 || !(fds[i].revents & (POLLIN | POLLHUP))) continue;
            char chunk[4096];
            const ssize_t got = ::read(fds[i].fd, chunk, sizeof chunk);
            if (got > 0) {
                sinks[i]->append(chunk, static_cast<std::size_t>(got));
            } else {
                ::close(fds[i].fd);
                fds[i].fd = -1;
                --open;
            }
        }
    }
}

[[noreturn]] void Child(const Launch& launch, int outWrite, int errWrite) {
    if (launch.stdoutPath.empty()) {
        ::dup2(outWrite, 1);
    } else {
        const int fd = ::open(launch.stdoutPath.c_str(), O_WRONLY);
        ::dup2(fd, 1);
    }
    ::dup2(errWrite, 2);
    ::signal(SIGPIPE, SIG_DFL);
    if (launch.prepare && !launch.prepare()) ::_exit(kNotArranged);
    if (!launch.workingDirectory.empty() && ::chdir(launch.workingDirectory.c_str()) != 0)
        ::_exit(127);
    for (const std::string& variable : launch.environment)
        ::putenv(const_cast<char*>(variable.c_str()));
    std::vector<char*> argv;
    for (const std::string& arg : launch.argv) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    ::execv(argv[0], argv.data());
    ::_exit(127);
}

}  // namespace

Outcome Run(const Launch& launch) {
    int out[2], err[2];
    if (::pipe(out) != 0 || ::pipe(err) != 0) return {};
    if (launch.closeStdoutEarly) ::close(out[0]);
    const pid_t pid = ::fork();
    if (pid == 0) Child(launch, out[1], err[1]);
    ::close(out[1]);
    ::close(err[1]);
    Outcome outcome;
    ReadBoth(launch.closeStdoutEarly ? -1 : out[0], err[0], outcome);
    int status = 0;
    ::waitpid(pid, &status, 0);
    if (WIFEXITED(status)) outcome.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) outcome.signal = WTERMSIG(status);
    return outcome;
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(line);
    return lines;
}

}  // namespace qv::test
