#include "platform/posix/langinfo.h"

#include <vector>

namespace qv {
namespace {

// A format reduced to its directives and the literal text before each.
struct Piece {
    std::string literal;  // the text before the directive
    char directive;       // the conversion letter, 0 for the text after the last one
};

// Composite directives spelled out, so that "%D" or "%T" reveal order and
// separators like the formats that write them in full.
std::string Expand(const std::string& format, const std::string& ampm) {
    std::string expanded;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] != '%' || i + 1 == format.size()) {
            expanded += format[i];
            continue;
        }
        char letter = format[++i];
        while ((letter == 'E' || letter == 'O' || letter == '-' || letter == '_' || letter == '0' ||
                letter == '^' || letter == '#') &&
               i + 1 < format.size())
            letter = format[++i];  // modifiers and flags do not change the field
        switch (letter) {
            case 'D':
                expanded += "%m/%d/%y";
                break;
            case 'F':
                expanded += "%Y-%m-%d";
                break;
            case 'T':
                expanded += "%H:%M:%S";
                break;
            case 'R':
                expanded += "%H:%M";
                break;
            case 'r':
                expanded += ampm.empty() ? "%I:%M:%S %p" : Expand(ampm, "");
                break;
            default:
                expanded += '%', expanded += letter;
        }
    }
    return expanded;
}

std::vector<Piece> Pieces(const std::string& format) {
    std::vector<Piece> pieces;
    std::string literal;
    for (std::size_t i = 0; i < format.size(); ++i) {
        if (format[i] == '%' && i + 1 < format.size()) {
            pieces.push_back({literal, format[++i]});
            literal.clear();
        } else {
            literal += format[i];
        }
    }
    pieces.push_back({literal, 0});
    return pieces;
}

enum class Field { None, Day, Month, Year, Hour12, Hour24, Minute };

Field FieldOf(char directive) {
    switch (directive) {
        case 'd':
        case 'e':
            return Field::Day;
        case 'm':
        case 'b':
        case 'B':
        case 'h':
            return Field::Month;
        case 'y':
        case 'Y':
        case 'C':
        case 'G':
        case 'g':
            return Field::Year;
        case 'I':
        case 'l':
            return Field::Hour12;
        case 'H':
        case 'k':
            return Field::Hour24;
        case 'M':
            return Field::Minute;
        default:
            return Field::None;
    }
}

// The literal between the first two fields of the given kinds. Where that is a
// unit word (the 年 of "%Y年%m月%d日"), CountryInfo puts a separator in its place.
std::string SeparatorAfterFirst(const std::vector<Piece>& pieces, bool (*wanted)(Field)) {
    for (std::size_t i = 0; i + 1 < pieces.size(); ++i)
        if (wanted(FieldOf(pieces[i].directive))) return pieces[i + 1].literal;
    return {};
}

bool IsDateField(Field f) {
    return f == Field::Day || f == Field::Month || f == Field::Year;
}
bool IsHourField(Field f) {
    return f == Field::Hour12 || f == Field::Hour24;
}

std::string DateOrder(const std::vector<Piece>& pieces) {
    for (const Piece& piece : pieces) {
        switch (FieldOf(piece.directive)) {
            case Field::Month:
                return "0";
            case Field::Day:
                return "1";
            case Field::Year:
                return "2";
            default:
                break;
        }
    }
    return "0";
}

std::string Clock(const std::vector<Piece>& pieces) {
    for (const Piece& piece : pieces)
        if (FieldOf(piece.directive) == Field::Hour12) return "0";
    return "1";
}

}  // namespace

LocaleItems ItemsFromLanginfo(const LanginfoTexts& texts) {
    const std::vector<Piece> date = Pieces(Expand(texts.dateFormat, texts.timeFormatAmPm));
    const std::vector<Piece> time = Pieces(Expand(texts.timeFormat, texts.timeFormatAmPm));
    LocaleItems items;
    items.dateOrder = DateOrder(date);
    items.clock = Clock(time);
    items.thousandsSeparator = texts.thousandsSeparator;
    items.dateSeparator = SeparatorAfterFirst(date, IsDateField);
    items.timeSeparator = SeparatorAfterFirst(time, IsHourField);
    items.am = texts.am;
    items.pm = texts.pm;
    return items;
}

}  // namespace qv
