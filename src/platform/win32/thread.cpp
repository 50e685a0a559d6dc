#include "platform/thread.h"

#include <windows.h>

namespace qv {

int CurrentThreadId() {
    return static_cast<int>(::GetCurrentThreadId());
}

}  // namespace qv
