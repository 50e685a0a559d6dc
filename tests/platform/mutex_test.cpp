#include "platform/mutex.h"

#include <gtest/gtest.h>

#include "support/other_thread.h"

#include <atomic>
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

// Two threads add to a counter by reading it, pausing and writing it back:
// without exclusion the other thread's additions during the pause are lost.
// Each waits, without a time limit, for the other's release.
TEST(Mutex, ExcludesTheOtherThreadUntilReleased) {
    constexpr int kRounds = 500;
    Mutex mutex("test", nullptr, TRUE);
    std::atomic<int> counter{0};
    std::atomic<int> refused{0};
    std::atomic<bool> go{false};
    const auto add = [&] {
        while (!go) std::this_thread::yield();
        for (int i = 0; i < kRounds; ++i) {
            if (mutex.Request(-1) != TRUE) ++refused;
            const int seen = counter.load(std::memory_order_relaxed);
            std::this_thread::sleep_for(std::chrono::microseconds(20));
            counter.store(seen + 1, std::memory_order_relaxed);
            mutex.Release();
        }
    };
    std::thread first(add), second(add);
    go = true;
    first.join();
    second.join();
    EXPECT_EQ(refused, 0);
    EXPECT_EQ(counter, 2 * kRounds);
}

// An unnamed mutex is the object's own, whatever its tag: holding one never
// keeps another thread from a second, and the one-instance option never
// finds it in use.
TEST(Mutex, UnnamedMutexesNeverExistAlready) {
    for (const char* secondTag : {"a", "b"}) {
        Mutex first("a", nullptr, TRUE);
        Mutex second(secondTag, nullptr, TRUE);
        ASSERT_NE(first.QueryHandle(), nullptr);
        ASSERT_NE(second.QueryHandle(), nullptr) << secondTag;
        EXPECT_EQ(first.Request(-1), TRUE);
        EXPECT_EQ(test::RequestOnAnotherThread(second, 0), TRUE) << secondTag;
        EXPECT_EQ(first.Release(), TRUE);
    }
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
