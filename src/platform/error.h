// The calling thread's last system error code.
#pragma once

#include "platform/types.h"

namespace qv {

DWORD LastError();
void SetLastError(DWORD code);

}  // namespace qv
