#include "platform/posix/catalogue.h"

#include <cstring>
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
    Parser(Catalogue& catalogue, char* text, std::size_t size)
        : Out(catalogue), Text(text), Size(size) {}

    void ParseAll() {
        if (std::string_view(Text, Size).substr(0, kByteOrderMark.size()) == kByteOrderMark)
            At = kByteOrderMark.size();  // many editors begin a UTF-8 file so
        for (int line = 1; At < Size; ++line) {
            const void* newline = std::memchr(Text + At, '\n', Size - At);
            LineEnd =
                newline ? static_cast<std::size_t>(static_cast<const char*>(newline) - Text) : Size;
            if (const char* problem = ParseLine()) Skip(line, problem);
            At = LineEnd + 1;
        }
    }

  private:
    // `At` stays within the current line, which ends at `LineEnd`.
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
        if (const char* problem = DecodeQuoted(length)) return problem;
        SkipBlanks();
        if (!AtEnd()) return "text after the closing quote";
        std::uint32_t& slot = Out.offsets.Slot(id);
        if (slot != 0) return "string number given twice";
        slot = static_cast<std::uint32_t>(offset);
        Text[offset + length] = '\0';  // the closing quote or a decoded character's room
        ++Out.count;
        return nullptr;
    }

    // Decodes the quoted text from `At` (past the opening quote) to its closing
    // quote in place; `At` ends past the closing quote. Each run up to a quote
    // or an escape is found by a loop that only reads, on local pointers, and
    // is moved whole: a loop that wrote each byte as it went reloaded the
    // parser's position after every write (a char store may alias it), and
    // took most of what a 1 MiB catalogue costs.
    const char* DecodeQuoted(std::size_t& length) {
        const char* const end = Text + LineEnd;
        char* const first = Text + At;
        char* to = first;
        for (const char* from = first;;) {
            const char* stop = from;
            while (stop < end && *stop != '"' && *stop != '\\') ++stop;
            if (to != from) std::memmove(to, from, static_cast<std::size_t>(stop - from));
            to += stop - from;  // to <= from: a decoded escape is shorter
            if (stop == end || (*stop == '\\' && stop + 1 == end)) return "no closing quote";
            if (*stop == '"') {
                At = static_cast<std::size_t>(stop + 1 - Text);
                length = static_cast<std::size_t>(to - first);
                return nullptr;
            }
            const char decoded = Unescaped(stop[1]);
            if (decoded == 0) return "unknown escape";
            *to++ = decoded;
            from = stop + 2;
        }
    }

    // The character an escape stands for, 0 for an unknown escape.
    static char Unescaped(char letter) {
        switch (letter) {
            case '"':
            case '\\':
                return letter;
            case 'n':
                return '\n';
            case 't':
                return '\t';
            default:
                return 0;
        }
    }

    Catalogue& Out;
    char* Text;
    std::size_t Size;
    std::size_t At = 0;
    std::size_t LineEnd = 0;
};

}  // namespace

std::uint32_t Catalogue::Offsets::Of(ULONG id) const {
    const std::size_t leaf = id / kLeafSize;
    return leaf < leaves.size() && leaves[leaf] ? (*leaves[leaf])[id % kLeafSize] : 0;
}

std::uint32_t& Catalogue::Offsets::Slot(ULONG id) {
    const std::size_t leaf = id / kLeafSize;
    if (leaf >= leaves.size()) leaves.resize(leaf + 1);
    if (!leaves[leaf]) leaves[leaf] = std::make_unique<Leaf>();  // zeroed: no string yet
    return (*leaves[leaf])[id % kLeafSize];
}

std::optional<std::string_view> Catalogue::Find(ULONG id) const {
    const std::uint32_t offset = offsets.Of(id);  // 0 past the leaves, as past 65535
    if (offset == 0) return std::nullopt;
    const std::string_view rest = text.substr(offset);
    return rest.substr(0, rest.find('\0'));
}

Catalogue ParseCatalogue(char* text, std::size_t size) {
    Catalogue catalogue;
    catalogue.text = std::string_view(text, size);
    if (size >= std::numeric_limits<std::uint32_t>::max()) {
        catalogue.problems.push_back({1, "larger than 4 GiB"});
        catalogue.skippedLines = 1;
        return catalogue;
    }
    Parser(catalogue, text, size).ParseAll();
    return catalogue;
}

}  // namespace qv
