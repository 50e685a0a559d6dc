// Parsers of the kernel's text files under /proc. They take the text and touch
// nothing else, so that tests feed them fixtures.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace qv {

// The first line of the text (without its line end), taken off the text.
std::string_view NextLine(std::string_view& text);

// The value of a /proc/meminfo field ("MemAvailable:   123 kB") in bytes;
// nothing when the field is missing or malformed.
std::optional<std::uint64_t> MeminfoBytes(std::string_view text, std::string_view field);

// The kernel's escapes of blanks and backslashes in file names ("\040" for a
// space, "\011" tab, "\012" newline, "\134" backslash, "\043" '#'), decoded
// in one pass: the result of one escape is never read again. A backslash that
// does not start three octal digits stays as it is.
std::string DecodeOctalEscapes(std::string_view text);

struct SwapArea {
    std::string Path;
    std::uint64_t Size = 0;  // bytes
};

// The first area of /proc/swaps ("Filename Type Size Used Priority", sizes in
// KiB); nothing when the system swaps nowhere or the text is malformed.
std::optional<SwapArea> FirstSwapArea(std::string_view text);

}  // namespace qv
