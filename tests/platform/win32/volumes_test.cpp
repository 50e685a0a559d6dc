// The drive query and the volume list, and a network drive that never
// answers. The drives of other kinds (network,
// RAM, CD-ROM, removable, a labelled disk) are made by scripts/wine-prefix,
// since wine takes drive types only from a server start.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/volumes.h"
#include "platform/win32/check_drive.h"
#include "platform/win32/drive_volumes.h"

namespace qv {
namespace {

struct Checked {
    int kind;
    std::string fileSystem;
    std::string label;
};

Checked Check(int drive) {
    char fileSystem[80], label[80];
    std::memset(fileSystem, 'x', sizeof fileSystem);
    std::memset(label, 'x', sizeof label);
    const int kind = CheckDrive(drive, fileSystem, 80, label, 80);
    return {kind, fileSystem, label};
}

int Drive(char letter) {
    return letter - 'A' + 1;
}

int UnusedDrive() {
    const DWORD drives = ::GetLogicalDrives();
    for (int drive = 26; drive >= 3; --drive)
        if ((drives >> (drive - 1) & 1) == 0) return drive;
    return 0;
}

TEST(CheckDrive, FixedDriveWithItsFileSystem) {
    const Checked c = Check(Drive('C'));
    EXPECT_EQ(c.kind, 1);
    EXPECT_EQ(c.fileSystem, "NTFS");
}

TEST(CheckDrive, NoSuchDriveGivesZeroAndEmptyTexts) {
    for (int drive : {UnusedDrive(), 0, 27, -5}) {
        const Checked c = Check(drive);
        EXPECT_EQ(c.kind, 0) << drive;
        EXPECT_EQ(c.fileSystem, "") << drive;
        EXPECT_EQ(c.label, "") << drive;
    }
}

bool PreparedDrives() {
    return ::GetDriveTypeA("N:\\") == DRIVE_REMOTE;
}

TEST(CheckDrive, KindsOfThePreparedDrives) {
    if (!PreparedDrives()) GTEST_SKIP() << "the prefix lacks the drives of scripts/wine-prefix";
    EXPECT_EQ(Check(Drive('N')).kind, -1);  // network
    EXPECT_EQ(Check(Drive('R')).kind, -1);  // RAM disk
    for (char letter : {'O', 'P'}) {        // CD-ROM, removable: volume untouched
        const Checked c = Check(Drive(letter));
        EXPECT_EQ(c.kind, 0) << letter;
        EXPECT_EQ(c.label, "") << letter;
        EXPECT_EQ(c.fileSystem, "") << letter;
    }
    const Checked labelled = Check(Drive('L'));
    EXPECT_EQ(labelled.kind, 1);
    EXPECT_EQ(labelled.label, "QVLABEL");
}

TEST(QueryVolumes, ListsFixedNetworkAndRamDrivesByLetter) {
    const std::vector<Volume> volumes = QueryVolumes();
    ASSERT_FALSE(volumes.empty());
    EXPECT_EQ(volumes.front().Name, "C");
    EXPECT_EQ(volumes.front().Kind, kFixedDrive);
    EXPECT_GT(volumes.front().FreeBytes, 0u);
    std::string letters;
    for (const Volume& volume : volumes) letters += volume.Name;
    EXPECT_EQ(letters.find_first_of("AB"), std::string::npos);
    if (!PreparedDrives()) return;
    for (char listed : {'L', 'N', 'R'})
        EXPECT_NE(letters.find(listed), std::string::npos) << listed;
    for (char skipped : {'O', 'P'}) EXPECT_EQ(letters.find(skipped), std::string::npos) << skipped;
}

std::string Letters(const std::vector<Volume>& volumes) {
    std::string letters;
    for (const Volume& volume : volumes) letters += volume.Name;
    return letters;
}

DWORD Mask(const char* letters) {
    DWORD mask = 0;
    for (const char* letter = letters; *letter; ++letter) mask |= 1u << (Drive(*letter) - 1);
    return mask;
}

// N: waits for good, as a network drive whose server has gone does; Q: is a
// network drive that answers; every other drive is a fixed one.
std::optional<Volume> HungNetworkDrive(int drive) {
    if (drive == Drive('N')) {
        static const HANDLE never = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
        ::WaitForSingleObject(never, INFINITE);
    }
    const std::string letter(1, static_cast<char>(drive + 64));
    if (drive == Drive('Q')) return Volume{letter, "NTFS", "", kNetworkOrRamDrive, 512};
    return Volume{letter, "NTFS", "", kFixedDrive, 1024};
}

TEST(VolumesOfDrives, AHungNetworkDriveIsLeftOutAfterTheDeadline) {
    using namespace std::chrono;
    const auto start = steady_clock::now();
    const std::vector<Volume> volumes =
        VolumesOfDrives(Mask("CDNQ"), HungNetworkDrive, kSlowVolumeDeadline);
    const auto took = steady_clock::now() - start;
    EXPECT_EQ(Letters(volumes), "CDQ");
    EXPECT_GE(took, kSlowVolumeDeadline - milliseconds(20));
    EXPECT_LT(took, kSlowVolumeDeadline + milliseconds(500));
}

TEST(VolumesOfDrives, DrivesThatAnswerCostNoWait) {
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(Letters(VolumesOfDrives(Mask("ABCQZ"), HungNetworkDrive, kSlowVolumeDeadline)),
              "CQZ");
    EXPECT_LT(std::chrono::steady_clock::now() - start, kSlowVolumeDeadline / 2);
}

// The report ends as usual, through the C runtime's exit and the static
// destructors, while a drive's thread is still stuck.
TEST(VolumesOfDrivesDeathTest, TheProcessEndsWithADrivesThreadStillStuck) {
    EXPECT_EXIT(
        {
            const std::vector<Volume> volumes =
                VolumesOfDrives(Mask("CN"), HungNetworkDrive, std::chrono::milliseconds(200));
            std::exit(Letters(volumes) == "C" ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

}  // namespace
}  // namespace qv
