#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/file.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

using namespace std::chrono_literals;

// The lock counts between holders of their own, as separate processes are;
// another thread stands in for another process.
TEST(FileLock, ASecondHolderWaitsUntilTheFirstIsGone) {
    test::TempDir dir;
    const std::string path = dir / "shared.log";
    std::atomic<bool> secondHolds{false};
    std::thread second;
    {
        const FileLock first(path);
        second = std::thread([&] {
            const FileLock mine(path);
            secondHolds = true;
        });
        std::this_thread::sleep_for(200ms);
        EXPECT_FALSE(secondHolds) << "the second holder got the lock while the first held it";
    }
    second.join();
    EXPECT_TRUE(secondHolds);
}

}  // namespace
}  // namespace qv
