// What the memory cgroups cost the report, in the cgroup this program runs in:
// finding them (/proc/self/cgroup, then /sys/fs/cgroup or /proc/self/mountinfo),
// once per report, and reading the figures of those that limit, for each of
// the report's memory lines. Prints rows of the benchmark table.
//   cgroup_memory_bench [ROUNDS]
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/memory.h"
#include "platform/posix/cgroup_memory.h"
#include "platform/posix/proc_text.h"
#include "platform/posix/read_file.h"

namespace {

template <typename Work>
double MedianMicroseconds(int rounds, Work work) {
    std::vector<double> took;
    for (int round = 0; round < rounds + 10; ++round) {  // the first ten warm the caches
        const auto start = std::chrono::steady_clock::now();
        work();
        const std::chrono::duration<double, std::micro> elapsed =
            std::chrono::steady_clock::now() - start;
        if (round >= 10) took.push_back(elapsed.count());
    }
    std::sort(took.begin(), took.end());
    return took[took.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 1000;
    const qv::MemoryCgroups cgroups = qv::FindMemoryCgroups();
    const double finding = MedianMicroseconds(rounds, [] { qv::FindMemoryCgroups(); });
    const std::string meminfo = qv::ReadWholeFile("/proc/meminfo").value_or("");
    const std::uint64_t memTotal = qv::MeminfoBytes(meminfo, "MemTotal").value_or(0);
    const std::uint64_t swapTotal = qv::MeminfoBytes(meminfo, "SwapTotal").value_or(0);
    const std::size_t limiting = qv::ReadLimitingCgroups(memTotal, swapTotal).size();
    const double reading =
        MedianMicroseconds(rounds, [&] { qv::ReadLimitingCgroups(memTotal, swapTotal); });
    const double line = MedianMicroseconds(rounds, [] { qv::QueryMemoryStatus(); });
    std::printf(
        "| memory cgroups found: /proc/self/cgroup, then the usual mount or mountinfo (%zu "
        "folders; once per report) | %.1f us | within the report's 1.3 x |\n",
        cgroups.Folders.size(), finding);
    std::printf(
        "| limiting cgroups read (%zu with a limit; each of the 4 memory lines) | %.1f us | "
        "within the report's 1.3 x |\n",
        limiting, reading);
    std::printf(
        "| one memory line's status, /proc/meminfo and the limiting cgroups | %.1f us | "
        "within the report's 1.3 x |\n",
        line);
    return 0;
}
