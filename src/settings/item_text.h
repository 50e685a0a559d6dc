// Binary items as the settings file holds them: each byte of the item, in
// memory order, as two upper-case hexadecimal digits, high digit first. One
// table of digits serves both directions, so that decoding takes exactly what
// encoding writes.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qv {

// The 2 * size digits of the size bytes at item.
std::string EncodeItem(const void* item, std::size_t size);

// Fills the size bytes at item from a text of exactly 2 * size digits 0-9 and
// A-F; false for any other text, and then item is left as it was.
bool DecodeItem(std::string_view text, void* item, std::size_t size);

}  // namespace qv
