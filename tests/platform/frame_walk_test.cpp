#include "platform/frame_walk.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

namespace qv {
namespace {

// A fake stack: frame address -> its two words.
struct FakeStack {
    std::map<std::uintptr_t, FrameWords> frames;
    std::vector<std::uintptr_t> Walk(std::uintptr_t from) const {
        std::vector<std::uintptr_t> returns;
        WalkFrames(
            from,
            [&](std::uintptr_t frame, FrameWords& words) {
                const auto found = frames.find(frame);
                if (found == frames.end()) return false;
                words = found->second;
                return true;
            },
            [&](std::uintptr_t address) { returns.push_back(address); });
        return returns;
    }
};

TEST(FrameWalk, FrameWalk) {
    const FakeStack chain{
        {{0x1000, {0x1100, 0xA1}}, {0x1100, {0x1200, 0xA2}}, {0x1200, {0, 0xA3}}}};
    EXPECT_EQ(chain.Walk(0x1000), (std::vector<std::uintptr_t>{0xA1, 0xA2}));
    EXPECT_TRUE(chain.Walk(0).empty());

    const FakeStack notAbove{{{0x1000, {0x1000, 0xA1}}, {0x2000, {0x0F00, 0xA2}}}};
    EXPECT_TRUE(notAbove.Walk(0x1000).empty());
    EXPECT_TRUE(notAbove.Walk(0x2000).empty());

    // The caller's frame cannot be read: its entry is written, the walk ends.
    const FakeStack unreadable{{{0x1000, {0x1100, 0xA1}}}};
    EXPECT_EQ(unreadable.Walk(0x1000), (std::vector<std::uintptr_t>{0xA1}));
    EXPECT_TRUE(unreadable.Walk(0x5000).empty());
}

TEST(FrameWalk, FrameWalkIsBounded) {
    FakeStack deep;
    for (std::uintptr_t frame = 0x10000; frame < 0x10000 + 3000 * 16; frame += 16)
        deep.frames[frame] = {frame + 16, frame};
    EXPECT_EQ(deep.Walk(0x10000).size(), static_cast<std::size_t>(kMaxReportedFrames));
}

}  // namespace
}  // namespace qv
