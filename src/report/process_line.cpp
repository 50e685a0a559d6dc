#include <string>

#include "report/report.h"

namespace qv {

// The count and one space, so that its last digit stands where the digits of
// the sizes end (their last character is the unit letter).
std::string Report::ProcessLine() {
    const std::string label = Source.String(kProcessCount);
    return ValueLine(label, std::to_string(Source.CountProcesses()) + " ");
}

}  // namespace qv
