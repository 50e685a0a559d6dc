#include "report/globals.h"

namespace qv {

std::string HomePath;
HANDLE LibraryHandle = nullptr;

}  // namespace qv
