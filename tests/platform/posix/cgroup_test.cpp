// The memory figures inside memory cgroups, from the cgroup trees of real
// hosts (tests/platform/posix/cgroups/*/SOURCE says where each comes from).
#include <gtest/gtest.h>

#include "platform/posix/cgroup_memory.h"
#include "support/units.h"

namespace qv {
namespace {

using test::kGiB;
using test::kMiB;

struct FixtureCase {
    const char* folder;
    std::uint64_t memTotal;
    MemoryStatus machine;   // MemAvailable, SwapTotal, SwapFree
    MemoryStatus expected;  // what the process may have
};

// The working set is usage less inactive file cache, as the kubelet counts it.
const FixtureCase kFixtureCases[] = {
    // The outer cgroup binds, not the process's own: 268435456 less
    // (108969984 - 33558528). Its swap is memsw less memory, 320M - 256M, none used.
    {"v1-nested",
     24683732 * 1024ULL,
     {20 * kGiB, 2 * kGiB, 2 * kGiB},
     {193024000, 64 * kMiB, 64 * kMiB}},
    // The machine has less free than the cgroups allow: the machine's figure stands.
    {"v1-nested", 24683732 * 1024ULL, {100 * kMiB, 0, 0}, {100 * kMiB, 0, 0}},
    // --memory=125m with no usage in sight: the limit itself.
    {"v2-docker-namespaced", 8 * kGiB, {6 * kGiB, kGiB, kGiB}, {131072000, kGiB, kGiB}},
    // The limit two levels up; the task's own "max" is none.
    {"v2-slurm-nested", 64 * kGiB, {60 * kGiB, 0, 0}, {4194304000, 0, 0}},
    // On a machine smaller than the limit the limit is no limit.
    {"v2-slurm-nested", 2 * kGiB, {kGiB, 0, 0}, {kGiB, 0, 0}},
};

TEST(CgroupLimits, FixtureTreesGiveWhatTheProcessMayHave) {
    for (const FixtureCase& c : kFixtureCases) {
        const MemoryCgroups cgroups =
            FindMemoryCgroups(std::string(SOURCE_DIR "/tests/platform/posix/cgroups/") + c.folder);
        ASSERT_FALSE(cgroups.Folders.empty()) << c.folder;
        std::vector<CgroupLevel> levels;
        for (const std::string& folder : cgroups.Folders)
            levels.push_back(ReadCgroupLevel(folder, cgroups.Version));
        const MemoryStatus got = WithinCgroupLimits(c.machine, c.memTotal, levels);
        EXPECT_EQ(got.availPhys, c.expected.availPhys) << c.folder;
        EXPECT_EQ(got.totalPageFile, c.expected.totalPageFile) << c.folder;
        EXPECT_EQ(got.availPageFile, c.expected.availPageFile) << c.folder;
    }
}

struct MembershipCase {
    std::string cgroup;     // /proc/self/cgroup
    std::string mountinfo;  // /proc/self/mountinfo
    std::vector<std::string> folders;
};

// An ECS task's container on an Amazon Linux 2 host, seen from the host
// (OSGeo/gdal issue 8968), with this machine's mount of the v1 controller.
constexpr const char* kEcsCgroup =
    "11:hugetlb:/ecs/19f0f00eb13949258b67900d1bc2f733/"
    "9b2cb49abfd3ec7f86da20507249b6146db11d45a0f4e79f30fd6a4fc1a7b388\n"
    "4:memory:/ecs/19f0f00eb13949258b67900d1bc2f733/"
    "9b2cb49abfd3ec7f86da20507249b6146db11d45a0f4e79f30fd6a4fc1a7b388\n"
    "1:name=systemd:/ecs/19f0f00eb13949258b67900d1bc2f733/"
    "9b2cb49abfd3ec7f86da20507249b6146db11d45a0f4e79f30fd6a4fc1a7b388\n";
constexpr const char* kV1Mounts =
    "34 31 0:31 / /sys/fs/cgroup/cpuset rw,relatime - cgroup cgroup rw,cpuset\n"
    "35 31 0:32 / /sys/fs/cgroup/memory rw,relatime - cgroup cgroup rw,memory\n";
constexpr const char* kV2Mount =
    "27 175 0:24 / /sys/fs/cgroup rw,nosuid,nodev,noexec,relatime shared:9 - cgroup2 cgroup "
    "rw,nsdelegate\n";

TEST(CgroupLimits, CgroupFoldersFromProcSelfCgroupAndMountinfo) {
    const MembershipCase cases[] = {
        {kEcsCgroup,
         kV1Mounts,
         {"/sys/fs/cgroup/memory/ecs/19f0f00eb13949258b67900d1bc2f733/"
          "9b2cb49abfd3ec7f86da20507249b6146db11d45a0f4e79f30fd6a4fc1a7b388",
          "/sys/fs/cgroup/memory/ecs/19f0f00eb13949258b67900d1bc2f733", "/sys/fs/cgroup/memory/ecs",
          "/sys/fs/cgroup/memory"}},
        // A hybrid host: the v1 memory controller, not the empty unified one.
        {"4:memory:/a/b\n0::/user.slice\n",
         std::string(kV1Mounts) + kV2Mount,
         {"/sys/fs/cgroup/memory/a/b", "/sys/fs/cgroup/memory/a", "/sys/fs/cgroup/memory"}},
        // Inside an enroot container the job's own cgroup is bind-mounted as
        // /sys/fs/cgroup, without a cgroup namespace (NVIDIA/enroot issue 169):
        // the mount point alone, the limits above out of sight.
        {"0::/system.slice/slurm-worker-1_slurmstepd.scope/job_4749/step_0/user/task_0\n",
         "1160 1150 0:24 /system.slice/slurm-worker-1_slurmstepd.scope/job_4749/step_0/user/"
         "task_0 /sys/fs/cgroup rw,nosuid,nodev,noexec,relatime - cgroup2 cgroup rw\n",
         {"/sys/fs/cgroup"}},
        // A cgroup outside the process's cgroup namespace (cgroups(7)): out of sight.
        {"0::/../../user.slice/session-1.scope\n", kV2Mount, {}},
        // A v1 memory controller that is not mounted, and texts of no known shape.
        {kEcsCgroup, kV2Mount, {}},
        {"memory\n0:\n", kV2Mount, {}},
        {"0::/x\n", "27 175 0:24 / /sys/fs/cgroup\n", {}},
    };
    for (const MembershipCase& c : cases) {
        std::vector<std::string> folders;
        const auto membership = MemoryCgroupOf(c.cgroup);
        const auto mount = membership ? CgroupMountOf(c.mountinfo, *membership) : std::nullopt;
        if (mount) folders = CgroupFolders(*mount, membership->Path);
        EXPECT_EQ(folders, c.folders) << c.cgroup;
    }
}

}  // namespace
}  // namespace qv
