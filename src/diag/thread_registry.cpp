#include "diag/thread_registry.h"

#include <algorithm>
#include <cstring>
#include <ctime>
#include <string>

#include "diag/log.h"
#include "platform/clock.h"
#include "platform/exception.h"
#include "platform/memory_probe.h"
#include "platform/mutex.h"
#include "platform/thread.h"
#include "platform/types.h"

namespace qv {
namespace {

constexpr int kStackSlots = 32;
constexpr int kNameLength = 64;

int ThreadList[__MaxThreads];
// Row n - 1 belongs to thread number n; row 101 (unregistered) is never written.
char FunctionStack[__MaxThreads + 1][kStackSlots][kNameLength + 1];
int FunctionStackTop[__MaxThreads + 1];

bool IsRegisteredNumber(int number) {
    return number >= 1 && number <= static_cast<int>(__MaxThreads);
}

int CallingThreadNumber() {
    return Sys_ThreadNumber(CurrentThreadId());
}

// "%0.*s" of the name into a buffer of 260, then at most 64 of it.
void StoreName(char* slot, const char* name, int length) {
    char formatted[260];
    std::snprintf(formatted, sizeof formatted, "%.*s", length, name ? name : "");
    const std::size_t kept = std::min<std::size_t>(std::strlen(formatted), kNameLength);
    std::memcpy(slot, formatted, kept);
    slot[kept] = '\0';
}

// "HH:MM:SS MM/DD/YY ", as the log's entries begin.
std::string StampNow() {
    std::string entry = LogEntry(LocalTime(std::time(nullptr)), "");
    entry.pop_back();  // the line end
    return entry;
}

}  // namespace

Mutex& ThreadListLock() {
    static Mutex lock("System::ThreadListLock", nullptr, TRUE);
    return lock;
}

int Sys_ThreadNumber(int ThreadID) {
    Mutex& lock = ThreadListLock();
    lock.Request(-1);
    int number = kUnregisteredThread;
    for (unsigned slot = 0; slot < __MaxThreads; ++slot) {
        if (ThreadList[slot] == ThreadID) {
            number = static_cast<int>(slot) + 1;
            break;
        }
    }
    lock.Release();
    return number;
}

int Sys_RegisterThread() {
    Mutex& lock = ThreadListLock();
    lock.Request(-1);
    int number = kUnregisteredThread;
    for (unsigned slot = 0; slot < __MaxThreads; ++slot) {
        if (ThreadList[slot] == 0) {
            ThreadList[slot] = CurrentThreadId();
            number = static_cast<int>(slot) + 1;
            break;
        }
    }
    lock.Release();
    if (IsRegisteredNumber(number)) FunctionStackTop[number - 1] = 0;
    PrepareThreadForFaultReport();  // a registered thread's faults are reported too
    return number;
}

void Sys_DeregisterThread() {
    Mutex& lock = ThreadListLock();
    lock.Request(-1);
    const int number = CallingThreadNumber();  // the lock is re-entrant
    if (IsRegisteredNumber(number)) ThreadList[number - 1] = 0;
    lock.Release();
}

void SH__PrintName(const char* Name, int Len, int) {
    const int number = CallingThreadNumber();
    if (!IsRegisteredNumber(number)) return;
    int& depth = FunctionStackTop[number - 1];
    if (depth >= 0 && depth < kStackSlots) StoreName(FunctionStack[number - 1][depth], Name, Len);
    ++depth;
}

void SH__EndProc(int) {
    const int number = CallingThreadNumber();
    if (IsRegisteredNumber(number)) --FunctionStackTop[number - 1];
}

const char* SH__RoutineThatCalledMe() {
    const int number = CallingThreadNumber();
    if (!IsRegisteredNumber(number)) return "???? Unregistered Thread  ";
    const int depth = FunctionStackTop[number - 1];
    if (depth <= 1) return "???? Underflowed          ";
    if (depth > kStackSlots) return "???? Overflowed           ";
    return FunctionStack[number - 1][depth - 2];
}

// The names are listed from the newest entry (slot depth - 1) down to slot 0.
void SH__DumpStack(std::FILE* File, std::uintptr_t StackPtr) {
    const int number = CallingThreadNumber();
    if (!IsRegisteredNumber(number)) return;
    if (StackPtr != 0) {
        std::uintptr_t words[2] = {0, 0};
        ReadMemory(StackPtr, words, sizeof words);  // an unreadable frame shows zeros
        std::fprintf(File, "%s%02i: SP=%0*llX, BP=%0*llX, Return=%0*llX.\n", StampNow().c_str(),
                     number, static_cast<int>(sizeof(void*) * 2),
                     static_cast<unsigned long long>(StackPtr), static_cast<int>(sizeof(void*) * 2),
                     static_cast<unsigned long long>(words[0]), static_cast<int>(sizeof(void*) * 2),
                     static_cast<unsigned long long>(words[1]));
    }
    const int depth = FunctionStackTop[number - 1];
    for (int slot = std::min(depth, kStackSlots) - 1; slot >= 0; --slot)
        std::fprintf(File, "%s%02i: Called by function '%s'.\n", StampNow().c_str(), number,
                     FunctionStack[number - 1][slot]);
}

}  // namespace qv
