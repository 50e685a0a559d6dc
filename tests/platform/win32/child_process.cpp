#include <windows.h>

#include "platform/win32/win_support.h"
#include "support/child_process.h"

namespace qv::test {

struct ChildProcess::State {
    PROCESS_INFORMATION process{};
    ::HANDLE input = nullptr;
    ::HANDLE output = nullptr;
    bool ended = false;
    Ending ending;
};

namespace {

void CloseIfOpen(::HANDLE& handle) {
    if (handle) ::CloseHandle(handle);
    handle = nullptr;
}

// Arguments in double quotes, as the C runtime of the child splits them.
std::string CommandLine(const std::vector<std::string>& arguments) {
    std::string line;
    line.append(1, '"').append(HostPathToWindows(HELPER_EXE)).append(1, '"');
    for (const std::string& argument : arguments)
        line.append(" \"").append(argument).append(1, '"');
    return line;
}

}  // namespace

ChildProcess::ChildProcess(const std::vector<std::string>& arguments) : Process(new State) {
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    ::HANDLE childInput = nullptr, childOutput = nullptr;
    if (!::CreatePipe(&childInput, &Process->input, &inherit, 0) ||
        !::CreatePipe(&Process->output, &childOutput, &inherit, 0))
        return;
    ::SetHandleInformation(Process->input, HANDLE_FLAG_INHERIT, 0);
    ::SetHandleInformation(Process->output, HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = childInput;
    startup.hStdOutput = childOutput;
    startup.hStdError = ::GetStdHandle(STD_ERROR_HANDLE);
    std::string line = CommandLine(arguments);
    if (!::CreateProcessA(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                          &startup, &Process->process))
        Process->ended = true;
    ::CloseHandle(childInput);
    ::CloseHandle(childOutput);
}

ChildProcess::~ChildProcess() {
    if (!Process->ended) {
        Kill();
        Wait();
    }
    CloseInput();
    CloseIfOpen(Process->output);
    CloseIfOpen(Process->process.hProcess);
    CloseIfOpen(Process->process.hThread);
    delete Process;
}

// The child's C runtime writes "\r\n"; the line comes without either.
std::string ChildProcess::ReadLine() {
    std::string line;
    char c;
    ::DWORD got = 0;
    while (::ReadFile(Process->output, &c, 1, &got, nullptr) && got == 1 && c != '\n')
        if (c != '\r') line += c;
    return line;
}

void ChildProcess::CloseInput() {
    CloseIfOpen(Process->input);
}

void ChildProcess::Kill() {
    if (!Process->ended && Process->process.hProcess)
        ::TerminateProcess(Process->process.hProcess, 9);
}

Ending ChildProcess::Wait() {
    if (Process->ended || !Process->process.hProcess) return Process->ending;
    ::WaitForSingleObject(Process->process.hProcess, INFINITE);
    ::DWORD code = 0;
    ::GetExitCodeProcess(Process->process.hProcess, &code);
    Process->ended = true;
    Process->ending.exitCode = static_cast<int>(code);
    return Process->ending;
}

bool EndedByAccessViolation(const Ending& ending) {
    return static_cast<::DWORD>(ending.exitCode) == EXCEPTION_ACCESS_VIOLATION;
}

}  // namespace qv::test
