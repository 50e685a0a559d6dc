// The wait of a Windows thread that owns windows. It waits for system
// objects while it keeps dispatching the thread's window messages. Builds
// without a window system do not have it (Mutex::RequestWin is a plain wait
// there).
#pragma once

#include "platform/types.h"

namespace qv {

// Waits up to Timeout milliseconds (-1: no limit) for any of the EventCount
// handles, dispatching one message per wake-up and starting the full time-out
// again after each. TRUE when the first handle was obtained normally; FALSE on
// a time-out, an abandoned mutex, a failure (logged) or any other handle
// (logged as an unknown status).
BOOL Sys_MsgWaitForMultipleObjects(int EventCount, HANDLE* Events, int Timeout);

}  // namespace qv
