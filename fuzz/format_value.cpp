// FormatValue with every mode and any 64-bit value: one suffix character, the
// digits of the figure in groups of three, never more than 27 characters.
#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "report/value_format.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < sizeof(std::uint64_t) + 5) return 0;
    std::uint64_t value;
    std::memcpy(&value, data, sizeof value);
    const std::uint8_t* modes = data + sizeof value;
    const qv::UnitSettings units{modes[0] % 4 - 1, modes[1] & 1, modes[2] & 1, modes[3] & 1};
    const int scale = (modes[4] & 1) ? 256 : 1 + modes[4];
    qv::LocaleItems items;
    items.thousandsSeparator = ",";
    const std::string text = qv::FormatValue(value, qv::CountryInfo(items), units, scale);
    if (text.size() < 2 || text.size() > 27) std::abort();  // 20 digits, 6 separators, suffix
    const char suffix = text.back();
    if (!std::strchr(" KMGkmg", suffix)) std::abort();
    for (std::size_t i = 0; i + 1 < text.size(); ++i) {
        const bool comma = (text.size() - 1 - i) % 4 == 0;
        if (comma ? text[i] != ',' : (text[i] < '0' || text[i] > '9')) std::abort();
    }
    return 0;
}
