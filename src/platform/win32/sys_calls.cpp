#include "platform/win32/sys_calls.h"

#include <io.h>
#include <windows.h>

namespace qv {
namespace {

::HWND W(HWND window) {
    return static_cast<::HWND>(window);
}

}  // namespace

void Sys_BringWindowToTop(HWND Window) {
    ::BringWindowToTop(W(Window));
}

void Sys_CloseFile(HANDLE Handle) {
    ::CloseHandle(Handle);
}

BOOL Sys_DefDialogProc(HWND Window, UINT Message, WPARAM Parm1, LPARAM Parm2) {
    return static_cast<BOOL>(::DefDlgProcA(W(Window), Message, Parm1, Parm2));
}

LRESULT Sys_DefWindowProc(HWND Window, UINT Message, WPARAM Parm1, LPARAM Parm2) {
    return ::DefWindowProcA(W(Window), Message, Parm1, Parm2);
}

void Sys_DeleteCriticalSection(CRITICAL_SECTION* control) {
    ::DeleteCriticalSection(control);
}

void Sys_DestroyWindow(HWND Window) {
    ::DestroyWindow(W(Window));
}

void Sys_EnableWindow(HWND Window, BOOL fEnable) {
    ::EnableWindow(W(Window), fEnable);
}

int Sys_EndDialog(HWND Dialog, BOOL Status) {
    return ::EndDialog(W(Dialog), Status);
}

void Sys_EnterCriticalSection(CRITICAL_SECTION* control) {
    ::EnterCriticalSection(control);
}

void Sys_ExitThread(int Status) {
    ::ExitThread(static_cast<::DWORD>(Status));
}

HWND Sys_GetFocus() {
    return ::GetFocus();
}

HWND Sys_GetForegroundWindow() {
    return ::GetForegroundWindow();
}

HANDLE Sys_GetModuleHandle(const char* LibraryName) {
    return ::GetModuleHandleA(LibraryName);
}

void Sys_GetWindowText(HWND Window, char* Text, int TextSize) {
    ::GetWindowTextA(W(Window), Text, TextSize);
}

void Sys_InitializeCriticalSection(CRITICAL_SECTION* control) {
    ::InitializeCriticalSection(control);
}

void Sys_LeaveCriticalSection(CRITICAL_SECTION* control) {
    ::LeaveCriticalSection(control);
}

HCURSOR Sys_LoadCursor(HANDLE Anchor, long CursorType) {
    return ::LoadCursorA(static_cast<HINSTANCE>(Anchor), MAKEINTRESOURCEA(CursorType));
}

int Sys_PostMessage(HWND Window, UINT Message, WPARAM Parm1, LPARAM Parm2) {
    return ::PostMessageA(W(Window), Message, Parm1, Parm2);
}

void Sys_ReleaseCapture() {
    ::ReleaseCapture();
}

void Sys_ResumeThread(HANDLE Thread) {
    ::ResumeThread(Thread);
}

LRESULT Sys_SendMessage(HWND Window, UINT Message, WPARAM Parm1, LPARAM Parm2) {
    return ::SendMessageA(W(Window), Message, Parm1, Parm2);
}

void Sys_SetCursor(HCURSOR Cursor) {
    ::SetCursor(static_cast<::HCURSOR>(Cursor));
}

void Sys_SetCursorPos(int x, int y) {
    ::SetCursorPos(x, y);
}

void Sys_SetWindowText(HWND Window, const char* Text) {
    ::SetWindowTextA(W(Window), Text);
}

void Sys_ShowCursor(BOOL Show) {
    ::ShowCursor(Show);
}

void Sys_Sleep(int Milliseconds) {
    ::Sleep(static_cast<::DWORD>(Milliseconds));
}

void Sys_StopTimer(HWND Window, int Id) {
    ::KillTimer(W(Window), static_cast<UINT_PTR>(Id));
}

void Sys_SuspendThread(HANDLE Thread) {
    ::SuspendThread(Thread);
}

int Sys_UpdateWindow(HWND Window) {
    return ::UpdateWindow(W(Window));
}

HWND PARENT(HWND Window) {
    return ::GetParent(W(Window));
}

HWND OWNER(HWND Window) {
    return ::GetWindow(W(Window), GW_OWNER);
}

int BeepFrequency(int Frequency) {
    return Frequency < 37 ? 37 : Frequency;
}

void Sys_Beep(int Frequency, int Duration) {
    ::Beep(static_cast<::DWORD>(BeepFrequency(Frequency)), static_cast<::DWORD>(Duration));
}

DWORD Sys_GetLastError(HANDLE) {
    return ::GetLastError();
}

void* Sys_GetWindowData(HWND Window) {
    return reinterpret_cast<void*>(::GetWindowLongPtrA(W(Window), 0));
}

void Sys_SetWindowData(HWND Window, void* Data) {
    ::SetWindowLongPtrA(W(Window), 0, reinterpret_cast<LONG_PTR>(Data));
}

void Sys_InvalidateWindow(HWND Window) {
    ::InvalidateRect(W(Window), nullptr, FALSE);
}

BOOL Sys_IsMousePresent() {
    return ::GetSystemMetrics(SM_MOUSEPRESENT);
}

void Sys_PostQuitMessage(HWND Window, int Status) {
    ::PostMessageA(W(Window), WM_QUIT, static_cast<WPARAM>(Status), 0);
}

unsigned long Sys_QueryTickInterval() {
    return 54;
}

int Sys_ReadFile(HANDLE Handle, void* Buffer, int Count, unsigned long* Read) {
    ::DWORD got = 0;
    const int result = ::ReadFile(Handle, Buffer, static_cast<::DWORD>(Count), &got, nullptr);
    if (Read) *Read = got;
    return result;
}

void Sys_WriteFile(HANDLE Handle, const void* Buffer, int Count, unsigned long* Written) {
    ::DWORD put = 0;
    ::WriteFile(Handle, Buffer, static_cast<::DWORD>(Count), &put, nullptr);
    if (Written) *Written = put;
}

void Sys_SetActiveWindow(HWND Window) {
    ::SetForegroundWindow(W(Window));
}

int Sys_SetCapture(HWND Window) {
    return ::SetCapture(W(Window)) ? 1 : 0;
}

BOOL Sys_SetFocus(HWND Window) {
    return ::SetFocus(W(Window)) ? TRUE : FALSE;
}

int Sys_ShowWindow(HWND Window, BOOL Status) {
    return ::ShowWindow(W(Window), Status ? SW_SHOW : SW_HIDE);
}

void Sys_StartTimer(HWND Window, int Id, int Milliseconds) {
    ::SetTimer(W(Window), static_cast<UINT_PTR>(Id), static_cast<UINT>(Milliseconds), nullptr);
}

HWND Sys_WindowFromPoint(int x, int y) {
    return ::WindowFromPoint(POINT{x, y});
}

void Sys_GetFileTime(int Handle, unsigned short* FileDate, unsigned short* FileTime) {
    const auto file = reinterpret_cast<::HANDLE>(::_get_osfhandle(Handle));
    FILETIME written, local;
    WORD date, time;
    if (file == INVALID_HANDLE_VALUE || !::GetFileTime(file, nullptr, nullptr, &written) ||
        !::FileTimeToLocalFileTime(&written, &local) ||
        !::FileTimeToDosDateTime(&local, &date, &time))
        return;
    *FileDate = date;
    *FileTime = time;
}

void Sys_SetFileTime(int Handle, unsigned short FileDate, unsigned short FileTime) {
    const auto file = reinterpret_cast<::HANDLE>(::_get_osfhandle(Handle));
    FILETIME local, written;
    if (file == INVALID_HANDLE_VALUE || !::DosDateTimeToFileTime(FileDate, FileTime, &local) ||
        !::LocalFileTimeToFileTime(&local, &written))
        return;
    ::SetFileTime(file, nullptr, nullptr, &written);
}

HWND CHILD(HWND Window, int Id) {
    ::HWND child = ::GetWindow(W(Window), GW_CHILD);
    while (child && ::GetWindowLongA(child, GWL_ID) != Id) child = ::GetWindow(child, GW_HWNDNEXT);
    return child;
}

void Sys_ProcessMessages(long, HACCEL AcceleratorTable) {
    const auto table = static_cast<::HACCEL>(AcceleratorTable);
    MSG message;
    while (::GetMessageA(&message, nullptr, 0, 0) > 0) {
        if (table && ::TranslateAcceleratorA(message.hwnd, table, &message)) continue;
        ::TranslateMessage(&message);
        ::DispatchMessageA(&message);
    }
}

int Sys_RegisterClass(HANDLE Anchor, const char* Name, PWINDOWPROC WindowProc, int StyleFlags,
                      int ExtraClassBytes, int ExtraWindowBytes, const char* IconName,
                      const char* MenuName) {
    const auto instance = static_cast<HINSTANCE>(Anchor);
    WNDCLASSA windowClass{};
    windowClass.style = static_cast<UINT>(StyleFlags);
    // The same procedure; its handle parameter is the system's own type.
    windowClass.lpfnWndProc = reinterpret_cast<WNDPROC>(reinterpret_cast<void (*)()>(WindowProc));
    windowClass.cbClsExtra = ExtraClassBytes;
    windowClass.cbWndExtra = ExtraWindowBytes;
    windowClass.hInstance = instance;
    windowClass.hIcon = ::LoadIconA(instance, IconName);
    windowClass.hCursor = ::LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH));
    windowClass.lpszMenuName = MenuName;
    windowClass.lpszClassName = Name;
    return ::RegisterClassA(&windowClass);
}

}  // namespace qv
