// The text of a profile (INI) file as the platform's profile functions see it,
// parsed once and edited in place. Every edit changes only the bytes of the
// key or section concerned; all other bytes stay as they were.
//
// Lines end at CR LF, a lone CR or a lone LF. Blanks (space, tab, VT, FF and
// the old end-of-file mark ^Z) around a line, a name or a value are not part of
// it; a blank line means nothing. A line that begins with "[" and holds a "]"
// is a section header, named by what stands between the "[" and its last "]";
// a "[" without "]" is no header. Every other line is an entry: its key is what
// stands before the first "=", its value what follows; a line without "=" is a
// key without a value, which reads as missing but is found by writes and
// deletions like any key. Names and values end at a NUL byte. Names match
// without regard to ASCII case. Of a section that appears more than once only
// the first block is read and written (a deletion takes the first entry of the
// key in any of its blocks, a section deletion the first block); of a key that
// appears more than once the first counts. Lines before the first header belong
// to the section without a name. A UTF-8 mark is part of the first line, as
// for every file that is not UTF-16.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace qv::ini {

// The text without the blanks around it, or before it.
std::string_view Trim(std::string_view text);
std::string_view TrimStart(std::string_view text);

class Document {
  public:
    // Texts up to 4 GiB; offsets are kept in 32 bits to keep the index small.
    explicit Document(std::string text = {});

    const std::string& Text() const { return Content; }

    // The value of Key in Section with a matching pair of quotes around it
    // taken off; nothing when the section or the key is missing, or the key
    // has no value. Here and in Set, Section and Key are matched without the
    // blanks around them; the empty key is the name of a line "=value".
    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;

    // The edits; each says whether the text changed. Set takes the value
    // without its leading blanks; a value equal to the present one changes
    // nothing. A deletion compares the names as they stand, as the platform
    // does: a name with blanks around it matches no line. A new key goes after the last line of its
    // section's first block, a new section to the end, with the names as given; new lines end as
    // the text's first line does (CR LF in a text without line ends).
    bool Set(std::string_view section, std::string_view key, std::string_view value);
    bool DeleteKey(std::string_view section, std::string_view key);
    bool DeleteSection(std::string_view section);

  private:
    // A section header or an entry: where its line begins, and the hash of its
    // name, which spares most comparisons of names.
    struct Mark {
        std::uint32_t begin;
        std::uint32_t hash;
    };
    // A block begins at its header (none for the lines before the first one);
    // its entries are Entries[firstEntry] up to the next block's first entry.
    struct Block {
        Mark header;
        std::uint32_t firstEntry;
    };

    void Index();
    bool IsBlockOf(std::size_t block, std::string_view section, std::uint32_t hash) const;
    std::optional<std::size_t> FirstBlock(std::string_view section) const;
    std::size_t EntriesEnd(std::size_t block) const;
    std::optional<std::size_t> EntryIn(std::size_t block, std::string_view key) const;
    std::string_view LineEnd() const;
    void Insert(std::size_t at, std::string_view lines);
    void Replace(std::size_t begin, std::size_t end, std::string_view text);

    std::string Content;
    std::vector<Block> Blocks;  // Blocks[0]: the lines before the first header
    std::vector<Mark> Entries;
};

// Names and values that can stand in a file and be read back as written.
bool IsValidSectionName(std::string_view name);
bool IsValidKeyName(std::string_view name);
bool IsValidValue(std::string_view value);

// Copies Value into Buffer of Size characters, cut to Size - 1 characters and
// terminated; returns the number of characters placed.
DWORD PlaceInBuffer(std::string_view value, char* buffer, DWORD size);

}  // namespace qv::ini
