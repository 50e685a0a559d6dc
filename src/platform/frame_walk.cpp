#include "platform/frame_walk.h"

#include "platform/memory_probe.h"

namespace qv {

bool ReadFrameWords(std::uintptr_t frame, FrameWords& words) {
    std::uintptr_t pair[2];
    if (!ReadMemory(frame, pair, sizeof pair)) return false;
    words.callerFrame = pair[0];
    words.returnAddress = pair[1];
    return true;
}

void FrameChainCallers::Walk(Visitor& visitor) const {
    WalkFrames(Frame, ReadFrameWords,
               [&](std::uintptr_t returnAddress) { visitor.Caller(returnAddress); });
}

}  // namespace qv
