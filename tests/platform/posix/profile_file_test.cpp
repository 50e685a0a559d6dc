// How the POSIX store treats the file itself: lossless, atomic, permissions,
// links, concurrent writers, the system profile's place.
#include <fcntl.h>
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "platform/profile.h"
#include "support/shell_output.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

class ProfileFile : public ::testing::Test {
  protected:
    test::TempDir Dir;
    std::string File = Dir / "QUORVANT.INI";
};

TEST_F(ProfileFile, WritesChangeOnlyTheirLinesInLfAndCrlfFiles) {
    for (const std::string end : {"\n", "\r\n"}) {
        const auto lines = [&](std::initializer_list<const char*> list) {
            std::string text;
            for (const char* line : list) text += std::string(line) + end;
            return text;
        };
        test::WriteFile(File, lines({"; kept", "", "[Other]", "ShowK=FFFF", "[QUORVANT]",
                                     "  ShowK = 0100", "# hand note", "Unknown=x"}));
        ASSERT_TRUE(WritePrivateProfileText("QUORVANT", "ShowK", "0000", File.c_str()));
        ASSERT_TRUE(WritePrivateProfileText("QUORVANT", "Unknown", nullptr, File.c_str()));
        ASSERT_TRUE(WritePrivateProfileText("QUORVANT", "ShowSeconds", "01000000", File.c_str()));
        // A new key goes after the section's last line, whatever it holds.
        EXPECT_EQ(test::ReadFile(File),
                  lines({"; kept", "", "[Other]", "ShowK=FFFF", "[QUORVANT]", "  ShowK = 0000",
                         "# hand note", "ShowSeconds=01000000"}));
    }
}

TEST_F(ProfileFile, KeepsPermissionsAndLeavesNoTemporaryFile) {
    test::WriteFile(File, "[A]\nk=1\n");
    ASSERT_EQ(::chmod(File.c_str(), 0640), 0);
    ASSERT_TRUE(WritePrivateProfileText("A", "k", "2", File.c_str()));
    struct stat status {};
    ASSERT_EQ(::stat(File.c_str(), &status), 0);
    EXPECT_EQ(status.st_mode & 07777, 0640u);
    EXPECT_EQ(std::distance(fs::directory_iterator(Dir.path()), fs::directory_iterator()), 1);
}

struct stat StatusOf(const std::string& path) {
    struct stat status {};
    EXPECT_EQ(::stat(path.c_str(), &status), 0) << path;
    return status;
}

// Runs the work in a child process and gives its result: for what needs
// another user or a limit that must not touch the test process.
bool InChild(const std::function<bool()>& work) {
    const pid_t child = ::fork();
    if (child == 0) ::_exit(work() ? 0 : 1);
    int status = 0;
    return child > 0 && ::waitpid(child, &status, 0) == child && WIFEXITED(status) &&
           WEXITSTATUS(status) == 0;
}

bool BecomeUser(uid_t user) {
    return ::setgroups(0, nullptr) == 0 && ::setgid(user) == 0 && ::setuid(user) == 0;
}

bool BecomeNobody() {
    return BecomeUser(65534);
}

bool Succeeds(const std::string& command) {
    return std::system((command + " >/dev/null 2>&1").c_str()) == 0;
}

TEST_F(ProfileFile, ARewriteKeepsOwnerGroupAndMode) {
    if (::geteuid() != 0) GTEST_SKIP() << "only root may give a file to another user";
    test::WriteFile(File, "[A]\r\nk=1\r\n");
    ASSERT_EQ(::chown(File.c_str(), 1234, 5678), 0);
    ASSERT_EQ(::chmod(File.c_str(), 02640), 0);
    ASSERT_TRUE(WritePrivateProfileText("A", "k", "2", File.c_str()));
    const struct stat status = StatusOf(File);
    EXPECT_EQ(status.st_uid, 1234u);
    EXPECT_EQ(status.st_gid, 5678u);
    EXPECT_EQ(status.st_mode & 07777, 02640u);
    EXPECT_EQ(test::ReadFile(File), "[A]\r\nk=2\r\n");
}

TEST_F(ProfileFile, AHardLinkStaysSharedAndIsWrittenInPlace) {
    const std::string other = Dir / "other-name.ini";
    test::WriteFile(File, "[A]\r\nk=1\r\n");
    fs::create_hard_link(File, other);
    const ino_t inode = StatusOf(File).st_ino;
    ASSERT_TRUE(WritePrivateProfileText("A", "k", "22", File.c_str()));
    ASSERT_TRUE(WritePrivateProfileText("A", "j", nullptr, File.c_str()));
    ASSERT_TRUE(WritePrivateProfileText("A", "x", nullptr, File.c_str()));
    ASSERT_TRUE(WritePrivateProfileText("A", "k", nullptr, File.c_str()));
    EXPECT_EQ(StatusOf(File).st_ino, inode);
    EXPECT_EQ(StatusOf(File).st_nlink, 2u);
    EXPECT_EQ(test::ReadFile(other), "[A]\r\n");
}

