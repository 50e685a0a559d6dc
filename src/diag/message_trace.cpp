#include "diag/message_trace.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "diag/log.h"

namespace qv {
namespace {

// Deeper than this, a window procedure is taken to recurse without end.
constexpr int kMaxIndent = 100;

}  // namespace

const char* InterpretMsg(UINT msg, char* Buffer) {
    std::snprintf(Buffer, 9, "%08X", msg);
    return Buffer;
}

void LogMsgRcvd(int Indent, const char* Prefix, UINT msg, WPARAM mp1, LPARAM mp2) {
    char text[80];
    const char* name = InterpretMsg(msg, text);
    Log("%*s%s: Message %s(%08llX,%08llX) received.", Indent, "", Prefix ? Prefix : "", name,
        Wide(mp1), Wide(static_cast<std::uintptr_t>(mp2)));
    if (Indent > kMaxIndent) {
        Log("%*s%s: Aborting (excessive recursion).", Indent, "", Prefix ? Prefix : "");
        std::exit(1);
    }
}

void LogMsgDone(int Indent, const char* Prefix, UINT msg, LRESULT Result) {
    char text[80];
    Log("%*s%s: Message %s done.  Result %08llX.", Indent, "", Prefix ? Prefix : "",
        InterpretMsg(msg, text), Wide(static_cast<std::uintptr_t>(Result)));
}

}  // namespace qv
