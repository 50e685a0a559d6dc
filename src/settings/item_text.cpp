#include "settings/item_text.h"

namespace qv {
namespace {

constexpr std::string_view kDigits = "0123456789ABCDEF";

int DigitValue(char c) {
    const int code = static_cast<unsigned char>(c);
    return code > '9' ? code - 55 : code - 48;
}

}  // namespace

std::string EncodeItem(const void* item, std::size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(item);
    std::string text;
    text.reserve(2 * size);
    for (std::size_t i = 0; i < size; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
    }
    return text;
}

bool DecodeItem(std::string_view text, void* item, std::size_t size) {
    if (text.size() % 2 != 0 || text.size() / 2 != size) return false;
    auto* bytes = static_cast<unsigned char*>(item);
    for (std::size_t i = 0; i < size; ++i) {
        const int value = DigitValue(text[2 * i]) * 16 | DigitValue(text[2 * i + 1]);
        bytes[i] = static_cast<unsigned char>(value & 0xFF);
    }
    return true;
}

}  // namespace qv
