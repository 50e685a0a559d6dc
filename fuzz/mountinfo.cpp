// The mount table parser and the choice of volumes on any text.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/posix/mount_table.h"
#include "platform/posix/volume_kind.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const qv::MountTable table = qv::ParseMountInfo(text);
    const auto reachable = qv::ReachableMounts(table.Mounts);
    if (reachable.size() != table.Mounts.size()) std::abort();
    (void)qv::ReachedThroughHangingMounts(table.Mounts);
    const auto none = [](const qv::MountEntry&) { return std::optional<qv::BlockDeviceFacts>(); };
    for (const qv::VolumeCandidate& volume : qv::ChooseVolumes(table.Mounts, none))
        if (volume.Index >= table.Mounts.size() || !reachable[volume.Index]) std::abort();
    return 0;
}
