// The locale items of any locale the C library knows, not only the user's.
#pragma once

#include "platform/locale.h"

namespace qv {

// The items of the named locales ("" for the user's, as the environment
// resolves it), read from the C library; an unknown name gives the C locale.
LocaleItems LocaleItemsNamed(const char* numericName, const char* timeName);

}  // namespace qv
