// The real program on this machine.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <filesystem>
#include <fstream>

#include "e2e/posix/copied_snapshot.h"
#include "e2e/posix/run.h"
#include "locale/text.h"
#include "support/pattern.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

using test::Lines;

const std::string* LineStartingWith(const std::vector<std::string>& lines,
                                    const std::string& label) {
    for (const std::string& line : lines)
        if (line.rfind(label, 0) == 0) return &line;
    return nullptr;
}

// "23G" or "1,234,567 " as bytes, with the half unit the rounding may hide.
struct Quantity {
    double bytes;
    double tolerance;
};

Quantity ParseQuantity(const std::string& line) {
    const char suffix = line.back();
    std::string digits;
    for (std::size_t i = line.find_last_of(' ', line.size() - 2) + 1; i + 1 < line.size(); ++i)
        if (isdigit(static_cast<unsigned char>(line[i]))) digits += line[i];
    const double unit = suffix == 'K'   ? 1024.0
                        : suffix == 'M' ? 1048576.0
                        : suffix == 'G' ? 1073741824.0
                                        : 1.0;
    return {std::stod(digits) * unit, unit / 2};
}

std::uint64_t MeminfoKiB(const std::string& field) {
    std::ifstream in("/proc/meminfo");
    for (std::string name; in >> name;) {
        std::uint64_t value;
        in >> value;
        if (name == field + ":") return value;
        in.ignore(64, '\n');
    }
    return 0;
}

double UptimeSeconds() {
    std::ifstream in("/proc/uptime");
    double seconds = 0;
    in >> seconds;
    return seconds;
}

test::Outcome RunSnapshot(std::vector<std::string> environment = {}) {
    return test::Run({SNAPSHOT_EXE}, std::move(environment));
}

TEST(Snapshot, PrintsTheFirstLinesWithValuesInColumn79) {
    const test::Outcome outcome = RunSnapshot();
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_EQ(outcome.err, "");
    const auto lines = Lines(outcome.out);
    for (const char* label :
         {"Time since system start", "Free physical memory", "Free virtual memory"}) {
        const std::string* line = LineStartingWith(lines, label);
        ASSERT_NE(line, nullptr) << label << " missing from\n" << outcome.out;
        EXPECT_EQ(DisplayWidth(*line), 79) << *line;
        EXPECT_NE(line->at(78), ' ') << "the suffix of a scaled value is a letter: " << *line;
    }
}

TEST(Snapshot, ValuesAgreeWithTheKernel) {
    const double upBefore = UptimeSeconds();
    const std::uint64_t availableBefore = MeminfoKiB("MemAvailable") * 1024;
    const std::uint64_t swapFreeBefore = MeminfoKiB("SwapFree") * 1024;
    const test::Outcome outcome = RunSnapshot();
    const double upAfter = UptimeSeconds();
    const std::uint64_t availableAfter = MeminfoKiB("MemAvailable") * 1024;
    const auto lines = Lines(outcome.out);

    // "D days, H:MM" or "H:MM": minutes since start, within the two readings.
    const std::string uptime = *LineStartingWith(lines, "Time since system start");
    const std::string value = uptime.substr(uptime.find_last_of(' ', uptime.rfind(':')) + 1);
    const std::size_t colon = value.find(':');
    std::uint64_t minutes =
        std::stoull(value.substr(0, colon)) * 60 + std::stoull(value.substr(colon + 1));
    const std::size_t daysAt = uptime.find(" day");
    if (daysAt != std::string::npos)
        minutes += std::stoull(uptime.substr(uptime.find_last_of(' ', daysAt - 1) + 1)) * 1440;
    EXPECT_GE(minutes, static_cast<std::uint64_t>(upBefore / 60));
    EXPECT_LE(minutes, static_cast<std::uint64_t>(upAfter / 60));

    const double slack = 64.0 * 1048576;  // what other programs may take meanwhile
    const Quantity physical = ParseQuantity(*LineStartingWith(lines, "Free physical memory"));
    EXPECT_GE(physical.bytes + physical.tolerance + slack,
              std::min(availableBefore, availableAfter));
    EXPECT_LE(physical.bytes - physical.tolerance - slack,
              std::max(availableBefore, availableAfter));
    const Quantity virtualFree = ParseQuantity(*LineStartingWith(lines, "Free virtual memory"));
    EXPECT_NEAR(virtualFree.bytes, static_cast<double>(availableBefore + swapFreeBefore),
                virtualFree.tolerance + slack);
}

// The folder of this process's cgroup in the version 1 memory hierarchy as
// this machine mounts it; "" where the process has none.
std::string OwnV1MemoryCgroup() {
    std::ifstream in("/proc/self/cgroup");
    for (std::string line; std::getline(in, line);) {
        const std::size_t at = line.find(":memory:");
        if (at != std::string::npos) return "/sys/fs/cgroup/memory" + line.substr(at + 8);
    }
    return "";
}