// Another user's file that this user may write, in a folder where it may not
// take the file's place: a sticky folder, or one it cannot write at all.
TEST_F(ProfileFile, WhereTheFolderRefusesAReplacementTheFileIsWrittenInPlace) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to act as another user";
    for (const mode_t folderMode : {01777, 0755}) {
        const std::string folder = Dir / ("folder" + std::to_string(folderMode));
        const std::string file = folder + "/QUORVANT.INI";
        fs::create_directory(folder);
        ASSERT_EQ(::chmod(folder.c_str(), folderMode), 0);
        test::WriteFile(file, "[A]\nk=1\n");
        ASSERT_EQ(::chmod(file.c_str(), 0666), 0);
        const ino_t inode = StatusOf(file).st_ino;
        EXPECT_TRUE(InChild([&] {
            return BecomeNobody() && WritePrivateProfileText("A", "k", "2", file.c_str()) &&
                   WritePrivateProfileText("A", "longer", "value", file.c_str());
        })) << std::oct
            << folderMode;
        EXPECT_EQ(test::ReadFile(file), "[A]\nk=2\nlonger=value\n");
        EXPECT_EQ(StatusOf(file).st_ino, inode);
        EXPECT_EQ(StatusOf(file).st_uid, 0u);
        EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
    }
}

// Who may use the file is what getfacl and getfattr (the acl and attr
// packages) show of it: a rewrite by root keeps all of it, and adds none of
// what a folder's default ACL would give a new file.
TEST_F(ProfileFile, ARewriteKeepsWhoMayUseTheFile) {
    if (::geteuid() != 0) GTEST_SKIP() << "needs root to give the file away and act as another";
    struct {
        const char* what;
        const char* arrange;  // in the file's folder
        bool granted;         // user 1234 may write the file
    } cases[] = {
        {"an ACL granting another user, and attributes",
         "setfacl -m u:1234:rw QUORVANT.INI && setfattr -n user.note -v kept QUORVANT.INI && "
         "setfattr -n trusted.note -v kept QUORVANT.INI",
         true},
        {"no ACL, in a folder whose default ACL grants another user", "setfacl -m d:u:1234:rw .",
         false},
    };
    for (const auto& c : cases) {
        const std::string folder = Dir / c.what, file = folder + "/QUORVANT.INI";
        fs::create_directory(folder);
        test::WriteFile(file, "[QUORVANT]\r\nPosition=00\r\nShowK=0000\r\n");
        ASSERT_EQ(::chown(file.c_str(), 0, 2345), 0);
        ASSERT_EQ(::chmod(file.c_str(), 0640), 0);
        const std::string in = "cd '" + folder + "' && ";
        if (!Succeeds(in + c.arrange)) {
            GTEST_SKIP() << "no ACLs or attributes here: "
                         << test::ShellOutput(in + c.arrange + " 2>&1");
        }
        const std::string shown = in + "getfacl -n QUORVANT.INI; getfattr -d -m - QUORVANT.INI";
        const std::string before = test::ShellOutput(shown + " 2>&1");
        ASSERT_TRUE(WritePrivateProfileText("QUORVANT", "Position", nullptr, file.c_str()));
        EXPECT_EQ(test::ReadFile(file), "[QUORVANT]\r\nShowK=0000\r\n") << c.what;
        EXPECT_EQ(test::ShellOutput(shown + " 2>&1"), before) << c.what;
        EXPECT_EQ(InChild([&] {
                      return BecomeUser(1234) &&
                             WritePrivateProfileText("QUORVANT", "ShowK", "0100", file.c_str());
                  }),
                  c.granted)
            << c.what;
    }
}

// A file size limit stands in for a full disk: the write fails before any
// byte of the file is overwritten, by replacement or in place (a hard link).
TEST_F(ProfileFile, AWriteThatDoesNotFitLeavesTheOldTextWhole) {
    const std::string before = "[A]\r\nk=" + std::string(100, '1') + "\r\n";
    const std::string other = Dir / "other-name.ini";
    for (const bool linked : {false, true}) {
        test::WriteFile(File, before);
        if (linked) fs::create_hard_link(File, other);
        EXPECT_TRUE(InChild([&] {
            std::signal(SIGXFSZ, SIG_IGN);
            const struct rlimit limit = {150, 150};
            return ::setrlimit(RLIMIT_FSIZE, &limit) == 0 &&
                   !WritePrivateProfileText("A", "k", std::string(200, '2').c_str(), File.c_str());
        })) << "linked "
            << linked;
        EXPECT_EQ(test::ReadFile(File), before) << "linked " << linked;
        EXPECT_EQ(std::distance(fs::directory_iterator(Dir.path()), fs::directory_iterator()),
                  linked ? 2 : 1);
        fs::remove(other);
    }
}

