#include "platform/error.h"

#include <cerrno>

namespace qv {

DWORD LastError() {
    return static_cast<DWORD>(errno);
}

void SetLastError(DWORD code) {
    errno = static_cast<int>(code);
}

}  // namespace qv
