// The volumes, processes and report of this machine, compared with what df
// and /proc say, and in a private mount namespace with mounts made for the
// test: tmpfs, bind mounts, a hidden mount and a FUSE mount that never answers.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <sstream>
#include <string>

#include "e2e/posix/mounts.h"
#include "platform/posix/volume_query.h"
#include "platform/processes.h"
#include "platform/volumes.h"
#include "support/shell_output.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

struct DfRow {
    std::string type;
    std::uint64_t avail;
};

// df's local file systems by mount point, in bytes.
std::map<std::string, DfRow> LocalFileSystemsOfDf() {
    std::istringstream rows(
        test::ShellOutput("df -l -B1 --output=fstype,avail,target 2>/dev/null"));
    std::map<std::string, DfRow> found;
    std::string line;
    std::getline(rows, line);  // heading
    while (std::getline(rows, line)) {
        std::istringstream fields(line);
        DfRow row;
        std::string target;
        fields >> row.type >> row.avail;
        std::getline(fields >> std::ws, target);
        found[target] = row;
    }
    return found;
}

bool Near(std::uint64_t a, std::uint64_t b) {
    // Other programs write to the disks meanwhile.
    constexpr std::uint64_t kDrift = 512ull << 20;
    return a > b ? a - b <= kDrift : b - a <= kDrift;
}

TEST(VolumesOfThisMachine, AgreeWithDf) {
    const std::map<std::string, DfRow> df = LocalFileSystemsOfDf();
    if (df.empty()) GTEST_SKIP() << "df gave no output";
    const std::vector<Volume> volumes = QueryVolumes();
    ASSERT_FALSE(volumes.empty());
    std::uint64_t ours = 0, theirs = 0;
    std::set<std::string> listed;
    for (const Volume& volume : volumes) {
        listed.insert(volume.Name);
        const auto row = df.find(volume.Name);
        // df hides RAM file systems without blocks (ramfs); they are listed with 0.
        if (row == df.end() && volume.Kind == kNetworkOrRamDrive && volume.FreeBytes == 0) continue;
        ASSERT_NE(row, df.end()) << volume.Name << " is not a local file system of df";
        EXPECT_EQ(row->second.type, volume.FileSystem) << volume.Name;
        EXPECT_TRUE(Near(volume.FreeBytes, row->second.avail)) << volume.Name;
        if (volume.Kind == kFixedDrive) {
            ours += volume.FreeBytes;
            theirs += row->second.avail;
        }
    }
    EXPECT_TRUE(Near(ours, theirs));
    // Every disk and RAM file system df shows is listed, unless nothing can be
    // written there (read-only, as statvfs tells); of the overlays only a
    // container's own root.
    const std::set<std::string> shownTypes = {"ext4", "xfs", "btrfs", "tmpfs", "overlay"};
    for (const auto& [target, row] : df) {
        if (shownTypes.count(row.type) == 0 || (row.type == "overlay" && target != "/")) continue;
        struct statvfs info;
        if (::statvfs(target.c_str(), &info) == 0 && (info.f_flag & ST_RDONLY) != 0) continue;
        EXPECT_EQ(listed.count(target), 1u) << target << " (" << row.type << ") is missing";
    }
}

int ProcessDirectories() {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("/proc")) {
        const std::string name = entry.path().filename().string();
        if (name.find_first_not_of("0123456789") == std::string::npos) ++count;
    }
    return count;
}

TEST(ProcessCount, AgreesWithAListingOfProc) {
    const ProcessCounter counter;
    const int before = ProcessDirectories();
    const int counted = counter.Count();
    const int after = ProcessDirectories();
    // Other engineers' builds start and end processes between the reads.
    EXPECT_GE(counted, std::min(before, after) - 10);
    EXPECT_LE(counted, std::max(before, after) + 10);
    EXPECT_GT(counted, 1);
}

