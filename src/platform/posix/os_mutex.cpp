#include "platform/os_mutex.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <climits>
#include <condition_variable>
#include <map>
#include <mutex>
#include <new>
#include <optional>
#include <set>
#include <string>
#include <utility>

#include "platform/posix/file_helpers.h"

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
//
// A thread that ends while it owns a mutex, named or not, leaves it abandoned,
// as on Windows: a thread-local object's destructor runs as the thread ends and
// frees what it still owns, marked abandoned. A robust pthread mutex in shared
// memory would see the owner's end by itself, but the kernel writes into its
// memory when the owner ends, so it must stay mapped (or allocated) as long as
// any thread could own it, and closing an owned mutex would leave the kernel
// and the C library a dangling entry in the owner's list of robust mutexes.

namespace qv {
namespace {

using Clock = std::chrono::steady_clock;
constexpr off_t kPresenceByte = 0;
constexpr off_t kOwnerByte = 1;
constexpr char kHeld = 'H';
constexpr char kFree = 'F';

// Lives as long as its thread, from the thread's first request on, and its
// destructor runs when the thread ends: every mutex that thread still owns
// is then abandoned. Its address is the thread's mark of ownership, which a
// thread that ended never keeps (a new thread may get the ended one's id).
struct ThreadLife {
    ~ThreadLife();
};
thread_local ThreadLife ThisThread;

class OsMutexObject {
  public:
    virtual ~OsMutexObject() = default;

    OsWait Wait(int timeout) {
        const std::optional<Clock::time_point> deadline =
            timeout < 0 ? std::nullopt
                        : std::optional<Clock::time_point>(Clock::now() +
                                                           std::chrono::milliseconds(timeout));
        const ThreadLife* self = &ThisThread;
        std::unique_lock<std::mutex> lock(Guard);
        ForgetParentsOwnership();
        if (Depth > 0 && Owner == self) {
            ++Depth;
            return OsWait::Obtained;
        }
        const auto isFree = [&] { return Depth == 0 && !Claimed; };
        if (!deadline)
            Freed.wait(lock, isFree);
        else if (!Freed.wait_until(lock, *deadline, isFree))
            return OsWait::TimedOut;
        // This thread alone goes on to the system-wide part; the others wait.
        Claimed = true;
        OwnerProcess = ::getpid();
        lock.unlock();
        const OsWait result = AcquireSystemWide(deadline);
        lock.lock();
        Claimed = false;
        if (result == OsWait::Obtained || result == OsWait::Abandoned) {
            Owner = self;
            OwnerProcess = ::getpid();
            Depth = 1;
        } else {
            Freed.notify_one();
        }
        return result;
    }

    bool Release() {
        std::unique_lock<std::mutex> lock(Guard);
        ForgetParentsOwnership();
        if (Depth == 0 || Owner != &ThisThread) return false;
        if (--Depth == 0) Free(lock, false);
        return true;
    }

    // Its owner thread ended without releasing it.
    void AbandonIfOwnedBy(const ThreadLife* ended) {
        std::unique_lock<std::mutex> lock(Guard);
        ForgetParentsOwnership();
        if (Depth > 0 && Owner == ended) Free(lock, true);
    }

  protected:
    virtual OsWait AcquireSystemWide(std::optional<Clock::time_point> deadline) = 0;
    // An abandoned mutex tells its next owner so.
    virtual void ReleaseSystemWide(bool abandoned) = 0;

  private:
    // In a forked child the state copied from the parent names an owner of the
    // parent (the forking thread's copy included); the child owns nothing.
    void ForgetParentsOwnership() {
        if (Depth == 0 && !Claimed) return;
        if (OwnerProcess == ::getpid()) return;
        Depth = 0;
        Owner = nullptr;
        Claimed = false;
    }

    void Free(std::unique_lock<std::mutex>& lock, bool abandoned) {
        Depth = 0;
        ReleaseSystemWide(abandoned);
        Owner = nullptr;
        lock.unlock();
        Freed.notify_one();
    }

