// Mounts found by path without a node allocated per mount: a table of 64-bit
// keys (a path's hash, with its parent mount where that matters) and mount
// indexes, open addressed. A key may stand for several paths; callers confirm
// a hit by comparing the path itself, so a collision never misleads them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

namespace qv {

// A path's hash, made of its components ("/a/b": "a", then "b"), eight bytes
// at a time, so that the hashes of all its leading directories come out of
// one pass over it.
inline constexpr std::uint64_t kRootPathHash = 0x84222325CBF29CE4ULL;
std::uint64_t WithComponent(std::uint64_t hash, std::string_view component);
std::uint64_t PathHash(std::string_view path);

// Calls Visit(prefix, hash) for "/", each directory above the path and the
// path itself, shortest first, until Visit returns true; whether it did.
template <typename Visit>
bool ForEachLeadingPath(std::string_view path, Visit&& visit) {
    std::uint64_t hash = kRootPathHash;
    std::size_t start = 0;
    if (!path.empty() && path.front() == '/') {
        if (visit(path.substr(0, 1), hash)) return true;
        start = 1;
    }
    while (start < path.size()) {
        std::size_t end = path.find('/', start);
        if (end == std::string_view::npos) end = path.size();
        hash = WithComponent(hash, path.substr(start, end - start));
        if (visit(path.substr(0, end), hash)) return true;
        start = end + 1;
    }
    return false;
}

class PathIndex {
  public:
    explicit PathIndex(std::size_t capacity);
    void Add(std::uint64_t key, std::size_t index);
    // Calls Found(index) for each index added under the key until it returns true;
    // whether one did.
    template <typename Found>
    bool Find(std::uint64_t key, Found&& found) const {
        for (std::size_t slot = key & Mask;; slot = (slot + 1) & Mask) {
            if (Slots[slot].Index == kEmpty) return false;
            if (Slots[slot].Key == key && found(static_cast<std::size_t>(Slots[slot].Index)))
                return true;
        }
    }

  private:
    static constexpr std::uint32_t kEmpty = 0xFFFFFFFF;
    struct Slot {
        std::uint64_t Key = 0;
        std::uint32_t Index = kEmpty;
    };
    std::vector<Slot> Slots;
    std::size_t Mask;
};

}  // namespace qv
