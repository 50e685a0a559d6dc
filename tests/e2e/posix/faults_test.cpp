// The real program under faults: a folder it cannot write, a log shared with
// another copy at the moment it is rotated, settings files that change or go
// away, broken language libraries, garbage in the environment.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <thread>

#include "e2e/posix/copied_snapshot.h"
#include "e2e/posix/mounts.h"
#include "e2e/posix/run.h"
#include "locale/text.h"
#include "support/pattern.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

using test::CopiedSnapshot;
using test::Lines;

// A two-key settings file: every other key of the record is logged as
// "Wrong size", so each run writes dozens of entries.
constexpr const char* kTwoKeySettings = "[QUORVANT]\nShowK=0000\nShowSeconds=01000000\n";

// The nine lines before the volumes: date, uptime, memory, swap, processes
// and the total of free space.
constexpr std::size_t kFixedLines = 9;
constexpr std::size_t kPhysicalMemoryLine = 2;

bool IsRoot() {
    return ::geteuid() == 0;
}

// A byte count ("24123456789 ") rather than a scaled value ("23G").
bool ShowsBytes(const std::string& line) {
    return line.size() >= 2 && line.back() == ' ' &&
           isdigit(static_cast<unsigned char>(line[line.size() - 2]));
}

// Every line but the date's ends its value in column 79, or past it when
// label and value do not fit.
void ExpectCompleteReport(const test::Outcome& outcome, const std::string& context) {
    EXPECT_EQ(outcome.exitCode, 0) << context << "\n" << outcome.err;
    EXPECT_EQ(outcome.err, "") << context;
    const std::vector<std::string> lines = Lines(outcome.out);
    ASSERT_GE(lines.size(), kFixedLines) << context << "\n" << outcome.out;
    EXPECT_NE(lines[0].find_first_not_of(' '), std::string::npos) << context;
    for (std::size_t i = 1; i < lines.size(); ++i)
        EXPECT_GE(DisplayWidth(lines[i]), 79) << context << ": " << lines[i];
}

