// The string catalogue: the language library of POSIX systems. A UTF-8 text
// file of lines
//     <number> "<text>"
// with the escapes \" \\ \n \t in the text; blank lines and lines that begin
// with '#' are ignored, and so is a byte order mark at the start. Pure, so that
// tests and fuzzers feed it any text.
#pragma once

#include <cstdint>
#include <memory>
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

struct Catalogue {
    // The most problems kept; the rest are only counted.
    static constexpr std::size_t kMostProblems = 20;

    Catalogue();

    std::string_view text;  // the parsed text, each string decoded in place and ended by a zero
    std::size_t count = 0;  // the strings it holds
    std::vector<CatalogueProblem> problems;  // the first malformed lines, which are skipped
    std::size_t skippedLines = 0;            // every malformed line

    // The text of string `id`, up to its first zero byte (where the platform's
    // string copy ends it); nothing when the catalogue lacks it.
    std::optional<std::string_view> Find(ULONG id) const;

    // Where the text of each string number begins in `text`, 0 for none (a
    // text never begins the file). Zeroed memory that pages in only where a
    // number is used: a small catalogue touches one page of it.
    struct Free {
        void operator()(std::uint32_t* table) const;
    };
    std::unique_ptr<std::uint32_t, Free> offsets;
};

// Parses the text in one pass, decoding each string where it stands (a decoded
// text is never longer than its quoted form) and putting a zero byte at its
// end: no copy of any string, and four bytes of table a string number. The
// catalogue refers to the text, which must outlive it. A text of 4 GiB or more
// is not parsed.
Catalogue ParseCatalogue(char* text, std::size_t size);
inline Catalogue ParseCatalogue(std::string& text) {
    return ParseCatalogue(text.data(), text.size());
}

}  // namespace qv