bool WriteText(const std::string& path, const std::string& text) {
    std::ofstream out(path);
    out << text;
    return static_cast<bool>(out.flush());
}

// As `docker run --memory=512m` or a unit's MemoryMax=512M would run it: the
// kernel kills what uses more, so no more can be free, however free the machine.
TEST(Snapshot, InAMemoryCgroupOf512MiBAtMost512MiBAreFree) {
    constexpr std::uint64_t kLimit = 512ULL << 20;
    const std::string parent = OwnV1MemoryCgroup();
    if (::geteuid() != 0 || parent.empty() || !fs::exists(parent + "/memory.limit_in_bytes"))
        GTEST_SKIP() << "needs root and the version 1 memory controller";
    if (MeminfoKiB("MemAvailable") * 1024 < 2 * kLimit)
        GTEST_SKIP() << "the machine itself has too little free to tell a limit";
    const std::string cgroup = parent + "/snapshot-test-" + std::to_string(::getpid());
    ASSERT_EQ(::mkdir(cgroup.c_str(), 0755), 0) << cgroup << ": " << std::strerror(errno);
    struct Removal {
        std::string folder;
        ~Removal() { ::rmdir(folder.c_str()); }  // the child has ended: the cgroup is empty
    } removal{cgroup};
    ASSERT_TRUE(WriteText(cgroup + "/memory.limit_in_bytes", std::to_string(kLimit)));

    test::Launch launch;
    launch.argv = {SNAPSHOT_EXE};
    // "0" moves the writer itself; nothing is allocated between fork and exec.
    launch.prepare = [procs = cgroup + "/cgroup.procs"] {
        const int fd = ::open(procs.c_str(), O_WRONLY | O_CLOEXEC);
        const bool moved = fd >= 0 && ::write(fd, "0", 1) == 1;
        if (fd >= 0) ::close(fd);
        return moved;
    };
    const test::Outcome outcome = test::Run(launch);
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    const auto lines = Lines(outcome.out);
    const Quantity physical = ParseQuantity(*LineStartingWith(lines, "Free physical memory"));
    EXPECT_LE(physical.bytes - physical.tolerance, static_cast<double>(kLimit)) << outcome.out;
    EXPECT_GT(physical.bytes, 0.0) << outcome.out;
    const Quantity virtualFree = ParseQuantity(*LineStartingWith(lines, "Free virtual memory"));
    EXPECT_LE(virtualFree.bytes - virtualFree.tolerance,
              static_cast<double>(kLimit + MeminfoKiB("SwapFree") * 1024))
        << outcome.out;
}

// The moment as the clock of a zone `offset` seconds behind UTC shows it.
std::string Stamp(const char* format, std::time_t moment, long offset = 0) {
    char text[64];
    const std::time_t local = moment - offset;
    std::tm broken{};
    ::gmtime_r(&local, &broken);
    std::strftime(text, sizeof text, format, &broken);
    return text;
}

// The date line of one run, without its centring, and the seconds around the run.
struct DatedRun {
    std::string date;
    std::time_t before;
    std::time_t after;
};

DatedRun RunForTheDate(std::vector<std::string> environment) {
    environment.push_back(std::string("LOCPATH=") + TEST_LOCALES);
    DatedRun run;
    run.before = std::time(nullptr);
    const test::Outcome outcome = RunSnapshot(std::move(environment));
    run.after = std::time(nullptr);
    const std::string first = outcome.out.substr(0, outcome.out.find('\n'));
    run.date = first.substr(first.find_first_not_of(' '));
    EXPECT_EQ(first.size() - run.date.size(), 40 - run.date.size() / 2) << first;
    return run;
}

// Whether the date line shows one of the seconds the run took.
bool ShowsASecondOfTheRun(const DatedRun& run, const char* format, long offset = 0,
                          const std::string& suffix = "") {
    for (std::time_t moment = run.before; moment <= run.after; ++moment)
        if (run.date == Stamp(format, moment, offset) + suffix) return true;
    return false;
}

// The default date format follows the locale: date order, separators, clock.
TEST(Snapshot, OpensWithTheDateCentredInTheLocalesFormat) {
    struct {
        const char* locale;
        const char* format;
    } cases[] = {{"C", "%a, %m/%d/%y %H:%M:%S UTC"}, {"de_DE.UTF-8", "%a, %d.%m.%y %H:%M:%S UTC"}};
    for (const auto& c : cases) {
        const DatedRun run = RunForTheDate({"TZ=UTC", std::string("LC_ALL=") + c.locale});
        EXPECT_TRUE(ShowsASecondOfTheRun(run, c.format))
            << c.locale << ": " << run.date << " vs " << Stamp(c.format, run.before);
    }
}

