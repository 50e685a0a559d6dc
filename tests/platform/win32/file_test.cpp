// The log's file operations on Windows: text-mode line ends, sizes, rotation.
#include <gtest/gtest.h>

#include <cstring>

#include "diag/log.h"
#include "platform/file.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

struct AppendCase {
    const char* entries[2];
    const char* expected;
};

class Win32AppendToFile : public testing::TestWithParam<AppendCase> {};

TEST_P(Win32AppendToFile, WritesLineFeedsAsCarriageReturnAndLineFeed) {
    const test::TempDir temp;
    const std::string path = temp / "file.txt";
    for (const char* entry : GetParam().entries)
        ASSERT_TRUE(AppendToFile(path.c_str(), entry, std::strlen(entry)));
    EXPECT_EQ(test::ReadFile(path), GetParam().expected);
    EXPECT_EQ(FileSize(path.c_str()),
              static_cast<std::int64_t>(std::string(GetParam().expected).size()));
}

INSTANTIATE_TEST_SUITE_P(Texts, Win32AppendToFile,
                         testing::Values(AppendCase{{"one\n", "two\n"}, "one\r\ntwo\r\n"},
                                         AppendCase{{"a\nb", "\n\n"}, "a\r\nb\r\n\r\n"},
                                         // text mode adds its CR also after one
                                         AppendCase{{"x\r\n", ""}, "x\r\r\n"},
                                         AppendCase{{"", "no line end"}, "no line end"}));

TEST(Win32File, AppendFailsWhereNoFileCanBeMade) {
    const test::TempDir temp;
    EXPECT_FALSE(AppendToFile((temp / "missing\\file.txt").c_str(), "x\n", 2));
    EXPECT_FALSE(AppendToFile(temp.path().string().c_str(), "x\n", 2));
}

TEST(Win32File, MissingFileHasNoSize) {
    const test::TempDir temp;
    EXPECT_EQ(FileSize((temp / "missing.txt").c_str()), -1);
}

TEST(Win32File, RenameAndRemove) {
    const test::TempDir temp;
    test::WriteFile(temp / "a", "a");
    test::WriteFile(temp / "b", "b");
    const std::string a = temp / "a", b = temp / "b";
    EXPECT_FALSE(RenameFile(a.c_str(), b.c_str()));  // never replaces a file
    EXPECT_TRUE(RemoveFile(b.c_str()));
    EXPECT_FALSE(RemoveFile(b.c_str()));
    EXPECT_TRUE(RenameFile(a.c_str(), b.c_str()));
    EXPECT_EQ(test::ReadFile(b), "a");
    EXPECT_EQ(FileSize(a.c_str()), -1);
}

TEST(Win32Log, EntriesInTheHomeEndWithCarriageReturnAndLineFeed) {
    const test::TempDir home;
    const test::HomeAt at(home.path().string());
    Log("first %d", 1);
    Log("second");
    const std::string log = test::ReadFile(home / "QUORVANT.LOG");
    const std::size_t split = log.find("\r\n");
    ASSERT_NE(split, std::string::npos) << log;
    EXPECT_TRUE(log.substr(0, split).ends_with(" first 1")) << log;
    EXPECT_TRUE(log.substr(split + 2).ends_with(" second\r\n")) << log;
    EXPECT_EQ(log.size(), 2 * 18 + std::string("first 1\r\nsecond\r\n").size());
}

// Past the threshold the log becomes the one backup, replacing an older one.
class Win32LogRotation : public testing::TestWithParam<bool> {};

TEST_P(Win32LogRotation, FullLogBecomesTheBackup) {
    const bool olderBackup = GetParam();
    const test::TempDir home;
    const test::HomeAt at(home.path().string());
    const std::string full(kLogRotationSize + 1, 'x');
    test::WriteFile(home / "QUORVANT.LOG", full);
    if (olderBackup) test::WriteFile(home / "LOGFILE.BAK", "older");
    Log("fresh");
    EXPECT_EQ(test::ReadFile(home / "LOGFILE.BAK"), full);
    const std::string log = test::ReadFile(home / "QUORVANT.LOG");
    EXPECT_TRUE(log.ends_with(" fresh\r\n")) << log;
    EXPECT_EQ(log.size(), 18 + std::string("fresh\r\n").size());
}

INSTANTIATE_TEST_SUITE_P(Backups, Win32LogRotation, testing::Bool());

}  // namespace
}  // namespace qv
