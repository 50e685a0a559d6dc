// The INI model on any file text: reading never fails, and a write followed
// by a read gives what was written while every other key keeps its value.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "fuzz_input.h"
#include "platform/posix/ini_text.h"

namespace {

bool Readable(const std::string& value) {
    if (!qv::ini::IsValidValue(value)) return false;
    constexpr std::string_view kBlanks = " \t\v\f\r";
    if (!value.empty() && (kBlanks.find(value.front()) != std::string_view::npos ||
                           kBlanks.find(value.back()) != std::string_view::npos))
        return false;  // blanks around a value are not part of it
    const bool quoted = value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                        value.back() == value.front();
    return !quoted;  // a matching pair of quotes is taken off on reading
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The file, a section, a key, a value, and another key to watch.
    const auto [text, section, key, value, other] = Parts<5>(data, size);
    const auto before = qv::ini::FindValue(text, section, other);
    (void)qv::ini::WithoutSection(text, section);
    const std::string withoutKey = qv::ini::WithoutKey(text, section, key);
    if (qv::ini::FindValue(withoutKey, section, key)) std::abort();

    if (!qv::ini::IsValidSectionName(section) || !qv::ini::IsValidKeyName(key) || !Readable(value))
        return 0;
    const std::string written = qv::ini::WithValue(text, section, key, value);
    const auto read = qv::ini::FindValue(written, section, key);
    if (!read || *read != value) std::abort();
    if (qv::ini::IsValidKeyName(other) && !other.empty()) {
        const bool sameKey =
            other.size() == key.size() &&
            std::equal(other.begin(), other.end(), key.begin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            });
        if (!sameKey && qv::ini::FindValue(written, section, other) != before) std::abort();
    }
    char buffer[16];
    if (qv::ini::PlaceInBuffer(value, buffer, sizeof buffer) >= sizeof buffer) std::abort();
    return 0;
}
