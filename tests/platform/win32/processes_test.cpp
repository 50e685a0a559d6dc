// Both ways of counting processes, and the choice between them.
#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/win32/process_functions.h"

namespace qv {
namespace {

class ProcessFunctions : public ::testing::Test {
  protected:
    void TearDown() override { FreeProcessFunctions(Found); }
    ProcessCounter::Functions Found = LookUpProcessFunctions();
};

TEST_F(ProcessFunctions, AllAreFound) {
    EXPECT_TRUE(Found.pCreateToolhelp32Snapshot && Found.pProcess32First && Found.pProcess32Next);
    EXPECT_TRUE(Found.pEnumProcesses && Found.pEnumProcessModules && Found.pGetModuleFileNameEx);
    EXPECT_TRUE(Found.pVDMEnumTaskWOWEx);
}

TEST_F(ProcessFunctions, TheProcessStatusWayCountsAsToolHelpDoes) {
    const int toolHelp = CountProcesses(Found);
    ProcessCounter::Functions withoutToolHelp = Found;
    withoutToolHelp.pCreateToolhelp32Snapshot = nullptr;
    const int processStatus = CountProcesses(withoutToolHelp);
    EXPECT_GT(toolHelp, 0);
    EXPECT_LE(std::abs(toolHelp - processStatus), 2) << toolHelp << " " << processStatus;
}

TEST_F(ProcessFunctions, WithoutAWholeWayTheCountIsZero) {
    ProcessCounter::Functions partial = Found;
    partial.pProcess32Next = nullptr;     // Tool Help incomplete
    partial.pVDMEnumTaskWOWEx = nullptr;  // the process-status way needs it to exist
    EXPECT_EQ(CountProcesses(partial), 0);
    EXPECT_EQ(CountProcesses(ProcessCounter::Functions{}), 0);
}

TEST(ProcessCounter, CountsThisProcessAtLeast) {
    const ProcessCounter counter;
    EXPECT_GT(counter.Count(), 0);
}

}  // namespace
}  // namespace qv
