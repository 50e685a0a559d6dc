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

}  // namespace
}  // namespace qv
