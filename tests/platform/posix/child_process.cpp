#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

#include "support/child_process.h"

namespace qv::test {

struct ChildProcess::State {
    pid_t pid = -1;
    int input = -1;
    int output = -1;
    bool ended = false;
    Ending ending;
};

ChildProcess::ChildProcess(const std::vector<std::string>& arguments) : Process(new State) {
    int toChild[2], fromChild[2];
    if (::pipe2(toChild, O_CLOEXEC) != 0 || ::pipe2(fromChild, O_CLOEXEC) != 0) return;
    std::vector<char*> argv;
    std::string program = HELPER_EXE;
    argv.push_back(program.data());
    std::vector<std::string> copies = arguments;
    for (std::string& argument : copies) argv.push_back(argument.data());
    argv.push_back(nullptr);
    Process->pid = ::fork();
    if (Process->pid == 0) {
        ::dup2(toChild[0], 0);
        ::dup2(fromChild[1], 1);
        ::execv(argv[0], argv.data());
        ::_exit(127);
    }
    ::close(toChild[0]);
    ::close(fromChild[1]);
    Process->input = toChild[1];
    Process->output = fromChild[0];
}

ChildProcess::~ChildProcess() {
    if (!Process->ended) {
        Kill();
        Wait();
    }
    CloseInput();
    if (Process->output >= 0) ::close(Process->output);
    delete Process;
}

std::string ChildProcess::ReadLine() {
    std::string line;
    char c;
    while (::read(Process->output, &c, 1) == 1 && c != '\n') line += c;
    return line;
}

void ChildProcess::CloseInput() {
    if (Process->input >= 0) ::close(Process->input);
    Process->input = -1;
}

void ChildProcess::Kill() {
    if (Process->pid > 0 && !Process->ended) ::kill(Process->pid, SIGKILL);
}

Ending ChildProcess::Wait() {
    if (Process->ended || Process->pid <= 0) return Process->ending;
    int status = 0;
    while (::waitpid(Process->pid, &status, 0) < 0 && errno == EINTR) {
    }
    Process->ended = true;
    if (WIFEXITED(status)) Process->ending.exitCode = WEXITSTATUS(status);
    if (WIFSIGNALED(status)) Process->ending.signal = WTERMSIG(status);
    return Process->ending;
}

}  // namespace qv::test

namespace qv::test {

bool EndedByAccessViolation(const Ending& ending) {
    return ending.signal == SIGSEGV;
}

}  // namespace qv::test
