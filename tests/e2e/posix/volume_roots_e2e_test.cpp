// The real program as the only program of a root of its own, in a private
// mount namespace, as container engines, SD-card boards and build chroots
// set roots up: its report has to find the store under its feet. Needs root.
#include <gtest/gtest.h>

#include <elf.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

#include "e2e/posix/mounts.h"
#include "e2e/posix/run.h"
#include "support/shell_output.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

constexpr long kTmpfsMagic = 0x01021994;

// The volume lines of a report, by their label after "Free space on " ("/
// (overlay)", "all local volumes"), with the value each shows.
std::map<std::string, std::string> VolumeLines(const std::string& report) {
    constexpr std::string_view kStart = "Free space on ";
    std::map<std::string, std::string> lines;
    for (const std::string& line : test::Lines(report)) {
        if (line.rfind(kStart, 0) != 0 || line.size() < kStart.size() + 2) continue;
        const std::size_t valueAt = line.find_last_of(' ', line.size() - 2) + 1;
        const std::size_t labelEnd = line.find_last_not_of(' ', valueAt - 1) + 1;
        lines[line.substr(kStart.size(), labelEnd - kStart.size())] = line.substr(valueAt);
    }
    return lines;
}

void WriteFile(const std::string& path, const char* text) {
    std::ofstream(path) << text;
}

// Whether the program names a dynamic loader (PT_INTERP): a root that holds
// nothing but the program cannot start it then.
bool LinkedDynamically(const char* program) {
    std::ifstream file(program, std::ios::binary);
    Elf64_Ehdr header{};
    if (!file.read(reinterpret_cast<char*>(&header), sizeof header)) return false;
    for (unsigned i = 0; i < header.e_phnum; ++i) {
        Elf64_Phdr segment{};
        file.seekg(static_cast<std::streamoff>(header.e_phoff + i * sizeof segment));
        if (!file.read(reinterpret_cast<char*>(&segment), sizeof segment)) return false;
        if (segment.p_type == PT_INTERP) return true;
    }
    return false;
}

class RootOfItsOwn : public ::testing::Test {
  protected:
    void SetUp() override {
        if (::geteuid() != 0) GTEST_SKIP() << "mount namespaces need root; run the tests as root";
        if (LinkedDynamically(SNAPSHOT_EXE))
            GTEST_SKIP() << "the program is linked dynamically (a sanitizer build), and a root "
                            "of its own holds no loader for it";
        struct statfs info;
        if (::statfs(Base.c_str(), &info) == 0 && info.f_type == kTmpfsMagic)
            GTEST_SKIP() << "the temporary folder is on tmpfs, and these roots need a disk";
    }

    // The program and its language library in the root's /bin (or another
    // folder of the root, "" for its top).
    static void CopyProgramTo(const std::string& root, const std::string& folder = "/bin") {
        std::filesystem::create_directories(root + folder);
        std::filesystem::copy_file(SNAPSHOT_EXE, root + folder + "/snapshot");
        std::filesystem::copy_file(std::string(BUILD_DIR) + "/QUORVANT.cat",
                                   root + folder + "/QUORVANT.cat");
    }

    // Runs the program after Arrange made the root; the volume lines of its
    // report, or nothing when the root could not be made.
    std::optional<std::map<std::string, std::string>> ReportInRoot(
        const std::function<bool()>& arrange, const std::string& program = "/bin/snapshot") {
        test::Launch launch;
        launch.argv = {program};
        launch.prepare = arrange;
        const test::Outcome outcome = test::Run(launch);
        if (outcome.exitCode == test::kNotArranged) return std::nullopt;
        EXPECT_EQ(outcome.exitCode, 0) << outcome.err;
        Report = outcome.out;
        return VolumeLines(outcome.out);
    }

    test::TempDir Dir;
    const std::string Base = Dir.path().string();
    std::string Report;
};

// As Docker, containerd and Podman make a container: an overlay root whose
// layers lie on the disk, and a file of that disk bound in (/etc/hosts).
TEST_F(RootOfItsOwn, AContainersOverlayRootAndTheFileBoundInAreOneVolume) {
    for (const char* folder : {"lower/etc", "upper", "work", "root"})
        std::filesystem::create_directories(Base + "/" + folder);
    CopyProgramTo(Base + "/lower");
    WriteFile(Base + "/lower/etc/hosts", "");
    WriteFile(Base + "/hosts", "127.0.0.1 localhost\n");
    const auto lines = ReportInRoot([&] {
        return test::EnterPrivateMountNamespace() &&
               test::MountOverlay(Base + "/lower", Base + "/upper", Base + "/work",
                                  Base + "/root") &&
               test::BindOver(Base + "/hosts", Base + "/root/etc/hosts") &&
               test::EnterRootWithProc(Base + "/root");
    });
    if (!lines) GTEST_SKIP() << "no private mount namespace with an overlay here";
    EXPECT_EQ(lines->size(), 2u) << Report;
    ASSERT_EQ(lines->count("/ (overlay)"), 1u) << Report;
    EXPECT_EQ(lines->at("all local volumes"), lines->at("/ (overlay)")) << Report;
}

