#include "support/fault_entries.h"

#include <string>

namespace qv::test {
namespace {

const std::string kWord = "[0-9A-F]{" + std::to_string(sizeof(void*) * 2) + "}";
const std::string kStamp = "\\d\\d:\\d\\d:\\d\\d \\d\\d/\\d\\d/\\d\\d ";
const std::string kHalf = "[0-9A-F]{8}";

}  // namespace

const Pattern kRegisterEntry(kStamp + "WARNING: An unhandled exception has occurred at " + kWord +
                             "\\.\n" + "  The registers were as follows:\n" + "    AX:" + kWord +
                             "  BX:" + kWord + "  CX:" + kWord + "  DX:" + kWord + "\n" +
                             "    FL:" + kHalf + "  DI:" + kWord + "  SI:" + kWord +
                             "  BP:" + kWord + "\n" + "    CS:" + kHalf + "  IP:" + kWord +
                             "  SS:" + kHalf + "  SP:" + kWord + "\n" + "    DS:" + kHalf +
                             "  ES:" + kHalf + "  FS:" + kHalf + "  GS:" + kHalf + "\n");
const Pattern kCallerEntry(kStamp + "  Calling function was at (" + kWord + ")\\.\n");

}  // namespace qv::test
