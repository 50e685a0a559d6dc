#include "platform/exception.h"

#include <signal.h>
#include <sys/mman.h>
#include <ucontext.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstdint>
#include <ctime>

#include "platform/frame_walk.h"

// The handler runs on an alternate stack, so a stack overflow is reported too:
// the thread that links it and every thread prepared for it have one of their
// own. Everything it does is async-signal-safe: the fault may have struck
// inside the allocator, stdio or the log writer while they held their locks, so
// it takes none of the process's locks and hands what it found to the writer
// of the report, which must keep to the same rules.

namespace qv {
namespace {

constexpr int kSignals[] = {SIGSEGV, SIGBUS, SIGILL, SIGFPE};
constexpr int kSignalCount = sizeof kSignals / sizeof kSignals[0];

struct sigaction PreviousActions[kSignalCount];
stack_t PreviousStack;
alignas(16) char AlternateStack[64 * 1024];
bool HandlerLinked = false;
// Read in the handler: it must be readable without a lock.
std::atomic<FaultReportWriter> Writer{nullptr};
static_assert(std::atomic<FaultReportWriter>::is_always_lock_free);
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

// A stack for the handler on a thread other than the one that linked it, from
// the system rather than the heap; given back as the thread ends.
constexpr std::size_t kThreadStackSize = std::size_t{64} * 1024;

struct ThreadFaultStack {
    void* Stack = nullptr;
    ~ThreadFaultStack() {
        if (!Stack) return;
        stack_t current{};
        if (::sigaltstack(nullptr, &current) == 0 && current.ss_sp == Stack) {
            stack_t off{};
            off.ss_flags = SS_DISABLE;
            ::sigaltstack(&off, nullptr);
        }
        ::munmap(Stack, kThreadStackSize);
    }
};
thread_local ThreadFaultStack ThisThreadStack;

void ExceptionHandler(int signal, siginfo_t*, void* context) {
    const int savedErrno = errno;
    const FaultRegisters registers = RegistersOf(*static_cast<ucontext_t*>(context));
    if (const FaultReportWriter writer = Writer.load()) {
        timespec now{};
        ::clock_gettime(CLOCK_REALTIME, &now);
        writer(static_cast<std::int64_t>(now.tv_sec) + UtcOffset, registers,
               FrameChainCallers(static_cast<std::uintptr_t>(registers.bp)));
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

void PrepareThreadForFaultReport() {
    if (ThisThreadStack.Stack) return;
    stack_t current{};
    if (::sigaltstack(nullptr, &current) == 0 && (current.ss_flags & SS_DISABLE) == 0)
        return;  // it has one already (the thread that linked the handler)
    void* stack = ::mmap(nullptr, kThreadStackSize, PROT_READ | PROT_WRITE,
                         MAP_PRIVATE | MAP_ANONYMOUS | MAP_STACK, -1, 0);
    if (stack == MAP_FAILED) return;
    stack_t mine{};
    mine.ss_sp = stack;
    mine.ss_size = kThreadStackSize;
    if (::sigaltstack(&mine, nullptr) != 0) {
        ::munmap(stack, kThreadStackSize);
        return;
    }
    ThisThreadStack.Stack = stack;
}

ExceptionHandlerScope::ExceptionHandlerScope(FaultReportWriter writer) {
    if (HandlerLinked) return;  // one scope at a time: the outer one stays in charge
    Writer = writer;
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
