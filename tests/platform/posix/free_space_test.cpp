// Free space asked in child processes: answers come back, and a query that
// never returns costs the deadline and no more.
#include <gtest/gtest.h>

#include <unistd.h>

#include <chrono>
#include <limits>

#include "platform/posix/free_space.h"

namespace qv {
namespace {

using namespace std::chrono;

TEST(QueryInChildren, EachAnswerComesBackToItsPlace) {
    const auto answers = QueryInChildren(
        4,
        [](std::size_t i) -> std::optional<FreeSpace> {
            if (i == 2) return std::nullopt;
            return FreeSpace{1000 * (i + 1), i + 7};
        },
        milliseconds(5000));
    ASSERT_EQ(answers.size(), 4u);
    EXPECT_EQ(answers[0]->FreeBytes, 1000u);
    EXPECT_EQ(answers[1]->FreeBytes, 2000u);
    EXPECT_FALSE(answers[2]);
    EXPECT_EQ(answers[3]->FreeBytes, 4000u);
    EXPECT_EQ(answers[3]->TotalBlocks, 10u);
}

TEST(QueryInChildren, AHungQueryCostsTheDeadlineOnly) {
    const auto start = steady_clock::now();
    const auto answers = QueryInChildren(
        3,
        [](std::size_t i) -> std::optional<FreeSpace> {
            if (i == 1)
                for (;;) ::pause();  // a file system that never answers
            return FreeSpace{42, 1};
        },
        milliseconds(300));
    const auto took = steady_clock::now() - start;
    EXPECT_TRUE(answers[0] && answers[2]);
    EXPECT_FALSE(answers[1]);
    EXPECT_GE(took, milliseconds(290));
    EXPECT_LT(took, milliseconds(1500));
}

TEST(QueryInChildren, ChildrenDoNotKeepTheCallersStandardOutput) {
    // The child's standard output is /dev/null: a pipe given to the caller as
    // its standard output sees its end as soon as the caller closes it, even
    // though a child is still stuck.
    int fds[2];
    ASSERT_EQ(::pipe(fds), 0);
    const int saved = ::dup(1);
    ::dup2(fds[1], 1);
    ::close(fds[1]);
    QueryInChildren(
        1,
        [](std::size_t) -> std::optional<FreeSpace> {
            for (;;) ::pause();
        },
        milliseconds(100));
    ::dup2(saved, 1);
    ::close(saved);
    char byte;
    EXPECT_EQ(::read(fds[0], &byte, 1), 0);  // end of file, not a block
    ::close(fds[0]);
}

TEST(QueryFreeSpace, OfTheRootAndOfNothing) {
    const auto root = QueryFreeSpace("/");
    ASSERT_TRUE(root);
    EXPECT_GT(root->TotalBlocks, 0u);
    EXPECT_FALSE(QueryFreeSpace("/no/such/directory/here"));
}

TEST(BlockBytes, SaturatesInsteadOfWrapping) {
    EXPECT_EQ(BlockBytes(3, 4096), 12288u);
    EXPECT_EQ(BlockBytes(1ull << 40, 4096), 1ull << 52);
    EXPECT_EQ(BlockBytes(1ull << 60, 1ull << 10), std::numeric_limits<std::uint64_t>::max());
    EXPECT_EQ(BlockBytes(5, 0), 0u);
}

}  // namespace
}  // namespace qv
