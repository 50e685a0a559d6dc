#include "platform/win32/win_support.h"

#include <windows.h>

#include <chrono>

namespace qv::test {
namespace {

constexpr char kDialogClass[] = "#32770";
constexpr int kMessageTextId = 0xFFFF;  // the static control that holds the text

}  // namespace

std::string HostPathToWindows(const std::string& path) {
    std::string windows = path.starts_with("/") ? "Z:" + path : path;
    for (char& c : windows)
        if (c == '/') c = '\\';
    return windows;
}

MessageBoxCloser::MessageBoxCloser(const std::string& title, int limitMilliseconds)
    : Watcher([this, title, limitMilliseconds] { Watch(title, limitMilliseconds); }) {}

MessageBoxCloser::~MessageBoxCloser() {
    if (Watcher.joinable()) Watcher.join();
}

std::optional<std::string> MessageBoxCloser::Wait() {
    if (Watcher.joinable()) Watcher.join();
    return Text;
}

void MessageBoxCloser::Watch(const std::string& title, int limitMilliseconds) {
    const auto deadline =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMilliseconds);
    while (std::chrono::steady_clock::now() < deadline) {
        const ::HWND box = ::FindWindowA(kDialogClass, title.c_str());
        if (!box) {
            ::Sleep(20);
            continue;
        }
        char text[1024] = {};
        ::GetDlgItemTextA(box, kMessageTextId, text, sizeof text);
        Text = text;
        ::PostMessageA(box, WM_COMMAND, IDOK, 0);
        return;
    }
}

}  // namespace qv::test
