// The handler of an unhandled fault. While a scope object is linked, a fault of
// the program (an access violation, a bus error, an illegal instruction, an
// arithmetic fault) hands the processor registers and the calling frames to
// the writer of the report the scope was given, and the program then ends as
// it would have without it. What the report says and where it goes is the
// writer's business (the log's, in this program).
#pragma once

#include <cstdint>

namespace qv {

// The registers as the faulting thread left them. Segment registers and the
// flags are 32-bit fields; the others are as wide as the processor's word.
struct FaultRegisters {
    std::uint64_t ax = 0, bx = 0, cx = 0, dx = 0;
    std::uint64_t flags = 0, di = 0, si = 0, bp = 0;
    std::uint64_t cs = 0, ip = 0, ss = 0, sp = 0;
    std::uint64_t ds = 0, es = 0, fs = 0, gs = 0;
};

// The calling frames of the fault, as the handler finds them on this platform.
class FaultCallers {
  public:
    class Visitor {
      public:
        virtual void Caller(std::uintptr_t returnAddress) = 0;

      protected:
        ~Visitor() = default;
    };
    // Calls visitor.Caller once per frame, innermost first.
    virtual void Walk(Visitor& visitor) const = 0;

  protected:
    ~FaultCallers() = default;
};

// Writes the report of one fault; `localSeconds` is the moment of the fault in
// seconds since 1970 in local time. It runs inside the handler, where the fault
// may have struck while the allocator, stdio or any lock of the process was
// held: it must use none of them, and nothing that may fault again.
using FaultReportWriter = void (*)(std::int64_t localSeconds, const FaultRegisters& registers,
                                   const FaultCallers& callers);

class ExceptionHandlerScope {
  public:
    // Links the handler, which reports through `writer`; the object must live
    // in the frame of the function whose scope it covers (on 32-bit Windows it
    // is the registration record in the thread's handler chain).
    explicit ExceptionHandlerScope(FaultReportWriter writer);
    // Unlinks the handler unless Unlink did already.
    ~ExceptionHandlerScope();
    ExceptionHandlerScope(const ExceptionHandlerScope&) = delete;
    ExceptionHandlerScope& operator=(const ExceptionHandlerScope&) = delete;

    void Unlink();

  private:
    // 32-bit Windows: the previous registration and the handler's address.
    [[maybe_unused]] void* Record[2] = {nullptr, nullptr};
    bool Linked = false;
};

// Readies the calling thread for the report of a fault on it, a stack
// overflow included (on POSIX: a signal stack of its own, kept until the thread
// ends). Every thread the library starts and every thread that registers
// itself calls it; calling it again does nothing.
void PrepareThreadForFaultReport();

}  // namespace qv