TEST(ReportOfThisMachine, HasEveryLineEndingInColumn79) {
    const std::string report = test::ShellOutput(std::string(SNAPSHOT_EXE) + " 2>/dev/null");
    std::istringstream lines(report);
    std::vector<std::string> all;
    for (std::string line; std::getline(lines, line);) all.push_back(line);
    const std::size_t volumeLines = QueryVolumes().size();
    ASSERT_GE(all.size(), 9u);
    EXPECT_EQ(all.size(), 9 + volumeLines) << report;
    EXPECT_EQ(all[4].rfind("Swap file (", 0), 0u);
    EXPECT_EQ(all[7].rfind("Number of processes", 0), 0u);
    EXPECT_EQ(all[8].rfind("Free space on all local volumes", 0), 0u);
    all.erase(all.begin());  // the date line is centred, not aligned
    for (const std::string& line : all) {
        // Label and value that fit leave the value's end in column 79.
        const std::size_t valueAt = line.find_last_of(' ', line.size() - 2) + 1;
        const std::size_t labelEnd = line.find_last_not_of(' ', valueAt - 1) + 1;
        if (labelEnd + (line.size() - valueAt) < 79) {
            EXPECT_EQ(line.size(), 79u) << line;
        }
    }
    bool rootListed = false;
    for (std::size_t i = 8; i < all.size(); ++i) {  // after the total
        EXPECT_EQ(all[i].rfind("Free space on /", 0), 0u) << all[i];
        rootListed |= all[i].rfind("Free space on / (", 0) == 0;
    }
    EXPECT_TRUE(rootListed);
}

// In a chroot whose root is no mount point, / cannot be made private.
constexpr const char* kNoNamespace = "no private mount namespace (is / a mount point?)";

// Runs Body in a child process with a private mount namespace; what it writes
// comes back as text. Needs root.
std::string InPrivateMountNamespace(const std::function<std::string()>& body) {
    int fds[2];
    if (::pipe(fds) != 0) return "pipe failed";
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::close(fds[0]);
        std::string text;
        if (!test::EnterPrivateMountNamespace())
            text = kNoNamespace;
        else
            text = body();
        if (::write(fds[1], text.data(), text.size()) < 0) ::_exit(2);
        ::_exit(0);
    }
    ::close(fds[1]);
    std::string text;
    char chunk[4096];
    ssize_t got;
    while ((got = ::read(fds[0], chunk, sizeof chunk)) > 0) text.append(chunk, got);
    ::close(fds[0]);
    ::waitpid(pid, nullptr, 0);
    return text;
}

std::string Describe(const std::vector<Volume>& volumes, const std::string& under) {
    std::string text;
    for (const Volume& volume : volumes) {
        if (volume.Name.rfind(under, 0) != 0) continue;
        text += volume.Name.substr(under.size()) + " " + volume.FileSystem + " " +
                std::to_string(volume.Kind) + " " + std::to_string(volume.FreeBytes / 1024) + "\n";
    }
    return text;
}

class PrivateMounts : public ::testing::Test {
  protected:
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "mount namespaces need root; run the tests as root";
    }
    test::TempDir Dir;
};

TEST_F(PrivateMounts, TmpfsBindAndHiddenMounts) {
    const std::string base = Dir.path().string();
    const std::string seen = InPrivateMountNamespace([&] {
        if (!test::MountTmpfs(base + "/a", "size=1m") ||
            !test::MountTmpfs(base + "/c", "size=2m") ||
            !test::MountTmpfs(base + "/c", "size=3m") ||
            !test::MountTmpfs(base + "/with space", "size=4m"))
            return std::string("mount failed");
        std::filesystem::create_directories(base + "/a/sub");
        std::filesystem::create_directories(base + "/bb");
        std::filesystem::create_directories(base + "/x");
        if (::mount((base + "/a").c_str(), (base + "/bb").c_str(), nullptr, MS_BIND, nullptr) ||
            ::mount((base + "/a/sub").c_str(), (base + "/x").c_str(), nullptr, MS_BIND, nullptr))
            return std::string("bind failed");
        return Describe(QueryVolumes(), base);
    });
    if (seen == kNoNamespace) GTEST_SKIP() << seen;
    // One line for /a (bound at /bb and, in part, at /x), the upper tmpfs on /c
    // only, a name with a blank; tmpfs is listed, not counted.
    EXPECT_EQ(seen,
              "/a tmpfs -1 1024\n"
              "/c tmpfs -1 3072\n"
              "/with space tmpfs -1 4096\n");
}

TEST_F(PrivateMounts, AFuseMountThatNeverAnswersCostsTheDeadlineOnly) {
    const std::string base = Dir.path().string();
    const std::string seen = InPrivateMountNamespace([&] {
        if (!test::MountTmpfs(base + "/a", "size=1m")) return std::string("mount failed");
        if (!test::MountDeadFuse(base + "/dead")) return std::string("no FUSE");
        const auto start = std::chrono::steady_clock::now();
        const std::vector<Volume> volumes = QueryVolumes();
        const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(
            std::chrono::steady_clock::now() - start);
        return Describe(volumes, base) + (took.count() < 1500 ? "in time" : "too slow");
    });
    if (seen == "no FUSE" || seen == kNoNamespace) GTEST_SKIP() << seen;
    EXPECT_EQ(seen, "/a tmpfs -1 1024\nin time");
}

}  // namespace
}  // namespace qv