// A Raspberry Pi booted from its SD card: the card hangs on the mmc bus and
// can be taken out, yet it holds the root. A loop device stands in for the
// card, its place in sysfs (a tmpfs on the root's /sys) on the mmc bus.
TEST_F(RootOfItsOwn, AnSdCardHoldingTheRootIsTheSystemsDisk) {
    const std::string image = Base + "/card.img";
    if (std::system(
            ("truncate -s 64M " + image + " && mkfs.ext4 -q -F " + image + " >/dev/null 2>&1")
                .c_str()) != 0)
        GTEST_SKIP() << "mkfs.ext4 is missing";
    std::string loop = test::ShellOutput("losetup -f --show " + image + " 2>/dev/null");
    while (!loop.empty() && loop.back() == '\n') loop.pop_back();
    if (loop.empty()) GTEST_SKIP() << "no loop device free";
    struct Detach {
        std::string device;
        ~Detach() {
            if (std::system(("losetup -d " + device + " 2>/dev/null").c_str()) != 0)
                ADD_FAILURE() << "losetup -d " << device << " failed";
        }
    } detach{loop};
    struct stat device;
    ASSERT_EQ(::stat(loop.c_str(), &device), 0);
    const std::string number =
        std::to_string(major(device.st_rdev)) + ":" + std::to_string(minor(device.st_rdev));

    const std::string root = Base + "/root";
    std::filesystem::create_directories(root);
    const auto lines = ReportInRoot([&] {
        if (!test::EnterPrivateMountNamespace() ||
            ::mount(loop.c_str(), root.c_str(), "ext4", 0, nullptr) != 0 ||
            !test::MountTmpfs(root + "/sys", "size=1m"))
            return false;
        CopyProgramTo(root);
        const std::string card =
            "devices/platform/emmc2bus/fe340000.mmc/mmc_host/mmc0/mmc0:aaaa/block/mmcblk0";
        std::filesystem::create_directories(root + "/sys/" + card + "/mmcblk0p2");
        std::filesystem::create_directories(root + "/sys/" + card + "/device");
        std::filesystem::create_directories(root + "/sys/dev/block");
        WriteFile(root + "/sys/" + card + "/removable", "0\n");
        WriteFile(root + "/sys/" + card + "/device/type", "SD\n");
        WriteFile(root + "/sys/" + card + "/mmcblk0p2/partition", "2\n");
        return ::symlink(("../../" + card + "/mmcblk0p2").c_str(),
                         (root + "/sys/dev/block/" + number).c_str()) == 0 &&
               test::EnterRootWithProc(root);
    });
    if (!lines) GTEST_SKIP() << "no private mount namespace here";
    ASSERT_EQ(lines->count("/ (ext4)"), 1u) << Report;
    EXPECT_EQ(lines->at("all local volumes"), lines->at("/ (ext4)")) << Report;
}

// A build chroot (debootstrap, a rescue system): its root is a folder, no
// mount point, and no line of the mount table shows it.
TEST_F(RootOfItsOwn, AChrootWhoseRootIsNoMountPointStillStandsOnItsDisk) {
    const std::string root = Base + "/chroot";
    CopyProgramTo(root);
    const auto lines = ReportInRoot(
        [&] { return test::EnterPrivateMountNamespace() && test::EnterRootWithProc(root); });
    if (!lines) GTEST_SKIP() << "no private mount namespace here";
    std::string rootLine;
    for (const auto& [label, value] : *lines)
        if (label.rfind("/ (", 0) == 0) rootLine = label;
    ASSERT_FALSE(rootLine.empty()) << Report;
    EXPECT_EQ(lines->at("all local volumes"), lines->at(rootLine)) << Report;
}

// A container image that copies the program to its top folder (`COPY
// snapshot /`): the folder of the program is "/", and its language library
// beside it must be found there.
TEST_F(RootOfItsOwn, AProgramAtTheTopOfItsRootFindsItsLanguageLibrary) {
    const std::string root = Base + "/image";
    CopyProgramTo(root, "");
    const auto lines = ReportInRoot(
        [&] { return test::EnterPrivateMountNamespace() && test::EnterRootWithProc(root); },
        "/snapshot");
    if (!lines) GTEST_SKIP() << "no private mount namespace here";
    EXPECT_EQ(lines->count("all local volumes"), 1u) << Report;
}

}  // namespace
}  // namespace qv
