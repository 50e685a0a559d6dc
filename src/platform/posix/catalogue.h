// The string catalogue: the language library of POSIX systems. A UTF-8 text
// file of lines
//     <number> "<text>"
// with the escapes \" \\ \n \t in the text; blank lines and lines that begin
// with '#' are ignored, and so is a byte order mark at the start. Pure, so that
// tests and fuzzers feed it any text.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace qv {

struct CatalogueProblem {
    int line;                 // counted from 1
    std::string_view reason;  // what is wrong with it
};

// Where one string's decoded text lies in the catalogue's text.
struct CatalogueEntry {
    std::uint16_t id;
    std::uint32_t offset, length;
};

struct Catalogue {
    // The most problems kept; the rest are only counted.
    static constexpr std::size_t kMostProblems = 20;

    std::string text;                        // the file's text, entries decoded in place
    std::vector<CatalogueEntry> entries;     // sorted by number, one per number
    std::vector<CatalogueProblem> problems;  // the first malformed lines, which are skipped
    std::size_t skippedLines = 0;            // every malformed line

    // The text of string `id`; nothing when the catalogue lacks it.
    std::optional<std::string_view> Find(ULONG id) const;
};

// Parses the text in one pass, decoding each string where it stands (a
// decoded text is never longer than its quoted form), so that a large
// catalogue costs one copy of its text and twelve bytes a string. A text of
// 4 GiB or more is not parsed.
Catalogue ParseCatalogue(std::string text);

}  // namespace qv
