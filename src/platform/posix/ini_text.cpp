#include "platform/posix/ini_text.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace qv::ini {
namespace {

constexpr std::uint32_t kNoLine = std::numeric_limits<std::uint32_t>::max();

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\v' || c == '\f' || c == '\x1a';
}

bool IsLineBreak(char c) {
    return c == '\r' || c == '\n';
}

bool HasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

char Folded(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c + ('a' - 'A')) : c;
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return Folded(x) == Folded(y);
           });
}

std::uint32_t HashOf(std::string_view name) {
    std::uint32_t hash = 2166136261u;
    for (const char c : name) hash = (hash ^ static_cast<unsigned char>(Folded(c))) * 16777619u;
    return hash;
}

std::string_view Unquoted(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front())
        return value.substr(1, value.size() - 2);
    return value;
}

enum class Kind { Blank, Header, Entry };

// One line of the text. Offsets index the whole text: [begin, next) is the
// line with its line break, [begin, end) without it.
struct Line {
    std::size_t begin = 0;
    std::size_t end = 0;
    std::size_t next = 0;
    Kind kind = Kind::Blank;
    std::string_view name;
    bool hasValue = false;
    // Where a value starts (after "=" and its blanks), or for a key without
    // one where "=value" would go: a new value replaces the line from here on.
    std::size_t valueBegin = 0;
    std::string_view value;
};

// Plain loops over the few bytes of a line: they cost less than the calls of
// the string functions, which matters for a file of many short lines.
std::size_t SkipBlanks(std::string_view text, std::size_t from, std::size_t to) {
    while (from < to && IsBlank(text[from])) ++from;
    return from;
}

std::size_t BackOverBlanks(std::string_view text, std::size_t from, std::size_t to) {
    while (to > from && IsBlank(text[to - 1])) --to;
    return to;
}

// A name or a value: its bytes up to a NUL.
std::string_view Part(std::string_view text, std::size_t from, std::size_t to) {
    std::size_t end = from;
    while (end < to && text[end] != '\0') ++end;
    return {text.data() + from, end - from};
}

void ClassifyEntry(std::string_view text, std::size_t first, std::size_t last, Line& line) {
    line.kind = Kind::Entry;
    std::size_t equals = first;
    while (equals < last && text[equals] != '=') ++equals;
    line.name = Part(text, first, BackOverBlanks(text, first, equals));
    line.hasValue = equals < last;
    line.valueBegin = line.hasValue ? SkipBlanks(text, equals + 1, last) : last;
    if (line.hasValue) line.value = Part(text, line.valueBegin, last);
}

Line LineAt(std::string_view text, std::size_t begin) {
    Line line;
    line.begin = begin;
    line.end = begin;
    while (line.end < text.size() && !IsLineBreak(text[line.end])) ++line.end;
    line.next = line.end;
    if (line.next < text.size()) {
        const bool crlf =
            text[line.next] == '\r' && line.next + 1 < text.size() && text[line.next + 1] == '\n';
        line.next += crlf ? 2 : 1;
    }
    const std::size_t first = SkipBlanks(text, begin, line.end);
    const std::size_t last = BackOverBlanks(text, first, line.end);
    if (first == last) return line;
    if (text[first] == '[') {
        std::size_t close = last;  // just after the last "]"
        while (close > first && text[close - 1] != ']') --close;
        if (close > first) {
            line.kind = Kind::Header;
            const std::size_t nameBegin = SkipBlanks(text, first + 1, close - 1);
            line.name = Part(text, nameBegin, BackOverBlanks(text, nameBegin, close - 1));
            return line;
        }
    }
    ClassifyEntry(text, first, last, line);
    return line;
}

// Calls visit(line) for every line but the empty ones, which are passed over
// a line break at a time.
template <typename Visit>
void ForEachLine(std::string_view text, Visit visit) {
    for (std::size_t at = 0; at < text.size();) {
        if (IsLineBreak(text[at])) {
            ++at;
            continue;
        }
        const Line line = LineAt(text, at);
        visit(line);
        at = line.next;
    }
}

}  // namespace

std::string_view TrimStart(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    return text;
}

