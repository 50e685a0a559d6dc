#include "diag/log.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <future>
#include <string>
#include <thread>

#include "platform/error.h"
#include "platform/file.h"
#include "support/pattern.h"
#include "support/temp_dir.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <iomanip>
#include <sstream>
#endif

namespace qv {
namespace {

TEST(LogEntry, BeginsWithTimeAndDate) {
    std::tm when{};
    when.tm_hour = 14;
    when.tm_min = 5;
    when.tm_sec = 9;
    when.tm_mon = 6;
    when.tm_mday = 3;
    when.tm_year = 101;
    EXPECT_EQ(LogEntry(when, "text"), "14:05:09 07/03/01 text\n");
    when.tm_year = 126;
    EXPECT_EQ(LogEntry(when, ""), "14:05:09 07/03/26 \n");
}

class LogFile : public ::testing::Test {
  protected:
    test::TempDir dir;
    test::HomeAt home{dir.path().string()};
    std::string LogPath() { return dir / "QUORVANT.LOG"; }
    std::string BackupPath() { return dir / "LOGFILE.BAK"; }
};

TEST_F(LogFile, AppendsOneEntryPerCall) {
    Log("first %d", 1);
    Log("second %s", "two");
    const std::string text = test::ReadText(LogPath());
    ASSERT_EQ(text.size(), 18 + 8 + 18 + 11u) << text;  // stamp, message, line end
    EXPECT_EQ(text.substr(18, 8), "first 1\n");
    EXPECT_EQ(text.substr(18 + 8 + 18), "second two\n");
}

TEST_F(LogFile, IsRotatedOnlyPastTheThreshold) {
    test::WriteFile(LogPath(), std::string(100000, 'x'));
    test::WriteFile(BackupPath(), "old backup");
    Log("at the threshold");
    EXPECT_EQ(test::ReadFile(BackupPath()), "old backup");
    EXPECT_GT(std::filesystem::file_size(LogPath()), 100000u);

    Log("past it");
    EXPECT_EQ(test::ReadFile(BackupPath()).substr(0, 100000), std::string(100000, 'x'));
    EXPECT_EQ(test::ReadText(LogPath()).substr(18), "past it\n");
}

TEST_F(LogFile, WithoutAHomePathGoesToTheCurrentDirectoryBackupBeside) {
    test::HomeAt noHome("");
    const auto saved = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());
    test::WriteFile("QUORVANT.LOG", std::string(100001, 'x'));
    Log("entry");
    std::filesystem::current_path(saved);
    EXPECT_EQ(std::filesystem::file_size(dir / "LOGFILE.BAK"), 100001u);
    EXPECT_NE(test::ReadText(LogPath()).find("entry"), std::string::npos);
}

TEST_F(LogFile, KeepsTheCallersLastError) {
    SetLastError(1234);
    Log("entry");
    EXPECT_EQ(LastError(), 1234u);
}

TEST_F(LogFile, AnUnwritableLogLosesTheEntryQuietly) {
    test::HomeAt missing(dir / "no/such/folder");
    Log("lost");
    EXPECT_FALSE(std::filesystem::exists(dir / "no"));
}

// Another process takes the log's lock and keeps it for seconds (a thread
// with a lock of its own stands in for it): the entries wait about 100 ms in
// all, not 100 ms each nor until the lock is free, and arrive whole.
TEST_F(LogFile, AHolderThatKeepsTheLockDelaysTheEntriesBriefly) {
    Log("before");  // with the lock free: the next entry waits for it again
    std::promise<void> locked;
    std::atomic<bool> done{false};
    std::thread holder([&] {
        const PathLock lock(LogPath(), std::chrono::milliseconds(0));
        locked.set_value();
        for (int waited = 0; waited < 300 && !done; ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
    });
    locked.get_future().wait();
    constexpr int kEntries = 30;
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < kEntries; ++i) Log("entry %d", i);
    const auto took = std::chrono::steady_clock::now() - start;
    done = true;
    holder.join();

    EXPECT_GE(took, std::chrono::milliseconds(100));
    EXPECT_LT(took, std::chrono::seconds(2));
    const std::string text = test::ReadText(LogPath());
    std::string expected = "before\n";
    for (int i = 0; i < kEntries; ++i) expected += "entry " + std::to_string(i) + "\n";
    EXPECT_EQ(test::Pattern(R"(\d\d:\d\d:\d\d \d\d/\d\d/\d\d )").Replace(text, ""), expected);
}

// The text of a real failure's code must be the code the platform reported,
// written as the platform's own formatter writes "%08X".
#ifdef _WIN32
DWORD PlatformError() {
    return ::GetLastError();
}

// FormatMessage's inserts take printf conversions of their own.
std::string PlatformHex(DWORD code) {
    char text[16] = "";
    DWORD_PTR inserts[] = {code};
    ::FormatMessageA(FORMAT_MESSAGE_FROM_STRING | FORMAT_MESSAGE_ARGUMENT_ARRAY, "%1!08X!", 0, 0,
                     text, sizeof text, reinterpret_cast<va_list*>(inserts));
    return text;
}

const struct {
    const char* what;
    void (*fail)();
} kFailures[] = {
    {"a missing file",
     [] {
         ::CreateFileA("Z:\\no\\such\\file", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
     }},
    {"a folder that exists", [] { ::CreateDirectoryA("C:\\windows", nullptr); }},
};
#else
DWORD PlatformError() {
    return static_cast<DWORD>(errno);
}

std::string PlatformHex(DWORD code) {
    std::ostringstream text;
    text << std::uppercase << std::hex << std::setfill('0') << std::setw(8) << code;
    return text.str();
}

const struct {
    const char* what;
    void (*fail)();
} kFailures[] = {
    {"a missing file", [] { ::open("/no/such/file", O_RDONLY); }},
    {"a folder that exists", [] { ::mkdir("/", 0700); }},
    {"seeking in a pipe",
     [] {
         int ends[2];
         if (::pipe(ends) != 0) return;
         ::lseek(ends[0], 1, SEEK_SET);
         const int failure = errno;
         ::close(ends[0]);
         ::close(ends[1]);
         errno = failure;
     }},
};
#endif

TEST(InterpretWinError, GivesTheCodeOfTheLastFailureAsThePlatformWritesIt) {
    for (const auto& failure : kFailures) {
        failure.fail();
        const DWORD code = PlatformError();
        char text[9];
        EXPECT_STREQ(InterpretWinError(nullptr, text), PlatformHex(code).c_str()) << failure.what;
        EXPECT_NE(code, 0u) << failure.what << " did not fail";
    }
}

}  // namespace
}  // namespace qv
