#include "platform/exception.h"

#include <signal.h>
#include <ucontext.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>
#include <ctime>

#include "diag/fault_report.h"
#include "diag/log.h"
#include "report/home_path.h"

// The handler runs on an alternate stack, so a stack overflow is reported too.
// Everything it does is async-signal-safe: the fault may have struck inside the
// allocator, stdio or the log writer while they held their locks, so it formats
// by hand into buffers on its own stack, does not take the log's lock, and
// writes each entry with one write(2) to the log opened with O_APPEND, after
// the log's size test and rotation (system calls only).

namespace qv {
namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];
constexpr std::size_t kPathSize = 4096;

struct sigaction PreviousActions[kSignalCount];
stack_t PreviousStack;
alignas(16) char AlternateStack[64 * 1024];
bool HandlerLinked = false;
// Seconds east of UTC when the handler was linked: local time without the
// time-zone code of the C library, which takes a lock.
long UtcOffset = 0;

#if !defined(__x86_64__)
#error "The fault report reads the x86-64 registers of the signal context."
#endif

FaultRegisters RegistersOf(const ucontext_t& context) {
    const greg_t* g = context.uc_mcontext.gregs;
    const auto word = [&](int index) { return static_cast<std::uint64_t>(g[index]); };
    FaultRegisters r;
    r.ax = word(REG_RAX);
    r.bx = word(REG_RBX);
    r.cx = word(REG_RCX);
    r.dx = word(REG_RDX);
    r.flags = word(REG_EFL) & 0xFFFFFFFF;
    r.di = word(REG_RDI);
    r.si = word(REG_RSI);
    r.bp = word(REG_RBP);
    r.ip = word(REG_RIP);
    r.sp = word(REG_RSP);
    // CS, GS, FS and (on kernels that save it) SS share one word of 16-bit parts.
    const std::uint64_t segments = word(REG_CSGSFS);
    r.cs = segments & 0xFFFF;
    r.gs = (segments >> 16) & 0xFFFF;
    r.fs = (segments >> 32) & 0xFFFF;
    r.ss = (segments >> 48) & 0xFFFF;
    // DS and ES are not saved in the context; in 64-bit mode they never change.
    unsigned short ds = 0, es = 0;
    asm volatile("mov %%ds, %0" : "=r"(ds));
    asm volatile("mov %%es, %0" : "=r"(es));
    r.ds = ds;
    r.es = es;
    return r;
}

// Without a folder for the log the path stays empty, which no file has.
void BuildInHome(char* buffer, const char* name) {
    FixedText path(buffer, kPathSize);
    const std::string* folder = LogFolder();
    if (!folder) return;
    if (!folder->empty()) path.Add(folder->c_str()).Add("/");
    path.Add(name);
}

class LogWriter {
  public:
    LogWriter() {
        BuildInHome(LogPath, kLogFileName);
        BuildInHome(BackupPath, kLogBackupName);
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        LocalSeconds = static_cast<std::int64_t>(now.tv_sec) + UtcOffset;
    }

    // One entry: the stamp, the text built by `fill`, a line end; written as
    // every log entry is, so a long report is rotated as it grows.
    template <typename Fill>
    void Entry(Fill fill) {
        char buffer[1024];
        FixedText text(buffer, sizeof buffer);
        AddLogStamp(text, LocalSeconds);
        fill(text);
        text.Add("\n");
        AppendLogEntry(LogPath, BackupPath, text.Text(), text.Length());
    }

  private:
    char LogPath[kPathSize];
    char BackupPath[kPathSize];
    std::int64_t LocalSeconds = 0;
};

void ExceptionHandler(int signal, siginfo_t*, void* context) {
    const int savedErrno = errno;
    const FaultRegisters registers = RegistersOf(*static_cast<ucontext_t*>(context));
    {
        LogWriter log;
        log.Entry([&](FixedText& text) { AddRegisterReport(text, registers, kWordDigits); });
        WalkFrames(registers.bp, ReadFrameWords, [&](std::uintptr_t returnAddress) {
            log.Entry([&](FixedText& text) { AddCallerLine(text, returnAddress, kWordDigits); });
        });
    }
    errno = savedErrno;
    // The action is back at its default (SA_RESETHAND). A real fault strikes
    // again when the instruction is retried; a signal sent by another process
    // is sent again here. Either way the process ends by the signal, with its
    // core, as it would have without this handler.
    ::raise(signal);
}

long CurrentUtcOffset() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    return ::localtime_r(&now, &local) ? local.tm_gmtoff : 0;
}

}  // namespace

ExceptionHandlerScope::ExceptionHandlerScope() {
    if (HandlerLinked) return;  // one scope at a time: the outer one stays in charge
    UtcOffset = CurrentUtcOffset();
    stack_t stack{};
    stack.ss_sp = AlternateStack;
    stack.ss_size = sizeof AlternateStack;
    ::sigaltstack(&stack, &PreviousStack);

    struct sigaction action {};
    action.sa_sigaction = ExceptionHandler;
    action.sa_flags = SA_SIGINFO | SA_ONSTACK | SA_RESETHAND;
    sigemptyset(&action.sa_mask);
    for (int signal : kSignals) sigaddset(&action.sa_mask, signal);
    for (int i = 0; i < kSignalCount; ++i) ::sigaction(kSignals[i], &action, &PreviousActions[i]);
    HandlerLinked = Linked = true;
}

ExceptionHandlerScope::~ExceptionHandlerScope() {
    Unlink();
}

void ExceptionHandlerScope::Unlink() {
    if (!Linked) return;
    for (int i = 0; i < kSignalCount; ++i) ::sigaction(kSignals[i], &PreviousActions[i], nullptr);
    ::sigaltstack(&PreviousStack, nullptr);
    HandlerLinked = Linked = false;
}

}  // namespace qv
