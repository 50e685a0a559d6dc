#include <gtest/gtest.h>

#include <cstdlib>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "support/child_process.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

const std::string kWord = "[0-9A-F]{" + std::to_string(sizeof(void*) * 2) + "}";
const std::string kStamp = "\\d\\d:\\d\\d:\\d\\d \\d\\d/\\d\\d/\\d\\d ";
const std::string kHalf = "[0-9A-F]{8}";

const std::regex kRegisterEntry(kStamp + "WARNING: An unhandled exception has occurred at " +
                                kWord + "\\.\n" + "  The registers were as follows:\n" + "    AX:" +
                                kWord + "  BX:" + kWord + "  CX:" + kWord + "  DX:" + kWord + "\n" +
                                "    FL:" + kHalf + "  DI:" + kWord + "  SI:" + kWord +
                                "  BP:" + kWord + "\n" + "    CS:" + kHalf + "  IP:" + kWord +
                                "  SS:" + kHalf + "  SP:" + kWord + "\n" + "    DS:" + kHalf +
                                "  ES:" + kHalf + "  FS:" + kHalf + "  GS:" + kHalf + "\n");
const std::regex kCallerEntry(kStamp + "  Calling function was at (" + kWord + ")\\.\n");

// The fault happens two calls deep in the helper; the first entries must point
// into the two functions that made those calls, innermost first.
TEST(FaultReport, AFaultWritesRegistersAndCallingFrames) {
    test::TempDir dir;
    test::ChildProcess child({"fault", dir.path().string()});
    std::istringstream functions(child.ReadLine());
    unsigned long long middle = 0, outer = 0;
    functions >> std::hex >> middle >> outer;
    ASSERT_NE(middle, 0u);
    const test::Ending ending = child.Wait();
    EXPECT_TRUE(test::EndedByAccessViolation(ending))
        << "exit " << ending.exitCode << ", signal " << ending.signal;

    const std::string log = test::ReadText(dir / "QUORVANT.LOG");
    ASSERT_TRUE(std::regex_search(log, kRegisterEntry)) << log;
    std::vector<unsigned long long> callers;
    for (auto it = std::sregex_iterator(log.begin(), log.end(), kCallerEntry);
         it != std::sregex_iterator(); ++it)
        callers.push_back(std::strtoull((*it)[1].str().c_str(), nullptr, 16));
    ASSERT_GE(callers.size(), 2u) << log;
    EXPECT_GT(callers[0], middle);
    EXPECT_LT(callers[0], middle + 256);
    EXPECT_GT(callers[1], outer);
    EXPECT_LT(callers[1], outer + 256);
    // The register entry comes first.
    EXPECT_LT(log.find("WARNING: An unhandled"), log.find("Calling function"));
}

}  // namespace
}  // namespace qv
