#include "platform/posix/mount_table.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <unordered_map>
#include <utility>

#include "platform/posix/proc_text.h"

namespace qv {
namespace {

// The next field of a mountinfo line, taken off the line. Fields are separated
// by single spaces (blanks inside names are escaped by the kernel); a run of
// spaces is read as one separator.
std::string_view NextField(std::string_view& line) {
    while (!line.empty() && line.front() == ' ') line.remove_prefix(1);
    const std::size_t end = line.find(' ');
    const std::string_view field = line.substr(0, end);
    line.remove_prefix(end == std::string_view::npos ? line.size() : end + 1);
    return field;
}

template <typename Number>
bool ParseNumber(std::string_view text, Number& value) {
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

bool ParseDevice(std::string_view text, MountEntry& entry) {
    const std::size_t colon = text.find(':');
    return colon != std::string_view::npos && ParseNumber(text.substr(0, colon), entry.Major) &&
           ParseNumber(text.substr(colon + 1), entry.Minor);
}

// Most names hold no escape: those are copied without the decoder's work.
void AssignDecoded(std::string& to, std::string_view text) {
    if (text.find('\\') == std::string_view::npos)
        to.assign(text);
    else
        to = DecodeOctalEscapes(text);
}

// The super options: "ro" first for a read-only file system, and an overlay's
// "upperdir=". The kernel escapes commas inside values, so a comma always
// ends an option.
void ReadSuperOptions(std::string_view options, MountEntry& entry) {
    entry.ReadOnly = options == "ro" || options.substr(0, 3) == "ro,";
    if (entry.Type != "overlay") return;
    constexpr std::string_view kUpper = "upperdir=";
    while (!options.empty()) {
        const std::size_t end = options.find(',');
        const std::string_view option = options.substr(0, end);
        options.remove_prefix(end == std::string_view::npos ? options.size() : end + 1);
        if (option.substr(0, kUpper.size()) == kUpper)
            AssignDecoded(entry.UpperDir, option.substr(kUpper.size()));
    }
}

// "36 35 98:0 /mnt1 /mnt2 rw,noatime master:1 - ext3 /dev/root rw": six fixed
// fields, optional fields up to "-", then type, source and super options.
bool ParseMountLine(std::string_view line, MountEntry& entry) {
    if (!ParseNumber(NextField(line), entry.Id) || !ParseNumber(NextField(line), entry.ParentId) ||
        !ParseDevice(NextField(line), entry))
        return false;
    const std::string_view root = NextField(line);
    const std::string_view mountPoint = NextField(line);
    if (NextField(line).empty()) return false;  // the mount's options
    for (std::string_view field = NextField(line); field != "-"; field = NextField(line))
        if (field.empty()) return false;
    const std::string_view type = NextField(line);
    const std::string_view source = NextField(line);
    const std::string_view superOptions = NextField(line);
    if (root.empty() || mountPoint.empty() || type.empty() || source.empty()) return false;
    AssignDecoded(entry.Root, root);
    AssignDecoded(entry.MountPoint, mountPoint);
    AssignDecoded(entry.Type, type);
    AssignDecoded(entry.Source, source);
    ReadSuperOptions(superOptions, entry);
    return true;
}

// FNV-1a, fed one byte at a time, so that the hashes of all leading
// directories of a path come out of one pass over it.
constexpr std::uint64_t kHashStart = 14695981039346656037ull;
std::uint64_t HashByte(std::uint64_t hash, char byte) {
    return (hash ^ static_cast<unsigned char>(byte)) * 1099511628211ull;
}

std::uint64_t PlaceKey(int parentId, std::uint64_t pathHash) {
    return pathHash ^
           (static_cast<std::uint64_t>(static_cast<unsigned>(parentId)) * 0x9E3779B97F4A7C15ull);
}

// The (parent, mount point) of every mount, found by hash and confirmed by
// comparing the path, so that a collision never hides a mount.
class Places {
  public:
    explicit Places(const std::vector<MountEntry>& mounts) : Mounts(mounts) {
        ByKey.reserve(mounts.size());
        for (std::size_t i = 0; i < mounts.size(); ++i) {
            std::uint64_t hash = kHashStart;
            for (char c : mounts[i].MountPoint) hash = HashByte(hash, c);
            ByKey.emplace(PlaceKey(mounts[i].ParentId, hash), i);
        }
    }

    bool Has(int parentId, std::uint64_t pathHash, std::string_view path) const {
        const auto [first, last] = ByKey.equal_range(PlaceKey(parentId, pathHash));
        for (auto at = first; at != last; ++at)
            if (Mounts[at->second].ParentId == parentId && Mounts[at->second].MountPoint == path)
                return true;
        return false;
    }

  private:
    const std::vector<MountEntry>& Mounts;
    std::unordered_multimap<std::uint64_t, std::size_t> ByKey;
};

// Whether a mount on the same parent sits on a directory above the mount
// point ("/a" or "/" above "/a/b").
bool ShadowedFromAbove(const MountEntry& mount, const Places& places) {
    const std::string_view path = mount.MountPoint;
    std::uint64_t hash = kHashStart;
    for (std::size_t at = 0; at < path.size(); ++at) {
        if (path[at] == '/' && at + 1 < path.size()) {
            const std::string_view above = at == 0 ? path.substr(0, 1) : path.substr(0, at);
            const std::uint64_t aboveHash = at == 0 ? HashByte(hash, '/') : hash;
            if (places.Has(mount.ParentId, aboveHash, above)) return true;
        }
        hash = HashByte(hash, path[at]);
    }
    return false;
}

constexpr std::size_t kNoParent = static_cast<std::size_t>(-1);

// The index of each mount's parent in the table; kNoParent for a mount whose
// parent lies outside this view (the root of a namespace or a chroot) or is
// the mount itself.
std::vector<std::size_t> ParentIndexes(const std::vector<MountEntry>& mounts) {
    std::unordered_map<int, std::size_t> indexOf;
    indexOf.reserve(mounts.size());
    for (std::size_t i = 0; i < mounts.size(); ++i) indexOf.emplace(mounts[i].Id, i);
    std::vector<std::size_t> parents(mounts.size(), kNoParent);
    for (std::size_t i = 0; i < mounts.size(); ++i) {
        const auto found = indexOf.find(mounts[i].ParentId);
        if (found != indexOf.end() && found->second != i) parents[i] = found->second;
    }
    return parents;
}

}  // namespace

MountTable ParseMountInfo(std::string_view text) {
    MountTable table;
    table.Mounts.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
    while (!text.empty()) {
        const std::string_view line = NextLine(text);
        if (line.empty()) continue;
        table.Mounts.emplace_back();
        if (!ParseMountLine(line, table.Mounts.back())) {
            table.Mounts.pop_back();
            ++table.Malformed;
        }
    }
    return table;
}

std::vector<bool> ReachableMounts(const std::vector<MountEntry>& mounts) {
    const std::vector<std::size_t> parents = ParentIndexes(mounts);
    const Places places(mounts);

    // Covered in place: another mount sits on top of it at the same mount point.
    // Shadowed: a mount on the same parent covers a directory above it.
    std::vector<bool> coveredInPlace(mounts.size(), false);
    std::vector<bool> shadowed(mounts.size(), false);
    for (std::size_t i = 0; i < mounts.size(); ++i) {
        if (parents[i] != kNoParent && mounts[parents[i]].MountPoint == mounts[i].MountPoint)
            coveredInPlace[parents[i]] = true;
        shadowed[i] = ShadowedFromAbove(mounts[i], places);
    }

    // A mount is reachable when it is neither covered nor shadowed and every
    // mount below it is reachable too, a mount below at the same place being
    // covered by the stack that leads up to it. Parent chains are followed at
    // most as deep as the table is long, so a table with a cycle cannot loop.
    std::vector<bool> reachable(mounts.size(), false);
    for (std::size_t i = 0; i < mounts.size(); ++i) {
        bool ok = !coveredInPlace[i] && !shadowed[i];
        std::size_t at = i;
        for (std::size_t depth = 0; ok && depth < mounts.size() && parents[at] != kNoParent;
             ++depth) {
            const bool stacked = mounts[parents[at]].MountPoint == mounts[at].MountPoint;
            at = parents[at];
            ok = !shadowed[at] && (stacked || !coveredInPlace[at]);
        }
        reachable[i] = ok;
    }
    return reachable;
}

}  // namespace qv
