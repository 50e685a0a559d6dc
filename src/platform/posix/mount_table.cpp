#include "platform/posix/mount_table.h"

#include <charconv>
#include <map>
#include <set>
#include <utility>

#include "platform/posix/proc_text.h"

namespace qv {
namespace {

// Fields of mountinfo are separated by single spaces; blanks inside names are
// escaped by the kernel.
std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    while (!line.empty()) {
        const std::size_t end = line.find(' ');
        if (end != 0) fields.push_back(line.substr(0, end));
        if (end == std::string_view::npos) break;
        line.remove_prefix(end + 1);
    }
    return fields;
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

bool ParseDevice(std::string_view text, MountEntry& entry) {
    const std::size_t colon = text.find(':');
    return colon != std::string_view::npos && ParseNumber(text.substr(0, colon), entry.Major) &&
           ParseNumber(text.substr(colon + 1), entry.Minor);
}

// "36 35 98:0 /mnt1 /mnt2 rw,noatime master:1 - ext3 /dev/root rw": six fixed
// fields, optional fields up to "-", then type, source and super options.
bool ParseMountLine(std::string_view line, MountEntry& entry) {
    const std::vector<std::string_view> fields = SplitFields(line);
    std::size_t separator = 6;
    while (separator < fields.size() && fields[separator] != "-") ++separator;
    if (separator + 2 >= fields.size()) return false;
    if (!ParseNumber(fields[0], entry.Id) || !ParseNumber(fields[1], entry.ParentId) ||
        !ParseDevice(fields[2], entry))
        return false;
    entry.Root = DecodeOctalEscapes(fields[3]);
    entry.MountPoint = DecodeOctalEscapes(fields[4]);
    entry.Type = DecodeOctalEscapes(fields[separator + 1]);
    entry.Source = DecodeOctalEscapes(fields[separator + 2]);
    return true;
}

// "/a/b" -> "/a" -> "/"; "/" has no parent.
std::string_view ParentDirectory(std::string_view path) {
    const std::size_t slash = path.find_last_of('/');
    if (slash == std::string_view::npos || path == "/") return {};
    return slash == 0 ? path.substr(0, 1) : path.substr(0, slash);
}

}  // namespace

MountTable ParseMountInfo(std::string_view text) {
    MountTable table;
    while (!text.empty()) {
        const std::string_view line = NextLine(text);
        if (line.empty()) continue;
        MountEntry entry;
        if (ParseMountLine(line, entry))
            table.Mounts.push_back(std::move(entry));
        else
            ++table.Malformed;
    }
    return table;
}

std::vector<bool> ReachableMounts(const std::vector<MountEntry>& mounts) {
    std::map<int, std::size_t> indexOf;
    for (std::size_t i = 0; i < mounts.size(); ++i) indexOf[mounts[i].Id] = i;
    // (parent, mount point) of every mount: a mount on the same parent at a
    // directory above another one's mount point hides that one.
    std::set<std::pair<int, std::string_view>> placed;
    for (const MountEntry& m : mounts) placed.emplace(m.ParentId, m.MountPoint);

    // Covered in place: another mount sits on top of it at the same mount point.
    // Shadowed: a later mount on the same parent covers a directory above it.
    std::vector<bool> coveredInPlace(mounts.size(), false);
    std::vector<bool> shadowed(mounts.size(), false);
    for (std::size_t i = 0; i < mounts.size(); ++i) {
        const MountEntry& m = mounts[i];
        const auto parent = indexOf.find(m.ParentId);
        if (parent != indexOf.end() && parent->second != i &&
            mounts[parent->second].MountPoint == m.MountPoint)
            coveredInPlace[parent->second] = true;
        for (std::string_view dir = ParentDirectory(m.MountPoint); !dir.empty();
             dir = ParentDirectory(dir))
            if (placed.count({m.ParentId, dir}) != 0) shadowed[i] = true;
    }

    // A mount is reachable when it is neither covered nor shadowed and every
    // mount below it is reachable too, a mount below at the same place being
    // covered by the stack that leads up to it. Parent chains are followed at
    // most as deep as the table is long, so a table with a cycle cannot loop.
    std::vector<bool> reachable(mounts.size(), false);
    for (std::size_t i = 0; i < mounts.size(); ++i) {
        bool ok = !coveredInPlace[i] && !shadowed[i];
        std::size_t at = i;
        for (std::size_t depth = 0; ok && depth < mounts.size(); ++depth) {
            const auto parent = indexOf.find(mounts[at].ParentId);
            if (parent == indexOf.end() || parent->second == at) break;
            const bool stacked = mounts[parent->second].MountPoint == mounts[at].MountPoint;
            at = parent->second;
            ok = !shadowed[at] && (stacked || !coveredInPlace[at]);
        }
        reachable[i] = ok;
    }
    return reachable;
}

}  // namespace qv
