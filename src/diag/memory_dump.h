// Debugging aids built on the log: a hexadecimal and character dump of memory,
// the heap wrappers, and the trace of the window messages a window procedure
// receives and finishes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/types.h"

namespace qv {

// Logs "Dump of memory at ... for N bytes (Note)" and one entry per 16 bytes.
void DumpMemory(const char* Note, const void* pMemory, int Count);

// One row of the dump: address, up to 16 bytes in hexadecimal, the same bytes
// as characters (unprintable ones as spaces), both parts padded to 16. Bit i of
// `unreadable` marks byte i as memory that could not be read: "??", a space.
std::string DumpRow(const unsigned char* row, std::uintptr_t address, int bytes,
                    unsigned unreadable = 0);

// The heap; AllocateMemory gives null when it is exhausted.
void* AllocateMemory(std::size_t ByteCount);
void FreeMemory(void* Memory);

// The message's name when it has one, else its number as eight hexadecimal
// digits written into Buffer (at least 9 characters), which is returned.
const char* InterpretMsg(UINT msg, char* Buffer);

// Logs that a window procedure received a message, indented by Indent spaces.
// Past an indent of 100 it logs the abort and ends the program with status 1.
void LogMsgRcvd(int Indent, const char* Prefix, UINT msg, WPARAM mp1, LPARAM mp2);
// Logs that the message has been handled, with its result.
void LogMsgDone(int Indent, const char* Prefix, UINT msg, LRESULT Result);

}  // namespace qv
