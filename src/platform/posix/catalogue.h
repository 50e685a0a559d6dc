// The string catalogue: the language library of POSIX systems. A UTF-8 text
// file of lines
//     <number> "<text>"
// with the escapes \" \\ \n \t in the text; blank lines and lines that begin
// with '#' are ignored, and so is a byte order mark at the start. Pure, so that
// tests and fuzzers feed it any text.
#pragma once

#include <array>
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

    std::string_view text;  // the parsed text, each string decoded in place and ended by a zero
    std::size_t count = 0;  // the strings it holds
    std::vector<CatalogueProblem> problems;  // the first malformed lines, which are skipped
    std::size_t skippedLines = 0;            // every malformed line

    // The text of string `id`, up to its first zero byte (where the platform's
    // string copy ends it); nothing when the catalogue lacks it.
    std::optional<std::string_view> Find(ULONG id) const;

    // Where the text of each string number begins in `text`, 0 for none (a
    // text never begins the file).
    class Offsets {
      public:
        std::uint32_t Of(ULONG id) const;
        // The place of `id`, made (as 0) when it is the first of its leaf.
        std::uint32_t& Slot(ULONG id);

      private:
        // Leaves of 256 numbers, each made when a number of it is first
        // given: a catalogue's numbers lie close together, so a small one
        // takes one leaf of 1 KiB from the heap, where a table of all 65,536
        // numbers took 256 KiB of fresh pages, mapped and unmapped on every
        // run, for the same single page used.
        static constexpr std::size_t kLeafSize = 256;
        using Leaf = std::array<std::uint32_t, kLeafSize>;
        std::vector<std::unique_ptr<Leaf>> leaves;  // by id / kLeafSize
    };
    Offsets offsets;
};

// Parses the text in one pass, decoding each string where it stands (a decoded
// text is never longer than its quoted form) and putting a zero byte at its
// end: no copy of any string, and four bytes a number in the leaves used. The
// catalogue refers to the text, which must outlive it. A text of 4 GiB or more
// is not parsed.
Catalogue ParseCatalogue(char* text, std::size_t size);
inline Catalogue ParseCatalogue(std::string& text) {
    return ParseCatalogue(text.data(), text.size());
}

}  // namespace qv
