// The layout of a report line: values end in one column, the date is centred.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// The column in which every value ends.
constexpr int kValueColumn = 79;
// The column on which the date line is centred.
constexpr int kDateCentre = 40;

// The text centred on column 40: 40 - n / 2 spaces before a text of n
// columns; a text of 82 columns or more gets the overshoot in spaces instead.
std::string CentredLine(const std::string& text);

// The value-line rule: the label part, then spaces so that the value's last
// character falls in column 79, the value and "\n". When label and value are
// too long together, the overshoot in spaces is printed instead (the line then
// runs past column 79).
std::string ValueLine(const std::string& labelPart, const std::string& value);

// Names from the system may hold control characters (a mount point with a
// newline); each is shown as '?' so that a line stays one line.
std::string PrintableText(std::string_view text);

}  // namespace qv
