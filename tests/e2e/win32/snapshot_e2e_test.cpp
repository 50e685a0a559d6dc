// SNAPSHOT.EXE of this build, started as a user would start it, with its
// standard streams on pipes.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/library.h"
#include "platform/win32/win_support.h"
#include "resource/restring.h"
#include "support/pattern.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

constexpr ::DWORD kRunLimitMilliseconds = 30000;

struct ProgramRun {
    ::DWORD exitCode = 0;
    bool timedOut = false;
    std::string out;
    std::string err;
};

// Moves what the pipe holds now into `text`, without waiting for more.
void Drain(HANDLE pipe, std::string& text) {
    char chunk[4096];
    ::DWORD available = 0, got = 0;
    while (::PeekNamedPipe(pipe, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
           ::ReadFile(pipe, chunk, sizeof chunk, &got, nullptr) && got > 0)
        text.append(chunk, got);
}

struct Pipe {
    HANDLE read = nullptr, write = nullptr;
    Pipe() {
        SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
        ::CreatePipe(&read, &write, &inherited, 0);
        ::SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);  // the child gets the write end only
    }
    ~Pipe() {
        ::CloseHandle(read);
        if (write) ::CloseHandle(write);
    }
    void CloseWriteEnd() {
        ::CloseHandle(write);
        write = nullptr;
    }
};

// Runs the program in `directory`, standard input on NUL. A program that has
// not ended within the limit is ended, so that no test waits forever.
ProgramRun RunProgram(const std::string& program, const std::string& directory) {
    Pipe out, err;
    SECURITY_ATTRIBUTES inherited{sizeof inherited, nullptr, TRUE};
    const HANDLE nul = ::CreateFileA("NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                     &inherited, OPEN_EXISTING, 0, nullptr);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = out.write;
    startup.hStdError = err.write;
    std::string commandLine = "\"" + program + "\"";
    PROCESS_INFORMATION process{};
    ProgramRun run;
    const bool started = ::CreateProcessA(program.c_str(), commandLine.data(), nullptr, nullptr,
                                          TRUE, 0, nullptr, directory.c_str(), &startup, &process);
    ::CloseHandle(nul);
    out.CloseWriteEnd();
    err.CloseWriteEnd();
    EXPECT_TRUE(started) << program << ": error " << ::GetLastError();
    if (!started) return run;
    // The pipes are polled rather than read to their end: a helper process
    // that wine starts for the program (the desktop) inherits the write ends
    // and may outlive it.
    const auto deadline = ::GetTickCount64() + kRunLimitMilliseconds;
    bool ended = false;
    while (!ended) {
        ended = ::WaitForSingleObject(process.hProcess, 5) == WAIT_OBJECT_0;
        Drain(out.read, run.out);
        Drain(err.read, run.err);
        if (!ended && ::GetTickCount64() > deadline) {
            run.timedOut = true;
            ::TerminateProcess(process.hProcess, 0xDEAD);
            ::WaitForSingleObject(process.hProcess, INFINITE);
            ended = true;
        }
    }
    ::GetExitCodeProcess(process.hProcess, &run.exitCode);
    ::CloseHandle(process.hThread);
    ::CloseHandle(process.hProcess);
    return run;
}

std::string Program() {
    return test::HostPathToWindows(SNAPSHOT_EXE);
}
std::string BuildDirectory() {
    return test::HostPathToWindows(BUILD_DIR);
}

// The lines of the report without their line ends; every line must end in
// CR LF, as the C library's text mode writes "\n" to a pipe.
std::vector<std::string> CrLfLines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        EXPECT_NE(end, std::string::npos) << "the last line has no line end";
        if (end == std::string::npos) break;
        EXPECT_TRUE(end > start && text[end - 1] == '\r') << "a bare line feed in: " << text;
        lines.push_back(text.substr(start, end > start ? end - start - 1 : 0));
        start = end + 1;
    }
    return lines;
}

// A size as the report shows it, back in bytes, and half its unit: the most
// that rounding to the unit changed it.
struct ShownSize {
    std::uint64_t bytes;
    std::uint64_t halfUnit;
};

