// The window, kernel and file wrappers with real windows of the null driver.
#include "platform/win32/sys_calls.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <io.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "platform/system.h"
#include "platform/win32/test_window.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

TEST(SysCalls, ChildFindsDirectChildrenOnly) {
    test::TestWindow parent;
    test::TestWindow first(parent.Handle(), 5);
    test::TestWindow second(parent.Handle(), 6);
    test::TestWindow grandchild(first.Handle(), 7);
    EXPECT_EQ(CHILD(parent.Handle(), 5), first.Handle());
    EXPECT_EQ(CHILD(parent.Handle(), 6), second.Handle());
    EXPECT_EQ(CHILD(parent.Handle(), 7), nullptr);
    EXPECT_EQ(CHILD(first.Handle(), 7), grandchild.Handle());
    EXPECT_EQ(CHILD(grandchild.Handle(), 0), nullptr);  // no children at all
    EXPECT_EQ(PARENT(grandchild.Handle()), first.Handle());
}

TEST(SysCalls, OwnerOfAnOwnedWindow) {
    test::TestWindow owner;
    const ::HWND owned = ::CreateWindowExA(0, test::TestWindowClass(), "", WS_POPUP, 0, 0, 10, 10,
                                           owner.Handle(), nullptr, nullptr, nullptr);
    EXPECT_EQ(OWNER(owned), owner.Handle());
    EXPECT_EQ(OWNER(owner.Handle()), nullptr);
    Sys_DestroyWindow(owned);
    EXPECT_FALSE(::IsWindow(owned));
}

// A pointer with bits above the lower 32 survives: the data is pointer-sized.
TEST(SysCalls, WindowDataHoldsAWholePointer) {
    test::TestWindow window;
    void* const data = reinterpret_cast<void*>(~static_cast<std::uintptr_t>(0) / 3);
    Sys_SetWindowData(window.Handle(), data);
    EXPECT_EQ(Sys_GetWindowData(window.Handle()), data);
    Sys_SetWindowData(window.Handle(), &window);
}

TEST(SysCalls, ShowWindowShowsForAnyNonzeroStatus) {
    test::TestWindow window;
    for (const BOOL status : {2, 0, 1, 0, -1}) {
        Sys_ShowWindow(window.Handle(), status);
        EXPECT_EQ(::IsWindowVisible(window.Handle()) != 0, status != 0) << status;
    }
}

// Beep sounds nothing below 37 Hz, its documented lowest frequency.
TEST(SysCalls, AdaptedArgumentsAndPassedResults) {
    const struct {
        int requested, sounded;
    } beeps[] = {{20, 37}, {-5, 37}, {36, 37}, {37, 37}, {440, 440}};
    for (const auto& beep : beeps) EXPECT_EQ(BeepFrequency(beep.requested), beep.sounded);
    ::SetLastError(5);
    EXPECT_EQ(Sys_GetLastError(nullptr), 5u);
    char text[16];
    test::TestWindow window;
    Sys_SetWindowText(window.Handle(), "title");
    Sys_GetWindowText(window.Handle(), text, sizeof text);
    EXPECT_STREQ(text, "title");
}

TEST(SysCalls, TheMessageLoopRunsUntilTheQuitMessage) {
    test::TestWindow window;
    Sys_PostMessage(window.Handle(), WM_USER + 1, 11, 0);
    Sys_PostMessage(window.Handle(), WM_USER + 2, 22, 0);
    Sys_PostQuitMessage(window.Handle(), 3);
    Sys_PostMessage(window.Handle(), WM_USER + 3, 33, 0);  // after the quit: left queued
    Sys_ProcessMessages(0, nullptr);
    ASSERT_EQ(window.received.size(), 2u);
    EXPECT_EQ(window.received[1].wParam, 22u);
    MSG left;
    EXPECT_TRUE(::PeekMessageA(&left, nullptr, WM_USER + 3, WM_USER + 3, PM_REMOVE));
}

TEST(SysCalls, TheMessageLoopTranslatesAccelerators) {
    test::TestWindow window;
    ACCEL keys[] = {{FVIRTKEY, 'Q', 42}};
    const ::HACCEL table = ::CreateAcceleratorTableA(keys, 1);
    Sys_PostMessage(window.Handle(), WM_KEYDOWN, 'Q', 0);
    Sys_PostMessage(window.Handle(), WM_KEYDOWN, 'R', 0);
    Sys_PostQuitMessage(window.Handle(), 0);
    Sys_ProcessMessages(0, table);
    ::DestroyAcceleratorTable(table);
    ASSERT_EQ(window.received.size(), 2u);
    EXPECT_EQ(window.received[0].message, static_cast<UINT>(WM_COMMAND));
    EXPECT_EQ(LOWORD(window.received[0].wParam), 42);
    EXPECT_EQ(window.received[1].message, static_cast<UINT>(WM_KEYDOWN));
    EXPECT_EQ(window.received[1].wParam, static_cast<WPARAM>('R'));
}

