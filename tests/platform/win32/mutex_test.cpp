// The system mutex under the Mutex class: ownership across threads, time-outs,
// abandonment and names.
#include <gtest/gtest.h>
#include <windows.h>

#include <thread>

#include "platform/mutex.h"
#include "platform/os_mutex.h"

namespace qv {
namespace {

// The result of running `body` on a thread of its own, to its end.
template <typename Body>
auto OnOtherThread(Body body) {
    decltype(body()) result{};
    std::thread([&] { result = body(); }).join();
    return result;
}

class Win32OsMutex : public testing::Test {
  protected:
    void TearDown() override {
        if (Created.handle) CloseOsMutex(Created.handle);
    }
    OsMutexCreation Created = CreateOsMutex(nullptr);
};

TEST_F(Win32OsMutex, IsReentrantForItsOwnerAndClosedToOthers) {
    ASSERT_NE(Created.handle, nullptr);
    EXPECT_FALSE(Created.alreadyExisted);
    const HANDLE mutex = Created.handle;
    EXPECT_EQ(WaitOsMutex(mutex, -1), OsWait::Obtained);
    EXPECT_EQ(WaitOsMutex(mutex, 0), OsWait::Obtained);
    EXPECT_EQ(OnOtherThread([&] { return WaitOsMutex(mutex, 0); }), OsWait::TimedOut);
    EXPECT_EQ(OnOtherThread([&] { return WaitOsMutex(mutex, 30); }), OsWait::TimedOut);
    EXPECT_FALSE(OnOtherThread([&] { return ReleaseOsMutex(mutex); }));
    EXPECT_TRUE(ReleaseOsMutex(mutex));
    EXPECT_TRUE(ReleaseOsMutex(mutex));
    EXPECT_FALSE(ReleaseOsMutex(mutex));
    EXPECT_EQ(OnOtherThread([&] { return WaitOsMutex(mutex, 0); }), OsWait::Obtained);
}

TEST_F(Win32OsMutex, AnOwnerThatEndsLeavesItAbandonedToTheNextWaiter) {
    const HANDLE mutex = Created.handle;
    ASSERT_EQ(OnOtherThread([&] { return WaitOsMutex(mutex, -1); }), OsWait::Obtained);
    EXPECT_EQ(WaitOsMutex(mutex, 1000), OsWait::Abandoned);
    EXPECT_TRUE(ReleaseOsMutex(mutex));  // the waiter owns it all the same
}

TEST(Win32OsMutexName, ASecondCreationOfANameFindsItInUse) {
    const std::string name = "qv-test-mutex-" + std::to_string(::GetCurrentProcessId());
    const OsMutexCreation first = CreateOsMutex(name.c_str());
    const OsMutexCreation second = CreateOsMutex(name.c_str());
    ASSERT_NE(first.handle, nullptr);
    ASSERT_NE(second.handle, nullptr);
    EXPECT_FALSE(first.alreadyExisted);
    EXPECT_TRUE(second.alreadyExisted);
    CloseOsMutex(second.handle);
    CloseOsMutex(first.handle);
}

TEST(Win32Mutex, OneInstanceOnlyRefusesANameInUse) {
    const std::string name = "qv-test-one-" + std::to_string(::GetCurrentProcessId());
    Mutex first("first", name.c_str(), TRUE);
    Mutex second("second", name.c_str(), TRUE);
    Mutex shared("shared", name.c_str(), FALSE);
    EXPECT_NE(first.QueryHandle(), nullptr);
    EXPECT_EQ(second.QueryHandle(), nullptr);
    EXPECT_EQ(second.Request(0), Mutex::kNoHandle);
    ASSERT_NE(shared.QueryHandle(), nullptr);
    EXPECT_EQ(first.Request(0), static_cast<ULONG>(TRUE));
    EXPECT_EQ(OnOtherThread([&] { return shared.Request(0); }), static_cast<ULONG>(FALSE));
    EXPECT_EQ(first.Release(), static_cast<ULONG>(TRUE));
}

}  // namespace
}  // namespace qv
