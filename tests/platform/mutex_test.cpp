#include "platform/mutex.h"

#include <gtest/gtest.h>

#include "support/other_thread.h"

#include <thread>

#include "support/temp_dir.h"

namespace qv {
namespace {

TEST(Mutex, IsReentrantForItsOwner) {
    Mutex mutex("test", nullptr, TRUE);
    ASSERT_NE(mutex.QueryHandle(), nullptr);
    EXPECT_EQ(mutex.Request(-1), TRUE);
    EXPECT_EQ(mutex.Request(0), TRUE);
    EXPECT_EQ(mutex.Release(), TRUE);
    // Still owned once: another thread cannot have it yet.
    EXPECT_EQ(test::RequestOnAnotherThread(mutex, 0), FALSE);
    EXPECT_EQ(mutex.Release(), TRUE);
    EXPECT_EQ(test::RequestOnAnotherThread(mutex, 0), TRUE);
}

TEST(Mutex, TimesOutWhileAnotherThreadOwnsIt) {
    Mutex mutex("test", nullptr, TRUE);
    mutex.Request(-1);
    EXPECT_EQ(test::RequestOnAnotherThread(mutex, 0), FALSE);
    EXPECT_EQ(test::RequestOnAnotherThread(mutex, 20), FALSE);
    mutex.Release();
}

TEST(Mutex, ReleaseByAThreadThatDoesNotOwnItFails) {
    Mutex mutex("test", nullptr, TRUE);
    EXPECT_EQ(mutex.Release(), FALSE);
    mutex.Request(-1);
    ULONG result = 99;
    std::thread other([&] { result = mutex.Release(); });
    other.join();
    EXPECT_EQ(result, FALSE);
    EXPECT_EQ(mutex.Release(), TRUE);
}

TEST(Mutex, AWaiterGetsItWhenTheOwnerReleases) {
    Mutex mutex("test", nullptr, TRUE);
    mutex.Request(-1);
    ULONG result = 99;
    std::thread waiter([&] {
        result = mutex.Request(-1);
        mutex.Release();
    });
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    mutex.Release();
    waiter.join();
    EXPECT_EQ(result, TRUE);
}

TEST(Mutex, UnnamedMutexesNeverExistAlready) {
    Mutex first("a", nullptr, TRUE);
    Mutex second("a", nullptr, TRUE);
    EXPECT_NE(first.QueryHandle(), nullptr);
    EXPECT_NE(second.QueryHandle(), nullptr);
}

TEST(Mutex, TracesRequestsAndReleasesWhenAsked) {
    test::TempDir dir;
    test::HomeAt home(dir.path().string());
    Mutex mutex("Module::Lock", nullptr, TRUE);
    mutex.SetDebug(true);
    mutex.Request(-1);
    mutex.Release();
    mutex.SetDebug(false);
    mutex.Request(-1);
    mutex.Release();
    const std::string log = test::ReadText(dir / "QUORVANT.LOG");
    const std::string lines[] = {"Mutex(Module::Lock)::Request Started.\n",
                                 "Mutex(Module::Lock)::Request Done TRUE.\n",
                                 "Mutex(Module::Lock)::Release.\n"};
    std::size_t at = 0;
    for (const std::string& line : lines) {
        at = log.find(line, at);
        ASSERT_NE(at, std::string::npos) << line << " in\n" << log;
    }
    EXPECT_EQ(std::count(log.begin(), log.end(), '\n'), 3);
}

}  // namespace
}  // namespace qv
