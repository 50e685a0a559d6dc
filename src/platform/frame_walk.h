// The chain of standard frames, each beginning with its caller's frame address
// and the return address: how the fault handler finds the calling functions
// where the code keeps frame pointers (x86-32, and x86-64 on POSIX).
#pragma once

#include <cstdint>

#include "platform/exception.h"

namespace qv {

// No more calling frames than this: a runaway recursion that overflowed the
// stack would otherwise fill the report with hundreds of thousands of them.
constexpr int kMaxReportedFrames = 1000;

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

// The callers of a fault along the frame chain from the faulting frame's
// address (the frame register).
class FrameChainCallers final : public FaultCallers {
  public:
    explicit FrameChainCallers(std::uintptr_t frame) : Frame(frame) {}
    void Walk(Visitor& visitor) const override;

  private:
    std::uintptr_t Frame;
};

}  // namespace qv
