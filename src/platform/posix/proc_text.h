// Parsers of the kernel's text files under /proc. They take the text and touch
// nothing else, so that tests feed them fixtures.
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace qv {

// The value of a /proc/meminfo field ("MemAvailable:   123 kB") in bytes;
// nothing when the field is missing or malformed.
std::optional<std::uint64_t> MeminfoBytes(std::string_view text, std::string_view field);

}  // namespace qv
