#include <gtest/gtest.h>

#include <csignal>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/pattern.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

const test::Pattern kRegisterEntry(
    "\\d\\d:\\d\\d:\\d\\d \\d\\d/\\d\\d/\\d\\d WARNING: An unhandled exception has occurred at "
    "([0-9A-F]{16})\\.\n"
    "  The registers were as follows:\n"
    "    AX:[0-9A-F]{16}  BX:[0-9A-F]{16}  CX:[0-9A-F]{16}  DX:[0-9A-F]{16}\n"
    "    FL:[0-9A-F]{8}  DI:[0-9A-F]{16}  SI:[0-9A-F]{16}  BP:[0-9A-F]{16}\n"
    "    CS:[0-9A-F]{8}  IP:[0-9A-F]{16}  SS:[0-9A-F]{8}  SP:[0-9A-F]{16}\n"
    "    DS:[0-9A-F]{8}  ES:[0-9A-F]{8}  FS:[0-9A-F]{8}  GS:[0-9A-F]{8}\n");
const test::Pattern kCallerEntry(
    "\\d\\d:\\d\\d:\\d\\d \\d\\d/\\d\\d/\\d\\d   Calling function was at ([0-9A-F]{16})\\.\n");

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
