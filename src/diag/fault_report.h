// The text of the report of an unhandled fault: the processor registers and one
// entry per calling frame. Everything here works in caller-supplied buffers,
// without the heap, the locale or stdio, so that a signal handler may use it.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

// The registers as the faulting thread left them. Segment registers and the
// flags are 32-bit fields; the others are as wide as the processor's word.
struct FaultRegisters {
    std::uint64_t ax = 0, bx = 0, cx = 0, dx = 0;
    std::uint64_t flags = 0, di = 0, si = 0, bp = 0;
    std::uint64_t cs = 0, ip = 0, ss = 0, sp = 0;
    std::uint64_t ds = 0, es = 0, fs = 0, gs = 0;
};

// Hexadecimal digits of a full processor word: 8 on x86-32, 16 on x86-64.
constexpr int kWordDigits = static_cast<int>(sizeof(void*) * 2);

// No more calling-frame entries than this: a runaway recursion that overflowed
// the stack would otherwise fill the log with hundreds of thousands of them.
constexpr int kMaxReportedFrames = 1000;

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

// The two words a standard frame begins with.
struct FrameWords {
    std::uintptr_t callerFrame = 0;    // the saved frame address of the caller
    std::uintptr_t returnAddress = 0;  // where the caller goes on
};

// Reads the two words at `frame`; false when that memory cannot be read (a
// damaged chain must end the walk, not fault again).
bool ReadFrameWords(std::uintptr_t frame, FrameWords& words);

// Walks the chain of frames from `frame`: while the frame address is not 0, its
// words can be read (read(frame, words) is true) and the caller's frame address
// lies above it (compared as signed values), visit(returnAddress) is called and
// the walk goes on with the caller. Addresses must rise, so the walk ends; it
// also ends after kMaxReportedFrames frames.
template <typename Read, typename Visit>
void WalkFrames(std::uintptr_t frame, Read read, Visit visit) {
    for (int count = 0; frame != 0 && count < kMaxReportedFrames; ++count) {
        FrameWords words;
        if (!read(frame, words)) return;
        if (static_cast<std::intptr_t>(words.callerFrame) <= static_cast<std::intptr_t>(frame))
            return;
        visit(words.returnAddress);
        frame = words.callerFrame;
    }
}

}  // namespace qv
