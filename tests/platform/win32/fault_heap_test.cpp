#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>

#include "support/child_process.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

// A fault struck inside the allocator leaves the C runtime's heap locked,
// while another thread waits for the heap inside the log's lock. The report
// must need neither: it is written, and the process ends by the fault instead
// of hanging (a watchdog ends a hung helper, which then fails the test).
TEST(FaultReport, AFaultWithTheHeapLockedIsReportedAndTheProcessEnds) {
    test::TempDir dir;
    test::ChildProcess child({"heap-fault", dir.path().string()});
    std::promise<void> ended;
    auto watchdog = std::async(std::launch::async, [&, done = ended.get_future()] {
        if (done.wait_for(std::chrono::seconds(30)) == std::future_status::timeout) child.Kill();
    });
    const test::Ending ending = child.Wait();
    ended.set_value();
    watchdog.wait();

    EXPECT_TRUE(test::EndedByAccessViolation(ending)) << "exit " << std::hex << ending.exitCode;
    const std::string log = test::ReadText(dir / "QUORVANT.LOG");
    EXPECT_NE(log.find("WARNING: An unhandled exception has occurred at "), std::string::npos)
        << log;
}

}  // namespace
}  // namespace qv