// The store reads the file once; a write starts from the file on disk, so
// that another process's change is kept, and the kept text follows it.
TEST_F(ProfileFile, ReadsOnceAndAWriteStartsFromTheFileOnDisk) {
    test::WriteFile(File, "[A]\r\nk=1\r\n");
    qv::ProfileFile store(File.c_str());
    char value[8];
    EXPECT_EQ(store.Read("A", "k", "", value, sizeof value), 1u);
    test::WriteFile(File, "[A]\r\nk=2\r\nother=3\r\n");  // by another process meanwhile
    store.Read("A", "k", "", value, sizeof value);
    EXPECT_STREQ(value, "1");
    ASSERT_TRUE(store.Write("A", "mine", "4"));
    EXPECT_EQ(test::ReadFile(File), "[A]\r\nk=2\r\nother=3\r\nmine=4\r\n");
    store.Read("A", "k", "", value, sizeof value);
    EXPECT_STREQ(value, "2");
    store.Read("A", "other", "", value, sizeof value);
    EXPECT_STREQ(value, "3");
}

std::string Utf16Le(const std::string& ascii) {
    std::string bytes = "\xFF\xFE";
    for (const char c : ascii) bytes += std::string{c, '\0'};
    return bytes;
}

TEST_F(ProfileFile, AUtf16FileIsReadAndWrittenInItsOwnEncoding) {
    test::WriteFile(File, Utf16Le("[A]\r\nk=1\r\n x = 2 \r\n"));
    char value[8];
    EXPECT_EQ(GetPrivateProfileText("a", "X", "", value, sizeof value, File.c_str()), 1u);
    EXPECT_STREQ(value, "2");
    ASSERT_TRUE(WritePrivateProfileText("A", "k", "22", File.c_str()));
    ASSERT_TRUE(WritePrivateProfileText("A", "new", "3", File.c_str()));
    EXPECT_EQ(test::ReadFile(File), Utf16Le("[A]\r\nk=22\r\n x = 2 \r\nnew=3\r\n"));
    EXPECT_FALSE(WritePrivateProfileText("A", "k", "\xFF", File.c_str()));
    EXPECT_EQ(errno, EILSEQ);
    EXPECT_EQ(test::ReadFile(File), Utf16Le("[A]\r\nk=22\r\n x = 2 \r\nnew=3\r\n"));
}

TEST_F(ProfileFile, FollowsSymbolicLinkToItsTarget) {
    fs::create_directory(Dir.path() / "real");
    const std::string target = Dir / "real/QUORVANT.INI";
    test::WriteFile(target, "[A]\nk=1\n");
    fs::create_symlink("real/QUORVANT.INI", File);
    ASSERT_TRUE(WritePrivateProfileText("A", "k", "2", File.c_str()));
    EXPECT_TRUE(fs::is_symlink(File));
    EXPECT_EQ(test::ReadFile(target), "[A]\nk=2\n");
}

TEST_F(ProfileFile, CreatesTheTargetOfADanglingLink) {
    fs::create_symlink(Dir / "target.ini", File);
    ASSERT_TRUE(WritePrivateProfileText("A", "k", "1", File.c_str()));
    EXPECT_TRUE(fs::is_symlink(File));
    EXPECT_EQ(test::ReadFile(Dir / "target.ini"), "[A]\r\nk=1\r\n");
}

TEST_F(ProfileFile, LinkLoopIsAFailedWrite) {
    fs::create_symlink(Dir / "b", Dir / "a");
    fs::create_symlink(Dir / "a", Dir / "b");
    const std::string loop = Dir / "a";
    EXPECT_FALSE(WritePrivateProfileText("A", "k", "1", loop.c_str()));
    EXPECT_EQ(errno, ELOOP);
}

TEST_F(ProfileFile, DeletionsInAMissingFileCreateNothing) {
    EXPECT_TRUE(WritePrivateProfileText("A", "k", nullptr, File.c_str()));
    EXPECT_TRUE(WritePrivateProfileText("A", nullptr, nullptr, File.c_str()));
    EXPECT_FALSE(fs::exists(File));
}