// A POSIX time zone named PIN whose clock reads `timeOfDay` (seconds after
// midnight) at `moment`, and how many seconds it is behind UTC.
struct PinnedZone {
    std::string tz;
    long offset;
};

PinnedZone ZoneReading(std::time_t moment, long timeOfDay) {
    long offset = static_cast<long>(moment % 86400) - timeOfDay;
    if (offset > 43200) offset -= 86400;
    if (offset <= -43200) offset += 86400;
    const long size = std::labs(offset);
    char tz[32];
    std::snprintf(tz, sizeof tz, "PIN%c%02ld:%02ld:%02ld", offset < 0 ? '-' : '+', size / 3600,
                  size / 60 % 60, size % 60);
    return {tz, offset};
}

// American English's 12-hour clock: its marker changes one minute after noon
// and one minute after midnight, so 12:00 is still morning and 00:00 still
// afternoon. Each run's clock is set by its time zone to half a minute into
// the minute of the case, so the seconds the run takes keep it there.
TEST(Snapshot, TheMarkerChangesAMinuteAfterNoonAndAfterMidnight) {
    struct {
        int hour;
        int minute;
        const char* marker;
    } cases[] = {{11, 59, "AM"}, {12, 0, "AM"}, {12, 1, "PM"},
                 {23, 59, "PM"}, {0, 0, "PM"},  {0, 1, "AM"}};
    for (const auto& c : cases) {
        const PinnedZone zone = ZoneReading(std::time(nullptr), (c.hour * 60 + c.minute) * 60 + 30);
        const DatedRun run = RunForTheDate({"TZ=" + zone.tz, "LC_ALL=en_US.UTF-8"});
        ASSERT_LT(run.after - run.before, 28) << "the run left the minute it was set to";
        EXPECT_TRUE(ShowsASecondOfTheRun(run, "%a, %m/%d/%y %I:%M:%S", zone.offset,
                                         std::string(c.marker) + " PIN"))
            << zone.tz << ": " << run.date;
    }
}

// A line with its numbers and the spaces before them each made one "#": what
// stays the same from one run to the next while the machine's figures move.
std::string Shape(const std::string& line) {
    static const test::Pattern number(" *[0-9][0-9,.:]*");
    return number.Replace(line, "#");
}

TEST(Snapshot, ArgumentsChangeNothing) {
    const std::vector<std::vector<std::string>> argumentLists = {
        {"-h", "--help", "x"}, {"%s%s%n%n"}, {std::string(5000, 'a')}, {"", "/"}};
    for (const auto& arguments : argumentLists) {
        std::vector<std::string> argv = {SNAPSHOT_EXE};
        argv.insert(argv.end(), arguments.begin(), arguments.end());
        const test::Outcome plain = RunSnapshot();
        const test::Outcome withArguments = test::Run(argv);
        EXPECT_EQ(withArguments.exitCode, 0) << arguments.front();
        EXPECT_EQ(withArguments.err, plain.err);
        const auto plainLines = Lines(plain.out), lines = Lines(withArguments.out);
        ASSERT_EQ(plainLines.size(), lines.size()) << withArguments.out;
        for (std::size_t i = 0; i < lines.size(); ++i)
            EXPECT_EQ(Shape(lines[i]), Shape(plainLines[i])) << arguments.front().substr(0, 20);
    }
}

// The home path and the language library come from the executable's real
// place, not from how it was started.
TEST(Snapshot, FindsItsLibraryWhenStartedThroughALink) {
    test::TempDir dir;
    fs::create_symlink(SNAPSHOT_EXE, dir / "snap");
    const test::Outcome outcome = test::Run({dir / "snap"});
    EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
    EXPECT_NE(outcome.out.find("Free physical memory"), std::string::npos);
}

using test::CopiedSnapshot;

TEST_F(CopiedSnapshot, MissingLanguageLibraryIsFatalBeforeAnyOutput) {
    const test::Outcome outcome = RunCopy();
    EXPECT_EQ(outcome.signal, SIGABRT);
    EXPECT_EQ(outcome.out, "");
    EXPECT_EQ(outcome.err, "Debug: ERROR: Unable to load module 'QUORVANT'.\n");
    EXPECT_NE(
        test::ReadFile(dir / "QUORVANT.LOG").find("ERROR: Unable to load module 'QUORVANT'.\r\n"),
        std::string::npos);
}

