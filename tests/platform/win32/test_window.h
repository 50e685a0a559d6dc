// A window of the tests' own class that records the messages it receives.
#pragma once

#include <windows.h>

#include <functional>
#include <vector>

namespace qv::test {

struct Received {
    ::UINT message;
    ::WPARAM wParam;
};

class TestWindow {
  public:
    // A top-level window, or a child of `parent` with control id `id`.
    explicit TestWindow(::HWND parent = nullptr, int id = 0, ::DWORD style = WS_OVERLAPPEDWINDOW);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;

    ::HWND Handle() const { return Window; }
    // Messages from WM_USER up, WM_TIMER, WM_COMMAND and WM_KEYDOWN, in order.
    std::vector<Received> received;
    // Called after each recorded message.
    std::function<void(const Received&)> onMessage;

  private:
    ::HWND Window;
};

// The class name of the test windows (registered through Sys_RegisterClass).
const char* TestWindowClass();

}  // namespace qv::test
