// The Debian package made by `make package`: installed with apt-get, run as
// installed, and removed again without a trace. It changes the machine, so it
// runs only when asked to (SNAPSHOT_DEB names the package file) and as root.
#include <fcntl.h>
#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/file.h>
#include <unistd.h>

#include <filesystem>

#include "e2e/posix/run.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

const std::vector<std::string> kQuietApt = {"DEBIAN_FRONTEND=noninteractive"};
const std::string kInstalledLog = "/usr/bin/QUORVANT.LOG";

bool PackageInstalled() {
    const test::Outcome query =
        test::Run({"/usr/bin/dpkg-query", "-W", "-f=${Status}", "snapshot"});
    return query.exitCode == 0 && query.out.find(" installed") != std::string::npos;
}

test::Outcome Apt(std::vector<std::string> arguments) {
    // Another apt user on this machine is waited for, not failed on.
    arguments.insert(arguments.begin(),
                     {"/usr/bin/apt-get", "-y", "-q", "-o", "DPkg::Lock::Timeout=300"});
    return test::Run(arguments, kQuietApt);
}

// Two runs of this test on one machine would install and remove the same
// package under each other's feet: one at a time.
class MachineWideLock {
  public:
    MachineWideLock() : Fd(::open("/tmp/snapshot-package-test.lock", O_RDWR | O_CREAT, 0600)) {
        if (Fd >= 0) ::flock(Fd, LOCK_EX);
    }
    ~MachineWideLock() {
        if (Fd >= 0) ::close(Fd);
    }
    MachineWideLock(const MachineWideLock&) = delete;
    MachineWideLock& operator=(const MachineWideLock&) = delete;

  private:
    int Fd;
};

// Removes the package however the test ends, so a failure leaves nothing
// installed.
struct RemovedAtEnd {
    ~RemovedAtEnd() {
        if (PackageInstalled()) Apt({"remove", "snapshot"});
    }
};

std::vector<std::string> PackageFiles() {
    std::vector<std::string> files;
    for (const std::string& path : test::Lines(test::Run({"/usr/bin/dpkg", "-L", "snapshot"}).out))
        if (fs::is_regular_file(path)) files.push_back(path);
    return files;
}

TEST(DebianPackage, InstallsRunsAndRemovesCleanly) {
    const char* package = ::getenv("SNAPSHOT_DEB");
    if (!package || !*package)
        GTEST_SKIP() << "SNAPSHOT_DEB names no package; `make test-package` builds and tests one";
    if (::geteuid() != 0) GTEST_SKIP() << "installing a package needs root; run as root to test it";
    MachineWideLock oneAtATime;
    if (PackageInstalled())
        GTEST_SKIP() << "snapshot is installed on this machine already; the test leaves it alone";
    ASSERT_TRUE(fs::is_regular_file(package)) << package;
    const bool logWasThere = fs::exists(kInstalledLog);

    std::vector<std::string> files;
    {
        RemovedAtEnd removed;
        const test::Outcome install = Apt({"install", fs::absolute(package).string()});
        ASSERT_EQ(install.exitCode, 0) << install.out << install.err;
        ASSERT_TRUE(PackageInstalled());
        files = PackageFiles();
        for (const char* expected :
             {"/usr/bin/snapshot", "/usr/share/quorvant/QUORVANT.cat",
              "/usr/share/man/man1/snapshot.1", "/usr/share/doc/snapshot/QUORVANT.INI.example"})
            EXPECT_NE(std::find(files.begin(), files.end(), expected), files.end()) << expected;

        test::TempDir elsewhere;
        test::Launch launch;
        launch.argv = {"/usr/bin/snapshot"};
        launch.environment = {"XDG_DATA_HOME=" + elsewhere.path().string(),
                              "XDG_DATA_DIRS=" + elsewhere.path().string(),
                              "XDG_CONFIG_HOME=" + elsewhere.path().string()};
        launch.workingDirectory = elsewhere.path().string();
        const test::Outcome run = test::Run(launch);
        EXPECT_EQ(run.exitCode, 0) << run.err;
        EXPECT_GE(test::Lines(run.out).size(), 9u) << run.out;
        EXPECT_NE(run.out.find("Free space on all local volumes"), std::string::npos);
        if (!logWasThere && fs::exists(kInstalledLog)) {
            ADD_FAILURE() << "the run as root logged into /usr/bin:\n"
                          << test::ReadFile(kInstalledLog);
            fs::remove(kInstalledLog);  // dpkg would leave it behind
        }

        const test::Outcome remove = Apt({"remove", "snapshot"});
        EXPECT_EQ(remove.exitCode, 0) << remove.out << remove.err;
    }
    EXPECT_FALSE(PackageInstalled());
    for (const std::string& file : files) EXPECT_FALSE(fs::exists(file)) << file;
    EXPECT_FALSE(fs::exists("/usr/share/quorvant"));
    EXPECT_FALSE(fs::exists("/usr/share/doc/snapshot"));
}

}  // namespace
}  // namespace qv
