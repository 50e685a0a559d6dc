#include "platform/win32/test_window.h"

#include "platform/win32/sys_calls.h"

namespace qv::test {
namespace {

bool IsRecorded(UINT message) {
    return message >= WM_USER || message == WM_TIMER || message == WM_COMMAND ||
           message == WM_KEYDOWN;
}

LRESULT __stdcall RecordingProcedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<TestWindow*>(Sys_GetWindowData(window));
    if (self && IsRecorded(message)) {
        self->received.push_back({message, wParam});
        if (self->onMessage) self->onMessage(self->received.back());
        return 0;
    }
    return Sys_DefWindowProc(window, message, wParam, lParam);
}

}  // namespace

const char* TestWindowClass() {
    static const int atom =
        Sys_RegisterClass(::GetModuleHandleA(nullptr), "QvTestWindow", RecordingProcedure,
                          CS_HREDRAW, 0, sizeof(void*), nullptr, nullptr);
    return atom ? "QvTestWindow" : nullptr;
}

TestWindow::TestWindow(::HWND parent, int id, ::DWORD style)
    : Window(::CreateWindowExA(0, TestWindowClass(), "", parent ? (style | WS_CHILD) : style, 0, 0,
                               100, 100, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                               ::GetModuleHandleA(nullptr), nullptr)) {
    Sys_SetWindowData(Window, this);
}

TestWindow::~TestWindow() {
    ::DestroyWindow(Window);
}

}  // namespace qv::test
