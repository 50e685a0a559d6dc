// ResourceString: one numbered string of a loaded language library, copied.
#pragma once

#include <string>

#include "platform/types.h"

namespace qv {

class ResourceString {
  public:
    // The longest text kept, in characters; longer ones are cut.
    static constexpr int kMaxLength = 199;

    // Loads string Id; a missing string is logged and reads as "".
    ResourceString(HANDLE Module, ULONG Id);

    operator const char*() const { return Text.c_str(); }
    const std::string& str() const { return Text; }

  private:
    HANDLE SavedModule;
    ULONG SavedId;
    std::string Text;
};

}  // namespace qv