TEST_F(ProfileFile, ReadOnlyFileIsNotWritten) {
    if (::geteuid() == 0) GTEST_SKIP() << "root may write any file";
    test::WriteFile(File, "[A]\nk=1\n");
    ASSERT_EQ(::chmod(File.c_str(), 0444), 0);
    EXPECT_FALSE(WritePrivateProfileText("A", "k", "2", File.c_str()));
    EXPECT_EQ(errno, EACCES);
    EXPECT_EQ(test::ReadFile(File), "[A]\nk=1\n");
}

TEST_F(ProfileFile, RefusesTextThatWouldNotReadBackAsWritten) {
    test::WriteFile(File, "[A]\nk=1\n");
    EXPECT_FALSE(WritePrivateProfileText("A", "k", "1\n[B]", File.c_str()));
    EXPECT_FALSE(WritePrivateProfileText("A", "x=y", "1", File.c_str()));
    EXPECT_FALSE(WritePrivateProfileText("A]", "k", "1", File.c_str()));
    EXPECT_FALSE(WritePrivateProfileText(nullptr, "k", "1", File.c_str()));
    EXPECT_EQ(test::ReadFile(File), "[A]\nk=1\n");
}

// A huge file named like the settings (a disk image, a log) is not taken for
// them: reading it key by key would take minutes and its size in memory.
TEST_F(ProfileFile, AFileBeyondTheSizeLimitIsNeitherReadNorWritten) {
    char value[16];
    for (const std::uintmax_t size : {std::uintmax_t{1} << 20, (std::uintmax_t{1} << 20) + 1}) {
        test::WriteFile(File, "[A]\nk=1\n");
        fs::resize_file(File, size);  // zero bytes after the key's line
        const bool withinLimit = size <= std::uintmax_t{1} << 20;
        GetPrivateProfileText("A", "k", "default", value, sizeof value, File.c_str());
        EXPECT_STREQ(value, withinLimit ? "1" : "default") << size;
        EXPECT_EQ(WritePrivateProfileText("A", "k", "2", File.c_str()), withinLimit) << size;
        if (!withinLimit) {
            EXPECT_EQ(errno, EFBIG);
            EXPECT_EQ(fs::file_size(File), size);
            EXPECT_EQ(test::ReadFile(File).substr(0, 8), "[A]\nk=1\n");
        }
    }
}

// Writers in two processes, each setting its own keys many times: a writer
// that read the file before the other's rename would lose the other's keys.
TEST_F(ProfileFile, ConcurrentWritersInTwoProcessesLoseNothing) {
    constexpr int kKeys = 60;
    test::WriteFile(File, "[A]\n");
    const auto writeKeys = [&](const char* prefix) {
        bool ok = true;
        for (int i = 0; i < kKeys; ++i) {
            const std::string key = prefix + std::to_string(i);
            ok = WritePrivateProfileText("A", key.c_str(), "1", File.c_str()) && ok;
        }
        return ok;
    };
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) ::_exit(writeKeys("child") ? 0 : 1);
    const bool parentOk = writeKeys("parent");
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    EXPECT_TRUE(parentOk);
    for (const char* prefix : {"child", "parent"}) {
        for (int i = 0; i < kKeys; ++i) {
            const std::string key = prefix + std::to_string(i);
            char value[4];
            EXPECT_EQ(GetPrivateProfileText("A", key.c_str(), "", value, 4, File.c_str()), 1u)
                << key;
        }
    }
}

