// The real program under faults: a folder it cannot write, a log shared with
// another copy at the moment it is rotated, settings files that change or go
// away, broken language libraries, garbage in the environment.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <regex>
#include <thread>

#include "e2e/posix/copied_snapshot.h"
#include "e2e/posix/run.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

using test::CopiedSnapshot;
using test::Lines;

// A two-key settings file: every other key of the record is logged as
// "Wrong size", so each run writes dozens of entries.
constexpr const char* kTwoKeySettings = "[QUORVANT]\nShowK=0000\nShowSeconds=01000000\n";

// "HH:MM:SS MM/DD/YY " and a message: an entry as a whole.
bool IsWholeEntry(const std::string& line) {
    static const std::regex entry(R"(\d\d:\d\d:\d\d \d\d/\d\d/\d\d \S.*)");
    return std::regex_match(line, entry);
}

std::string Filler(std::size_t bytes) {
    std::string text;
    for (int n = 0; text.size() + 40 <= bytes; ++n)
        text += "00:00:00 01/01/26 filler " + std::to_string(100000 + n) + "\n";
    return text;
}

class SharedLog : public CopiedSnapshot {
  protected:
    void SetUp() override {
        CopiedSnapshot::SetUp();
        CopyLanguageLibrary();
        test::WriteFile(dir / "QUORVANT.INI", kTwoKeySettings);
    }
    std::vector<std::string> Entries(const std::string& name) {
        return fs::exists(dir / name) ? Lines(test::ReadFile(dir / name))
                                      : std::vector<std::string>{};
    }
};

// Two copies that write the same log while it passes the rotation size: one
// backup holds the older entries, and no entry is lost or cut.
TEST_F(SharedLog, TwoWritersAtTheRotationKeepEveryEntryWhole) {
    test::Run(CopyLaunch());
    const std::size_t perRun = Entries("QUORVANT.LOG").size();
    ASSERT_GT(perRun, 50u);
    for (int trial = 0; trial < 30; ++trial) {
        const std::string filler = Filler(100000 - perRun * 50);
        const std::size_t fillerLines = Lines(filler).size();
        test::WriteFile(dir / "QUORVANT.LOG", filler);
        fs::remove(dir / "LOGFILE.BAK");
        test::Outcome first, second;
        std::thread other([&] { second = test::Run(CopyLaunch()); });
        first = test::Run(CopyLaunch());
        other.join();
        ASSERT_EQ(first.exitCode, 0) << first.err;
        ASSERT_EQ(second.exitCode, 0) << second.err;

        const std::vector<std::string> backup = Entries("LOGFILE.BAK");
        const std::vector<std::string> log = Entries("QUORVANT.LOG");
        ASSERT_FALSE(backup.empty()) << "trial " << trial << ": no rotation";
        EXPECT_EQ(backup.front(), Lines(filler).front()) << "trial " << trial;
        EXPECT_EQ(backup.size() + log.size(), fillerLines + 2 * perRun) << "trial " << trial;
        for (const auto* entries : {&backup, &log})
            for (const std::string& line : *entries)
                ASSERT_TRUE(IsWholeEntry(line)) << "trial " << trial << ": " << line;
        EXPECT_LE(fs::file_size(dir / "QUORVANT.LOG"), 100000u);
    }
}

}  // namespace
}  // namespace qv
