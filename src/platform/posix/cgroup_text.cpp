#include "platform/posix/cgroup_text.h"

#include <charconv>

#include "platform/posix/mount_table.h"
#include "platform/posix/proc_text.h"

namespace qv {
namespace {

// The text up to the next separator, taken off the text with the separator.
std::string_view NextPart(std::string_view& text, char separator) {
    const std::size_t end = text.find(separator);
    const std::string_view part = text.substr(0, end);
    text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    return part;
}

bool ListHas(std::string_view commaList, std::string_view item) {
    while (!commaList.empty())
        if (NextPart(commaList, ',') == item) return true;
    return false;
}

// The path below `root`, "" for the root itself; nothing when the path lies
// elsewhere ("/docker/ab" is not below "/docker/a").
std::optional<std::string_view> Below(std::string_view root, std::string_view path) {
    if (root == "/") return path == "/" ? std::string_view() : path;
    if (path.substr(0, root.size()) != root) return std::nullopt;
    const std::string_view rest = path.substr(root.size());
    if (!rest.empty() && rest.front() != '/') return std::nullopt;
    return rest;
}

// "/a/b/../c": a cgroup outside the process's cgroup namespace, whose
// folders no mount in sight shows.
bool ClimbsUp(std::string_view path) {
    while (!path.empty())
        if (NextPart(path, '/') == "..") return true;
    return false;
}

bool ShowsHierarchy(const MountInfoFields& mount, CgroupVersion version) {
    if (version == CgroupVersion::V2) return mount.Type == "cgroup2";
    return mount.Type == "cgroup" && ListHas(mount.SuperOptions, "memory");
}

}  // namespace

std::optional<CgroupMembership> MemoryCgroupOf(std::string_view procSelfCgroup) {
    std::optional<CgroupMembership> found;
    while (!procSelfCgroup.empty()) {
        std::string_view line = NextLine(procSelfCgroup);
        const std::string_view id = NextPart(line, ':');
        const std::string_view controllers = NextPart(line, ':');
        if (line.empty() || line.front() != '/') continue;  // the path may hold ':'
        if (ListHas(controllers, "memory")) {
            found = CgroupMembership{CgroupVersion::V1, std::string(line)};
            break;
        }
        if (id == "0" && controllers.empty())
            found = CgroupMembership{CgroupVersion::V2, std::string(line)};
    }
    if (found && ClimbsUp(found->Path)) return std::nullopt;
    return found;
}

std::optional<CgroupMount> CgroupMountOf(std::string_view mountinfo,
                                         const CgroupMembership& membership) {
    while (!mountinfo.empty()) {
        const std::optional<MountInfoFields> mount = SplitMountInfoLine(NextLine(mountinfo));
        if (!mount || !ShowsHierarchy(*mount, membership.Version)) continue;
        CgroupMount found{DecodeOctalEscapes(mount->Root), DecodeOctalEscapes(mount->MountPoint)};
        if (Below(found.Root, membership.Path)) return found;
    }
    return std::nullopt;
}

std::vector<std::string> CgroupFolders(const CgroupMount& mount, std::string_view cgroupPath) {
    std::optional<std::string_view> below = Below(mount.Root, cgroupPath);
    if (!below) return {};
    std::string_view inner = *below;
    while (!inner.empty() && inner.back() == '/') inner.remove_suffix(1);
    std::vector<std::string> folders;
    for (;;) {
        folders.push_back(mount.MountPoint + std::string(inner));
        if (inner.empty()) return folders;
        const std::size_t slash = inner.rfind('/');
        inner = slash == std::string_view::npos ? std::string_view() : inner.substr(0, slash);
    }
}

std::optional<std::uint64_t> CgroupNumber(std::string_view text) {
    while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.remove_suffix(1);
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty())
        return std::nullopt;
    return value;
}

std::optional<std::uint64_t> CgroupStat(std::string_view memoryStat, std::string_view key) {
    while (!memoryStat.empty()) {
        std::string_view line = NextLine(memoryStat);
        if (NextPart(line, ' ') == key) return CgroupNumber(line);
    }
    return std::nullopt;
}

}  // namespace qv