// "HH:MM:SS MM/DD/YY " and a message: an entry as a whole.
bool IsWholeEntry(const std::string& line) {
    static const test::Pattern entry(R"(\d\d:\d\d:\d\d \d\d/\d\d/\d\d \S.*)");
    return entry.Match(line).has_value();
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

// Another process locks the program's folder and keeps the lock for seconds,
// as `flock -x . sleep 3` does: the report is not held up for it, and its
// dozens of log entries arrive whole.
TEST_F(SharedLog, AForeignLockOnTheFolderDoesNotHoldTheReportUp) {
    const int folder = ::open(dir.path().c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_GE(folder, 0);
    ASSERT_EQ(::flock(folder, LOCK_EX), 0);
    std::atomic<bool> done{false};
    std::thread holder([&] {
        for (int waited = 0; waited < 300 && !done; ++waited)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        ::close(folder);
    });
    const auto start = std::chrono::steady_clock::now();
    const test::Outcome outcome = test::Run(CopyLaunch());
    const auto took = std::chrono::steady_clock::now() - start;
    done = true;
    holder.join();

    ExpectCompleteReport(outcome, "foreign lock");
    EXPECT_LT(took, std::chrono::seconds(2));
    const std::vector<std::string> entries = Entries("QUORVANT.LOG");
    EXPECT_GT(entries.size(), 50u);
    for (const std::string& entry : entries) ASSERT_TRUE(IsWholeEntry(entry)) << entry;
}

// The folder of the program (and of its log) is read-only, for root as well:
// the entries are lost, the report is not.
TEST_F(SharedLog, AFolderThatCannotBeWrittenLosesTheLogNotTheReport) {
    if (!IsRoot()) GTEST_SKIP() << "a read-only mount needs root";
    test::Launch launch = CopyLaunch();
    const std::string folder = dir.path().string();
    launch.prepare = [folder] {
        return test::EnterPrivateMountNamespace() && test::MakeReadOnly(folder);
    };
    const test::Outcome outcome = test::Run(launch);
    if (outcome.exitCode == test::kNotArranged) GTEST_SKIP() << "no read-only mount";
    ExpectCompleteReport(outcome, "read-only folder");
    EXPECT_TRUE(ShowsBytes(Lines(outcome.out)[kPhysicalMemoryLine])) << "settings not applied";
    EXPECT_FALSE(fs::exists(dir / "QUORVANT.LOG"));
}

// What may stand at the settings file's name, and whether its settings
// (sizes in bytes) apply.
TEST_F(CopiedSnapshot, SettingsFileInAnyShapeLeavesTheReportWholeAndTheFileAsItWas) {
    CopyLanguageLibrary();
    const std::string settings = dir / "QUORVANT.INI";
    test::TempDir elsewhere;
    const std::string target = elsewhere / "settings.ini";
    struct Case {
        const char* shape;
        std::function<void()> arrange;
        bool applies;
    } cases[] = {
        {"a plain file", [&] { test::WriteFile(settings, kTwoKeySettings); }, true},
        {"a read-only file",
         [&] {
             test::WriteFile(settings, kTwoKeySettings);
             fs::permissions(settings, fs::perms::owner_read | fs::perms::group_read);
         },
         true},
        {"a link to a file elsewhere",
         [&] {
             test::WriteFile(target, kTwoKeySettings);
             fs::create_symlink(target, settings);
         },
         true},
        {"a dangling link", [&] { fs::create_symlink(elsewhere / "none.ini", settings); }, false},
        {"a folder", [&] { fs::create_directory(settings); }, false},
        {"a file over 1 MiB",
         [&] {
             test::WriteFile(settings, kTwoKeySettings);
             fs::resize_file(settings, (1u << 20) + 1);
         },
         false},
    };
    for (const Case& c : cases) {
        fs::remove_all(settings);
        fs::remove(target);
        c.arrange();
        const std::string before = fs::is_regular_file(settings) ? test::ReadFile(settings) : "";
        const fs::file_status status = fs::symlink_status(settings);
        const test::Outcome outcome = RunCopy();
        ExpectCompleteReport(outcome, c.shape);
        EXPECT_EQ(ShowsBytes(Lines(outcome.out)[kPhysicalMemoryLine]), c.applies) << c.shape;
        EXPECT_EQ(fs::is_regular_file(settings) ? test::ReadFile(settings) : "", before) << c.shape;
        EXPECT_EQ(fs::symlink_status(settings).type(), status.type()) << c.shape;
        EXPECT_EQ(fs::symlink_status(settings).permissions(), status.permissions()) << c.shape;
    }
}

// What may stand at the system profile's name: only a regular file is read;
// anything else is passed over with one log entry, and never waited for.
TEST_F(CopiedSnapshot, ASystemProfileThatIsNoFileIsPassedOverAtOnce) {
    CopyLanguageLibrary();
    test::TempDir config;
    const std::string winIni = config / "win.ini", fifo = config / "fifo";
    struct Case {
        const char* shape;
        std::function<void()> arrange;
    } cases[] = {
        {"a FIFO", [&] { ASSERT_EQ(::mkfifo(winIni.c_str(), 0644), 0); }},
        {"a link to a FIFO",
         [&] {
             ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
             fs::create_symlink(fifo, winIni);
         }},
        {"a folder", [&] { fs::create_directory(winIni); }},
    };
    for (const Case& c : cases) {
        fs::remove_all(winIni);
        fs::remove(fifo);
        fs::remove(dir / "QUORVANT.LOG");
        c.arrange();
        test::Launch launch = CopyLaunch({"XDG_CONFIG_HOME=" + config.path().string()});
        launch.prepare = [] {
            ::alarm(20);  // a hang ends as SIGALRM
            return true;
        };
        ExpectCompleteReport(test::Run(launch), c.shape);
        const std::vector<std::string> entries = Lines(test::ReadFile(dir / "QUORVANT.LOG"));
        EXPECT_EQ(std::count_if(entries.begin(), entries.end(),
                                [&](const std::string& entry) {
                                    return entry.find("'" + winIni + "' is no regular file") !=
                                           std::string::npos;
                                }),
                  1)
            << c.shape;
    }
}

// Another process replaces, rewrites in place and deletes the settings file
// while the program reads it key by key: each run still completes, and the
// other process's last text is what the file holds afterwards.
TEST_F(SharedLog, SettingsChangedByAnotherProcessMeanwhile) {
    const std::string settings = dir / "QUORVANT.INI";
    const std::string texts[] = {kTwoKeySettings, "[QUORVANT]\nShowSeconds=01000000\n"};
    std::atomic<bool> done{false};
    std::string last;
    std::thread other([&] {
        for (int round = 0; !done; ++round) {
            last = texts[round % 2];
            switch (round % 3) {
                case 0:  // replaced whole, as editors save
                    test::WriteFile(settings + ".new", last);
                    fs::rename(settings + ".new", settings);
                    break;
                case 1:  // rewritten in place
                    test::WriteFile(settings, last);
                    break;
                default:  // deleted, then written again
                    fs::remove(settings);
                    test::WriteFile(settings, last);
            }
        }
    });
    for (int run = 0; run < 40; ++run)
        ExpectCompleteReport(test::Run(CopyLaunch()), "run " + std::to_string(run));
    done = true;
    other.join();
    EXPECT_EQ(test::ReadFile(settings), last);
    for (const std::string& entry : Entries("QUORVANT.LOG"))
        ASSERT_TRUE(IsWholeEntry(entry)) << entry;
}

// Language libraries the program cannot take as they are: labels missing
// are logged and leave the values in place; a volume label without exactly
// one %s is shown as text, never handed to printf.
TEST_F(CopiedSnapshot, BrokenLanguageLibrariesLeaveTheReportWhole) {
    const std::string built = test::ReadFile(std::string(BUILD_DIR) + "/QUORVANT.cat");
    const auto withLine = [&](const std::string& number, const std::string& line) {
        std::string text;
        std::istringstream lines(built);
        for (std::string each; std::getline(lines, each);)
            if (each.rfind(number + " ", 0) != 0) text += each + "\n";
        return text + line + "\n";
    };
    const std::string megabyte(1 << 20, 'x');
    struct Case {
        const char* name;
        std::string catalogue;
        std::string logged;      // a piece of the log entry it causes
        std::string volumeLine;  // how a volume's line starts, when that is the point
        std::string memoryLine;  // how the physical memory line starts
    } cases[] = {
        {"an empty file", "", "id 15.  Status 2.", " (", ""},
        {"no string it uses", "99 \"unused\"\n", "id 28.  Status 2.", " (", ""},
        {"%s%s%n as volume label", withLine("28", "28 \"%s%s%n\""), "\"%s%s%n\" does not hold",
         "%s%s%n (", "Free physical memory "},
        {"%999999d as volume label", withLine("28", "28 \"%999999d\""),
         "\"%999999d\" does not hold", "%999999d (", "Free physical memory "},
        {"a label of 1 MiB", withLine("15", "15 \"" + megabyte + "\""), "", "Free space on /",
         std::string(199, 'x') + " "},
        {"a line of 1 MiB without a number", megabyte + "\n" + built, "skipped", "Free space on /",
         "Free physical memory "},
    };
    for (const Case& c : cases) {
        test::WriteFile(dir / "QUORVANT.cat", c.catalogue);
        fs::remove(dir / "QUORVANT.LOG");
        const test::Outcome outcome = RunCopy();
        ExpectCompleteReport(outcome, c.name);
        const std::vector<std::string> lines = Lines(outcome.out);
        if (lines.size() < kFixedLines + 1) continue;
        EXPECT_EQ(lines[kPhysicalMemoryLine].rfind(c.memoryLine, 0), 0u) << c.name;
        EXPECT_EQ(lines[kFixedLines].rfind(c.volumeLine, 0), 0u)
            << c.name << ": " << lines[kFixedLines];
        if (!c.logged.empty()) {
            EXPECT_NE(test::ReadFile(dir / "QUORVANT.LOG").find(c.logged), std::string::npos)
                << c.name;
        }
    }
}

// Garbage in the time zone and locale variables: the C library falls back
// (UTC, the C locale) and the report is whole.
TEST(Environment, GarbageInTimeZoneAndLocaleVariablesLeavesTheReportWhole) {
    const std::string long_(4096, 'A');
    const std::vector<std::vector<std::string>> cases = {
        {"TZ=garbage"},
        {"TZ=:/etc/passwd"},
        {"TZ=UTC+99999999"},
        {"TZ=" + long_},
        {"LC_ALL=xx_XX.bogus"},
        {"LC_ALL=../../../../etc/passwd"},
        {"LC_ALL=" + long_},
        {"LC_ALL=", "LANG=de_DE.UTF-8", "LC_TIME=\x01\x02", "LC_NUMERIC=%s%n"},
        {"LOCPATH=/nonexistent", "LC_ALL=de_DE.UTF-8"},
    };
    for (const auto& environment : cases) {
        const test::Outcome outcome = test::Run({SNAPSHOT_EXE}, environment);
        ExpectCompleteReport(outcome, environment.front().substr(0, 40));
    }
}

// The swap file comes from /proc/swaps: a path with escaped blanks is shown
// decoded; a file that cannot be read means no swap file, and nothing else.
TEST(ProcSwaps, AnUnreadableOrOddSwapListLeavesTheReportWhole) {
    if (!IsRoot()) GTEST_SKIP() << "mounting over /proc/swaps needs root";
    test::TempDir dir;
    test::WriteFile(dir / "swaps",
                    "Filename\t\t\t\tType\t\tSize\t\tUsed\t\tPriority\n"
                    "/swap\\040file\t\t\t\tfile\t\t1048572\t\t0\t\t-2\n");
    test::WriteFile(dir / "header-only", "Filename\t\t\t\tType\t\tSize\t\tUsed\t\tPriority\n");
    struct {
        const char* name;
        std::string over;  // what stands in for /proc/swaps
        const char* swapLine;
    } cases[] = {
        {"an area with a blank in its path", dir / "swaps", "Swap file (/swap file) "},
        {"no area", dir / "header-only", "Swap file () "},
        // The memory of the program itself at address 0: every read fails.
        {"unreadable", "/proc/self/mem", "Swap file () "},
    };
    for (const auto& c : cases) {
        test::Launch launch;
        launch.argv = {SNAPSHOT_EXE};
        const std::string over = c.over;
        launch.prepare = [over] {
            return test::EnterPrivateMountNamespace() && test::BindOver(over, "/proc/swaps");
        };
        const test::Outcome outcome = test::Run(launch);
        if (outcome.exitCode == test::kNotArranged) GTEST_SKIP() << "cannot mount over /proc/swaps";
        ExpectCompleteReport(outcome, c.name);
        const std::vector<std::string> lines = Lines(outcome.out);
        ASSERT_GE(lines.size(), kFixedLines);
        EXPECT_EQ(lines[4].rfind(c.swapLine, 0), 0u) << c.name << ": " << lines[4];
    }
}

class MountedVolumes : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!IsRoot()) GTEST_SKIP() << "mount namespaces need root";
    }
    // The report of a run whose mounts Arrange made under Base.
    test::Outcome RunWith(const std::function<bool(const std::string&)>& arrange) {
        test::Launch launch;
        launch.argv = {SNAPSHOT_EXE};
        const std::string base = Base.path().string();
        launch.prepare = [base, arrange] {
            return test::EnterPrivateMountNamespace() && arrange(base);
        };
        return test::Run(launch);
    }
    // The names of the volumes the report lists under Base, as shown.
    std::vector<std::string> VolumesUnderBase(const test::Outcome& outcome) {
        std::vector<std::string> names;
        const std::string prefix = "Free space on " + Base.path().string() + "/";
        for (const std::string& line : Lines(outcome.out))
            if (line.rfind(prefix, 0) == 0)
                names.push_back(line.substr(prefix.size(), line.rfind(" (") - prefix.size()));
        return names;
    }
    test::TempDir Base;
};

