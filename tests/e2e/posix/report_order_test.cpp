// The report gathers its lines one after another in their order: the log
// names missing labels in report order, and the process count is taken
// before a dead mount's query leaves a stuck child behind.
#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>

#include "e2e/posix/copied_snapshot.h"
#include "e2e/posix/mounts.h"
#include "e2e/posix/run.h"
#include "support/pattern.h"

namespace qv {
namespace {

using test::CopiedSnapshot;
using test::Lines;

double SecondsSinceBoot() {
    double seconds = 0;
    std::ifstream("/proc/uptime") >> seconds;
    return seconds;
}

// The string numbers of the log's "Unable to get string resource" entries.
std::vector<int> MissingStrings(const std::string& log) {
    static const test::Pattern entry(R"(Unable to get string resource\.  Module \d+, id (\d+)\.)");
    std::vector<int> ids;
    for (const std::string& line : Lines(log)) {
        if (const auto found = entry.Search(line)) ids.push_back(std::stoi((*found)[1]));
    }
    return ids;
}

// The date's names (the weekday abbreviations, seven weekdays, the month
// abbreviations, twelve months), then each line's label just before its value;
// the day words only when a day has passed since the system started.
std::vector<int> LabelsInReportOrder(bool dayWords) {
    std::vector<int> ids;
    for (int id = 42; id <= 62; ++id) ids.push_back(id);
    ids.push_back(13);
    if (dayWords) ids.insert(ids.end(), {40, 41});
    ids.insert(ids.end(), {15, 16, 17, 18, 19, 25, 27, 28});
    return ids;
}

TEST_F(CopiedSnapshot, MissingLabelsAreLoggedInReportOrder) {
    test::WriteFile(dir / "QUORVANT.cat", "");
    const double before = SecondsSinceBoot();
    const test::Outcome outcome = RunCopy();
    const double after = SecondsSinceBoot();
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    if ((before < 86400) != (after < 86400)) GTEST_SKIP() << "the first day ended meanwhile";
    EXPECT_EQ(MissingStrings(test::ReadFile(dir / "QUORVANT.LOG")),
              LabelsInReportOrder(after >= 86400));
}

// Alone in a PID namespace the program is the only process when it counts,
// although the query of a dead FUSE mount leaves a child behind afterwards.
TEST(ReportOrder, ProcessCountComesBeforeTheQueryOfADeadMount) {
    if (::geteuid() != 0) GTEST_SKIP() << "PID and mount namespaces need root";
    test::TempDir base;
    test::Launch launch;
    launch.argv = {SNAPSHOT_EXE};
    const std::string dead = base.path().string() + "/dead";
    launch.prepare = [dead] {
        return test::EnterPrivatePidNamespace() && test::MountDeadFuse(dead);
    };
    const test::Outcome outcome = test::Run(launch);
    if (outcome.exitCode == test::kNotArranged) GTEST_SKIP() << "no PID namespace or FUSE mount";
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    const std::vector<std::string> lines = Lines(outcome.out);
    ASSERT_GE(lines.size(), 9u) << outcome.out;
    EXPECT_EQ(lines[7], "Number of processes" + std::string(79 - 19 - 2, ' ') + "1 ");
}

}  // namespace
}  // namespace qv
