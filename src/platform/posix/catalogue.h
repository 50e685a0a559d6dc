// The string catalogue: the language library of POSIX systems. A UTF-8 text
// file of lines
//     <number> "<text>"
// with the escapes \" \\ \n \t in the text; blank lines and lines that begin
// with '#' are ignored. Pure, so that tests and fuzzers feed it any text.
#pragma once

#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "platform/types.h"

namespace qv {

struct CatalogueProblem {
    int line;            // counted from 1
    std::string reason;  // what is wrong with it
};

struct Catalogue {
    std::map<ULONG, std::string> strings;
    std::vector<CatalogueProblem> problems;  // malformed lines, which are skipped
};

Catalogue ParseCatalogue(std::string_view text);

}  // namespace qv
