// The INI model on any file text: reading never fails; a write followed by a
// read gives what was written while every other key keeps its value; an edit
// changes the bytes of one line (a write) or only removes bytes (a deletion),
// and the text it leaves reads the same when parsed anew. Any file's bytes,
// decoded, encode back to themselves.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

#include "fuzz_input.h"
#include "platform/posix/ini_encoding.h"
#include "platform/posix/ini_text.h"

namespace {

using qv::ini::Document;

bool Readable(const std::string& value) {
    if (!qv::ini::IsValidValue(value) || qv::ini::Trim(value) != value) return false;
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return !quoted;  // a matching pair of quotes is taken off on reading
}

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c + 32) : c; };
               return lower(x) == lower(y);
           });
}

// The bytes of Before that After does not keep, once the longest common start
// and end are taken off both; and those of After that are new.
struct Change {
    std::string_view removed, added;
};

Change ChangeBetween(std::string_view before, std::string_view after) {
    const std::size_t most = std::min(before.size(), after.size());
    std::size_t start = 0;
    while (start < most && before[start] == after[start]) ++start;
    std::size_t end = 0;
    while (end < most - start && before[before.size() - 1 - end] == after[after.size() - 1 - end])
        ++end;
    return {before.substr(start, before.size() - start - end),
            after.substr(start, after.size() - start - end)};
}

std::optional<std::string> Found(const Document& text, std::string_view section,
                                 std::string_view key) {
    const auto value = text.Find(section, key);
    return value ? std::optional<std::string>(*value) : std::nullopt;
}

// An edited text reads as the same text parsed anew.
void CheckIndex(const Document& edited, std::string_view section, std::string_view key) {
    if (Found(edited, section, key) != Found(Document(edited.Text()), section, key)) std::abort();
}

void CheckDeletions(const std::string& text, std::string_view section, std::string_view key) {
    Document withoutKey(text);
    withoutKey.DeleteKey(section, key);
    if (!ChangeBetween(text, withoutKey.Text()).added.empty()) std::abort();
    CheckIndex(withoutKey, section, key);
    Document withoutSection(text);
    const bool deleted = withoutSection.DeleteSection(section);
    if (!ChangeBetween(text, withoutSection.Text()).added.empty()) std::abort();
    if (deleted == (withoutSection.Text() == text)) std::abort();
    CheckIndex(withoutSection, section, key);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The file, a section, a key, a value, and another key to watch.
    const auto [text, section, key, value, other] = Parts<5>(data, size);
    const qv::ini::DecodedText decoded = qv::ini::Decode(text);
    if (qv::ini::Encode(decoded.text, decoded.encoding) != text) std::abort();
    CheckDeletions(text, section, key);

    if (!qv::ini::IsValidSectionName(section) || !qv::ini::IsValidKeyName(key) || !Readable(value))
        return 0;
    const Document before(text);
    Document written(text);
    written.Set(section, key, value);
    if (Found(written, section, key) != value) std::abort();
    // Only the bytes of one line change: no line break is lost or added inside.
    const Change change = ChangeBetween(text, written.Text());
    if (change.removed.find_first_of("\r\n") != std::string_view::npos) std::abort();
    CheckIndex(written, section, other);
    if (!SameName(qv::ini::Trim(other), key) &&
        Found(written, section, other) != Found(before, section, other))
        std::abort();
    char buffer[16];
    if (qv::ini::PlaceInBuffer(value, buffer, sizeof buffer) >= sizeof buffer) std::abort();
    return 0;
}
