#include "e2e/posix/mounts.h"

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <filesystem>

namespace qv::test {

bool EnterPrivateMountNamespace() {
    return ::unshare(CLONE_NEWNS) == 0 &&
           ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
}

bool EnterPrivatePidNamespace() {
    if (::unshare(CLONE_NEWNS | CLONE_NEWPID) != 0) return false;
    const pid_t child = ::fork();
    if (child < 0) return false;
    if (child > 0) {
        int status = 0;
        while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
        }
        ::_exit(WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status));
    }
    return ::mount("none", "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0 &&
           ::mount("proc", "/proc", "proc", MS_NOSUID | MS_NODEV | MS_NOEXEC, nullptr) == 0;
}

bool MountTmpfs(const std::string& where, const char* options) {
    std::error_code ignored;
    std::filesystem::create_directories(where, ignored);
    return ::mount("tmpfs", where.c_str(), "tmpfs", 0, options) == 0;
}

bool BindOver(const std::string& from, const std::string& to) {
    return ::mount(from.c_str(), to.c_str(), nullptr, MS_BIND, nullptr) == 0;
}

bool MakeReadOnly(const std::string& folder) {
    return BindOver(folder, folder) && ::mount(nullptr, folder.c_str(), nullptr,
                                               MS_BIND | MS_REMOUNT | MS_RDONLY, nullptr) == 0;
}

bool MountOverlay(const std::string& lower, const std::string& upper, const std::string& work,
                  const std::string& where) {
    const std::string options = "lowerdir=" + lower + ",upperdir=" + upper + ",workdir=" + work;
    return ::mount("overlay", where.c_str(), "overlay", 0, options.c_str()) == 0;
}

bool EnterRootWithProc(const std::string& root) {
    std::error_code ignored;
    std::filesystem::create_directories(root + "/proc", ignored);
    return ::mount("proc", (root + "/proc").c_str(), "proc", MS_NOSUID | MS_NODEV | MS_NOEXEC,
                   nullptr) == 0 &&
           ::chroot(root.c_str()) == 0 && ::chdir("/") == 0;
}

bool MountDeadFuse(const std::string& where) {
    const int fuse = ::open("/dev/fuse", O_RDWR);
    if (fuse < 0) return false;
    std::error_code ignored;
    std::filesystem::create_directories(where, ignored);
    const std::string options =
        "fd=" + std::to_string(fuse) + ",rootmode=40000,user_id=0,group_id=0";
    return ::mount("deadfs", where.c_str(), "fuse.deadfs", 0, options.c_str()) == 0;
}

}  // namespace qv::test