// A network server that died: its mount answers nothing, ever. The report
// waits for it no longer than its deadline and leaves it out.
TEST_F(MountedVolumes, ADeadNetworkMountIsLeftOutInTime) {
    const auto start = std::chrono::steady_clock::now();
    const test::Outcome outcome = RunWith([](const std::string& base) {
        return test::MountTmpfs(base + "/alive", "size=1m") && test::MountDeadFuse(base + "/dead");
    });
    const auto took = std::chrono::steady_clock::now() - start;
    if (outcome.exitCode == test::kNotArranged) GTEST_SKIP() << "no FUSE mount";
    ExpectCompleteReport(outcome, "dead mount");
    EXPECT_EQ(VolumesUnderBase(outcome), std::vector<std::string>{"alive"});
    EXPECT_LT(took, std::chrono::seconds(10)) << "the report hung on the dead mount";
}

// Mount points with blanks, tabs and line feeds in their names, a thousand of
// them: one line each, control characters shown as '?'.
TEST_F(MountedVolumes, AThousandMountsWithOddNamesGetALineEach) {
    constexpr int kMounts = 1000;
    const auto name = [](int i, bool shown) {
        const char separators[] = {' ', '\t', '\n'};
        std::string text = "m";
        text += shown && i % 3 ? '?' : separators[i % 3];
        return text.append(std::to_string(i)).append(" end");
    };
    std::set<std::string> expected;
    for (int i = 0; i < kMounts; ++i) expected.insert(name(i, true));
    const test::Outcome outcome = RunWith([&](const std::string& base) {
        for (int i = 0; i < kMounts; ++i)
            if (!test::MountTmpfs(base + "/" + name(i, false), "size=64k")) return false;
        return true;
    });
    if (outcome.exitCode == test::kNotArranged) GTEST_SKIP() << "cannot mount";
    ExpectCompleteReport(outcome, "a thousand mounts");
    const std::vector<std::string> names = VolumesUnderBase(outcome);
    EXPECT_EQ(names.size(), static_cast<std::size_t>(kMounts));
    EXPECT_EQ(std::set<std::string>(names.begin(), names.end()), expected);
}

}  // namespace
}  // namespace qv
