#include <gtest/gtest.h>

#include "support/other_thread.h"

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "platform/mutex.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

using Clock = std::chrono::steady_clock;

// A name no other test or run uses.
std::string UniqueName() {
    static std::atomic<int> counter{0};
    return "qv test/mutex " +
           std::to_string(std::chrono::system_clock::now().time_since_epoch().count()) + "-" +
           std::to_string(counter++);
}

class NamedMutex : public ::testing::Test {
  protected:
    test::TempDir dir;
    test::HomeAt home{dir.path().string()};
    const std::string name = UniqueName();
    std::string LogText() { return test::ReadText(dir / "QUORVANT.LOG"); }
};

TEST_F(NamedMutex, ASecondCopySeesThatTheNameExists) {
    test::ChildProcess first({"mutex", name, "1", "0"});
    ASSERT_EQ(first.ReadLine(), "handle yes");

    Mutex second("Copy", name.c_str(), TRUE);
    EXPECT_EQ(second.QueryHandle(), nullptr);
    EXPECT_NE(LogText().find("Mutex(Copy): Unable to create mutex semaphore '" + name +
                             "'.  Already exists.\n"),
              std::string::npos)
        << LogText();
    EXPECT_EQ(second.Request(0), Mutex::kNoHandle);
    EXPECT_EQ(second.Release(), Mutex::kNoHandle);

    Mutex shared("Shared", name.c_str(), FALSE);  // without the option it is shared
    EXPECT_NE(shared.QueryHandle(), nullptr);

    first.CloseInput();
    EXPECT_EQ(first.Wait().exitCode, 0);
}

TEST_F(NamedMutex, TheNameIsFreeAgainOnceItsHoldersAreGone) {
    {
        test::ChildProcess holder({"mutex", name, "1", "1"});
        ASSERT_EQ(holder.ReadLine(), "handle yes");
        holder.Kill();  // owned and open when it dies
        holder.Wait();
    }
    Mutex again("Again", name.c_str(), TRUE);
    ASSERT_NE(again.QueryHandle(), nullptr);
    EXPECT_EQ(again.Request(0), TRUE);  // a fresh mutex, not an abandoned one
    EXPECT_EQ(again.Release(), TRUE);
    EXPECT_EQ(LogText(), "");
}

TEST_F(NamedMutex, AnOwnerKilledWhileOwningItAbandonsIt) {
    Mutex mutex("Survivor", name.c_str(), FALSE);  // keeps the name open throughout
    test::ChildProcess holder({"mutex", name, "0", "1"});
    ASSERT_EQ(holder.ReadLine(), "handle yes");
    ASSERT_EQ(holder.ReadLine(), "request 1");
    EXPECT_EQ(mutex.Request(0), FALSE);
    holder.Kill();
    holder.Wait();

    EXPECT_EQ(mutex.Request(-1), FALSE);  // abandoned: FALSE, and now ours
    EXPECT_EQ(test::RequestOnAnotherThread(mutex, 0), FALSE);
    EXPECT_EQ(mutex.Release(), TRUE);
    EXPECT_EQ(mutex.Request(0), TRUE);
    EXPECT_EQ(mutex.Release(), TRUE);
}

TEST_F(NamedMutex, TimesOutWhileAnotherProcessOwnsIt) {
    Mutex mutex("Waiter", name.c_str(), FALSE);
    test::ChildProcess holder({"mutex", name, "0", "1"});
    ASSERT_EQ(holder.ReadLine(), "handle yes");
    ASSERT_EQ(holder.ReadLine(), "request 1");

    const auto start = Clock::now();
    EXPECT_EQ(mutex.Request(0), FALSE);
    EXPECT_LT(Clock::now() - start, std::chrono::milliseconds(500));
    const auto waited = Clock::now();
    EXPECT_EQ(mutex.Request(60), FALSE);
    EXPECT_GE(Clock::now() - waited, std::chrono::milliseconds(60));

    holder.CloseInput();  // it releases and ends
    EXPECT_EQ(mutex.Request(-1), TRUE);
    EXPECT_EQ(holder.Wait().exitCode, 0);
    EXPECT_EQ(mutex.Release(), TRUE);
}

TEST_F(NamedMutex, AnotherProcessWaitsForTheRelease) {
    Mutex mutex("Owner", name.c_str(), TRUE);
    ASSERT_EQ(mutex.Request(-1), TRUE);
    EXPECT_EQ(mutex.Request(-1), TRUE);  // re-entrant for its owner
    test::ChildProcess waiter({"mutex", name, "0", "1"});
    ASSERT_EQ(waiter.ReadLine(), "handle yes");
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    EXPECT_EQ(mutex.Release(), TRUE);
    EXPECT_EQ(test::RequestOnAnotherThread(mutex, 0), FALSE);  // still held once
    EXPECT_EQ(mutex.Release(), TRUE);
    EXPECT_EQ(waiter.ReadLine(), "request 1");
    waiter.CloseInput();
    EXPECT_EQ(waiter.Wait().exitCode, 0);
}

TEST_F(NamedMutex, CreationsInOneProcessShareTheMutex) {
    Mutex first("First", name.c_str(), TRUE);
    ASSERT_NE(first.QueryHandle(), nullptr);
    Mutex again("Again", name.c_str(), TRUE);
    EXPECT_EQ(again.QueryHandle(), nullptr);
    Mutex shared("Shared", name.c_str(), FALSE);
    ASSERT_NE(shared.QueryHandle(), nullptr);
    EXPECT_EQ(first.Request(-1), TRUE);
    EXPECT_EQ(shared.Request(0), TRUE);  // the same mutex, owned by this thread
    EXPECT_EQ(test::RequestOnAnotherThread(shared, 0), FALSE);
    EXPECT_EQ(shared.Release(), TRUE);
    EXPECT_EQ(first.Release(), TRUE);
    EXPECT_EQ(test::RequestOnAnotherThread(shared, 0), TRUE);
}

}  // namespace
}  // namespace qv
