// The date formatter with any format and any names: the result stays within
// its buffer and is always terminated.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "fuzz_input.h"
#include "locale/datefmt.h"
#include "locale/text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A format and the names.
    const auto parts = Parts<5>(data, size);
    qv::DateNames names;
    names.daysOfWeek = parts[1];
    names.monthsOfYear = parts[2];
    for (std::string& name : names.weekdayNames) name = parts[3];
    for (std::string& name : names.monthNames) name = parts[4];
    std::tm t{};
    t.tm_year = static_cast<int>(size) - 50;
    t.tm_mon = static_cast<int>(size % 12);
    t.tm_wday = static_cast<int>(size % 7);
    t.tm_hour = static_cast<int>(size % 24);
    qv::LocaleItems items{"0", "0", ",", "/", ":", parts[3], parts[4]};
    const std::string text = qv::ExpandDate(parts[0], t, qv::CountryInfo(items), names, parts[2]);
    if (text.size() > parts[0].size() * (79 * 4) + 1) std::abort();

    char result[100];
    std::memset(result, 'x', sizeof result);
    const std::size_t resultSize = 1 + size % 99;
    qv::CopyText(text, result, resultSize);
    if (std::memchr(result, '\0', resultSize) == nullptr) std::abort();
    if (result[resultSize] != 'x') std::abort();  // nothing written past the buffer
    return 0;
}
