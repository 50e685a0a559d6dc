// Many processes logging at once into one log, while another process holds
// the log's lock longer than an entry waits for it, as a copy of the program
// that is slow (swapped out, stopped briefly) does.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <map>
#include <memory>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "diag/log.h"
#include "platform/file.h"
#include "support/child_process.h"
#include "support/pattern.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

// Modest for a two-core machine: a Windows process starts slowly under Wine.
// A lost entry is a matter of timing: natively a few rounds catch it.
#if defined(_WIN32)
constexpr int kWriters = 8;
constexpr int kRounds = 1;
#else
constexpr int kWriters = 16;
constexpr int kRounds = 3;
#endif
constexpr int kEntriesEach = 4;
constexpr auto kSlowHold = std::chrono::milliseconds(150);

// 1998 lines of 50 bytes: 99,900 bytes, just under the rotation size.
std::string Filler() {
    std::string filler;
    for (int line = 0; line < 1998; ++line) {
        std::string text = "filler " + std::to_string(line) + " ";
        filler += text + std::string(49 - text.size(), '-') + "\n";
    }
    return filler;
}

const test::Pattern kWriterEntry(
    R"(\d\d:\d\d:\d\d \d\d/\d\d/\d\d writer (\d+) entry (\d+) \.{11})");

void CrossTheThresholdWhileOneHoldsTheLockLong() {
    test::TempDir dir;
    const std::string logPath = dir / kLogFileName;
    const std::string filler = Filler();
    test::WriteFile(logPath, filler);

    std::vector<std::unique_ptr<test::ChildProcess>> writers;
    for (int id = 0; id < kWriters; ++id) {
        writers.push_back(std::make_unique<test::ChildProcess>(std::vector<std::string>{
            "log", dir.path().string(), std::to_string(id), std::to_string(kEntriesEach)}));
        ASSERT_EQ(writers.back()->ReadLine(), "ready");
    }
    {
        const PathLock slowHolder(logPath, std::chrono::milliseconds(0));
        ASSERT_TRUE(slowHolder.IsHeld());
        for (auto& writer : writers) writer->CloseInput();  // all log at once
        std::this_thread::sleep_for(kSlowHold);
    }
    for (auto& writer : writers) EXPECT_EQ(writer->Wait().exitCode, 0);

    std::vector<std::string> names;
    for (const auto& file : std::filesystem::directory_iterator(dir.path()))
        names.push_back(file.path().filename().string());
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::string>{kLogBackupName, kLogFileName})) << "one backup";

    const std::string backup = test::ReadText(dir / kLogBackupName);
    ASSERT_EQ(backup.substr(0, filler.size()), filler) << "the old log is not whole in the backup";
    std::map<std::string, int> seen;
    std::size_t longestEntry = 0;
    std::istringstream entries(backup.substr(filler.size()) + test::ReadText(logPath));
    for (std::string line; std::getline(entries, line);) {
        const std::optional<test::Groups> match = kWriterEntry.Match(line);
        EXPECT_TRUE(match) << "torn: " << line;
        if (match) ++seen[(*match)[1] + "/" + (*match)[2]];
        longestEntry = std::max(longestEntry, line.size() + 2);  // with CR LF
    }
    EXPECT_EQ(seen.size(), static_cast<std::size_t>(kWriters * kEntriesEach)) << "lost entries";
    for (const auto& [entry, count] : seen) EXPECT_EQ(count, 1) << entry;
    for (const char* name : {kLogFileName, kLogBackupName})
        EXPECT_LE(test::ReadFile(dir / name).size(), kLogRotationSize + longestEntry) << name;
}

TEST(LogAcrossProcesses, ManyCrossTheThresholdWhileOneHoldsTheLockLong) {
    for (int round = 0; round < kRounds && !HasFailure(); ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        CrossTheThresholdWhileOneHoldsTheLockLong();
    }
}

}  // namespace
}  // namespace qv
