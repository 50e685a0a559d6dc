#include "platform/system.h"

#include <windows.h>

namespace qv {

// The box has no owner window: Owner and idWindow are not used.
int Sys_MessageBox(HWND Parent, HWND, const char* Message, const char* Title, int, int StyleFlags) {
    return ::MessageBoxA(static_cast<::HWND>(Parent), Message, Title,
                         static_cast<UINT>(StyleFlags));
}

}  // namespace qv
