// Kinds of mounts, the choice of one mount per file system, and labels.
#include <gtest/gtest.h>

#include "platform/posix/mount_fixtures.h"
#include "platform/posix/volume_kind.h"

namespace qv {
namespace {

using namespace test;

MountEntry Mount(const char* type, const char* source, unsigned major = 0) {
    return MountEntry{1, 0, major, 0, "/", "/mnt/x", type, source, "", false};
}

MountEntry MountAt(const char* mountPoint, const char* type, const char* source) {
    return MountEntry{1, 0, 0, 0, "/", mountPoint, type, source, "", false};
}

BlockDeviceFacts Disk(const char* name, bool removable = false, bool hotPlugged = false) {
    BlockDeviceFacts facts;
    facts.Name = name;
    facts.Removable = removable;
    facts.HotPlugged = hotPlugged;
    return facts;
}

TEST(ClassifyMount, KindsOfTheMountTable) {
    struct Case {
        MountEntry mount;
        std::optional<BlockDeviceFacts> facts;
        DriveKind kind;
    };
    const Case cases[] = {
        {Mount("ext4", "/dev/sda1", 8), Disk("sda1"), kFixedDrive},
        {Mount("xfs", "/dev/nvme0n1p2", 259), Disk("nvme0n1p2"), kFixedDrive},
        {Mount("vfat", "/dev/sdb1", 8), Disk("sdb1", true), kOtherDrive},
        {Mount("exfat", "/dev/sdc1", 8), Disk("sdc1", false, true), kOtherDrive},
        {Mount("iso9660", "/dev/sr0", 11), Disk("sr0"), kOtherDrive},
        {Mount("udf", "/dev/sr0", 11), Disk("sr0"), kOtherDrive},
        {Mount("ext2", "/dev/sr1", 11), Disk("sr1"), kOtherDrive},
        {Mount("squashfs", "/dev/loop3", 7), Disk("loop3"), kOtherDrive},
        {Mount("ext4", "/dev/zram1", 252), Disk("zram1"), kNetworkOrRamDrive},
        {Mount("ext2", "/dev/ram0", 1), Disk("ram0"), kNetworkOrRamDrive},
        {Mount("ext4", "/dev/vda1", 254), BlockDeviceFacts{}, kFixedDrive},  // no sysfs
        {Mount("btrfs", "/dev/sda2"), Disk("sda2"), kFixedDrive},
        {Mount("btrfs", "/dev/mapper/x"), std::nullopt, kFixedDrive},
        {Mount("zfs", "rpool/ROOT/debian"), std::nullopt, kFixedDrive},
        // A container's own root is its disk; the overlays a container
        // engine keeps for its containers, and package images, are not.
        {MountAt("/", "overlay", "overlay"), std::nullopt, kFixedDrive},
        {MountAt("/var/lib/docker/overlay2/3f1c/merged", "overlay", "overlay"), std::nullopt,
         kOtherDrive},
        {MountAt("/run/containerd/io.containerd.runtime.v2.task/k8s.io/9ad2/rootfs", "overlay",
                 "overlay"),
         std::nullopt, kOtherDrive},
        {MountAt("/", "fuse.fuse-overlayfs", "fuse-overlayfs"), std::nullopt, kFixedDrive},
        {MountAt("/home/me/.local/share/containers/storage/overlay/77e0/merged",
                 "fuse.fuse-overlayfs", "fuse-overlayfs"),
         std::nullopt, kOtherDrive},
        {Mount("squashfs", "/dev/loop5", 7), BlockDeviceFacts{}, kOtherDrive},  // no sysfs
        {Mount("tmpfs", "tmpfs"), std::nullopt, kNetworkOrRamDrive},
        {Mount("ramfs", "none"), std::nullopt, kNetworkOrRamDrive},
        {Mount("nfs4", "server:/export"), std::nullopt, kNetworkOrRamDrive},
        {Mount("nfs", "10.0.0.1:/x"), std::nullopt, kNetworkOrRamDrive},
        {Mount("cifs", "//server/share"), std::nullopt, kNetworkOrRamDrive},
        {Mount("smb3", "//server/share"), std::nullopt, kNetworkOrRamDrive},
        {Mount("ceph", "mon1:6789:/"), std::nullopt, kNetworkOrRamDrive},
        {Mount("9p", "hostshare"), std::nullopt, kNetworkOrRamDrive},
        {Mount("fuse.sshfs", "me@host:/home"), std::nullopt, kNetworkOrRamDrive},
        {Mount("fuse.rclone", "remote"), std::nullopt, kNetworkOrRamDrive},
        {Mount("fuseblk", "/dev/sdd1", 8), Disk("sdd1"), kFixedDrive},
        {Mount("proc", "proc"), std::nullopt, kOtherDrive},
        {Mount("sysfs", "sysfs"), std::nullopt, kOtherDrive},
        {Mount("cgroup2", "cgroup2"), std::nullopt, kOtherDrive},
        {Mount("devpts", "devpts"), std::nullopt, kOtherDrive},
        {Mount("devtmpfs", "udev"), std::nullopt, kOtherDrive},
        {Mount("autofs", "systemd-1"), std::nullopt, kOtherDrive},
        {Mount("binfmt_misc", "binfmt_misc"), std::nullopt, kOtherDrive},
        {Mount("fuse.lxcfs", "lxcfs"), std::nullopt, kOtherDrive},
        {Mount("weirdfs", "none"), std::nullopt, kOtherDrive},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ClassifyMount(c.mount, c.facts), c.kind) << c.mount.Type << " " << c.mount.Source;
}

TEST(MayHang, NetworkFuseAndAutomountOnly) {
    EXPECT_TRUE(MayHang(Mount("nfs4", "server:/export")));
    EXPECT_TRUE(MayHang(Mount("cifs", "//server/share")));
    EXPECT_TRUE(MayHang(Mount("fuse.sshfs", "me@host:/")));
    EXPECT_TRUE(MayHang(Mount("fuseblk", "/dev/sdd1", 8)));
    EXPECT_TRUE(MayHang(Mount("autofs", "systemd-1")));
    EXPECT_FALSE(MayHang(Mount("ext4", "/dev/sda1", 8)));
    EXPECT_FALSE(MayHang(Mount("tmpfs", "tmpfs")));
    EXPECT_FALSE(MayHang(Mount("overlay", "overlay")));
}

// Places of disks in sysfs as the kernel shows them (the targets of
// /sys/block/NAME): a USB stick, the SD card of a Raspberry Pi 4, the eMMC of
// a Chromebook, and disks of a VM and a laptop. A disk on the mmc bus comes
// and goes when its card is an SD card, which the card's "type" tells.
TEST(IsOnHotPlugBus, BusesByTheirComponentsOfThePath) {
    struct Case {
        const char* place;
        bool hotPlugBus;
        bool mmcBus;
    };
    const Case cases[] = {
        {"../devices/pci0000:00/0000:00:14.0/usb2/2-1/2-1:1.0/host6/target6:0:0/6:0:0:0/block/sdb",
         true, false},
        {"../devices/platform/emmc2bus/fe340000.mmc/mmc_host/mmc0/mmc0:aaaa/block/mmcblk0", false,
         true},
        {"../devices/pci0000:00/0000:00:1a.0/mmc_host/mmc1/mmc1:0001/block/mmcblk1", false, true},
        {"../devices/pci0000:00/0000:00:02.0/virtio1/block/vda", false, false},
        {"../devices/pci0000:00/0000:00:1d.0/0000:03:00.0/nvme/nvme0/nvme0n1", false, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(IsOnHotPlugBus(c.place), c.hotPlugBus) << c.place;
        EXPECT_EQ(IsOnMmcBus(c.place), c.mmcBus) << c.place;
    }
    EXPECT_TRUE(CardComesAndGoes("SD\n"));
    EXPECT_FALSE(CardComesAndGoes("MMC\n"));
}

// Facts as sysfs would give them for the devices of the fixture tables.
std::optional<BlockDeviceFacts> FixtureFacts(const MountEntry& mount) {
    if (mount.Source == "/dev/sdb1") return Disk("sdb1", false, true);
    if (mount.Major != 0) return Disk(std::string(mount.Source.substr(5)).c_str());
    if (mount.Source.rfind("/dev/", 0) == 0)
        return Disk(std::string(mount.Source.substr(5)).c_str());
    return std::nullopt;
}

std::vector<std::string> ShownMountPoints(const char* text) {
    const MountTable table = ParseMountInfo(text);
    std::vector<std::string> shown;
    for (const VolumeCandidate& candidate : ChooseVolumes(table.Mounts, FixtureFacts)) {
        std::string entry(table.Mounts[candidate.Index].MountPoint);
        entry.append("=").append(std::to_string(candidate.Kind));
        shown.push_back(std::move(entry));
    }
    return shown;
}

TEST(ChooseVolumes, OneLinePerFileSystemInTableOrder) {
    // btrfs subvolumes share one device number: shown once, by the shorter
    // mount point; the USB stick is neither counted nor listed.
    EXPECT_EQ(ShownMountPoints(kDesktop),
              (std::vector<std::string>{"/=1", "/run=-1", "/boot/efi=1", "/home=1"}));
    // The host disk's files and directories bound into the container are one
    // file system, shown by its shortest mount point.
    EXPECT_EQ(ShownMountPoints(kContainer),
              (std::vector<std::string>{"/=1", "/dev=-1", "/data=1", "/dev/shm=-1"}));
    EXPECT_EQ(ShownMountPoints(kEscaped),
              (std::vector<std::string>{"/=1", "/mnt/My Disk=1", "/mnt/tab\tand\nline=1",
                                        "/mnt/back\\slash\\040=1", "/mnt/share=-1"}));
    EXPECT_EQ(ShownMountPoints(kNfsClient),
              (std::vector<std::string>{"/=1", "/home=-1", "/home/me/tmp=-1", "/net/backup=-1"}));
}

TEST(ChooseVolumes, TheRootOfAFileSystemIsShownBeforeShorterBindMounts) {
    EXPECT_EQ(ShownMountPoints("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                               "2 1 8:2 /sub /x rw - ext4 /dev/sda2 rw\n"
                               "3 1 8:2 / /srv/disk rw - ext4 /dev/sda2 rw\n"),
              (std::vector<std::string>{"/=1", "/srv/disk=1"}));
}

TEST(ChooseVolumes, HiddenMountsAreNotExamined) {
    EXPECT_EQ(ShownMountPoints("1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
                               "2 1 0:30 / /tmp rw - tmpfs tmpfs rw\n"
                               "3 2 0:31 / /tmp rw - tmpfs tmpfs rw\n"),
              (std::vector<std::string>{"/=1", "/tmp=-1"}));
    const MountTable table = ParseMountInfo(
        "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n2 1 0:30 / /tmp rw - tmpfs tmpfs rw\n"
        "3 2 0:31 / /tmp rw - tmpfs tmpfs rw\n");
    EXPECT_EQ(ChooseVolumes(table.Mounts, FixtureFacts).back().Index, 2u);
}

TEST(ReachedThroughHangingMounts, WhatLiesOnANetworkMountIsAskedApart) {
    const MountTable table = ParseMountInfo(kNfsClient);
    EXPECT_EQ(ReachedThroughHangingMounts(table.Mounts),
              (std::vector<bool>{false, true, true, true, true}));
}

TEST(UdevLabel, DecodesTheEncodedLabel) {
    EXPECT_EQ(UdevLabel("S:disk/by-uuid/1234\nE:ID_FS_TYPE=ext4\n"
                        "E:ID_FS_LABEL=My_Disk\nE:ID_FS_LABEL_ENC=My\\x20Disk\\x2f2\n"),
              "My Disk/2");
    EXPECT_EQ(UdevLabel("E:ID_FS_LABEL_ENC=caf\\xc3\\xa9"), "caf\xc3\xa9");
    EXPECT_EQ(UdevLabel("E:ID_FS_TYPE=ext4\nE:ID_FS_LABEL=x\n"), std::nullopt);
    EXPECT_EQ(UdevLabel("E:ID_FS_LABEL_ENC="), std::nullopt);
    EXPECT_EQ(UdevLabel(""), std::nullopt);
}

TEST(DecodeHexEscapes, OnlyWholeEscapes) {
    EXPECT_EQ(DecodeHexEscapes("a\\x41b"), "aAb");
    EXPECT_EQ(DecodeHexEscapes("\\x5cx41"), "\\x41");  // one pass
    EXPECT_EQ(DecodeHexEscapes("\\x4"), "\\x4");
    EXPECT_EQ(DecodeHexEscapes("\\xzz"), "\\xzz");
}

}  // namespace
}  // namespace qv