    std::mutex Guard;
    std::condition_variable Freed;
    const ThreadLife* Owner = nullptr;
    pid_t OwnerProcess = ::getpid();  // of Owner, and of a thread that set Claimed
    unsigned Depth = 0;
    bool Claimed = false;  // a thread of this process is acquiring the system-wide part
};

// Every mutex object of the process, so that the end of a thread finds those
// it owns. Never destroyed: threads may end after the static objects are gone.
std::mutex LiveGuard;
std::set<OsMutexObject*>& LiveMutexes() {
    static auto* live = new std::set<OsMutexObject*>;
    return *live;
}

ThreadLife::~ThreadLife() {
    std::lock_guard<std::mutex> lock(LiveGuard);
    for (OsMutexObject* mutex : LiveMutexes()) mutex->AbandonIfOwnedBy(this);
}

// Only mutexes that are known to the end of a thread are handed out.
HANDLE Tracked(OsMutexObject* mutex) {
    std::lock_guard<std::mutex> lock(LiveGuard);
    LiveMutexes().insert(mutex);
    return mutex;
}

class LocalMutex final : public OsMutexObject {
  protected:
    OsWait AcquireSystemWide(std::optional<Clock::time_point>) override {
        return std::exchange(Abandoned, false) ? OsWait::Abandoned : OsWait::Obtained;
    }
    void ReleaseSystemWide(bool abandoned) override { Abandoned = abandoned; }