TEST_F(CopiedSnapshot, MissingLabelIsLoggedAndTheValueStaysInPlace) {
    test::WriteFile(dir / "QUORVANT.cat", "13 \"Up\"\n16 \"Virtual\"\n");
    const test::Outcome outcome = RunCopy();
    ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
    const auto lines = Lines(outcome.out);
    ASSERT_GE(lines.size(), 4u);
    const std::string& physical = lines[2];  // its label is missing
    EXPECT_EQ(physical.size(), 79u);
    EXPECT_EQ(physical.find_first_not_of(' '),
              79 - physical.substr(physical.rfind(' ') + 1).size());
    EXPECT_NE(test::ReadFile(dir / "QUORVANT.LOG").find(", id 15.  Status 2."), std::string::npos);
}

// Sizes in bytes (a settings file beside the program) show the locale's
// digit groups: a period in German, a comma in American English, none in C.
TEST_F(CopiedSnapshot, DigitGroupsFollowTheLocale) {
    CopyLanguageLibrary();
    test::WriteFile(dir / "QUORVANT.INI", "[QUORVANT]\nShowK=0000\n");
    struct {
        const char* locale;
        char separator;
    } cases[] = {{"de_DE.UTF-8", '.'}, {"en_US.UTF-8", ','}, {"C", 0}};
    for (const auto& c : cases) {
        const test::Outcome outcome = test::Run(
            {exe}, {std::string("LC_ALL=") + c.locale, std::string("LOCPATH=") + TEST_LOCALES});
        const auto lines = Lines(outcome.out);
        const std::string* line = LineStartingWith(lines, "Free physical memory");
        ASSERT_NE(line, nullptr) << outcome.out;
        const std::string value = line->substr(line->find_last_of(' ', line->size() - 2) + 1);
        ASSERT_GT(value.size(), 8u) << *line;  // a byte count of this machine's memory
        EXPECT_EQ(value.back(), ' ');
        for (std::size_t i = 0; i + 1 < value.size(); ++i) {
            const bool separatorPlace = c.separator && (value.size() - 1 - i) % 4 == 0;
            if (separatorPlace)
                EXPECT_EQ(value[i], c.separator) << c.locale << ": " << value;
            else
                EXPECT_TRUE(isdigit(static_cast<unsigned char>(value[i])))
                    << c.locale << ": " << value;
        }
    }
}

// The example settings file, copied as it is or with a value changed, is read
// whole without a log entry and stays as it was.
TEST_F(CopiedSnapshot, TheExampleSettingsFileLogsNothing) {
    CopyLanguageLibrary();
    std::string example = test::ReadFile(SOURCE_DIR "/doc/QUORVANT.INI.example");
    for (const bool inBytes : {false, true}) {
        if (inBytes) example.replace(example.find("\nShowK=0100\n"), 12, "\nShowK=0000\n");
        test::WriteFile(dir / "QUORVANT.INI", example);
        const test::Outcome outcome = RunCopy();
        ASSERT_EQ(outcome.exitCode, 0) << outcome.err;
        const auto lines = Lines(outcome.out);
        const std::string* line = LineStartingWith(lines, "Free physical memory");
        ASSERT_NE(line, nullptr) << outcome.out;
        EXPECT_EQ(line->back() == ' ', inBytes) << *line;
        EXPECT_FALSE(fs::exists(dir / "QUORVANT.LOG")) << test::ReadFile(dir / "QUORVANT.LOG");
        EXPECT_EQ(test::ReadFile(dir / "QUORVANT.INI"), example);
    }
}

TEST_F(CopiedSnapshot, ALinkPlantedAtTheLogIsNotFollowed) {
    test::WriteFile(dir / "QUORVANT.cat", "13 \"Up\"\n");
    test::WriteFile(dir / "target", "precious\n");
    fs::create_symlink(dir / "target", dir / "QUORVANT.LOG");
    const test::Outcome outcome = RunCopy();
    EXPECT_EQ(outcome.exitCode, 0);
    EXPECT_GE(Lines(outcome.out).size(), 9u);  // the whole report: up to the total of free space
    EXPECT_EQ(test::ReadFile(dir / "target"), "precious\n");
}

TEST_F(CopiedSnapshot, AFullDiskIsAFailureWithAMessage) {
    test::WriteFile(dir / "QUORVANT.cat", "13 \"Up\"\n");
    const test::Outcome outcome = RunCopy("/dev/full");
    EXPECT_EQ(outcome.exitCode, 1);
    EXPECT_EQ(outcome.err, "snapshot: cannot write the report: No space left on device\n");
}

TEST(Snapshot, AReaderThatLeftEndsItLikeAnyUnixTool) {
    test::Launch launch;
    launch.argv = {SNAPSHOT_EXE};
    launch.closeStdoutEarly = true;
    const test::Outcome outcome = test::Run(launch);
    EXPECT_EQ(outcome.signal, SIGPIPE);
    EXPECT_EQ(outcome.err, "");
}

}  // namespace
}  // namespace qv