TEST(SysCalls, RegisterClassFillsTheClassRecord) {
    ASSERT_NE(test::TestWindowClass(), nullptr);
    WNDCLASSA info{};
    ASSERT_TRUE(::GetClassInfoA(::GetModuleHandleA(nullptr), test::TestWindowClass(), &info));
    EXPECT_EQ(info.style, static_cast<UINT>(CS_HREDRAW));
    EXPECT_EQ(info.cbWndExtra, static_cast<int>(sizeof(void*)));
    EXPECT_EQ(info.hbrBackground, ::GetStockObject(WHITE_BRUSH));
    EXPECT_EQ(info.hCursor, ::LoadCursorA(nullptr, IDC_ARROW));
    // The class exists: a second registration fails with 0.
    EXPECT_EQ(Sys_RegisterClass(::GetModuleHandleA(nullptr), test::TestWindowClass(), nullptr, 0, 0,
                                0, nullptr, nullptr),
              0);
}

// The owner window of the first message box titled `title` that appears, found
// by a watching thread, which then closes the box.
class BoxOwnerWatcher {
  public:
    explicit BoxOwnerWatcher(const char* title)
        : Watcher([this, title] {
              for (int tries = 0; tries < 2000; ++tries) {
                  if (const ::HWND box = ::FindWindowA("#32770", title)) {
                      Owner = ::GetWindow(box, GW_OWNER);
                      Found = true;
                      ::PostMessageA(box, WM_COMMAND, IDOK, 0);
                      return;
                  }
                  ::Sleep(10);
              }
          }) {}
    ::HWND Wait() {
        Watcher.join();
        return Owner;
    }
    std::atomic<bool> Found{false};

  private:
    ::HWND Owner = nullptr;
    std::thread Watcher;
};

TEST(SysCalls, MessageBoxIgnoresItsOwnerArgument) {
    test::TestWindow window;
    {
        BoxOwnerWatcher watcher("qv owner ignored");
        EXPECT_EQ(Sys_MessageBox(nullptr, window.Handle(), "text", "qv owner ignored", 9, MB_OK),
                  IDOK);
        EXPECT_EQ(watcher.Wait(), nullptr);
        EXPECT_TRUE(watcher.Found);
    }
    BoxOwnerWatcher watcher("qv parent owns");
    EXPECT_EQ(Sys_MessageBox(window.Handle(), nullptr, "text", "qv parent owns", 0, MB_OK), IDOK);
    EXPECT_EQ(watcher.Wait(), window.Handle());
}

TEST(SysCalls, FileTimeRoundTripsThroughTheDosWords) {
    test::TempDir dir;
    const std::string path = dir / "dated.txt";
    test::WriteFile(path, "x");
    const int file = ::_open(path.c_str(), _O_RDWR | _O_BINARY);
    ASSERT_GE(file, 0);
    const unsigned short date = ((2001 - 1980) << 9) | (7 << 5) | 3;
    const unsigned short time = (14 << 11) | (5 << 5) | (8 / 2);
    Sys_SetFileTime(file, date, time);
    unsigned short gotDate = 0, gotTime = 0;
    Sys_GetFileTime(file, &gotDate, &gotTime);
    EXPECT_EQ(gotDate, date);
    EXPECT_EQ(gotTime, time);
    ::_close(file);
    Sys_GetFileTime(-1, &gotDate, &gotTime);  // a bad handle leaves the words alone
    EXPECT_EQ(gotDate, date);
}

TEST(SysCalls, ReadAndWriteAFile) {
    ::HANDLE reader, writer;
    ASSERT_TRUE(::CreatePipe(&reader, &writer, nullptr, 0));
    unsigned long count = 0;
    Sys_WriteFile(writer, "abc", 3, &count);
    EXPECT_EQ(count, 3u);
    char text[4] = {};
    EXPECT_TRUE(Sys_ReadFile(reader, text, 3, &count));
    EXPECT_STREQ(text, "abc");
    Sys_CloseFile(reader);
    Sys_CloseFile(writer);
}

}  // namespace
}  // namespace qv
