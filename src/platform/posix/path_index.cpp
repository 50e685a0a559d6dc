#include "platform/posix/path_index.h"

#include <cstring>

namespace qv {

namespace {

constexpr std::uint64_t kMultiplier = 0x9E3779B97F4A7C15ULL;

std::uint64_t Mix(std::uint64_t hash, std::uint64_t word) {
    hash = (hash ^ word) * kMultiplier;
    return hash ^ (hash >> 29);
}

}  // namespace

std::uint64_t WithComponent(std::uint64_t hash, std::string_view component) {
    std::size_t at = 0;
    for (; at + 8 <= component.size(); at += 8) {
        std::uint64_t word;
        std::memcpy(&word, component.data() + at, 8);
        hash = Mix(hash, word);
    }
    std::uint64_t tail = 0;
    std::memcpy(&tail, component.data() + at, component.size() - at);
    return Mix(hash, tail ^ (static_cast<std::uint64_t>(component.size()) << 56));
}

std::uint64_t PathHash(std::string_view path) {
    std::uint64_t hash = 0;
    ForEachLeadingPath(path, [&](std::string_view, std::uint64_t leading) {
        hash = leading;
        return false;
    });
    return hash;
}

// At most half the slots are used, so that a search meets an empty one soon.
PathIndex::PathIndex(std::size_t capacity) {
    std::size_t size = 16;
    while (size < capacity * 2) size *= 2;
    Slots.resize(size);
    Mask = size - 1;
}

void PathIndex::Add(std::uint64_t key, std::size_t index) {
    std::size_t slot = key & Mask;
    while (Slots[slot].Index != kEmpty) slot = (slot + 1) & Mask;
    Slots[slot] = Slot{key, static_cast<std::uint32_t>(index)};
}

}  // namespace qv
