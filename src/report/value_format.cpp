#include "report/value_format.h"

#include <limits>

#include "locale/text.h"

namespace qv {
namespace {

enum class Unit { Bytes, Kilo, Mega, Giga };

struct Breaks {
    std::uint64_t kilo, mega, giga;
};

Breaks BreaksFor(bool binary, std::uint64_t scale) {
    if (binary) return {524288 / scale, 8388608 / scale, 4294967296ULL / scale};
    return {500000 / scale, 8000000 / scale, 4000000000ULL / scale};
}

Unit KiloOrLarger(std::uint64_t value, const Breaks& breaks, const UnitSettings& units) {
    if (!units.ShowM || value < breaks.mega) return Unit::Kilo;
    if (!units.ShowG || value < breaks.giga) return Unit::Mega;
    return Unit::Giga;
}

Unit ChooseUnit(std::uint64_t value, const Breaks& breaks, const UnitSettings& units) {
    if (units.ShowK == 0) return Unit::Bytes;
    if (units.ShowK == 2) return KiloOrLarger(value, breaks, units);
    return value < breaks.kilo ? Unit::Bytes : KiloOrLarger(value, breaks, units);
}

std::uint64_t UnitBytes(Unit unit, bool binary) {
    switch (unit) {
        case Unit::Kilo:
            return binary ? 1024ULL : 1000ULL;
        case Unit::Mega:
            return binary ? 1048576ULL : 1000000ULL;
        case Unit::Giga:
            return binary ? 1073741824ULL : 1000000000ULL;
        case Unit::Bytes:
            break;
    }
    return 1;
}

char Suffix(Unit unit, bool binary) {
    switch (unit) {
        case Unit::Kilo:
            return binary ? 'K' : 'k';
        case Unit::Mega:
            return binary ? 'M' : 'm';
        case Unit::Giga:
            return binary ? 'G' : 'g';
        case Unit::Bytes:
            break;
    }
    return ' ';
}

std::uint64_t SaturatingProduct(std::uint64_t value, std::uint64_t scale) {
    constexpr std::uint64_t kMax = std::numeric_limits<std::uint64_t>::max();
    return value > kMax / scale ? kMax : value * scale;
}

// (bytes + unit / 2) / unit without overflow near the top of the range.
std::uint64_t RoundedDivision(std::uint64_t bytes, std::uint64_t unit) {
    const std::uint64_t quotient = bytes / unit;
    return bytes % unit >= unit - unit / 2 ? quotient + 1 : quotient;
}

}  // namespace

std::string GroupDigits(std::uint64_t number, const std::string& separator) {
    const std::string digits = std::to_string(number);
    std::string grouped;
    for (std::size_t i = 0; i < digits.size(); ++i) {
        grouped += digits[i];
        const std::size_t toCome = digits.size() - i - 1;
        if (toCome > 0 && toCome % 3 == 0) grouped += separator;
    }
    return grouped;
}

std::string FormatValue(std::uint64_t Value, const CountryInfo& Locale, const UnitSettings& units,
                        int Scale) {
    const std::uint64_t scale = Scale < 1 ? 1 : static_cast<std::uint64_t>(Scale);
    const bool binary = units.ShowTrueK != 0;
    const Breaks breaks = BreaksFor(binary, scale);
    const Unit unit = ChooseUnit(Value, breaks, units);
    const std::uint64_t fullValue = SaturatingProduct(Value, scale);
    const std::uint64_t figure =
        unit == Unit::Bytes ? fullValue : RoundedDivision(fullValue, UnitBytes(unit, binary));
    return GroupDigits(figure, FirstCharacter(Locale.szThousandsSeparator)) + Suffix(unit, binary);
}

}  // namespace qv
