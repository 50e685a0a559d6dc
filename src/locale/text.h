// Texts in the system's encoding: UTF-8 on POSIX, one byte per character on
// Windows. Columns are display columns, so that a report line still ends in
// column 79 after letters that take several bytes or two columns.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qv {

// The number of terminal columns the text takes.
int DisplayWidth(std::string_view text);

// The first character of the text, whole (several bytes in UTF-8); "" for "".
std::string FirstCharacter(std::string_view text);

// The letters a to z made capitals, as paths are folded where their case does
// not count; every other byte stays.
void FoldToUpper(std::string& text);

// Cuts the text after its first `count` characters, never inside one.
void CutToCharacters(std::string& text, std::size_t count);

// True when the text holds a letter, mark or digit of any script: a word, not
// a separator.
bool HoldsWordCharacter(std::string_view text);

// The number of characters in the text.
std::size_t CharacterCount(std::string_view text);

// The `count` characters that begin with character `first`.
std::string CharacterSlice(std::string_view text, std::size_t first, std::size_t count);

// The longest prefix of at most `bytes` bytes that ends on a character boundary.
std::size_t CharacterBoundary(std::string_view text, std::size_t bytes);

// Copies the text into a buffer of `size` bytes (at least 1), cut at a
// character boundary; the rest of the buffer is zero-filled.
void CopyText(std::string_view text, char* buffer, std::size_t size);

// The same functions for a fixed encoding, for tests and for callers that know it.
int DisplayWidth(std::string_view text, bool utf8);
std::size_t CharacterBoundary(std::string_view text, std::size_t bytes, bool utf8);

}  // namespace qv