std::string_view Trim(std::string_view text) {
    text = TrimStart(text);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

Document::Document(std::string text) : Content(std::move(text)) {
    Index();
}

// One pass. The index takes room for a mark per line: the pages of what no
// line fills are never touched, so they cost no memory.
void Document::Index() {
    const auto lines =
        static_cast<std::size_t>(std::count_if(Content.begin(), Content.end(), IsLineBreak) + 1);
    Blocks.clear();
    Entries.clear();
    Entries.reserve(lines);
    Blocks.push_back({{kNoLine, HashOf("")}, 0});
    ForEachLine(Content, [&](const Line& line) {
        const Mark mark{static_cast<std::uint32_t>(line.begin), HashOf(line.name)};
        if (line.kind == Kind::Header)
            Blocks.push_back({mark, static_cast<std::uint32_t>(Entries.size())});
        else if (line.kind == Kind::Entry)
            Entries.push_back(mark);
    });
}

bool Document::IsBlockOf(std::size_t block, std::string_view section, std::uint32_t hash) const {
    const Mark& header = Blocks[block].header;
    if (header.hash != hash) return false;
    return SameName(header.begin == kNoLine ? "" : LineAt(Content, header.begin).name, section);
}

std::optional<std::size_t> Document::FirstBlock(std::string_view section) const {
    const std::uint32_t hash = HashOf(section);
    for (std::size_t b = 0; b < Blocks.size(); ++b)
        if (IsBlockOf(b, section, hash)) return b;
    return std::nullopt;
}

std::size_t Document::EntriesEnd(std::size_t block) const {
    return block + 1 < Blocks.size() ? Blocks[block + 1].firstEntry : Entries.size();
}

std::optional<std::size_t> Document::EntryIn(std::size_t block, std::string_view key) const {
    const std::uint32_t hash = HashOf(key);
    for (std::size_t e = Blocks[block].firstEntry; e < EntriesEnd(block); ++e)
        if (Entries[e].hash == hash && SameName(LineAt(Content, Entries[e].begin).name, key))
            return e;
    return std::nullopt;
}

std::optional<std::string_view> Document::Find(std::string_view section,
                                               std::string_view key) const {
    const auto block = FirstBlock(Trim(section));
    const auto entry = block ? EntryIn(*block, Trim(key)) : std::nullopt;
    if (!entry) return std::nullopt;
    const Line line = LineAt(Content, Entries[*entry].begin);
    if (!line.hasValue) return std::nullopt;
    return Unquoted(line.value);
}

std::string_view Document::LineEnd() const {
    const std::size_t found = Content.find_first_of("\r\n");
    if (found == std::string::npos) return "\r\n";
    if (Content[found] == '\n') return "\n";
    return Content.compare(found, 2, "\r\n") == 0 ? "\r\n" : "\r";
}

// Lines go in at the start of a line; a last line without its line break gets
// one first.
void Document::Insert(std::size_t at, std::string_view lines) {
    std::string insertion;
    if (at > 0 && !IsLineBreak(Content[at - 1])) insertion = LineEnd();
    insertion += lines;
    Content.insert(at, insertion);
    Index();
}

void Document::Replace(std::size_t begin, std::size_t end, std::string_view text) {
    Content.replace(begin, end - begin, text);
    Index();
}

bool Document::Set(std::string_view section, std::string_view key, std::string_view value) {
    value = TrimStart(value);
    const std::string_view lineEnd = LineEnd();
    std::string entry(key);
    entry.append("=").append(value).append(lineEnd);
    const auto block = FirstBlock(Trim(section));
    if (!block) {
        std::string lines = "[";
        lines.append(section).append("]").append(lineEnd).append(entry);
        Insert(Content.size(), lines);
        return true;
    }
    if (const auto found = EntryIn(*block, Trim(key))) {
        const Line line = LineAt(Content, Entries[*found].begin);
        if (line.hasValue && line.value == value) return false;
        std::string replacement = line.hasValue ? "" : "=";
        replacement.append(value);
        Replace(line.valueBegin, line.end, replacement);
        return true;
    }
    const std::size_t first = Blocks[*block].firstEntry, end = EntriesEnd(*block);
    const std::uint32_t last = end > first ? Entries[end - 1].begin : Blocks[*block].header.begin;
    Insert(last == kNoLine ? 0 : LineAt(Content, last).next, entry);
    return true;
}

bool Document::DeleteKey(std::string_view section, std::string_view key) {
    const std::uint32_t hash = HashOf(section);
    for (std::size_t b = 0; b < Blocks.size(); ++b) {
        if (!IsBlockOf(b, section, hash)) continue;
        if (const auto found = EntryIn(b, key)) {
            const Line line = LineAt(Content, Entries[*found].begin);
            Replace(line.begin, line.next, "");
            return true;
        }
    }
    return false;
}

// From the header up to the next header: the section's lines and whatever
// stands between them.
bool Document::DeleteSection(std::string_view section) {
    const auto block = FirstBlock(section);
    if (!block) return false;
    const std::uint32_t header = Blocks[*block].header.begin;
    const std::size_t begin = header == kNoLine ? 0 : header;
    const std::size_t end =
        *block + 1 < Blocks.size() ? Blocks[*block + 1].header.begin : Content.size();
    if (begin == end) return false;
    Replace(begin, end, "");
    return true;
}

bool IsValidSectionName(std::string_view name) {
    return !name.empty() && Trim(name) == name && name.find(']') == name.npos &&
           !HasLineBreakOrNul(name);
}

bool IsValidKeyName(std::string_view name) {
    return !name.empty() && Trim(name) == name && name.front() != '[' && name.front() != ';' &&
           name.find('=') == name.npos && !HasLineBreakOrNul(name);
}

bool IsValidValue(std::string_view value) {
    return !HasLineBreakOrNul(value);
}

DWORD PlaceInBuffer(std::string_view value, char* buffer, DWORD size) {
    if (buffer == nullptr || size == 0) return 0;
    const std::size_t placed = std::min<std::size_t>(value.size(), size - 1);
    std::memcpy(buffer, value.data(), placed);
    buffer[placed] = '\0';
    return static_cast<DWORD>(placed);
}

}  // namespace qv::ini