  private:
    bool Abandoned = false;  // set as its owner ended, read by the next owner
};

int RetryOnSignal(int fd, int command, flock& region) {
    int result;
    do {
        result = ::fcntl(fd, command, &region);
    } while (result < 0 && errno == EINTR);
    return result;
}

// Locks (F_RDLCK, F_WRLCK) or unlocks (F_UNLCK) one byte; `wait` blocks until
// it can. The l_pid field must be 0 for open file description locks.
bool LockByte(int fd, off_t byte, short type, bool wait) {
    flock region{};
    region.l_type = type;
    region.l_whence = SEEK_SET;
    region.l_start = byte;
    region.l_len = 1;
    return RetryOnSignal(fd, wait ? F_OFD_SETLKW : F_OFD_SETLK, region) == 0;
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

class NamedMutex final : public OsMutexObject {
  public:
    // Opens the name's lock file and takes its place among the processes that
    // have it open; on failure Fd stays -1 and errno tells why.
    explicit NamedMutex(const std::string& name) : Name(name) { Open(); }

    ~NamedMutex() override {
        if (Fd < 0) return;
        if (OpenedBy != ::getpid()) {  // the parent's description: its locks stay
            ::close(Fd);
            return;
        }
        // The last one to close removes the file; the lock keeps openers out.
        if (LockByte(Fd, kPresenceByte, F_WRLCK, false)) ::unlink(Path.c_str());
        ::close(Fd);
    }

    bool IsOpen() const { return Fd >= 0; }
    bool ExistedAlready() const { return Existed; }
    const std::string& QueryName() const { return Name; }
    unsigned References = 1;

  protected:
    OsWait AcquireSystemWide(std::optional<Clock::time_point> deadline) override {
        if (OpenedBy != ::getpid()) OpenAgainInChild();
        if (Fd < 0) return OsWait::Failed;
        if (!deadline) {
            if (!LockByte(Fd, kOwnerByte, F_WRLCK, true)) return OsWait::Failed;
        } else if (!RetryUntil(*deadline,
                               [&] { return LockByte(Fd, kOwnerByte, F_WRLCK, false); })) {
            return IsLockBusy(errno) ? OsWait::TimedOut : OsWait::Failed;
        }
        char state = kFree;
        const bool abandoned = ::pread(Fd, &state, 1, kOwnerByte) == 1 && state == kHeld;
        WriteState(kHeld);
        return abandoned ? OsWait::Abandoned : OsWait::Obtained;
    }

    // An abandoned mutex keeps its 'H' for the next owner, of any process.
    void ReleaseSystemWide(bool abandoned) override {
        if (OpenedBy != ::getpid()) return;  // owned through the parent's description
        if (!abandoned) WriteState(kFree);
        LockByte(Fd, kOwnerByte, F_UNLCK, false);
    }

  private:
    // A forked child takes a place of its own among the processes that have the
    // name open; the inherited descriptor is closed, not unlocked.
    void OpenAgainInChild() {
        if (Fd >= 0) ::close(Fd);
        Fd = -1;
        Open();
    }

    void Open() {
        OpenedBy = ::getpid();
        const std::string directory = RuntimeDirectory();
        if (!PrivateDirectory(directory)) return;
        Path = directory + "/" + FileNameOf(Name);
        if (Path.size() >= PATH_MAX) {
            errno = ENAMETOOLONG;
            return;
        }
        while (true) {
            Fd = ::open(Path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0600);
            if (Fd < 0) return;
            Existed = !LockByte(Fd, kPresenceByte, F_WRLCK, false);
            // Waits only while another opener or a closer holds byte 0 alone.
            if (Existed && !LockByte(Fd, kPresenceByte, F_RDLCK, true)) break;
            if (SameFile(Fd, Path)) {
                if (!Existed) {
                    WriteState(kFree);  // a fresh mutex, whatever a crash left behind
                    LockByte(Fd, kPresenceByte, F_RDLCK, false);
                }
                return;
            }
            ::close(Fd);  // removed by its last closer meanwhile: start over
        }
        const int error = errno;
        ::close(Fd);
        Fd = -1;
        errno = error;
    }

    void WriteState(char state) {
        const ssize_t written = ::pwrite(Fd, &state, 1, kOwnerByte);
        (void)written;  // a byte of an opened regular file; the lock is what counts
    }

    std::string Name;
    std::string Path;
    int Fd = -1;
    pid_t OpenedBy = 0;  // the process whose open file description Fd refers to
    bool Existed = false;
};

// The named mutexes this process has open, so that every creation of one name
// shares one object, as a system's named object would be shared.
std::mutex RegistryGuard;
std::map<std::string, NamedMutex*>& OpenNames() {
    static auto* names = new std::map<std::string, NamedMutex*>;  // outlives static objects
    return *names;
}

OsMutexCreation CreateNamed(const std::string& name) {
    OsMutexCreation created;
    std::lock_guard<std::mutex> lock(RegistryGuard);
    auto& names = OpenNames();
    if (const auto found = names.find(name); found != names.end()) {
        ++found->second->References;
        created.handle = static_cast<OsMutexObject*>(found->second);
        created.alreadyExisted = true;
        return created;
    }
    auto* mutex = new (std::nothrow) NamedMutex(name);
    if (!mutex) {
        created.error = ENOMEM;
    } else if (!mutex->IsOpen()) {
        created.error = static_cast<DWORD>(errno);
        delete mutex;
    } else {
        names[name] = mutex;
        created.handle = Tracked(mutex);
        created.alreadyExisted = mutex->ExistedAlready();
    }
    return created;
}

OsMutexObject* AsObject(HANDLE handle) {
    return static_cast<OsMutexObject*>(handle);
}

}  // namespace

OsMutexCreation CreateOsMutex(const char* name) {
    if (name) return CreateNamed(name);
    OsMutexCreation created;
    if (auto* mutex = new (std::nothrow) LocalMutex)
        created.handle = Tracked(mutex);
    else
        created.error = ENOMEM;
    return created;
}

void CloseOsMutex(HANDLE handle) {
    OsMutexObject* object = AsObject(handle);
    if (auto* named = dynamic_cast<NamedMutex*>(object)) {
        std::lock_guard<std::mutex> lock(RegistryGuard);
        if (--named->References > 0) return;
        OpenNames().erase(named->QueryName());
    }
    {
        std::lock_guard<std::mutex> lock(LiveGuard);
        LiveMutexes().erase(object);
    }
    delete object;
}

OsWait WaitOsMutex(HANDLE handle, int timeout) {
    return AsObject(handle)->Wait(timeout);
}

OsWait WaitOsMutexPumping(HANDLE handle, int timeout) {
    return WaitOsMutex(handle, timeout);
}

bool ReleaseOsMutex(HANDLE handle) {
    return AsObject(handle)->Release();
}

}  // namespace qv
