// A hexadecimal and character dump of memory to the log, for debugging.
#pragma once

#include <cstdint>
#include <string>

namespace qv {

// Logs "Dump of memory at ... for N bytes (Note)" and one entry per 16 bytes.
// Memory that cannot be read is shown as such, never faulted on.
void DumpMemory(const char* Note, const void* pMemory, int Count);

// One row of the dump: address, up to 16 bytes in hexadecimal, the same bytes
// as characters (unprintable ones as spaces), both parts padded to 16. Bit i of
// `unreadable` marks byte i as memory that could not be read: "??", a space.
std::string DumpRow(const unsigned char* row, std::uintptr_t address, int bytes,
                    unsigned unreadable = 0);

}  // namespace qv
