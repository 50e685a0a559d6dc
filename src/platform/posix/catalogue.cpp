#include "platform/posix/catalogue.h"

#include <algorithm>
#include <bitset>
#include <limits>

namespace qv {
namespace {

constexpr ULONG kLargestId = 65535;  // string numbers are 16 bits, as in a resource table
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r';
}

// Walks one catalogue text line by line, decoding each string in place.
class Parser {
  public:
    explicit Parser(Catalogue& catalogue) : Out(catalogue), Text(catalogue.text) {}

    void ParseAll() {
        if (std::string_view(Text).substr(0, kByteOrderMark.size()) == kByteOrderMark)
            At = kByteOrderMark.size();  // many editors begin a UTF-8 file so
        for (int line = 1; At < Text.size(); ++line) {
            const std::size_t end = std::min(Text.find('\n', At), Text.size());
            LineEnd = end;
            if (const char* problem = ParseLine()) Skip(line, problem);
            At = end + 1;
        }
        std::sort(Out.entries.begin(), Out.entries.end(),
                  [](const CatalogueEntry& a, const CatalogueEntry& b) { return a.id < b.id; });
    }

  private:
    bool AtEnd() const { return At >= LineEnd; }

    void SkipBlanks() {
        while (!AtEnd() && IsBlank(Text[At])) ++At;
    }

    void Skip(int line, const char* reason) {
        if (Out.problems.size() < Catalogue::kMostProblems) Out.problems.push_back({line, reason});
        ++Out.skippedLines;
    }

    // The problem of the line, or null when it is blank, a comment or an entry.
    const char* ParseLine() {
        SkipBlanks();
        if (AtEnd() || Text[At] == '#') return nullptr;
        ULONG id = 0;
        const std::size_t start = At;
        for (; !AtEnd() && Text[At] >= '0' && Text[At] <= '9'; ++At) {
            id = id * 10 + static_cast<ULONG>(Text[At] - '0');
            if (id > kLargestId) return "no string number from 0 to 65535";
        }
        if (At == start) return "no string number from 0 to 65535";
        const std::size_t afterId = At;
        SkipBlanks();
        if (At == afterId || AtEnd() || Text[At] != '"') return "no quoted text after the number";
        const std::size_t offset = ++At;
        std::size_t length = 0;
        if (const char* problem = DecodeQuoted(offset, length)) return problem;
        SkipBlanks();
        if (!AtEnd()) return "text after the closing quote";
        if (Seen.test(id)) return "string number given twice";
        Seen.set(id);
        Out.entries.push_back({static_cast<std::uint16_t>(id), static_cast<std::uint32_t>(offset),
                               static_cast<std::uint32_t>(length)});
        return nullptr;
    }

    // Decodes the quoted text from `At` (past the opening quote) to its closing
    // quote into the text from `to` on; `At` ends past the closing quote.
    const char* DecodeQuoted(std::size_t to, std::size_t& length) {
        const std::size_t first = to;
        while (!AtEnd()) {
            char c = Text[At++];
            if (c == '"') {
                length = to - first;
                return nullptr;
            }
            if (c == '\\') {
                if (AtEnd()) break;
                switch (Text[At++]) {
                    case '"':
                        c = '"';
                        break;
                    case '\\':
                        c = '\\';
                        break;
                    case 'n':
                        c = '\n';
                        break;
                    case 't':
                        c = '\t';
                        break;
                    default:
                        return "unknown escape";
                }
            }
            Text[to++] = c;
        }
        return "no closing quote";
    }

    Catalogue& Out;
    std::string& Text;
    std::size_t At = 0;
    std::size_t LineEnd = 0;
    std::bitset<kLargestId + 1> Seen;
};

}  // namespace

std::optional<std::string_view> Catalogue::Find(ULONG id) const {
    const auto found = std::lower_bound(
        entries.begin(), entries.end(), id,
        [](const CatalogueEntry& entry, ULONG wanted) { return entry.id < wanted; });
    if (found == entries.end() || found->id != id) return std::nullopt;
    return std::string_view(text).substr(found->offset, found->length);
}

Catalogue ParseCatalogue(std::string text) {
    Catalogue catalogue;
    catalogue.text = std::move(text);
    if (catalogue.text.size() >= std::numeric_limits<std::uint32_t>::max()) {
        catalogue.problems.push_back({1, "larger than 4 GiB"});
        catalogue.skippedLines = 1;
        return catalogue;
    }
    Parser(catalogue).ParseAll();
    return catalogue;
}

}  // namespace qv
