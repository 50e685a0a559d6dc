// A second process for the tests: it holds named mutexes, faults on purpose,
// and ends through the message trace's nesting guard, as a test tells it to.
//   quorvant_helper mutex NAME ONE_INSTANCE REQUEST   (waits for its input to end)
//   quorvant_helper try-mutex NAME   (prints what a request without waiting gives)
//   quorvant_helper fork-owner NAME   (owns it, forks a child that tries to release
//                                      it and ends; says how, then holds it until
//                                      its input ends)
//   quorvant_helper log HOME ID COUNT   (says "ready", logs once its input ends)
//   quorvant_helper fault HOME
//   quorvant_helper overflow HOME
//   quorvant_helper thread-overflow HOME   (on a registered second thread)
//   quorvant_helper deep-fault HOME   (through functions that save many registers)
//   quorvant_helper heap-fault HOME   (Windows: with the heap locked, another
//                                      thread waiting for it inside the log lock)
//   quorvant_helper recursion HOME
//   quorvant_helper settings-file   (prints a settings file with every key)
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>

#include "diag/fault_log.h"
#include "diag/log.h"
#include "diag/log_folder.h"
#include "diag/message_trace.h"
#include "diag/thread_registry.h"
#include "platform/exception.h"
#include "platform/mutex.h"
#include "settings/inidata.h"
#include "settings/item_text.h"

#if defined(_WIN32)
#include <malloc.h>
#include <windows.h>
#else
#include <sys/wait.h>
#include <unistd.h>
#endif

namespace {

void WaitForEndOfInput() {
    char line[64];
    while (std::fgets(line, sizeof line, stdin)) {
    }
}

// Creates the mutex, says whether it has a handle and what a request gave, and
// keeps it (owned, if requested) until its input ends.
int HoldMutex(const char* name, bool oneInstance, bool request) {
    qv::Mutex mutex("helper", name, oneInstance ? 1 : 0);
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

int TryMutex(const char* name) {
    qv::Mutex mutex("helper", name, 0);
    const unsigned long result = mutex.Request(0);
    std::printf("request %lu\n", result);
    if (result == 1) mutex.Release();  // TRUE
    return 0;
}

#if !defined(_WIN32)
int ForkWhileOwning(const char* name) {
    qv::Mutex mutex("helper", name, 0);
    if (mutex.Request(-1) != 1) return 1;
    const pid_t child = ::fork();
    if (child == 0) std::exit(mutex.Release() == 0 ? 0 : 3);  // by exit: its handlers run
    int status = 0;
    ::waitpid(child, &status, 0);
    std::printf("child %d\n", WIFEXITED(status) ? WEXITSTATUS(status) : -1);
    std::fflush(stdout);
    WaitForEndOfInput();
    std::printf("release %lu\n", static_cast<unsigned long>(mutex.Release()));
    return 0;
}
#endif

// Entries "writer ID entry N" padded to a fixed length, so that a torn or
// merged entry cannot pass for a whole one.
int LogEntries(const char* id, int count) {
    std::printf("ready\n");
    std::fflush(stdout);
    WaitForEndOfInput();
    for (int n = 0; n < count; ++n) qv::Log("writer %s entry %d %s", id, n, "...........");
    return 0;
}

// Functions that keep six pointers across their call, so that each saves the
// registers it keeps them in on entry (x86-64 Windows code then sets its frame
// register only after those pushes). Their addresses go out first, innermost
// caller first. Optimised whatever the build, as released code is: without
// optimisation every value lives in the frame and no register is saved.
template <int Depth>
__attribute__((noinline, optimize("O2"))) long Heavy(char* const* cells) {
    char* a = cells[0];
    char* b = cells[1];
    char* c = cells[2];
    char* d = cells[3];
    char* e = cells[4];
    char* f = cells[5];
    const long below = Heavy<Depth - 1>(cells + 1);
    return below + *a + *b + *c + *d + *e + *f;
}

template <>
__attribute__((noinline, optimize("O2"))) long Heavy<0>(char* const*) {
    Fault();
    return 0;
}

int FaultThroughHeavyFrames() {
    static char bytes[16];
    char* cells[10];
    for (int i = 0; i < 10; ++i) cells[i] = bytes + i;
    for (const auto function : {&Heavy<0>, &Heavy<1>, &Heavy<2>, &Heavy<3>, &Heavy<4>})
        std::printf("%llX ",
                    static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(function)));
    std::printf("\n");
    std::fflush(stdout);
    return static_cast<int>(Heavy<4>(cells));
}

// Deeper than any stack; volatile, so the compiler cannot see the end.
volatile long long OverflowDepth = 1LL << 40;

__attribute__((noinline)) long long Overflow(long long depth) {
    volatile char frame[256];
    frame[0] = static_cast<char>(depth);
    return depth < OverflowDepth ? Overflow(depth + 1) + frame[0] : 0;
}

int OverflowOnRegisteredThread() {
    std::thread([] {
        qv::Sys_RegisterThread();
        Overflow(0);
    }).join();
    return 0;
}

#if defined(_WIN32)
// The main thread locks the heaps the C runtime allocates from, as a fault
// inside the allocator leaves them; a second thread is then inside the log's
// lock, waiting for the heap. The report of the fault must need neither.
int FaultWithTheHeapLocked() {
    qv::Mutex& logLock = qv::LogSemaphore();  // built before the heap is locked
    std::atomic<bool> started{false}, heapLocked{false}, insideLogLock{false};
    std::thread logger([&] {
        started = true;  // the runtime allocates as a thread starts
        while (!heapLocked) std::this_thread::sleep_for(std::chrono::milliseconds(1));
        logLock.Request(-1);
        insideLogLock = true;
        std::printf("%p\n", std::malloc(64));  // waits for the heap
    });
    while (!started) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    const HANDLE heaps[] = {::GetProcessHeap(), reinterpret_cast<HANDLE>(_get_heap_handle())};
    for (const HANDLE heap : heaps) ::HeapLock(heap);
    heapLocked = true;
    while (!insideLogLock) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // into the allocator
    Fault();
    logger.join();
    return 0;
}
#endif

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
    if (command == "try-mutex" && argc == 3) return TryMutex(argv[2]);
#if !defined(_WIN32)
    if (command == "fork-owner" && argc == 3) return ForkWhileOwning(argv[2]);
#endif
    if (command == "log" && argc == 5) {
        qv::HomePath = argv[2];
        return LogEntries(argv[3], std::atoi(argv[4]));
    }
    if (argc != 3) return 2;
    qv::HomePath = argv[2];
    if (command == "recursion") {
        qv::LogMsgRcvd(100, "Window", 0x10, 1, 2);
        qv::LogMsgRcvd(101, "Window", 0x10, 3, 4);
        return 0;
    }
    qv::ExceptionHandlerScope faultReport(qv::WriteFaultReport);
    if (command == "fault") return FaultInFrames();
    if (command == "overflow") return static_cast<int>(Overflow(0));
    if (command == "thread-overflow") return OverflowOnRegisteredThread();
    if (command == "deep-fault") return FaultThroughHeavyFrames();
#if defined(_WIN32)
    if (command == "heap-fault") return FaultWithTheHeapLocked();
#endif
    return 2;
}