// Copies of the program reading a hard-linked file (written in place) while
// others change a key near its start, which moves every byte after it: each
// reader sees one whole text, never the new one's start with the old one's
// tail (the last line has no line end, so a tail would lengthen its value).
// The key fills most of the file, so that most places where a write can stand
// half done cut its value.
// The writers run at a low priority, so that the busy readers often
// stop them half-way.
TEST_F(ProfileFile, ReadersNeverSeeAFileWrittenInPlaceHalfDone) {
    constexpr int kWriters = 2, kReaders = 4, kWrites = 8;
    const std::string values[] = {std::string(700000, 'a'), std::string(600000, 'b')};
    test::WriteFile(File, "[A]\r\nk=" + values[0] + "\r\nf=" + std::string(140000, 'f') +
                              "\r\nz=end");  // 850 KB
    fs::create_hard_link(File, Dir / "other-name.ini");
    const std::string done = Dir / "done";
    const auto whole = [&](qv::ProfileFile& store) {
        std::string value(values[0].size() + 2, '\0');
        const DWORD length = store.Read("A", "k", "", value.data(), value.size());
        value.resize(length);
        char end[8];
        store.Read("A", "z", "", end, sizeof end);
        const bool unread = value.empty() && end[0] == '\0';  // locked beyond the wait
        return unread || ((value == values[0] || value == values[1]) && std::string(end) == "end");
    };
    std::vector<pid_t> children;
    for (int n = 0; n < kWriters + kReaders; ++n) {
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child > 0) {
            children.push_back(child);
            continue;
        }
        // A writer's result is how many of its writes went through: one may
        // fail when another holds the lock beyond the wait.
        if (n < kWriters) {
            int written = 0;
            ::setpriority(PRIO_PROCESS, 0, 10);
            for (int i = 0; i < kWrites; ++i)
                written += WritePrivateProfileText("A", "k", values[(i + n + 1) % 2].c_str(),
                                                   File.c_str());
            ::_exit(written);
        }
        bool ok = true;
        while (ok && !fs::exists(done)) {
            qv::ProfileFile store(File.c_str());
            ok = whole(store);
        }
        ::_exit(ok ? 0 : 1);
    }
    int written = 0, halves = 0;
    for (int n = 0; n < kWriters + kReaders; ++n) {
        if (n == kWriters) test::WriteFile(done, "");
        int status = 0;
        ASSERT_EQ(::waitpid(children[n], &status, 0), children[n]);
        ASSERT_TRUE(WIFEXITED(status));
        (n < kWriters ? written : halves) += WEXITSTATUS(status);
    }
    EXPECT_EQ(halves, 0) << "readers that saw half a file";
    EXPECT_GT(written, kWrites / 2) << "writes that went through";
    char end[8];
    EXPECT_EQ(GetPrivateProfileText("A", "z", "", end, sizeof end, File.c_str()), 3u);
}

// A lock that is never let go (a stopped process, any program locking the
// file) costs a read or a write its wait, not the program its run; the file
// stays whole. A store that could not read the file does not act on the
// defaults it read instead: the report would delete a "missing" key.
TEST_F(ProfileFile, ReadersAndWritersGiveUpOnALockThatIsNeverLetGo) {
    const std::string text = "[QUORVANT]\nPosition=0\nShowK=0000\n";
    test::WriteFile(File, text);
    const int holder = ::open(File.c_str(), O_RDONLY | O_CLOEXEC);
    ASSERT_GE(holder, 0);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);  // another open file: the writer's flock conflicts
    const auto start = std::chrono::steady_clock::now();
    EXPECT_FALSE(WritePrivateProfileText("QUORVANT", "Position", nullptr, File.c_str()));
    qv::ProfileFile store(File.c_str());
    char value[8];
    EXPECT_EQ(store.Read("QUORVANT", "ShowK", "none", value, sizeof value), 4u);
    EXPECT_STREQ(value, "none");
    EXPECT_FALSE(store.Write("QUORVANT", "Position", nullptr));
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(3));
    ::close(holder);
    EXPECT_FALSE(store.Write("QUORVANT", "Position", nullptr));
    EXPECT_EQ(test::ReadFile(File), text);
    EXPECT_TRUE(WritePrivateProfileText("QUORVANT", "Position", nullptr, File.c_str()));
    EXPECT_EQ(test::ReadFile(File), "[QUORVANT]\nShowK=0000\n");
}

TEST(SystemProfile, LivesInWinIniOfTheConfigurationFolder) {
    const test::TempDir config;
    const std::string saved = std::getenv("XDG_CONFIG_HOME") ? std::getenv("XDG_CONFIG_HOME") : "";
    ::setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    EXPECT_TRUE(WriteSystemProfileText("QUORVANT", "INIPATH", "/some/where"));
    EXPECT_EQ(test::ReadFile(config / "win.ini"), "[QUORVANT]\r\nINIPATH=/some/where\r\n");
    char value[32];
    EXPECT_EQ(GetSystemProfileText("quorvant", "inipath", "", value, sizeof value), 11u);
    EXPECT_STREQ(value, "/some/where");

    // A relative folder is not a configuration folder: the one under HOME counts.
    const test::TempDir home;
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    ::setenv("XDG_CONFIG_HOME", "relative", 1);
    ::setenv("HOME", home.path().c_str(), 1);
    fs::create_directory(home.path() / ".config");
    EXPECT_TRUE(WriteSystemProfileText("QUORVANT", "INIPATH", "x"));
    EXPECT_TRUE(fs::exists(home.path() / ".config/win.ini"));
    ::setenv("HOME", savedHome.c_str(), 1);
    ::setenv("XDG_CONFIG_HOME", saved.c_str(), 1);
}

}  // namespace
}  // namespace qv
