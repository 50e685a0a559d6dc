#include "platform/mutex.h"

#include <gtest/gtest.h>

#include "support/other_thread.h"

#include <chrono>
#include <string>
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

// A mutex whose owner thread ended without releasing it is abandoned, named
// or not: the next request gives FALSE and its thread owns the mutex all the
// same, once, whatever the ended thread's count. That thread is a new one,
// which the system may give the ended thread's id.
class AbandonedMutex : public testing::TestWithParam<bool> {
  protected:
    static std::string UniqueName() {
        return "qv-test-abandoned-" +
               std::to_string(std::chrono::system_clock::now().time_since_epoch().count());
    }
    test::TempDir dir;
    test::HomeAt home{dir.path().string()};
    const std::string name = UniqueName();
    Mutex mutex{"test", GetParam() ? name.c_str() : nullptr, TRUE};
};

TEST_P(AbandonedMutex, GoesToTheNextThreadThatAsksWithFalse) {
    ASSERT_NE(mutex.QueryHandle(), nullptr);
    std::thread([&] {
        mutex.Request(-1);
        mutex.Request(-1);
    }).join();
    ULONG results[5] = {99, 99, 99, 99, 99};
    std::thread([&] {
        results[0] = mutex.Request(300);
        results[1] = test::RequestOnAnotherThread(mutex, 0);
        results[2] = mutex.Request(0);
        results[3] = mutex.Release();
        results[4] = mutex.Release();
        mutex.Release();
    }).join();
    EXPECT_EQ(results[0], FALSE) << "abandoned";
    EXPECT_EQ(results[1], FALSE) << "owned by the thread that was told it was abandoned";
    EXPECT_EQ(results[2], TRUE) << "re-entrant for its new owner";
    EXPECT_EQ(results[3], TRUE);
    EXPECT_EQ(results[4], TRUE);
    EXPECT_EQ(mutex.Request(0), TRUE) << "released: an ordinary mutex again";
    EXPECT_EQ(mutex.Release(), TRUE);
}

INSTANTIATE_TEST_SUITE_P(NamedOrNot, AbandonedMutex, testing::Bool());

}  // namespace
}  // namespace qv
