#include "diag/memory_dump.h"

#include <cstdio>

#include "diag/log.h"
#include "platform/memory_probe.h"

namespace qv {
namespace {

constexpr int kRowBytes = 16;

// Copies the row through the safe reader, byte by byte where the whole row
// cannot be read (it may end on a page that cannot); returns the mask of the
// bytes that could not be read.
unsigned CopyRow(std::uintptr_t address, int bytes, unsigned char* row) {
    if (ReadMemory(address, row, static_cast<std::size_t>(bytes))) return 0;
    unsigned unreadable = 0;
    for (int i = 0; i < bytes; ++i)
        if (!ReadMemory(address + static_cast<std::uintptr_t>(i), row + i, 1))
            unreadable |= 1u << i;
    return unreadable;
}

}  // namespace

std::string DumpRow(const unsigned char* row, std::uintptr_t address, int bytes,
                    unsigned unreadable) {
    char part[24];
    std::snprintf(part, sizeof part, "%08llX: ", Wide(address));
    std::string line = part;
    const auto isUnreadable = [unreadable](int i) { return (unreadable >> i & 1) != 0; };
    for (int i = 0; i < kRowBytes; ++i) {
        std::snprintf(part, sizeof part, "%02X ", i < bytes ? row[i] : 0);
        line += i >= bytes ? "   " : isUnreadable(i) ? "?? " : part;
    }
    line += '|';
    for (int i = 0; i < kRowBytes; ++i) {
        const bool printable = i < bytes && !isUnreadable(i) && row[i] >= 0x20 && row[i] <= 0x7E;
        line += printable ? static_cast<char>(row[i]) : ' ';
    }
    return line + '|';
}

void DumpMemory(const char* Note, const void* pMemory, int Count) {
    Log("Dump of memory at %08llX for %i bytes (%s)",
        Wide(reinterpret_cast<std::uintptr_t>(pMemory)), Count, Note ? Note : "");
    const auto start = reinterpret_cast<std::uintptr_t>(pMemory);
    for (int i = 0; i < Count; i += kRowBytes) {
        const int inRow = Count - i < kRowBytes ? Count - i : kRowBytes;
        unsigned char row[kRowBytes] = {};
        const unsigned unreadable = CopyRow(start + static_cast<std::uintptr_t>(i), inRow, row);
        Log("  %s",
            DumpRow(row, start + static_cast<std::uintptr_t>(i), inRow, unreadable).c_str());
    }
}

}  // namespace qv
