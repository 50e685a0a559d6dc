#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/fault_entries.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

using test::kCallerEntry;
using test::kRegisterEntry;

// On the thread that linked the handler, and on a second thread that
// registered itself: each needs a signal stack of its own.
struct OverflowCase {
    const char* name;
    const char* command;
};

class StackOverflow : public testing::TestWithParam<OverflowCase> {};

TEST_P(StackOverflow, IsReportedAndTheProcessDiesBySignal) {
    test::TempDir dir;
    test::ChildProcess child({GetParam().command, dir.path().string()});
    const test::Ending ending = child.Wait();
    EXPECT_EQ(ending.signal, SIGSEGV);
    const std::string log = test::ReadText(dir / "QUORVANT.LOG");
    EXPECT_EQ(kRegisterEntry.SearchAll(log).size(), 1u) << log.substr(0, 2000);
    const std::size_t callers = kCallerEntry.SearchAll(log).size();
    EXPECT_GT(callers, 100u);
    EXPECT_LE(callers, 1000u);
}

INSTANTIATE_TEST_SUITE_P(Threads, StackOverflow,
                         testing::Values(OverflowCase{"LinkingThread", "overflow"},
                                         OverflowCase{"RegisteredThread", "thread-overflow"}),
                         [](const testing::TestParamInfo<OverflowCase>& info) {
                             return info.param.name;
                         });

}  // namespace
}  // namespace qv
