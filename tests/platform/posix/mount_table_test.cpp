// The mount table parser and which mounts can be reached, on tables of a
// desktop, a container, a table with escaped names and an NFS client.
#include <gtest/gtest.h>

#include <algorithm>

#include "platform/posix/mount_fixtures.h"
#include "platform/posix/mount_table.h"

namespace qv {
namespace {

using namespace test;

TEST(MountInfo, ReadsTheFieldsOfEachLine) {
    const MountTable table = ParseMountInfo(kDesktop);
    ASSERT_EQ(table.Mounts.size(), 9u);
    EXPECT_EQ(table.Malformed, 0);
    const MountEntry& home = table.Mounts[6];
    EXPECT_EQ(home.Id, 62);
    EXPECT_EQ(home.ParentId, 28);
    EXPECT_EQ(home.Major, 0u);
    EXPECT_EQ(home.Minor, 40u);
    EXPECT_EQ(home.Root, "/@home");
    EXPECT_EQ(home.MountPoint, "/home");
    EXPECT_EQ(home.Type, "btrfs");
    EXPECT_EQ(home.Source, "/dev/sda1");
    EXPECT_EQ(table.Mounts[3].Major, 259u);
    EXPECT_EQ(table.Mounts[3].Minor, 2u);
}

TEST(MountInfo, OptionalFieldsMayBeAbsentOrMany) {
    const MountTable table = ParseMountInfo(
        "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
        "2 1 8:2 / /a rw shared:1 master:2 propagate_from:3 unbindable - xfs /dev/sda2 rw\n");
    ASSERT_EQ(table.Mounts.size(), 2u);
    EXPECT_EQ(table.Mounts[1].Type, "xfs");
    EXPECT_EQ(table.Mounts[1].Source, "/dev/sda2");
}

TEST(MountInfo, DecodesEscapesInOnePass) {
    const MountTable table = ParseMountInfo(kEscaped);
    ASSERT_EQ(table.Mounts.size(), 5u);
    EXPECT_EQ(table.Mounts[1].MountPoint, "/mnt/My Disk");
    EXPECT_EQ(table.Mounts[2].MountPoint, "/mnt/tab\tand\nline");
    // "\134040" is a backslash followed by "040", not a space.
    EXPECT_EQ(table.Mounts[3].MountPoint, "/mnt/back\\slash\\040");
    EXPECT_EQ(table.Mounts[4].Source, "//server/My Share#");
}

TEST(MountInfo, SkipsAndCountsMalformedLines) {
    const MountTable table = ParseMountInfo(
        "garbage\n"
        "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
        "2 1 8:x / /a rw - xfs /dev/sda2 rw\n"
        "3 1 8:3 / /b rw shared:1\n"
        "x 1 8:4 / /c rw - xfs /dev/sda4 rw\n"
        "\n"
        "5 1 8:5 / /d rw - xfs /dev/sda5 rw");
    ASSERT_EQ(table.Mounts.size(), 2u);
    EXPECT_EQ(table.Mounts[1].MountPoint, "/d");
    EXPECT_EQ(table.Malformed, 4);
}

std::vector<bool> Reachable(const char* text) {
    return ReachableMounts(ParseMountInfo(text).Mounts);
}

TEST(ReachableMounts, AllOfAnOrdinaryTable) {
    for (const char* table : {kDesktop, kContainer, kEscaped, kNfsClient}) {
        const std::vector<bool> reachable = Reachable(table);
        EXPECT_EQ(std::count(reachable.begin(), reachable.end(), false), 0) << table;
    }
}

TEST(ReachableMounts, HiddenByAMountOnTheSamePlaceAndWhatSitsOnIt) {
    const std::vector<bool> reachable = Reachable(
        "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
        "2 1 0:20 / /dev rw - devtmpfs udev rw\n"
        "3 2 0:21 / /dev/shm rw - tmpfs tmpfs rw\n"
        "4 3 0:22 / /dev/shm/inner rw - tmpfs tmpfs rw\n"
        "5 3 0:23 / /dev/shm rw - tmpfs tmpfs rw\n"  // on top of 3
        "6 5 0:24 / /dev/shm rw - tmpfs tmpfs rw\n"  // on top of 5
        "7 6 0:25 / /dev/shm/x rw - tmpfs tmpfs rw\n");
    EXPECT_EQ(reachable, (std::vector<bool>{true, true, false, false, false, true, true}));
}

TEST(ReachableMounts, HiddenByALaterMountOnADirectoryAboveIt) {
    const std::vector<bool> reachable = Reachable(
        "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
        "2 1 8:2 / /a/b rw - ext4 /dev/sda2 rw\n"
        "3 1 0:30 / /a rw - tmpfs tmpfs rw\n"
        "4 3 8:3 / /a/b rw - ext4 /dev/sda3 rw\n"
        "5 2 8:4 / /a/b/c rw - ext4 /dev/sda4 rw\n"
        "6 1 8:5 / /ab rw - ext4 /dev/sda5 rw\n");
    EXPECT_EQ(reachable, (std::vector<bool>{true, false, true, true, false, true}));
}

TEST(ReachableMounts, ACycleInABrokenTableEnds) {
    const std::vector<bool> reachable = Reachable(
        "1 2 8:1 / /x rw - ext4 /dev/sda1 rw\n"
        "2 1 8:2 / /x/y rw - ext4 /dev/sda2 rw\n");
    EXPECT_EQ(reachable.size(), 2u);
}

}  // namespace
}  // namespace qv
