#include "resource/restring.h"

#include <cinttypes>
#include <cstdint>
#include <cstring>

#include "diag/log.h"
#include "locale/text.h"
#include "platform/error.h"
#include "platform/library.h"

namespace qv {

ResourceString::ResourceString(HANDLE Module, ULONG Id) : SavedModule(Module), SavedId(Id) {
    // Room for the longest text in the widest encoding; cut to characters below.
    char buffer[kMaxLength * 4 + 1];
    const int length = LoadLanguageString(SavedModule, SavedId, buffer, sizeof buffer);
    if (length == 0) {
        // The handle as a whole unsigned number, also where it is wider than a long.
        Log("ERROR: Unable to get string resource.  Module %" PRIuPTR ", id %lu.  Status %i.",
            reinterpret_cast<std::uintptr_t>(SavedModule), static_cast<unsigned long>(SavedId),
            static_cast<int>(LastError()));
        return;
    }
    // A zero byte inside the text ends it, as the platform's string copy does.
    Text.assign(buffer, ::strnlen(buffer, static_cast<size_t>(length)));
    CutToCharacters(Text, kMaxLength);
}

}  // namespace qv
