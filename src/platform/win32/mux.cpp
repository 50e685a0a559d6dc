#include "platform/win32/mux.h"

#include <windows.h>

#include "platform/os_mutex.h"
#include "platform/problem.h"

namespace qv {
namespace {

// Any input, posted or sent message, timer, paint request or hot key.
constexpr DWORD kWakeMask = 0xFF;

void DispatchOneMessage() {
    MSG message;
    if (::PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

}  // namespace

// MWMO_INPUTAVAILABLE: messages still queued after one was dispatched wake the
// next wait too. Without it only messages that arrive later would, and the
// rest of a burst would sit in the queue until the wait ended.
BOOL Sys_MsgWaitForMultipleObjects(int EventCount, HANDLE* Events, int Timeout) {
    const DWORD limit = Timeout < 0 ? INFINITE : static_cast<DWORD>(Timeout);
    const DWORD count = static_cast<DWORD>(EventCount);
    while (true) {
        const DWORD result =
            ::MsgWaitForMultipleObjectsEx(count, Events, limit, kWakeMask, MWMO_INPUTAVAILABLE);
        if (result == WAIT_OBJECT_0 + count) {
            DispatchOneMessage();
            continue;
        }
        switch (static_cast<LONG>(result)) {
            case WAIT_OBJECT_0:
                return TRUE;
            case WAIT_ABANDONED_0:
            case WAIT_TIMEOUT:
                return FALSE;
            case static_cast<LONG>(WAIT_FAILED):
                ReportProblem(
                    "Sys_MsgWaitForMultipleObjects: Error returned from "
                    "MsgWaitForMultipleObjects.");
                return FALSE;
            default:
                ReportProblem(
                    "Sys_MsgWaitForMultipleObjects: Unknown status %i returned from "
                    "MsgWaitForMultipleObjects.",
                    static_cast<int>(result));
                return FALSE;
        }
    }
}

OsWait WaitOsMutexPumping(HANDLE mutex, int timeout) {
    return Sys_MsgWaitForMultipleObjects(1, &mutex, timeout) ? OsWait::Obtained : OsWait::Failed;
}

}  // namespace qv
