// The wait that keeps a thread's window messages flowing, with real windows,
// timers and posted messages.
#include "platform/win32/mux.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <thread>

#include "platform/mutex.h"
#include "platform/win32/test_window.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

using Clock = std::chrono::steady_clock;
constexpr UINT kPing = WM_USER + 1;

class MessageWait : public ::testing::Test {
  protected:
    test::TempDir dir;
    test::HomeAt home{dir.path().string()};
    test::TestWindow window;
    ::HANDLE event = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ~MessageWait() override { ::CloseHandle(event); }

    std::string LogText() { return test::ReadText(dir / "QUORVANT.LOG"); }
    void Post(int count) {
        for (int i = 0; i < count; ++i) ::PostMessageA(window.Handle(), kPing, i, 0);
    }
    int DrainQueue() {
        int count = 0;
        MSG message;
        while (::PeekMessageA(&message, nullptr, kPing, kPing, PM_REMOVE)) ++count;
        return count;
    }
};

// The object is looked at before the queue: once the first message has set
// the event, the other two are still queued.
TEST_F(MessageWait, DispatchesOneMessagePerWakeUp) {
    Post(3);
    window.onMessage = [&](const test::Received&) { ::SetEvent(event); };
    EXPECT_EQ(Sys_MsgWaitForMultipleObjects(1, &event, 2000), TRUE);
    EXPECT_EQ(window.received.size(), 1u);
    EXPECT_EQ(DrainQueue(), 2);
}

TEST_F(MessageWait, QueuedMessagesAreTakenOnePerFurtherWakeUp) {
    Post(3);
    window.onMessage = [&](const test::Received& got) {
        if (got.wParam == 2) ::SetEvent(event);
    };
    EXPECT_EQ(Sys_MsgWaitForMultipleObjects(1, &event, 2000), TRUE);
    ASSERT_EQ(window.received.size(), 3u);
    EXPECT_EQ(window.received[2].wParam, 2u);
}

// Five timer ticks 40 ms apart, each restarting the 100 ms time-out: the wait
// lasts past the fifth tick and a full time-out after it.
TEST_F(MessageWait, EachDispatchRestartsTheFullTimeout) {
    ::SetTimer(window.Handle(), 1, 40, nullptr);
    int ticks = 0;
    Clock::time_point lastTick;
    window.onMessage = [&](const test::Received& got) {
        if (got.message != WM_TIMER) return;
        lastTick = Clock::now();
        if (++ticks == 5) ::KillTimer(window.Handle(), 1);
    };
    const auto start = Clock::now();
    EXPECT_EQ(Sys_MsgWaitForMultipleObjects(1, &event, 100), FALSE);
    const auto end = Clock::now();
    EXPECT_EQ(ticks, 5);
    EXPECT_GE(end - start, std::chrono::milliseconds(250));
    EXPECT_GE(end - lastTick, std::chrono::milliseconds(95));
    EXPECT_EQ(LogText(), "");
}

TEST_F(MessageWait, TheSecondOfTwoHandlesIsAnUnknownStatus) {
    ::HANDLE second = ::CreateEventA(nullptr, TRUE, TRUE, nullptr);
    ::HANDLE both[2] = {event, second};
    EXPECT_EQ(Sys_MsgWaitForMultipleObjects(2, both, 1000), FALSE);
    ::CloseHandle(second);
    EXPECT_NE(LogText().find("Sys_MsgWaitForMultipleObjects: Unknown status 1 returned from "
                             "MsgWaitForMultipleObjects.\n"),
              std::string::npos)
        << LogText();
}

TEST_F(MessageWait, MutexFreeOwnedElsewhereAbandonedOrInvalid) {
    ::HANDLE mutex = ::CreateMutexA(nullptr, FALSE, nullptr);
    EXPECT_EQ(Sys_MsgWaitForMultipleObjects(1, &mutex, 0), TRUE);
    EXPECT_TRUE(::ReleaseMutex(mutex));

    // Owned by a thread that ends without releasing it: abandoned, then ours.
    std::thread([&] { ::WaitForSingleObject(mutex, INFINITE); }).join();
    EXPECT_EQ(Sys_MsgWaitForMultipleObjects(1, &mutex, 0), FALSE);
    bool stillOwnedByUs = false;
    std::thread([&] { stillOwnedByUs = ::WaitForSingleObject(mutex, 0) == WAIT_TIMEOUT; }).join();
    EXPECT_TRUE(stillOwnedByUs);
    EXPECT_TRUE(::ReleaseMutex(mutex));

    // Owned by a live thread: FALSE at once.
    ::HANDLE taken = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ::HANDLE done = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread owner([&] {
        ::WaitForSingleObject(mutex, INFINITE);
        ::SetEvent(taken);
        ::WaitForSingleObject(done, INFINITE);
        ::ReleaseMutex(mutex);
    });
    ::WaitForSingleObject(taken, INFINITE);
    const auto start = Clock::now();
    EXPECT_EQ(Sys_MsgWaitForMultipleObjects(1, &mutex, 0), FALSE);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
    ::SetEvent(done);
    owner.join();
    EXPECT_EQ(LogText(), "");

    ::CloseHandle(mutex);
    ::CloseHandle(taken);
    ::CloseHandle(done);
    ::HANDLE closed = mutex;
    EXPECT_EQ(Sys_MsgWaitForMultipleObjects(1, &closed, 0), FALSE);
    EXPECT_NE(LogText().find("Sys_MsgWaitForMultipleObjects: Error returned from "
                             "MsgWaitForMultipleObjects.\n"),
              std::string::npos)
        << LogText();
}

// RequestWin keeps the window answering while another thread holds the lock.
TEST_F(MessageWait, RequestWinDispatchesWhileItWaits) {
    Mutex lock("Window", nullptr, TRUE);
    lock.SetDebug(true);
    ::HANDLE taken = ::CreateEventA(nullptr, TRUE, FALSE, nullptr);
    std::thread owner([&] {
        lock.Request(-1);
        ::SetEvent(taken);
        ::Sleep(100);
        lock.Release();
    });
    ::WaitForSingleObject(taken, INFINITE);
    Post(1);
    EXPECT_EQ(lock.RequestWin(-1), TRUE);
    owner.join();
    EXPECT_EQ(window.received.size(), 1u);
    EXPECT_EQ(lock.Release(), TRUE);
    ::CloseHandle(taken);
    const std::string log = LogText();
    EXPECT_NE(log.find("Mutex(Window)::RequestWin Started.\n"), std::string::npos) << log;
    EXPECT_NE(log.find("Mutex(Window)::RequestWin Done TRUE.\n"), std::string::npos) << log;
}

}  // namespace
}  // namespace qv
