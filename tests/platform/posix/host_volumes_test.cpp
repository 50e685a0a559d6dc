// The volume lines of the mount tables of real kinds of hosts, each line
// derived by hand from the kinds of mounts: fixed ones counted and listed,
// network and RAM ones listed, the rest neither, one line per file system.
#include <gtest/gtest.h>

#include "platform/posix/host_mount_tables.h"
#include "report/report.h"
#include "support/fake_source.h"

namespace qv {
namespace {

using test::HostTable;

class HostVolumes : public ::testing::TestWithParam<HostTable> {};

TEST_P(HostVolumes, ReportTheLinesOfTheirKinds) {
    const HostTable& host = GetParam();
    ASSERT_EQ(ParseMountInfo(host.MountInfo).Malformed, 0);
    test::HostFacts facts(host);
    test::FakeSource source;
    source.Volumes = VolumesOfMountTable(host.MountInfo, facts);
    LocaleItems items;
    items.thousandsSeparator = ",";
    const CountryInfo locale(items);
    ReportSettings settings;
    settings.units.ShowK = 0;  // bytes, so that every figure is exact
    std::string expected;
    for (const auto& [label, value] : host.Lines) expected += ValueLine(label, value);
    EXPECT_EQ(Report(source, locale, settings).VolumeLines(), expected);
}

INSTANTIATE_TEST_SUITE_P(Hosts, HostVolumes, ::testing::ValuesIn(test::HostTables()),
                         [](const auto& info) { return info.param.Name; });
INSTANTIATE_TEST_SUITE_P(Stores, HostVolumes, ::testing::ValuesIn(test::StoreHostTables()),
                         [](const auto& info) { return info.param.Name; });

// "No blocks" leaves out a file system that stores nothing, but not a RAM
// one: ramfs never reports blocks, nor does a tmpfs without a size limit.
TEST(HostVolumes, OnlyRamFileSystemsAreListedWithoutBlocks) {
    HostTable host;
    host.MountInfo =
        "1 0 8:1 / / rw - ext4 /dev/sda1 rw\n"
        "2 1 0:30 / /run/credentials/x.service ro - ramfs ramfs rw,mode=700\n"
        "3 1 0:31 / /scratch rw - tmpfs tmpfs rw,size=0\n"
        "4 1 0:32 / /mnt/remote rw - fuse.sshfs me@host:/ rw\n"
        "5 1 8:2 / /mnt/image ro - ext4 /dev/sda2 ro\n";
    host.Space = {
        {"8:1", {4096, 10}}, {"0:30", {0, 0}}, {"0:31", {0, 0}}, {"0:32", {0, 0}}, {"8:2", {0, 0}}};
    test::HostFacts facts(host);
    std::string shown;
    for (const Volume& volume : VolumesOfMountTable(host.MountInfo, facts))
        shown += volume.Name + " " + std::to_string(volume.Kind) + " " +
                 std::to_string(volume.FreeBytes) + "\n";
    EXPECT_EQ(shown, "/ 1 4096\n/run/credentials/x.service -1 0\n/scratch -1 0\n");
}

// Inside a container the overlay's upper layer names a path of the host. A
// tmpfs the container has on that path (docker run --tmpfs /var/lib) is not
// the layer: the disk bound in, of the overlay's size, still is. Lines of the
// Docker Desktop container of the store tables, with that tmpfs added.
TEST(HostVolumes, ATmpfsOnTheUpperLayersPathInAContainerIsNotTheLayer) {
    HostTable host;
    host.MountInfo =
        "205 147 0:58 / / rw,relatime - overlay overlay rw,lowerdir=/var/lib/desktop-containerd/"
        "daemon/io.containerd.snapshotter.v1.overlayfs/snapshots/57/fs,upperdir=/var/lib/"
        "desktop-containerd/daemon/io.containerd.snapshotter.v1.overlayfs/snapshots/1584/fs,"
        "workdir=/var/lib/desktop-containerd/daemon/io.containerd.snapshotter.v1.overlayfs/"
        "snapshots/1584/work,nouserxattr\n"
        "216 205 254:1 /docker/containers/d7cf/hosts /etc/hosts rw,relatime - ext4 /dev/vda1 "
        "rw,discard\n"
        "217 205 0:90 / /var/lib rw,nosuid,nodev,relatime - tmpfs tmpfs rw,size=65536k\n";
    host.Space = {{"0:58", {79456894976, 15358440, 0x4a9775f672c2a864, 3842048}},
                  {"254:1", {79456894976, 15358440, 0x1f5c03a2b7e94d60, 3842048}},
                  {"0:90", test::Tmpfs(65536)}};
    test::HostFacts facts(host);
    std::string shown;
    for (const Volume& volume : VolumesOfMountTable(host.MountInfo, facts))
        shown += volume.Name + " " + std::to_string(volume.Kind) + " " +
                 std::to_string(volume.FreeBytes) + "\n";
    EXPECT_EQ(shown, "/ 1 79456894976\n/var/lib -1 67108864\n");
}

}  // namespace
}  // namespace qv
