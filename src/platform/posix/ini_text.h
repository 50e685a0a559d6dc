// The text of an INI file as a model: finding a value and editing one key or
// one section. Every edit changes only the lines of that key or section; all
// other bytes (comments, blank lines, order, line ends) stay as they were.
//
// Rules: a line whose first non-blank character is "[" names a section (up to
// "]"); a line whose first non-blank character is ";" is a comment; any other
// line holding "=" is an entry "key=value". Names are matched without regard to
// case; blanks around names and values are not part of them. Sections of the
// same name act as one: the first entry of a key counts. Entries before the
// first section belong to none.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/types.h"

namespace qv::ini {

// The value of Key in Section with a matching pair of quotes around it taken
// off; nothing when the section or the key is missing.
std::optional<std::string> FindValue(std::string_view text, std::string_view section,
                                     std::string_view key);

// The text with Key of Section set to Value: the first entry of the key is
// changed in place; a new key goes after the last entry of the section, a new
// section to the end of the text.
std::string WithValue(std::string_view text, std::string_view section, std::string_view key,
                      std::string_view value);

// The text without any entry of Key in Section.
std::string WithoutKey(std::string_view text, std::string_view section, std::string_view key);

// The text without Section: its header and every line up to the next section.
std::string WithoutSection(std::string_view text, std::string_view section);

// Names and values that can stand in a file and be read back as written.
bool IsValidSectionName(std::string_view name);
bool IsValidKeyName(std::string_view name);
bool IsValidValue(std::string_view value);

// Copies Value into Buffer of Size characters, cut to Size - 1 characters and
// terminated; returns the number of characters placed.
DWORD PlaceInBuffer(std::string_view value, char* buffer, DWORD size);

}  // namespace qv::ini
