// The readers of the kernel's files pointed at a root folder other than /:
// a missing file gives its fallback and exactly one problem line, and a
// file copied from a real system reads as the kernel says it through
// another route (sysinfo), or as its published source shows it.
#include "platform/posix/kernel_files.h"

#include <gtest/gtest.h>
#include <sys/sysinfo.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "platform/posix/cgroup_memory.h"
#include "platform/problem.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

std::vector<std::string>& Lines() {
    static std::vector<std::string> lines;
    return lines;
}

// Takes the problem lines for the test's lifetime and hands the sink back.
class ProblemLines {
  public:
    ProblemLines()
        : Previous(SetProblemSink([](const char* line) { Lines().emplace_back(line); })) {
        Lines().clear();
    }
    ~ProblemLines() { SetProblemSink(Previous); }
    ProblemLines(const ProblemLines&) = delete;
    ProblemLines& operator=(const ProblemLines&) = delete;

    const std::vector<std::string>& lines() const { return Lines(); }

  private:
    ProblemSink Previous;
};

struct MissingCase {
    const char* reader;
    const char* missing;  // the file the line must name
    // Reads under the root; true when the reader answered TRUE or its
    // figures are not the fallback.
    std::function<bool(const std::string& root)> readsAnything;
};

const MissingCase kMissingCases[] = {
    {"meminfo", "/proc/meminfo",
     [](const std::string& root) {
         MeminfoFigures figures;
         figures.MemTotal = 1;
         const BOOL read = MeminfoFile(root).Read(figures);
         return read || figures.MemTotal != 0 || figures.Status.availPhys != 0;
     }},
    {"swaps", "/proc/swaps",
     [](const std::string& root) {
         std::optional<SwapArea> first = SwapArea{"/swapfile", 1};
         const BOOL read = ReadFirstSwapArea(root, first);
         return read || first.has_value();
     }},
    {"processes", "/proc",
     [](const std::string& root) {
         int count = 1;
         const BOOL read = CountProcesses(root, count);
         return read || count != 0;
     }},
    {"mount table", "/proc/self/mountinfo",
     [](const std::string& root) {
         MountTable table;
         const BOOL read = ReadMountTable(root, table);
         return read || !table.Mounts.empty();
     }},
    {"memory cgroup", "/proc/self/cgroup",
     [](const std::string& root) { return !FindMemoryCgroups(root).Folders.empty(); }},
};

TEST(KernelFiles, AMissingFileGivesTheFallbackAndOneLineNamingIt) {
    const test::TempDir root;
    for (const MissingCase& c : kMissingCases) {
        const ProblemLines problems;
        EXPECT_FALSE(c.readsAnything(root.path().string())) << c.reader;
        ASSERT_EQ(problems.lines().size(), 1u) << c.reader;
        EXPECT_NE(problems.lines()[0].find(root.path().string() + c.missing), std::string::npos)
            << problems.lines()[0];
    }
}

void CopyFile(const std::string& from, const std::string& to) {
    std::filesystem::create_directories(std::filesystem::path(to).parent_path());
    std::ifstream in(from, std::ios::binary);
    std::ofstream out(to, std::ios::binary);
    out << in.rdbuf();
}

// This machine's /proc/meminfo copied under a root: its total memory and
// swap are what sysinfo(2) says (the machine's memory and swap size do not
// change between the two reads).
TEST(KernelFiles, MeminfoUnderARootReadsAsTheKernelSaysThroughSysinfo) {
    const test::TempDir root;
    CopyFile("/proc/meminfo", root / "proc/meminfo");
    struct sysinfo kernel {};
    ASSERT_EQ(::sysinfo(&kernel), 0);
    const ProblemLines problems;
    MeminfoFigures figures;
    ASSERT_TRUE(MeminfoFile(root.path().string()).Read(figures));
    EXPECT_EQ(figures.MemTotal, std::uint64_t{kernel.totalram} * kernel.mem_unit);
    EXPECT_EQ(figures.Status.totalPageFile, std::uint64_t{kernel.totalswap} * kernel.mem_unit);
    EXPECT_TRUE(problems.lines().empty());
}

// A container's mount table as `docker run ubuntu cat /proc/self/mountinfo`
// printed it (tests/platform/posix/cgroups/v2-docker-namespaced/SOURCE): each
// of its lines is one mount, none malformed.
TEST(KernelFiles, APublishedMountTableUnderARootGivesOneMountPerLine) {
    const std::string root = SOURCE_DIR "/tests/platform/posix/cgroups/v2-docker-namespaced";
    std::ifstream text(root + "/proc/self/mountinfo");
    std::size_t lines = 0;
    for (std::string line; std::getline(text, line);) lines += line.empty() ? 0 : 1;
    const ProblemLines problems;
    MountTable table;
    ASSERT_TRUE(ReadMountTable(root, table));
    EXPECT_EQ(table.Mounts.size(), lines);
    EXPECT_EQ(table.Malformed, 0);
    EXPECT_TRUE(problems.lines().empty());
}

}  // namespace
}  // namespace qv