ShownSize ParseSize(const std::string& figure, char suffix) {
    std::string digits = figure;
    std::erase(digits, ',');
    const std::uint64_t unit = suffix == 'K'   ? 1ULL << 10
                               : suffix == 'M' ? 1ULL << 20
                               : suffix == 'G' ? 1ULL << 30
                                               : 1;
    return {std::stoull(digits) * unit, unit / 2};
}

bool ShownBetween(const ShownSize& shown, std::uint64_t first, std::uint64_t second) {
    return shown.bytes + shown.halfUnit >= std::min(first, second) &&
           shown.bytes <= std::max(first, second) + shown.halfUnit;
}

class Win32Snapshot : public testing::Test {
  protected:
    void SetUp() override {
        const HANDLE library = LoadLanguageLibrary(BuildDirectory() + "\\QUORVANT.DLL");
        ASSERT_NE(library, nullptr);
        for (const ULONG id : {13u, 15u, 16u, 17u}) Labels[id] = ResourceString(library, id).str();
        FreeLanguageLibrary(library);
    }

    // The line that begins with the label of string `id`; the test fails when
    // there is none.
    std::string LineOf(const std::vector<std::string>& lines, ULONG id) {
        for (const std::string& line : lines)
            if (line.starts_with(Labels[id])) return line;
        ADD_FAILURE() << "no line begins with \"" << Labels[id] << "\"";
        return {};
    }

    std::map<ULONG, std::string> Labels;
};

// Free memory moves while other programs run: where a figure falls outside
// what the platform reported before and after the run, the run is made again,
// a few times, before the test fails.
TEST_F(Win32Snapshot, ReportsThisMachinesFactsWithValuesEndingInColumn79) {
    constexpr int kRuns = 5;
    for (int attempt = 1;; ++attempt) {
        MEMORYSTATUSEX before{}, after{};
        before.dwLength = after.dwLength = sizeof before;
        const ULONGLONG ticksBefore = ::GetTickCount64();
        ASSERT_TRUE(::GlobalMemoryStatusEx(&before));
        const ProgramRun run = RunProgram(Program(), BuildDirectory());
        ASSERT_TRUE(::GlobalMemoryStatusEx(&after));
        const ULONGLONG ticksAfter = ::GetTickCount64();

        ASSERT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitCode, 0u) << run.err;
        EXPECT_EQ(run.err, "");
        const std::vector<std::string> lines = CrLfLines(run.out);

        const std::string uptime = LineOf(lines, 13);
        const std::string physical = LineOf(lines, 15);
        const std::string virtualMemory = LineOf(lines, 16);
        for (const std::string* line : {&uptime, &physical, &virtualMemory})
            EXPECT_EQ(line->size(), 79u) << '"' << *line << '"';

        const auto days = test::Pattern(R"( (?:(\d+) days?, )?(\d+):(\d\d)$)").Search(uptime);
        ASSERT_TRUE(days) << uptime;
        const test::Groups& up = *days;
        const std::uint64_t minutes = (up[1].empty() ? 0 : std::stoull(up[1]) * 1440) +
                                      std::stoull(up[2]) * 60 + std::stoull(up[3]);
        EXPECT_GE(minutes, ticksBefore / 60000) << uptime;
        EXPECT_LE(minutes, ticksAfter / 60000) << uptime;

        const test::Pattern sizeValue(R"( ([0-9,]+)([KMG ])$)");
        const auto physicalSize = sizeValue.Search(physical);
        const auto virtualSize = sizeValue.Search(virtualMemory);
        ASSERT_TRUE(physicalSize) << physical;
        ASSERT_TRUE(virtualSize) << virtualMemory;
        const bool physicalHolds =
            ShownBetween(ParseSize((*physicalSize)[1], (*physicalSize)[2][0]), before.ullAvailPhys,
                         after.ullAvailPhys);
        const bool virtualHolds = ShownBetween(ParseSize((*virtualSize)[1], (*virtualSize)[2][0]),
                                               before.ullAvailPhys + before.ullAvailPageFile,
                                               after.ullAvailPhys + after.ullAvailPageFile);
        if ((physicalHolds && virtualHolds) || attempt == kRuns) {
            EXPECT_TRUE(physicalHolds) << physical << " (free " << before.ullAvailPhys
                                       << " before, " << after.ullAvailPhys << " after)";
            EXPECT_TRUE(virtualHolds) << virtualMemory;
            return;
        }
    }
}

