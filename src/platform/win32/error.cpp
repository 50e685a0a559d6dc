#include "platform/error.h"

#include <windows.h>

namespace qv {

DWORD LastError() {
    return ::GetLastError();
}

void SetLastError(DWORD code) {
    ::SetLastError(code);
}

}  // namespace qv
