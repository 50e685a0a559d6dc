#include "platform/posix/ini_encoding.h"

#include <cstdint>
#include <string_view>

namespace qv::ini {
namespace {

constexpr std::string_view kLittleEndianMark = "\xFF\xFE";
constexpr std::string_view kBigEndianMark = "\xFE\xFF";

bool IsHighSurrogate(std::uint32_t unit) {
    return unit >= 0xD800 && unit <= 0xDBFF;
}

bool IsLowSurrogate(std::uint32_t unit) {
    return unit >= 0xDC00 && unit <= 0xDFFF;
}

void AppendUtf8(std::string& text, std::uint32_t code) {
    const auto byte = [&](std::uint32_t value) { text += static_cast<char>(value); };
    if (code < 0x80) {
        byte(code);
    } else if (code < 0x800) {
        byte(0xC0 | code >> 6);
        byte(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        byte(0xE0 | code >> 12);
        byte(0x80 | (code >> 6 & 0x3F));
        byte(0x80 | (code & 0x3F));
    } else {
        byte(0xF0 | code >> 18);
        byte(0x80 | (code >> 12 & 0x3F));
        byte(0x80 | (code >> 6 & 0x3F));
        byte(0x80 | (code & 0x3F));
    }
}

void AppendUnit(std::string& bytes, std::uint32_t unit, bool littleEndian) {
    const char low = static_cast<char>(unit & 0xFF), high = static_cast<char>(unit >> 8);
    bytes += littleEndian ? low : high;
    bytes += littleEndian ? high : low;
}

std::string Utf8Of(std::string_view units, bool littleEndian) {
    const auto unit = [&](std::size_t i) {
        const auto first = static_cast<unsigned char>(units[2 * i]);
        const auto second = static_cast<unsigned char>(units[2 * i + 1]);
        return littleEndian ? std::uint32_t{first} | std::uint32_t{second} << 8
                            : std::uint32_t{first} << 8 | std::uint32_t{second};
    };
    std::string text;
    const std::size_t count = units.size() / 2;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t code = unit(i);
        if (IsHighSurrogate(code) && i + 1 < count && IsLowSurrogate(unit(i + 1)))
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(++i) - 0xDC00);
        AppendUtf8(text, code);
    }
    return text;
}

// The code point that starts at text[at], which at then passes; nothing when
// no well-formed one starts there.
std::optional<std::uint32_t> NextCode(std::string_view text, std::size_t& at) {
    const auto lead = static_cast<unsigned char>(text[at]);
    std::size_t length = 1;
    std::uint32_t code = lead, least = 0;
    if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, code = lead & 0x07, least = 0x10000;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, code = lead & 0x0F, least = 0x800;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, code = lead & 0x1F, least = 0x80;
    } else if (lead >= 0x80) {
        return std::nullopt;
    }
    if (at + length > text.size()) return std::nullopt;
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[at + i]);
        if ((next & 0xC0) != 0x80) return std::nullopt;
        code = code << 6 | (next & 0x3F);
    }
    if (code < least || code > 0x10FFFF) return std::nullopt;
    at += length;
    return code;
}

std::optional<std::string> Utf16Of(std::string_view text, bool littleEndian) {
    std::string units;
    units.reserve(2 * text.size());
    for (std::size_t at = 0; at < text.size();) {
        const std::optional<std::uint32_t> code = NextCode(text, at);
        if (!code) return std::nullopt;
        if (*code < 0x10000) {
            AppendUnit(units, *code, littleEndian);
        } else {
            AppendUnit(units, 0xD800 + ((*code - 0x10000) >> 10), littleEndian);
            AppendUnit(units, 0xDC00 + ((*code - 0x10000) & 0x3FF), littleEndian);
        }
    }
    return units;
}

}  // namespace

DecodedText Decode(std::string bytes) {
    const std::string_view view = bytes;
    const bool little = view.substr(0, 2) == kLittleEndianMark;
    if (!little && view.substr(0, 2) != kBigEndianMark) return {std::move(bytes), {}};
    const std::string_view units = view.substr(2);
    Encoding encoding{little ? Encoding::Kind::Utf16Le : Encoding::Kind::Utf16Be,
                      std::string(units.substr(units.size() - units.size() % 2))};
    return {Utf8Of(units, little), std::move(encoding)};
}

std::optional<std::string> Encode(std::string_view text, const Encoding& encoding) {
    if (encoding.kind == Encoding::Kind::Bytes) return std::string(text);
    const bool little = encoding.kind == Encoding::Kind::Utf16Le;
    std::optional<std::string> units = Utf16Of(text, little);
    if (!units) return std::nullopt;
    return std::string(little ? kLittleEndianMark : kBigEndianMark) + *units + encoding.tail;
}

}  // namespace qv::ini
