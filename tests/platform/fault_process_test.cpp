#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "diag/log.h"
#include "support/child_process.h"
#include "support/fault_entries.h"
#include "support/pattern.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

using test::kCallerEntry;
using test::kRegisterEntry;

// The return addresses of the caller entries, in the order of the log.
std::vector<unsigned long long> Callers(const std::string& log) {
    std::vector<unsigned long long> callers;
    for (const test::Groups& entry : kCallerEntry.SearchAll(log))
        callers.push_back(std::strtoull(entry[1].c_str(), nullptr, 16));
    return callers;
}

// The helper faults two calls deep and says first where those two calling
// functions begin; the log's first caller entries must point into them,
// innermost first.
struct FaultingHelper {
    unsigned long long middle = 0, outer = 0;
    test::Ending ending;

    explicit FaultingHelper(const test::TempDir& home) {
        test::ChildProcess child({"fault", home.path().string()});
        std::istringstream functions(child.ReadLine());
        functions >> std::hex >> middle >> outer;
        ending = child.Wait();
    }

    void ExpectInnermostCallersFirst(const std::vector<unsigned long long>& callers) const {
        ASSERT_GE(callers.size(), 2u);
        EXPECT_GT(callers[0], middle);
        EXPECT_LT(callers[0], middle + 256);
        EXPECT_GT(callers[1], outer);
        EXPECT_LT(callers[1], outer + 256);
    }
};

TEST(FaultReport, AFaultWritesRegistersAndCallingFrames) {
    test::TempDir dir;
    const FaultingHelper helper(dir);
    ASSERT_NE(helper.middle, 0u);
    EXPECT_TRUE(test::EndedByAccessViolation(helper.ending))
        << "exit " << helper.ending.exitCode << ", signal " << helper.ending.signal;

    const std::string log = test::ReadText(dir / "QUORVANT.LOG");
    ASSERT_TRUE(kRegisterEntry.Search(log)) << log;
    helper.ExpectInnermostCallersFirst(Callers(log));
    // The register entry comes first.
    EXPECT_LT(log.find("WARNING: An unhandled"), log.find("Calling function"));
}

// Five calls deep through functions that keep pointers in the registers they
// save: every caller entry must be the true one, each return address inside the
// function the helper named for that depth, innermost first.
TEST(FaultReport, CallersThroughFunctionsThatSaveManyRegistersAreTheTrueOnes) {
    test::TempDir dir;
    test::ChildProcess child({"deep-fault", dir.path().string()});
    std::istringstream line(child.ReadLine());
    std::vector<unsigned long long> functions;
    for (unsigned long long start = 0; line >> std::hex >> start;) functions.push_back(start);
    const test::Ending ending = child.Wait();
    ASSERT_EQ(functions.size(), 5u);
    EXPECT_TRUE(test::EndedByAccessViolation(ending));

    const std::vector<unsigned long long> callers = Callers(test::ReadText(dir / "QUORVANT.LOG"));
    ASSERT_GE(callers.size(), functions.size());
    for (std::size_t depth = 0; depth < functions.size(); ++depth) {
        // Inside the function: past its start, before the next one's.
        unsigned long long end = functions[depth] + 4096;
        for (const unsigned long long start : functions)
            if (start > functions[depth]) end = std::min(end, start);
        EXPECT_GT(callers[depth], functions[depth]) << "frame " << depth;
        EXPECT_LT(callers[depth], end) << "frame " << depth;
    }
}

// A log just under the rotation size: the register entry takes it past, so
// the next entry starts a new log. Each entry of the report is tested, none
// is lost, and neither file grows past the size by more than one entry.
TEST(FaultReport, TheLogIsRotatedBetweenTheEntriesOfTheReport) {
    test::TempDir dir;
    const std::string filler = std::string(kLogRotationSize - 11, 'x') + "\n";
    test::WriteFile(dir / "QUORVANT.LOG", filler);
    const FaultingHelper helper(dir);

    const std::string backup = test::ReadText(dir / "LOGFILE.BAK");
    const std::string log = test::ReadText(dir / "QUORVANT.LOG");
    ASSERT_TRUE(backup.starts_with(filler)) << "no rotation after the filler";
    const std::string afterFiller = backup.substr(filler.size());
    ASSERT_TRUE(kRegisterEntry.Match(afterFiller)) << afterFiller;
    const std::size_t largestEntry = afterFiller.size() + 10;  // with CR line ends
    for (const char* name : {"QUORVANT.LOG", "LOGFILE.BAK"})
        EXPECT_LE(test::ReadFile(dir / name).size(), kLogRotationSize + largestEntry) << name;
    helper.ExpectInnermostCallersFirst(Callers(log));
    EXPECT_EQ(kCallerEntry.Replace(log, ""), "") << log;
}

}  // namespace
}  // namespace qv
