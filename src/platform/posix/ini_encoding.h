// How the bytes of a profile file become the text the INI model parses. A
// file that begins with a UTF-16 byte order mark (FF FE little-endian, FE FF
// big-endian) holds UTF-16: its text, without the mark, is taken as UTF-8,
// the text of this system, and written back in the file's own encoding. Every
// other file is its own text, a UTF-8 mark included.
#pragma once

#include <optional>
#include <string>

namespace qv::ini {

struct Encoding {
    enum class Kind { Bytes, Utf16Le, Utf16Be } kind = Kind::Bytes;
    // A last byte of a UTF-16 file that makes no whole code unit: no part of
    // the text, and written back as it was.
    std::string tail;
};

struct DecodedText {
    std::string text;
    Encoding encoding;
};

// Any bytes decode. A UTF-16 surrogate without its partner becomes the three
// bytes UTF-8 would give its number, so that every file encodes back to
// exactly its own bytes.
DecodedText Decode(std::string bytes);

// The file's bytes for the text; nothing when a UTF-16 file is to hold a text
// that is not UTF-8.
std::optional<std::string> Encode(std::string_view text, const Encoding& encoding);

}  // namespace qv::ini
