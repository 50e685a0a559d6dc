// The report of an unhandled fault. While a scope object is linked, a fault of
// the program (an access violation, a bus error, an illegal instruction, an
// arithmetic fault) writes the processor registers and one entry per calling
// frame to the log, and the program then ends as it would have without it.
#pragma once

namespace qv {

class ExceptionHandlerScope {
  public:
    // Links the handler; the object must live in the frame of the function
    // whose scope it covers (on 32-bit Windows it is the registration record in
    // the thread's handler chain).
    ExceptionHandlerScope();
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
