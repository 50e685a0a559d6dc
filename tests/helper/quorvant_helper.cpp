// A second process for the tests: it holds named mutexes, faults on purpose,
// and ends through the message trace's nesting guard, as a test tells it to.
//   quorvant_helper mutex NAME ONE_INSTANCE REQUEST   (waits for its input to end)
//   quorvant_helper fault HOME
//   quorvant_helper overflow HOME
//   quorvant_helper recursion HOME
//   quorvant_helper settings-file   (prints a settings file with every key)
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "diag/memory_dump.h"
#include "platform/exception.h"
#include "platform/mutex.h"
#include "report/globals.h"
#include "settings/inidata.h"
#include "settings/item_text.h"

namespace {

void WaitForEndOfInput() {
    char line[64];
    while (std::fgets(line, sizeof line, stdin)) {
    }
}

// Creates the mutex, says whether it has a handle and what a request gave, and
// keeps it (owned, if requested) until its input ends.
int HoldMutex(const char* name, bool oneInstance, bool request) {
    qv::Mutex mutex("helper", name, oneInstance ? qv::TRUE : qv::FALSE);
    std::printf("handle %s\n", mutex.QueryHandle() ? "yes" : "no");
    std::fflush(stdout);  // before a request that may wait
    if (request) std::printf("request %lu\n", static_cast<unsigned long>(mutex.Request(-1)));
    std::fflush(stdout);
    WaitForEndOfInput();
    if (request) mutex.Release();
    return 0;
}

// Three frames that keep their frame pointers, so that the fault report can
// walk from the faulting one to its callers. Their addresses go to standard
// output first, so that a test can tell where the return addresses must lie.
// The sanitizers would report the null store themselves; the fault must reach
// the program's own handler.
__attribute__((noinline, no_sanitize("address", "undefined"))) void Fault() {
    volatile int* volatile p = nullptr;
    *p = 1;
}

__attribute__((noinline)) void Middle() {
    Fault();
    asm volatile("");  // keeps the call from becoming a jump
}

__attribute__((noinline)) void Outer() {
    Middle();
    asm volatile("");
}

int FaultInFrames() {
    std::printf("%llX %llX\n",
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(&Middle)),
                static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(&Outer)));
    std::fflush(stdout);
    Outer();
    return 0;
}

// Deeper than any stack; volatile, so the compiler cannot see the end.
volatile long long OverflowDepth = 1LL << 40;

__attribute__((noinline)) long long Overflow(long long depth) {
    volatile char frame[256];
    frame[0] = static_cast<char>(depth);
    return depth < OverflowDepth ? Overflow(depth + 1) + frame[0] : 0;
}

// A valid settings file that holds "Position" and every key of the record's
// table at its default, in table order, for measuring a full file's cost.
int PrintSettingsFile() {
    const qv::INIDATA record;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&record);
    std::printf("[QUORVANT]\r\nPosition=%s\r\n",
                qv::EncodeItem(&record.Position, sizeof record.Position).c_str());
    for (const qv::PROFILEITEM& row : qv::ProfileItems)
        std::printf("%s=%s\r\n", row.Name,
                    qv::EncodeItem(bytes + row.Offset, static_cast<std::size_t>(row.Size)).c_str());
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "mutex" && argc == 5)
        return HoldMutex(argv[2], std::atoi(argv[3]) != 0, std::atoi(argv[4]) != 0);
    if (command == "settings-file" && argc == 2) return PrintSettingsFile();
    if (argc != 3) return 2;
    qv::HomePath = argv[2];
    if (command == "recursion") {
        qv::LogMsgRcvd(100, "Window", 0x10, 1, 2);
        qv::LogMsgRcvd(101, "Window", 0x10, 3, 4);
        return 0;
    }
    qv::ExceptionHandlerScope faultReport;
    if (command == "fault") return FaultInFrames();
    if (command == "overflow") return static_cast<int>(Overflow(0));
    return 2;
}
