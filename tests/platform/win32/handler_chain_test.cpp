// The fault report's handler as the platform's own exception dispatch calls
// it: on 32-bit Windows a frame-based handler in the thread's chain at fs:[0],
// among the program's own handlers; on 64-bit Windows the process's filter.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdint>
#include <string>

#include "diag/fault_log.h"
#include "platform/exception.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

std::size_t Occurrences(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (auto at = text.find(part); at != std::string::npos; at = text.find(part, at + 1)) ++count;
    return count;
}

const std::string kRegisterReport = "WARNING: An unhandled exception has occurred";

// Nothing of the program handles the fault: the system ends the process with
// the fault's code. On the way, on 32-bit Windows, it unwinds the stack and
// calls each handler of the chain once more.
TEST(HandlerChain, AnUnhandledFaultIsReportedOnceAndEndsTheProcessWithItsCode) {
    test::TempDir home;
    test::ChildProcess child({"fault", home.path().string()});
    child.ReadLine();  // where the calling functions lie
    const test::Ending ending = child.Wait();
    EXPECT_EQ(static_cast<::DWORD>(ending.exitCode), EXCEPTION_ACCESS_VIOLATION);
    const std::string log = test::ReadText(home / "QUORVANT.LOG");
    EXPECT_EQ(Occurrences(log, kRegisterReport), 1u) << log;
}

#if defined(__i386__)

// A handler of the program's own, as a program without compiler support for
// structured exceptions links one: a record of the previous registration and
// the handler, in the frame that it covers, made the head of the chain.
class OwnHandler {
  public:
    OwnHandler() {
        asm volatile("movl %%fs:0, %0" : "=r"(Record[0]));
        Record[1] = reinterpret_cast<void*>(&RedirectStore);
        asm volatile("movl %0, %%fs:0" : : "r"(Record) : "memory");
    }
    ~OwnHandler() { asm volatile("movl %0, %%fs:0" : : "r"(Record[0]) : "memory"); }
    OwnHandler(const OwnHandler&) = delete;
    OwnHandler& operator=(const OwnHandler&) = delete;

    static inline int Calls = 0;
    static inline volatile int Target = 0;

  private:
    // Handles the store through a null pointer of StoreThroughNull: the store
    // is repeated with its address register pointing at Target.
    static EXCEPTION_DISPOSITION __cdecl RedirectStore(_EXCEPTION_RECORD* record, void*,
                                                       _CONTEXT* context, void*) {
        if ((record->ExceptionFlags & EXCEPTION_UNWIND) != 0 ||
            record->ExceptionCode != EXCEPTION_ACCESS_VIOLATION)
            return ExceptionContinueSearch;
        ++Calls;
        context->Eax = static_cast<::DWORD>(reinterpret_cast<std::uintptr_t>(&Target));
        return ExceptionContinueExecution;
    }

    void* Record[2];
};

__attribute__((noinline)) void StoreThroughNull() {
    asm volatile("xorl %%eax, %%eax\n\tmovl $1, (%%eax)" : : : "eax", "memory");
}

__attribute__((noinline)) void FaultWithOwnHandlerInside() {
    ExceptionHandlerScope scope(WriteFaultReport);
    OwnHandler own;
    StoreThroughNull();
}

__attribute__((noinline)) void FaultWithOwnHandlerOutside() {
    OwnHandler own;
    ExceptionHandlerScope scope(WriteFaultReport);
    StoreThroughNull();
}

void* ChainHead() {
    void* head;
    asm volatile("movl %%fs:0, %0" : "=r"(head));
    return head;
}

// The dispatcher asks the handlers from the newest registration outwards: the
// program's own handler linked inside the scope handles the fault before the
// report sees it; linked outside, it handles the fault after the report. Either
// way the program goes on, and the chain is as it was.
TEST(HandlerChain, TheProgramsOwnHandlersStayInTheChain) {
    const struct {
        const char* name;
        void (*fault)();
        std::size_t reports;
    } cases[] = {
        {"own handler inside the scope", FaultWithOwnHandlerInside, 0},
        {"own handler outside the scope", FaultWithOwnHandlerOutside, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir home;
        test::HomeAt logHere(home.path().string());
        OwnHandler::Calls = 0;
        OwnHandler::Target = 0;
        void* const head = ChainHead();

        c.fault();

        EXPECT_EQ(OwnHandler::Calls, 1);
        EXPECT_EQ(OwnHandler::Target, 1);
        EXPECT_EQ(ChainHead(), head);
        const std::string log = test::ReadText(home / "QUORVANT.LOG");  // "" when none
        EXPECT_EQ(Occurrences(log, kRegisterReport), c.reports) << log;
    }
}

#endif

}  // namespace
}  // namespace qv