// Without its language library the program shows the failure in a box titled
// "Debug", logs it in the current directory (the home path is not known yet)
// and ends abnormally before printing anything.
TEST_F(Win32Snapshot, WithoutItsLanguageLibraryEndsAbnormallyAfterTheDebugBox) {
    const test::TempDir alone;
    const std::string program = alone / "SNAPSHOT.EXE";
    ASSERT_TRUE(::CopyFileA(Program().c_str(), program.c_str(), TRUE));
    test::MessageBoxCloser closer("Debug");
    const ProgramRun run = RunProgram(program, alone.path().string());
    EXPECT_EQ(closer.Wait(), "ERROR: Unable to load module 'QUORVANT'.");
    ASSERT_FALSE(run.timedOut);
    EXPECT_EQ(run.exitCode, 3u) << "abort's status";
    EXPECT_EQ(run.out, "");
    const std::string log = test::ReadFile(alone / "QUORVANT.LOG");
    // The message's own CR LF goes through text mode as CR CR LF; the log's
    // line end follows as an empty line.
    EXPECT_TRUE(log.ends_with(" ERROR: Unable to load module 'QUORVANT'.\r\r\n\r\n")) << log;
}

#if defined(__i386__)

// For the program's runs while it lives, Wine reports the Windows 98 family
// (platform id 1) to SNAPSHOT.EXE, as a per-program setting of Wine's own.
// Only 32-bit programs ever ran on that family.
class AsWindows98 {
  public:
    AsWindows98() {
        ::RegCreateKeyExA(HKEY_CURRENT_USER, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &Key,
                          nullptr);
        ::RegSetValueExA(Key, "Version", 0, REG_SZ, reinterpret_cast<const BYTE*>("win98"), 6);
    }
    ~AsWindows98() {
        ::RegCloseKey(Key);
        ::RegDeleteKeyA(HKEY_CURRENT_USER, kKey);
    }
    AsWindows98(const AsWindows98&) = delete;
    AsWindows98& operator=(const AsWindows98&) = delete;

  private:
    static constexpr const char* kKey = "Software\\Wine\\AppDefaults\\SNAPSHOT.EXE";
    HKEY Key = nullptr;
};

// On the Windows 95/98/ME family the swap file is the [386enh] PagingFile
// entry of WIN.INI, "N/A" without one, and never has a size.
TEST_F(Win32Snapshot, AsWindows98TakesTheSwapFileFromTheSystemProfile) {
    const struct {
        const char* entry;  // nullptr: none
        const char* shown;
    } cases[] = {
        {"C:\\WINDOWS\\WIN386.SWP", "(C:\\WINDOWS\\WIN386.SWP)"},
        {nullptr, "(N/A)"},
    };
    char saved[MAX_PATH] = "";
    const bool hadEntry = ::GetProfileStringA("386enh", "PagingFile", "", saved, sizeof saved) > 0;
    const AsWindows98 windows98;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.entry ? c.entry : "no entry");
        ::WriteProfileStringA("386enh", "PagingFile", c.entry);
        const ProgramRun run = RunProgram(Program(), BuildDirectory());
        ASSERT_FALSE(run.timedOut);
        EXPECT_EQ(run.exitCode, 0u) << run.err;
        const std::string line = LineOf(CrLfLines(run.out), 17);
        EXPECT_EQ(line.substr(0, line.find(')') + 1), Labels[17] + " " + c.shown) << line;
        EXPECT_TRUE(line.ends_with(" 0 ")) << line;
    }
    ::WriteProfileStringA("386enh", "PagingFile", hadEntry ? saved : nullptr);
}

#endif

}  // namespace
}  // namespace qv
