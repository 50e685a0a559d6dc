#include "settings/item_text.h"

#include <algorithm>

namespace qv {
namespace {

constexpr std::string_view kDigits = "0123456789ABCDEF";

bool IsItemDigit(char c) {
    return kDigits.find(c) != std::string_view::npos;
}

unsigned char DigitValue(char c) {
    return static_cast<unsigned char>(kDigits.find(c));
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

// The whole text is checked before the first byte is written.
bool DecodeItem(std::string_view text, void* item, std::size_t size) {
    if (text.size() % 2 != 0 || text.size() / 2 != size ||
        !std::all_of(text.begin(), text.end(), IsItemDigit))
        return false;
    auto* bytes = static_cast<unsigned char*>(item);
    for (std::size_t i = 0; i < size; ++i)
        bytes[i] =
            static_cast<unsigned char>(DigitValue(text[2 * i]) << 4 | DigitValue(text[2 * i + 1]));
    return true;
}

}  // namespace qv
