#include "platform/library.h"

namespace qv {

HANDLE LibraryHandle = nullptr;

}  // namespace qv
