#include "platform/posix/lock_file_mutex.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>

#include "platform/posix/lock_wait.h"

// A named mutex lives in a small lock file in a directory of the user's own,
// /tmp/quorvant-UID (mode 0700, refused when it belongs to anyone else). It is
// the same directory for every process of the user, whatever its session: a
// folder chosen by what exists at the moment (/run/user/UID comes and goes with
// the user's logins) would give one name two mutexes. Open file description
// locks (fcntl F_OFD_*) on it are held by the opened file, not by a process, so
// the kernel drops them the moment the last descriptor closes, also when the
// process dies by SIGKILL: nothing can stay locked after a crash.
//
//   byte 0 - every process that has the name open holds a shared lock on it. A
//            creator that gets an exclusive lock on it is the only one, so the
//            name did not exist yet; otherwise it existed already.
//   byte 1 - the owner holds an exclusive lock on it. The byte's value is 'H'
//            while owned and 'F' once released: a new owner that finds 'H' took
//            over from an owner that died (or closed) without releasing, or
//            whose thread ended without releasing, and is told the mutex was
//            abandoned.
//
// The last one to close removes the file; an opener that finds its file removed
// or replaced under it starts over, so no two processes ever lock different
// files of the same name. Within the process one object per name is shared by
// every creation of that name, and its threads take turns as with a
// process-local mutex; only the thread that owns it holds the file lock.
//
// Ownership does not pass through fork: a child's copy of an object owned in
// its parent is free in the child, and a named one opens its lock file again
// before the child uses it, since the inherited descriptor shares the parent's
// open file description, and with it the parent's locks.

namespace qv {
namespace {

constexpr off_t kPresenceByte = 0;
constexpr off_t kOwnerByte = 1;
constexpr char kHeld = 'H';
constexpr char kFree = 'F';

// Locks (F_RDLCK, F_WRLCK) or unlocks (F_UNLCK) one byte; `wait` blocks until
// it can. The l_pid field must be 0 for open file description locks.
bool LockByte(int fd, off_t byte, short type, bool wait) {
    flock region{};
    region.l_type = type;
    region.l_whence = SEEK_SET;
    region.l_start = byte;
    region.l_len = 1;
    return RetryAfterSignal(
               [&] { return ::fcntl(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, &region); }) == 0;
}

// A directory of this user alone, made when missing.
bool PrivateDirectory(const std::string& path) {
    if (::mkdir(path.c_str(), 0700) != 0 && errno != EEXIST) return false;
    struct stat status {};
    if (::lstat(path.c_str(), &status) != 0) return false;
    if (!S_ISDIR(status.st_mode) || status.st_uid != ::getuid() || (status.st_mode & 077) != 0) {
        errno = EACCES;
        return false;
    }
    return true;
}

std::string RuntimeDirectory() {
    return "/tmp/quorvant-" + std::to_string(::getuid());
}

// Letters, digits, '-', '_' and '.' stand for themselves (a leading '.' does
// not); every other byte becomes %XX, so that any name is one file name.
std::string FileNameOf(const std::string& name) {
    std::string file;
    for (const unsigned char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '-' || c == '_' ||
                           (c == '.' && !file.empty());
        if (plain) {
            file += static_cast<char>(c);
        } else {
            file += '%';
            file += "0123456789ABCDEF"[c >> 4];
            file += "0123456789ABCDEF"[c & 0xF];
        }
    }
    return file + ".mutex";
}

bool SameFile(int fd, const std::string& path) {
    struct stat opened {
    }, named{};
    return ::fstat(fd, &opened) == 0 && ::stat(path.c_str(), &named) == 0 &&
           opened.st_dev == named.st_dev && opened.st_ino == named.st_ino;
}

}  // namespace

LockFileMutex::LockFileMutex(const std::string& name) : Name(name) {
    Open();
}

LockFileMutex::~LockFileMutex() {
    if (!Fd.IsOpen()) return;
    if (OpenedBy != ::getpid()) return;  // the parent's description: its locks stay
    // The last one to close removes the file; the lock keeps openers out.
    if (LockByte(Fd.Get(), kPresenceByte, F_WRLCK, false)) ::unlink(Path.c_str());
}

OsWait LockFileMutex::AcquireSystemWide(std::optional<Clock::time_point> deadline) {
    if (OpenedBy != ::getpid()) OpenAgainInChild();
    if (!Fd.IsOpen()) return OsWait::Failed;
    const int fd = Fd.Get();
    if (!deadline) {
        if (!LockByte(fd, kOwnerByte, F_WRLCK, true)) return OsWait::Failed;
    } else if (!RetryWhileBusy(*deadline,
                               [fd] { return LockByte(fd, kOwnerByte, F_WRLCK, false); })) {
        return IsLockBusy(errno) ? OsWait::TimedOut : OsWait::Failed;
    }
    char state = kFree;
    const bool abandoned = ::pread(fd, &state, 1, kOwnerByte) == 1 && state == kHeld;
    WriteState(kHeld);
    return abandoned ? OsWait::Abandoned : OsWait::Obtained;
}

// An abandoned mutex keeps its 'H' for the next owner, of any process.
void LockFileMutex::ReleaseSystemWide(bool abandoned) {
    if (OpenedBy != ::getpid()) return;  // owned through the parent's description
    if (!abandoned) WriteState(kFree);
    LockByte(Fd.Get(), kOwnerByte, F_UNLCK, false);
}

// A forked child takes a place of its own among the processes that have the
// name open; the inherited descriptor is closed, not unlocked.
void LockFileMutex::OpenAgainInChild() {
    Fd.Reset();
    Open();
}

void LockFileMutex::Open() {
    OpenedBy = ::getpid();
    const std::string directory = RuntimeDirectory();
    if (!PrivateDirectory(directory)) return;
    Path = directory + "/" + FileNameOf(Name);
    if (Path.size() >= PATH_MAX) {
        errno = ENAMETOOLONG;
        return;
    }
    for (;;) {
        Fd.Reset(::open(Path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600));
        if (!Fd.IsOpen()) return;
        Existed = !LockByte(Fd.Get(), kPresenceByte, F_WRLCK, false);
        // Waits only while another opener or a closer holds byte 0 alone.
        if (Existed && !LockByte(Fd.Get(), kPresenceByte, F_RDLCK, true)) {
            Fd.Reset();  // errno tells why
            return;
        }
        if (SameFile(Fd.Get(), Path)) {
            if (!Existed) {
                WriteState(kFree);  // a fresh mutex, whatever a crash left behind
                LockByte(Fd.Get(), kPresenceByte, F_RDLCK, false);
            }
            return;
        }
        // Removed by its last closer meanwhile: start over.
    }
}

void LockFileMutex::WriteState(char state) {
    const ssize_t written = ::pwrite(Fd.Get(), &state, 1, kOwnerByte);
    (void)written;  // a byte of an opened regular file; the lock is what counts
}

}  // namespace qv
