// The text of the report of an unhandled fault: the processor registers and one
// entry per calling frame. Everything here works in caller-supplied buffers,
// without the heap, the locale or stdio, so that a signal handler may use it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/exception.h"

namespace qv {

// Hexadecimal digits of a full processor word: 8 on x86-32, 16 on x86-64.
constexpr int kWordDigits = static_cast<int>(sizeof(void*) * 2);

// Appends to a fixed buffer and never writes past its end; the text stays
// zero-terminated and is cut when the buffer is full.
class FixedText {
  public:
    FixedText(char* buffer, std::size_t size);
    FixedText& Add(const char* text);
    // Upper-case hexadecimal, at least `digits` digits.
    FixedText& Hex(std::uint64_t value, int digits);
    // Exactly two decimal digits (the value modulo 100).
    FixedText& TwoDigits(long value);
    const char* Text() const { return Buffer; }
    std::size_t Length() const { return Used; }

  private:
    FixedText& Put(char c);
    char* Buffer;
    std::size_t Size;
    std::size_t Used = 0;
};

// "HH:MM:SS MM/DD/YY " for a moment given in seconds since 1970 in local time,
// the stamp that begins every log entry.
void AddLogStamp(FixedText& text, std::int64_t localSeconds);

// The six lines of the register entry, without a line end after the last.
// Word-sized registers get `wordDigits` digits, the 32-bit fields eight.
void AddRegisterReport(FixedText& text, const FaultRegisters& registers, int wordDigits);

// "  Calling function was at XXXXXXXX." for one return address.
void AddCallerLine(FixedText& text, std::uint64_t returnAddress, int wordDigits);

}  // namespace qv
