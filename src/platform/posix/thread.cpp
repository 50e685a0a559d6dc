#include "platform/thread.h"

#include <unistd.h>

namespace qv {

int CurrentThreadId() {
    return static_cast<int>(::gettid());
}

}  // namespace qv
