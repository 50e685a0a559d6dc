// The Debian package made by `make package`: installed with apt-get, run as
// installed by root and by a user made for the test, and removed again
// without a trace. Debian's policy keeps /usr for the package manager: the
// runs must write nothing there. It changes the machine, so it runs only when
// asked to (SNAPSHOT_DEB names the package file) and as root.
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
const std::string kTestUser = "snapshot-pkgtest";

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

// The files under /usr that bear the names of the program's own files (the
// log, its backup, the settings file) and that the package does not hold.
std::vector<std::string> ProgramFilesUnderUsrBesides(const std::vector<std::string>& packaged) {
    std::vector<std::string> strays;
    const test::Outcome found =
        test::Run({"/usr/bin/find", "/usr", "-xdev", "(", "-name", "QUORVANT.*", "-o", "-name",
                   "LOGFILE.BAK", ")", "-print"});
    for (const std::string& path : test::Lines(found.out))
        if (std::find(packaged.begin(), packaged.end(), path) == packaged.end())
            strays.push_back(path);
    return strays;
}

// A user of the machine for the test's lifetime, with a home folder below
// /home that goes with them.
class TestUser {
  public:
    TestUser() {
        Remove();  // left over by a test that was killed
        Made = test::Run({"/usr/sbin/useradd", "--create-home", "--shell", "/bin/sh", kTestUser})
                   .exitCode == 0;
    }
    ~TestUser() { Remove(); }
    TestUser(const TestUser&) = delete;
    TestUser& operator=(const TestUser&) = delete;

    bool IsMade() const { return Made; }
    static fs::path Home() { return fs::path("/home") / kTestUser; }

  private:
    static void Remove() {
        if (test::Run({"/usr/bin/id", kTestUser}).exitCode == 0)
            test::Run({"/usr/sbin/userdel", "--remove", kTestUser});
    }
    bool Made = false;
};

// Runs the installed program with `home` as the user's home folder; the XDG
// variables are emptied, so their defaults below it hold.
test::Outcome RunInstalled(const fs::path& home, std::vector<std::string> prefix = {}) {
    test::TempDir elsewhere;
    fs::permissions(elsewhere.path(), fs::perms::all);  // any user may stand in it
    test::Launch launch;
    launch.argv = std::move(prefix);
    launch.argv.push_back("/usr/bin/snapshot");
    launch.environment = {"XDG_DATA_HOME=", "XDG_DATA_DIRS=", "XDG_CONFIG_HOME=", "XDG_STATE_HOME=",
                          "HOME=" + home.string()};
    launch.workingDirectory = elsewhere.path().string();
    return test::Run(launch);
}

// The run read the settings in the user's configuration folder (sizes in
// bytes) and noted the keys it lacks in the user's state folder.
void ExpectSettingsReadAndLogged(const test::Outcome& run, const fs::path& home) {
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_GE(test::Lines(run.out).size(), 9u) << run.out;
    for (const std::string& line : test::Lines(run.out)) {
        if (line.rfind("Free physical memory", 0) == 0) {
            EXPECT_EQ(line.back(), ' ') << line;
        }
    }
    const fs::path log = home / ".local/state/quorvant/QUORVANT.LOG";
    ASSERT_TRUE(fs::is_regular_file(log)) << log;
    EXPECT_NE(test::ReadFile(log).find("Wrong size"), std::string::npos);
}

void WriteSettings(const fs::path& home) {
    fs::create_directories(home / ".config/quorvant");
    test::WriteFile((home / ".config/quorvant/QUORVANT.INI").string(), test::kSettingsInBytes);
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
        const std::vector<std::string> straysBefore = ProgramFilesUnderUsrBesides(files);

        test::TempDir rootHome;
        WriteSettings(rootHome.path());
        ExpectSettingsReadAndLogged(RunInstalled(rootHome.path()), rootHome.path());

        const TestUser user;
        ASSERT_TRUE(user.IsMade());
        WriteSettings(TestUser::Home());
        test::Run({"/usr/bin/chown", "-R", kTestUser + ":", TestUser::Home().string()});
        ExpectSettingsReadAndLogged(
            RunInstalled(TestUser::Home(), {"/usr/sbin/runuser", "-u", kTestUser, "--"}),
            TestUser::Home());

        EXPECT_EQ(ProgramFilesUnderUsrBesides(files), straysBefore) << "a run wrote under /usr";
        const test::Outcome remove = Apt({"remove", "snapshot"});
        EXPECT_EQ(remove.exitCode, 0) << remove.out << remove.err;
    }
    EXPECT_FALSE(PackageInstalled());
    for (const std::string& file : files) EXPECT_FALSE(fs::exists(file)) << file;
    EXPECT_FALSE(fs::exists("/usr/share/quorvant"));
    EXPECT_FALSE(fs::exists("/usr/share/doc/snapshot"));
    const test::Outcome remains = test::Run({"/usr/bin/dpkg-query", "-W", "snapshot"});
    EXPECT_NE(remains.exitCode, 0) << "dpkg still knows the package: " << remains.out;
}

}  // namespace
}  // namespace qv
