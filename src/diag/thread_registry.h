// The thread registry gives each registered thread of the process a small
// number from 1 to 100; the function-name stack keeps, per registered thread,
// the names of the traced functions it is in, so that a function can name its
// caller and a dump can list the chain.
#pragma once

#include <cstdint>
#include <cstdio>

namespace qv {

class Mutex;

constexpr unsigned int __MaxThreads = 100;
// The number of a thread that is not registered.
constexpr int kUnregisteredThread = __MaxThreads + 1;

// The lock around the registry, tag "System::ThreadListLock".
Mutex& ThreadListLock();

// The calling thread's new number: the lowest free one. When all 100 are taken
// the thread stays unregistered and gets 101.
int Sys_RegisterThread();
// Frees the calling thread's number; an unregistered thread changes nothing.
void Sys_DeregisterThread();
// The number of the thread with that identifier, or 101.
int Sys_ThreadNumber(int ThreadID);

// Entry hook of a traced function: pushes the first Len characters of Name (at
// most 64; all of it when Len is negative).
void SH__PrintName(const char* Name, int Len, int);
// Exit hook of a traced function: pops one name.
void SH__EndProc(int);
// The name of the function that called the caller, or a fixed text of 26
// characters for an unregistered thread, a stack too shallow or too deep.
const char* SH__RoutineThatCalledMe();
// Writes the stack frame at StackPtr (when not 0) and the thread's function
// names, newest first, to File.
void SH__DumpStack(std::FILE* File, std::uintptr_t StackPtr);

}  // namespace qv
