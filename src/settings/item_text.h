// Binary items as the settings file holds them: each byte of the item, in
// memory order, as two upper-case hexadecimal digits, high digit first.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qv {

// The 2 * size digits of the size bytes at item.
std::string EncodeItem(const void* item, std::size_t size);

// Fills the size bytes at item from a text of exactly 2 * size characters, two
// per byte, high first. A character whose code (unsigned) is above that of '9'
// counts as code - 55, any other as code - 48; the byte is the low eight bits
// of high * 16 OR low. That is exact for 0-9 and A-F, all that EncodeItem
// writes, and refuses no character: the settings file's other readers convert
// so. False for a text of any other length, and then item is left as it was.
bool DecodeItem(std::string_view text, void* item, std::size_t size);

}  // namespace qv
