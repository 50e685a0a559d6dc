// What the volume list costs per mount on the largest mount table of the test
// fixtures, a Kubernetes node: the table parsed, every mount classified, one
// mount chosen per file system and the volumes assembled. The system's facts
// (sysfs, labels, statvfs) come from the fixture, so only the program's own
// work is timed. Prints one row of the benchmark table.
//   mount_table_bench [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/posix/host_mount_tables.h"

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 200;
    const qv::test::HostTable node = qv::test::KubernetesNode();
    qv::test::HostFacts facts(node);
    const std::size_t mounts = qv::ParseMountInfo(node.MountInfo).Mounts.size();
    std::size_t listed = 0;
    std::vector<double> perMount;
    for (int round = 0; round < rounds + 10; ++round) {  // the first ten warm the caches
        const auto start = std::chrono::steady_clock::now();
        listed = qv::VolumesOfMountTable(node.MountInfo, facts).size();
        const std::chrono::duration<double, std::micro> took =
            std::chrono::steady_clock::now() - start;
        if (round >= 10) perMount.push_back(took.count() / static_cast<double>(mounts));
    }
    std::sort(perMount.begin(), perMount.end());
    std::printf(
        "| each mount of a table, parsed and classified (a Kubernetes node: %zu mounts, %zu "
        "listed; median of %d rounds) | %.2f us | at most 1.5 us |\n",
        mounts, listed, rounds, perMount[perMount.size() / 2]);
    return 0;
}
