#include "platform/exception.h"

#include <windows.h>

#include <atomic>
#include <cstdint>

#include "platform/frame_walk.h"

namespace qv {
namespace {

// Seconds since 1970 in local time, from the system's clock without the C
// library (whose time-zone code may allocate).
std::int64_t LocalSecondsNow() {
    FILETIME utc{}, local{};
    ::GetSystemTimeAsFileTime(&utc);
    if (!::FileTimeToLocalFileTime(&utc, &local)) local = utc;
    const std::uint64_t ticks = (static_cast<std::uint64_t>(local.dwHighDateTime) << 32) |
                                local.dwLowDateTime;  // 100 ns since 1601
    constexpr std::int64_t kSecondsFrom1601To1970 = 11644473600LL;
    return static_cast<std::int64_t>(ticks / 10000000) - kSecondsFrom1601To1970;
}

// Read in the handler: it must be readable without a lock.
std::atomic<FaultReportWriter> Writer{nullptr};
static_assert(std::atomic<FaultReportWriter>::is_always_lock_free);

// Hands the fault to the writer of the report. No heap, no lock of the
// process: the fault may have struck inside the allocator or the log writer.
void ReportFault(const FaultRegisters& registers, const FaultCallers& callers) {
    if (const FaultReportWriter writer = Writer.load())
        writer(LocalSecondsNow(), registers, callers);
}

#if defined(__i386__)

FaultRegisters RegistersOf(const CONTEXT& c) {
    FaultRegisters r;
    r.ax = c.Eax, r.bx = c.Ebx, r.cx = c.Ecx, r.dx = c.Edx;
    r.flags = c.EFlags, r.di = c.Edi, r.si = c.Esi, r.bp = c.Ebp;
    r.cs = c.SegCs, r.ip = c.Eip, r.ss = c.SegSs, r.sp = c.Esp;
    r.ds = c.SegDs, r.es = c.SegEs, r.fs = c.SegFs, r.gs = c.SegGs;
    return r;
}

// The frame-pointer chain of x86-32 code, from the frame register.
void ReportFault(const FaultRegisters& registers) {
    ReportFault(registers, FrameChainCallers(static_cast<std::uintptr_t>(registers.bp)));
}

// A frame-based handler of the thread's chain: it reports and lets the search
// go on to the handlers registered before it and to the system. When the
// system then ends the program, it unwinds the stack and calls every handler
// of the chain again, flagged as unwinding, with its own context: the fault
// was reported already.
extern "C" EXCEPTION_DISPOSITION __cdecl ExceptionHandler(_EXCEPTION_RECORD* pExceptionRecord,
                                                          void*, _CONTEXT* pContextRecord, void*) {
    if ((pExceptionRecord->ExceptionFlags & EXCEPTION_UNWIND) == 0)
        ReportFault(RegistersOf(*pContextRecord));
    return ExceptionContinueSearch;
}

#else

FaultRegisters RegistersOf(const CONTEXT& c) {
    FaultRegisters r;
    r.ax = c.Rax, r.bx = c.Rbx, r.cx = c.Rcx, r.dx = c.Rdx;
    r.flags = c.EFlags, r.di = c.Rdi, r.si = c.Rsi, r.bp = c.Rbp;
    r.cs = c.SegCs, r.ip = c.Rip, r.ss = c.SegSs, r.sp = c.Rsp;
    r.ds = c.SegDs, r.es = c.SegEs, r.fs = c.SegFs, r.gs = c.SegGs;
    return r;
}

// The bounds of the calling thread's stack, which the filter runs on.
struct StackBounds {
    DWORD64 low = 0, high = 0;
    bool Holds(DWORD64 address, DWORD64 size) const {
        return address >= low && address <= high && size <= high - address;
    }
};

// The thread's information block names itself at gs:[0x30]. Read with an
// instruction of our own: NtCurrentTeb's memory operand at a constant address
// looks to GCC 12's optimiser like an access through a null pointer, and fails
// the build with -Warray-bounds.
StackBounds ThreadStack() {
    const NT_TIB* tib = nullptr;
    __asm__("movq %%gs:0x30, %0" : "=r"(tib));
    return {reinterpret_cast<DWORD64>(tib->StackLimit), reinterpret_cast<DWORD64>(tib->StackBase)};
}

// A function that addresses its frame through a frame register names it in its
// unwind information; the unwinder reads the saved registers through it.
DWORD64 FrameRegisterOf(const CONTEXT& context, DWORD64 imageBase,
                        const RUNTIME_FUNCTION& function) {
    const auto* info = reinterpret_cast<const BYTE*>(imageBase + function.UnwindData);
    const unsigned frameRegister = info[3] & 0x0F;  // 0: none
    if (frameRegister == 0) return 0;
    return (&context.Rax)[frameRegister];  // Rax to R15 in the processor's numbering
}

// x86-64 code keeps no frame chain: MinGW's functions set their frame register
// after saving others, and may not set one at all. The unwind tables of the
// images tell each function's frame; the walk unwinds the fault's context one
// caller at a time, as the system's own exception dispatch does. It stays on
// the thread's stack, whose every address can be read, and stops where a frame
// leads off it, does not move up the stack, or returns to 0.
template <typename Visit>
void WalkUnwound(const CONTEXT& fault, Visit visit) {
    const StackBounds stack = ThreadStack();
    CONTEXT context = fault;
    for (int count = 0; count < kMaxReportedFrames; ++count) {
        const DWORD64 sp = context.Rsp;
        if (!stack.Holds(sp, sizeof(DWORD64))) return;
        DWORD64 imageBase = 0;
        const PRUNTIME_FUNCTION function =
            ::RtlLookupFunctionEntry(context.Rip, &imageBase, nullptr);
        if (function) {
            const DWORD64 frame = FrameRegisterOf(context, imageBase, *function);
            if (frame != 0 && !stack.Holds(frame, sizeof(DWORD64))) return;
            void* handlerData = nullptr;
            DWORD64 establisher = 0;
            ::RtlVirtualUnwind(UNW_FLAG_NHANDLER, imageBase, context.Rip, function, &context,
                               &handlerData, &establisher, nullptr);
        } else {
            // A leaf function without a table entry: the return address is on top.
            context.Rip = *reinterpret_cast<const DWORD64*>(sp);
            context.Rsp = sp + sizeof(DWORD64);
        }
        if (context.Rip == 0 || context.Rsp <= sp) return;
        visit(static_cast<std::uintptr_t>(context.Rip));
    }
}

class UnwoundCallers final : public FaultCallers {
  public:
    explicit UnwoundCallers(const CONTEXT& fault) : Fault(fault) {}
    void Walk(Visitor& visitor) const override {
        WalkUnwound(Fault, [&](std::uintptr_t returnAddress) { visitor.Caller(returnAddress); });
    }

