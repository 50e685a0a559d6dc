// The program-wide data of the report, written once by the entry point.
#pragma once

#include <string>

#include "platform/types.h"

namespace qv {

// The directory of the program's executable, without a trailing separator;
// empty until the entry point sets it.
extern std::string HomePath;

// The loaded language library, read by the date formatter and the sound player.
extern HANDLE LibraryHandle;

}  // namespace qv
