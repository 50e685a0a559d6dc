#include "platform/exception.h"

#include <windows.h>

#include <cstdint>

#include "diag/fault_report.h"
#include "diag/log.h"

namespace qv {
namespace {

// One entry with the registers, then one per calling frame, innermost first.
void ReportFault(const FaultRegisters& registers) {
    char buffer[512];
    FixedText text(buffer, sizeof buffer);
    AddRegisterReport(text, registers, kWordDigits);
    Log("%s", text.Text());
    WalkFrames(registers.bp, ReadFrameWords, [](std::uintptr_t returnAddress) {
        char line[64];
        FixedText caller(line, sizeof line);
        AddCallerLine(caller, returnAddress, kWordDigits);
        Log("%s", caller.Text());
    });
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

LPTOP_LEVEL_EXCEPTION_FILTER PreviousFilter;

// x86-64 has no frame-based chain: the filter of unhandled exceptions gets the
// fault's context, reports, and hands on to the filter that was there before.
::LONG WINAPI ExceptionHandler(EXCEPTION_POINTERS* exception) {
    ReportFault(RegistersOf(*exception->ContextRecord));
    return PreviousFilter ? PreviousFilter(exception) : EXCEPTION_CONTINUE_SEARCH;
}

#endif

}  // namespace

#if defined(__i386__)

// The record (previous registration, handler) lives in this object, in the
// frame of the function that links it, and becomes the head of the chain.
ExceptionHandlerScope::ExceptionHandlerScope() {
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

ExceptionHandlerScope::ExceptionHandlerScope() {
    PreviousFilter = ::SetUnhandledExceptionFilter(ExceptionHandler);
    Linked = true;
}

void ExceptionHandlerScope::Unlink() {
    if (!Linked) return;
    ::SetUnhandledExceptionFilter(PreviousFilter);
    Linked = false;
}

#endif

ExceptionHandlerScope::~ExceptionHandlerScope() {
    Unlink();
}

}  // namespace qv
