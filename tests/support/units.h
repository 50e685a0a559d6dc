// The binary units the tests write their sizes in.
#pragma once

#include <cstdint>

namespace qv::test {

constexpr std::uint64_t kMiB = 1ULL << 20;
constexpr std::uint64_t kGiB = 1ULL << 30;

}  // namespace qv::test
