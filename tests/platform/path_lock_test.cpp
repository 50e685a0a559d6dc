#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/file.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// The lock counts between holders of their own, as separate processes are;
// another thread stands in for another process.
TEST(PathLock, ASecondHolderWaitsUntilTheFirstIsGone) {
    test::TempDir dir;
    const std::string path = dir / "shared.log";
    std::atomic<bool> secondHolds{false};
    std::thread second;
    {
        const PathLock first(path, 0ms);
        ASSERT_TRUE(first.IsHeld());
        second = std::thread([&] {
            const PathLock mine(path, 10s);
            secondHolds = mine.IsHeld();
        });
        std::this_thread::sleep_for(200ms);
        EXPECT_FALSE(secondHolds) << "the second holder got the lock while the first held it";
    }
    second.join();
    EXPECT_TRUE(secondHolds);
}

TEST(PathLock, ASecondHolderGoesOnUnlockedAfterItsWait) {
    test::TempDir dir;
    const std::string path = dir / "shared.log";
    const PathLock first(path, 0ms);
    ASSERT_TRUE(first.IsHeld());
    bool secondHolds = true;
    Clock::duration waited{};
    std::thread([&] {
        const auto start = Clock::now();
        const PathLock mine(path, 100ms);
        waited = Clock::now() - start;
        secondHolds = mine.IsHeld();
    }).join();
    EXPECT_FALSE(secondHolds);
    EXPECT_GE(waited, 100ms);
    EXPECT_LT(waited, 2s);
}

}  // namespace
}  // namespace qv
