// The named mutex against the promise of the platform's named objects: one name
// is one mutex for every process of the user, and only the thread that took a
// mutex owns it.
#include <unistd.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/mutex.h"
#include "support/child_process.h"
#include "support/shell_output.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

std::string UniqueName(const char* what) {
    return std::string("qv test/") + what + " " + std::to_string(::getpid()) + "-" +
           std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
}

// A copy started where the user's session folder /run/user/UID is there and
// one started where it is not (a login session, and cron or a service) share
// the name. The second copy runs in a mount namespace of its own, with an
// empty /run/user, in which the session folder is made or not, so that one of
// the two cases differs from this process's view whatever the host has.
struct SessionCase {
    const char* name;
    const char* makeSessionFolder;
};

class NamedMutexAcrossSessions : public testing::TestWithParam<SessionCase> {};

TEST_P(NamedMutexAcrossSessions, IsOneMutexWhereverTheSessionFolderIs) {
    if (test::ShellOutput("unshare --user --map-current-user --mount true 2>&1 && echo ok") !=
        "ok\n")
        GTEST_SKIP() << "no user and mount namespaces here";
    test::TempDir dir;
    test::HomeAt home(dir.path().string());
    const std::string name = UniqueName("session");
    Mutex mine("Session", name.c_str(), FALSE);
    ASSERT_EQ(mine.Request(0), TRUE);

    const std::string script = std::string("mount -t tmpfs none /run/user && ") +
                               GetParam().makeSessionFolder + " exec '" HELPER_EXE "' try-mutex '" +
                               name + "'";
    EXPECT_EQ(
        test::ShellOutput("unshare --user --map-current-user --mount sh -c \"" + script + "\""),
        "request 0\n")
        << "the other copy got a mutex this process owns";
    mine.Release();
}

INSTANTIATE_TEST_SUITE_P(
    Folders, NamedMutexAcrossSessions,
    testing::Values(SessionCase{"SessionFolder", "mkdir -p /run/user/$(id -u) &&"},
                    SessionCase{"NoSessionFolder", ""}),
    [](const testing::TestParamInfo<SessionCase>& info) { return info.param.name; });

// A child forked while its parent owns the mutex owns nothing: its release
// fails, and its end (which runs its exit handlers) leaves the parent the
// owner, as a third process finds.
TEST(NamedMutexFork, OwnershipDoesNotPassToAForkedChild) {
    test::TempDir dir;
    const std::string name = UniqueName("fork");
    test::ChildProcess parent({"fork-owner", name});
    EXPECT_EQ(parent.ReadLine(), "child 0") << "the child released it";

    test::ChildProcess third({"try-mutex", name});
    EXPECT_EQ(third.ReadLine(), "request 0") << "a third process got the parent's mutex";
    third.Wait();
    parent.CloseInput();
    EXPECT_EQ(parent.ReadLine(), "release 1") << "the parent no longer owned it";
    parent.Wait();
}

}  // namespace
}  // namespace qv