  private:
    const CONTEXT& Fault;
};

void ReportFault(const CONTEXT& context) {
    ReportFault(RegistersOf(context), UnwoundCallers(context));
}

LPTOP_LEVEL_EXCEPTION_FILTER PreviousFilter;

// x86-64 has no frame-based chain: the filter of unhandled exceptions gets the
// fault's context, reports, and hands on to the filter that was there before.
::LONG WINAPI ExceptionHandler(EXCEPTION_POINTERS* exception) {
    ReportFault(*exception->ContextRecord);
    return PreviousFilter ? PreviousFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
}

#endif

}  // namespace

#if defined(__i386__)

// The record (previous registration, handler) lives in this object, in the
// frame of the function that links it, and becomes the head of the chain.
ExceptionHandlerScope::ExceptionHandlerScope(FaultReportWriter writer) {
    Writer = writer;
    void* head;
    asm volatile("movl %%fs:0, %0" : "=r"(head));
    Record[0] = head;
    Record[1] = reinterpret_cast<void*>(&ExceptionHandler);
    asm volatile("movl %0, %%fs:0" : : "r"(Record) : "memory");
    Linked = true;
}

void ExceptionHandlerScope::Unlink() {
    if (!Linked) return;
    asm volatile("movl %0, %%fs:0" : : "r"(Record[0]) : "memory");
    Linked = false;
}

#else

ExceptionHandlerScope::ExceptionHandlerScope(FaultReportWriter writer) {
    Writer = writer;
    PreviousFilter = ::SetUnhandledExceptionFilter(ExceptionHandler);
    Linked = true;
}

void ExceptionHandlerScope::Unlink() {
    if (!Linked) return;
    ::SetUnhandledExceptionFilter(PreviousFilter);
    Linked = false;
}

#endif

// Windows raises a stack overflow while the guard page still leaves the
// thread room for the filter: there is nothing to prepare.
void PrepareThreadForFaultReport() {}

ExceptionHandlerScope::~ExceptionHandlerScope() {
    Unlink();
}

}  // namespace qv
