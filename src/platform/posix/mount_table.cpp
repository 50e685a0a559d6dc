#include "platform/posix/mount_table.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <utility>

#include "platform/posix/path_index.h"
#include "platform/posix/proc_text.h"

namespace qv {
namespace {

// The next field of a mountinfo line, taken off the line. Fields are separated
// by single spaces (blanks inside names are escaped by the kernel); a run of
// spaces is read as one separator. Not proc_text's NextField, which splits at
// tabs as well: mountinfo's fields are long paths, and one memchr for the
// space reads them at a fraction of the cost of testing each byte for both.
std::string_view NextMountInfoField(std::string_view& line) {
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

// Where the decoded names go: one buffer as long as the table's text, which
// decoding never makes longer.
class NameWriter {
  public:
    explicit NameWriter(char* names) : At(names) {}

    // Most names hold no escape: those are copied without the decoder's work.
    std::string_view Decoded(std::string_view text) {
        char* const start = At;
        if (text.find('\\') == std::string_view::npos) {
            std::copy(text.begin(), text.end(), At);
            At += text.size();
        } else {
            const std::string decoded = DecodeOctalEscapes(text);
            At = std::copy(decoded.begin(), decoded.end(), At);
        }
        return {start, static_cast<std::size_t>(At - start)};
    }

    // A line that turned out malformed gives its room back.
    char* Mark() const { return At; }
    void Rewind(char* mark) { At = mark; }

  private:
    char* At;
};

// The super options: "ro" first for a read-only file system, and an overlay's
// "upperdir=". The kernel escapes commas inside values, so a comma always
// ends an option.
void ReadSuperOptions(std::string_view options, MountEntry& entry, NameWriter& names) {
    entry.ReadOnly = options == "ro" || options.substr(0, 3) == "ro,";
    if (entry.Type != "overlay") return;
    constexpr std::string_view kUpper = "upperdir=";
    while (!options.empty()) {
        const std::size_t end = options.find(',');
        const std::string_view option = options.substr(0, end);
        options.remove_prefix(end == std::string_view::npos ? options.size() : end + 1);
        if (option.substr(0, kUpper.size()) == kUpper)
            entry.UpperDir = names.Decoded(option.substr(kUpper.size()));
    }
}

bool ParseMountLine(std::string_view line, MountEntry& entry, NameWriter& names) {
    const std::optional<MountInfoFields> fields = SplitMountInfoLine(line);
    if (!fields || !ParseNumber(fields->Id, entry.Id) ||
        !ParseNumber(fields->ParentId, entry.ParentId) || !ParseDevice(fields->Device, entry))
        return false;
    entry.Root = names.Decoded(fields->Root);
    entry.MountPoint = names.Decoded(fields->MountPoint);
    entry.Type = names.Decoded(fields->Type);
    entry.Source = names.Decoded(fields->Source);
    ReadSuperOptions(fields->SuperOptions, entry, names);
    return true;
}

std::uint64_t Mixed(std::uint64_t value) {
    return value * 0x9E3779B97F4A7C15ULL;
}

std::uint64_t PlaceKey(int parentId, std::uint64_t pathHash) {
    return pathHash ^ Mixed(static_cast<unsigned>(parentId));
}

// Whether a mount on the same parent sits on a directory above the mount
// point ("/a" or "/" above "/a/b"). Places holds every mount by its parent
// and the hash of its mount point.
bool ShadowedFromAbove(const MountEntry& mount, const std::vector<MountEntry>& mounts,
                       const PathIndex& places) {
    const std::string_view path = mount.MountPoint;
    return ForEachLeadingPath(path, [&](std::string_view above, std::uint64_t hash) {
        return above.size() < path.size() &&
               places.Find(PlaceKey(mount.ParentId, hash), [&](std::size_t other) {
                   return mounts[other].ParentId == mount.ParentId &&
                          mounts[other].MountPoint == above;
               });
    });
}

// Lines are found with memchr: overlays' lines run to thousands of bytes.
std::size_t LineCount(std::string_view text) {
    std::size_t lines = 1;
    const char* const end = text.data() + text.size();
    for (const char* at = text.data();
         (at = static_cast<const char*>(
              std::memchr(at, '\n', static_cast<std::size_t>(end - at)))) != nullptr;
         ++at)
        ++lines;
    return lines;
}

}  // namespace

std::optional<MountInfoFields> SplitMountInfoLine(std::string_view line) {
    MountInfoFields fields;
    fields.Id = NextMountInfoField(line);
    fields.ParentId = NextMountInfoField(line);
    fields.Device = NextMountInfoField(line);
    fields.Root = NextMountInfoField(line);
    fields.MountPoint = NextMountInfoField(line);
    if (NextMountInfoField(line).empty()) return std::nullopt;  // the mount's options
    for (std::string_view field = NextMountInfoField(line); field != "-";
         field = NextMountInfoField(line))
        if (field.empty()) return std::nullopt;
    fields.Type = NextMountInfoField(line);
    fields.Source = NextMountInfoField(line);
    fields.SuperOptions = NextMountInfoField(line);
    if (fields.Id.empty() || fields.ParentId.empty() || fields.Device.empty() ||
        fields.Root.empty() || fields.MountPoint.empty() || fields.Type.empty() ||
        fields.Source.empty())
        return std::nullopt;
    return fields;
}

MountTable ParseMountInfo(std::string_view text) {
    MountTable table;
    table.Mounts.reserve(LineCount(text));
    table.Names = std::make_unique_for_overwrite<char[]>(text.size() + 1);
    NameWriter names(table.Names.get());
    while (!text.empty()) {
        const std::string_view line = NextLine(text);
        if (line.empty()) continue;
        char* const mark = names.Mark();
        table.Mounts.emplace_back();
        if (!ParseMountLine(line, table.Mounts.back(), names)) {
            table.Mounts.pop_back();
            names.Rewind(mark);
            ++table.Malformed;
        }
    }
    return table;
}

std::vector<std::size_t> ParentIndexes(const std::vector<MountEntry>& mounts) {
    PathIndex byId(mounts.size());
    for (std::size_t i = 0; i < mounts.size(); ++i)
        byId.Add(Mixed(static_cast<unsigned>(mounts[i].Id)), i);
    std::vector<std::size_t> parents(mounts.size(), kNoParent);
    for (std::size_t i = 0; i < mounts.size(); ++i) {
        const int parentId = mounts[i].ParentId;
        byId.Find(Mixed(static_cast<unsigned>(parentId)), [&](std::size_t parent) {
            if (mounts[parent].Id != parentId) return false;
            if (parent != i) parents[i] = parent;
            return true;
        });
    }
    return parents;
}

std::vector<bool> ReachableMounts(const std::vector<MountEntry>& mounts) {
    const std::vector<std::size_t> parents = ParentIndexes(mounts);
    PathIndex places(mounts.size());
    for (std::size_t i = 0; i < mounts.size(); ++i)
        places.Add(PlaceKey(mounts[i].ParentId, PathHash(mounts[i].MountPoint)), i);

    // Covered in place: another mount sits on top of it at the same mount point.
    // Shadowed: a mount on the same parent covers a directory above it.
    std::vector<bool> coveredInPlace(mounts.size(), false);
    std::vector<bool> shadowed(mounts.size(), false);
    for (std::size_t i = 0; i < mounts.size(); ++i) {
        if (parents[i] != kNoParent && mounts[parents[i]].MountPoint == mounts[i].MountPoint)
            coveredInPlace[parents[i]] = true;
        shadowed[i] = ShadowedFromAbove(mounts[i], mounts, places);
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
