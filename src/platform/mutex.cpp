#include "platform/mutex.h"

#include "platform/os_mutex.h"
#include "platform/problem.h"

namespace qv {

Mutex::Mutex(const char* tag, const char* name, int OneInstanceOnly) : Tag(tag ? tag : "") {
    const OsMutexCreation created = CreateOsMutex(name);
    Handle = created.handle;
    if (Handle && OneInstanceOnly && created.alreadyExisted) {
        ReportProblem("Mutex(%s): Unable to create mutex semaphore '%s'.  Already exists.",
                      Tag.c_str(), name ? name : "");
        CloseOsMutex(Handle);
        Handle = nullptr;
    } else if (!Handle) {
        ReportProblem("Mutex(%s): Unable to create mutex semaphore '%s'.  Status %i.", Tag.c_str(),
                      name ? name : "", static_cast<int>(created.error));
    }
}

Mutex::~Mutex() {
    if (Handle) CloseOsMutex(Handle);
}

ULONG Mutex::Wait(int Timeout, const char* operation, OsWait (*wait)(HANDLE, int)) {
    if (!Handle) return kNoHandle;
    if (DebugFlag) ReportProblem("Mutex(%s)::%s Started.", Tag.c_str(), operation);
    const ULONG result = wait(Handle, Timeout) == OsWait::Obtained ? TRUE : FALSE;
    if (DebugFlag)
        ReportProblem("Mutex(%s)::%s Done %s.", Tag.c_str(), operation, result ? "TRUE" : "FALSE");
    return result;
}

ULONG Mutex::Request(int Timeout) {
    return Wait(Timeout, "Request", WaitOsMutex);
}

ULONG Mutex::RequestWin(int Timeout) {
    return Wait(Timeout, "RequestWin", WaitOsMutexPumping);
}

ULONG Mutex::Release() {
    if (!Handle) return kNoHandle;
    if (DebugFlag) ReportProblem("Mutex(%s)::Release.", Tag.c_str());
    return ReleaseOsMutex(Handle) ? TRUE : FALSE;
}

}  // namespace qv
