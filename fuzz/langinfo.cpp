// Deriving the locale items from any date and time formats.
#include <cstdint>
#include <string>

#include "platform/posix/langinfo.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    const std::size_t cut = input.find('\n');
    qv::LanginfoTexts texts;
    texts.dateFormat = input.substr(0, cut);
    texts.timeFormat = cut == std::string::npos ? "" : input.substr(cut + 1);
    texts.timeFormatAmPm = texts.timeFormat;
    (void)qv::ItemsFromLanginfo(texts);
    return 0;
}
