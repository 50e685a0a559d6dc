// The identity of the calling thread.
#pragma once

namespace qv {

// The operating system's identifier of the calling thread; never 0.
int CurrentThreadId();

}  // namespace qv
