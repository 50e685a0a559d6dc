#include "platform/posix/safe_rewrite.h"

#include <fcntl.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <utility>
#include <vector>

#include "platform/posix/lock_wait.h"
#include "platform/posix/path_parts.h"
#include "platform/posix/read_file.h"

namespace qv {
namespace {

constexpr int kMaxLinkHops = 40;
// How long a writer waits for another's lock on the file. A write takes
// milliseconds; a holder that keeps the lock longer (a stopped process, any
// program holding a lock on the file) must not stall the report, whose
// writes then fail and leave the file as it was.
constexpr std::chrono::milliseconds kLockWait(500);

bool WriteAllAt(int fd, std::string_view text, off_t offset) {
    return WriteAll(fd, text.data(), text.size(), offset);
}

// Writes the text over the file's own bytes. The old text is read back first,
// to restore it if the overwrite fails half-way.
bool WriteInPlace(int fd, std::string_view text) {
    const std::optional<std::string> old = ReadFromStart(fd);
    if (!old) return false;
    const auto oldSize = static_cast<off_t>(old->size());
    const auto newSize = static_cast<off_t>(text.size());
    if (newSize > oldSize) {
        if (const int error = ::posix_fallocate(fd, 0, newSize); error != 0) {
            (void)!::ftruncate(fd, oldSize);
            errno = error;
            return false;
        }
    }
    if (WriteAllAt(fd, text, 0) && ::ftruncate(fd, newSize) == 0 && ::fsync(fd) == 0) return true;
    const SavedErrno cause;
    if (WriteAllAt(fd, *old, 0)) (void)!::ftruncate(fd, oldSize);
    (void)!::fsync(fd);
    return false;
}

// The new file gets the old one's owner and group; only root may give any.
bool KeepOwner(int fd, const struct stat& status) {
    struct stat made {};
    if (::fstat(fd, &made) != 0) return false;
    return (made.st_uid == status.st_uid && made.st_gid == status.st_gid) ||
           ::fchown(fd, status.st_uid, status.st_gid) == 0;
}

// The extended attributes of an open file, by name. A POSIX ACL is the
// attribute system.posix_acl_access, so it comes with them: the kernel's calls
// on the open file keep it whole without linking libacl, which would only
// translate the same attribute to and from text. A file system without
// attributes has none.
using Attributes = std::vector<std::pair<std::string, std::string>>;

// One list or value of the kernel's: asked for its size, then read, again
// while it grows meanwhile.
template <typename Call>
std::optional<std::string> AttributeBytes(Call call) {
    for (;;) {
        const ssize_t size = call(nullptr, 0);
        if (size < 0) return std::nullopt;
        std::string bytes(static_cast<std::size_t>(size), '\0');
        const ssize_t got = call(bytes.data(), bytes.size());
        if (got >= 0) {
            bytes.resize(static_cast<std::size_t>(got));
            return bytes;
        }
        if (errno != ERANGE) return std::nullopt;
    }
}

std::optional<Attributes> AttributesOf(int fd) {
    const auto names =
        AttributeBytes([fd](char* list, std::size_t size) { return ::flistxattr(fd, list, size); });
    if (!names) return errno == ENOTSUP ? std::optional<Attributes>(Attributes()) : std::nullopt;
    Attributes attributes;
    for (std::size_t at = 0; at < names->size(); at = names->find('\0', at) + 1) {
        const std::string name = names->c_str() + at;
        const auto value = AttributeBytes([&](char* bytes, std::size_t size) {
            return ::fgetxattr(fd, name.c_str(), bytes, size);
        });
        if (value)
            attributes.emplace_back(name, *value);
        else if (errno != ENODATA)  // removed meanwhile
            return std::nullopt;
    }
    return attributes;
}

// The new file gets exactly the old one's attributes: also none of those a
// folder's default ACL gave it, which the old file may not have. Only what
// the process may see can be kept: without privilege the kernel lists no
// trusted.* attribute.
bool KeepAttributes(int from, int to) {
    const std::optional<Attributes> old = AttributesOf(from), made = AttributesOf(to);
    if (!old || !made) return false;
    for (const auto& given : *made) {
        const bool kept = std::any_of(old->begin(), old->end(), [&](const auto& attribute) {
            return attribute.first == given.first;
        });
        if (!kept && ::fremovexattr(to, given.first.c_str()) != 0) return false;
    }
    for (const auto& [name, value] : *old)
        if (::fsetxattr(to, name.c_str(), value.data(), value.size(), 0) != 0) return false;
    return true;
}

// Refused: the folder does not let a new file take the old one's place, or
// the new file could not get the old one's owner or attributes; nothing has
// changed then.
enum class Replacement { Done, Refused, Failed };

bool IsRefusal(int error) {
    return error == EACCES || error == EPERM;
}

// Writes the text to a new file beside Target with the owner, attributes and
// mode of the file open as Old, and renames it over Target. The mode comes
// last: giving an owner or an ACL may clear its set-group-ID bit.
Replacement ReplaceFile(int old, const std::string& target, std::string_view text,
                        const struct stat& status) {
    const std::size_t slash = target.rfind('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temporary = FolderPrefixOf(target) + "." + name + ".XXXXXX";
    UniqueFd fd(::mkostemp(temporary.data(), O_CLOEXEC));
    if (!fd.IsOpen()) return IsRefusal(errno) ? Replacement::Refused : Replacement::Failed;
    const bool owned = KeepOwner(fd.Get(), status) && KeepAttributes(old, fd.Get());
    const bool written = owned && WriteAllAt(fd.Get(), text, 0) &&
                         ::fchmod(fd.Get(), status.st_mode & 07777) == 0 && ::fsync(fd.Get()) == 0;
    const bool closed = fd.Close();
    if (written && closed && ::rename(temporary.c_str(), target.c_str()) == 0)
        return Replacement::Done;
    const int error = errno;
    {
        const SavedErrno cause;
        ::unlink(temporary.c_str());
    }
    return !owned || (written && closed && IsRefusal(error)) ? Replacement::Refused
                                                             : Replacement::Failed;
}

}  // namespace

std::optional<std::string> FollowLinks(std::string path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
        std::vector<char> target(static_cast<std::size_t>(status.st_size) + 2);
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) return std::nullopt;
        if (static_cast<std::size_t>(length) >= target.size()) continue;  // changed meanwhile
        const std::string link(target.data(), static_cast<std::size_t>(length));
        path = link[0] == '/' ? link : FolderPrefixOf(path).append(link);
    }
    errno = ELOOP;
    return std::nullopt;
}

std::optional<std::string> ReadLocked(const std::string& path, std::size_t limit) {
    const UniqueFd fd(OpenRegularFile(path.c_str()));
    if (!fd.IsOpen()) return std::nullopt;
    if (LockShared(fd.Get(), kLockWait) || errno != EAGAIN) return ReadFromStart(fd.Get(), limit);
    return std::nullopt;  // the close lets go of the lock
}

LockedFile::LockedFile(const std::string& path, bool create) : Path(path) {
    for (;;) {
        Fd.Reset(OpenRegularFile(path.c_str(), true));
        if (!Fd.IsOpen() && errno == ENOENT && create) {
            Fd.Reset(::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666));
            Created = Fd.IsOpen();
            if (!Fd.IsOpen() && errno == EEXIST) continue;
        }
        if (!Fd.IsOpen()) return;
        if (!LockExclusive(Fd.Get(), kLockWait) || ::fstat(Fd.Get(), &Status) != 0) {
            Fd.Reset();  // errno tells why
            return;
        }
        if (IsStillAtPath()) return;
        Fd.Reset();
    }
}

// Whether the locked file is still the one Path names: a writer may have
// replaced it while this one waited for its lock.
bool LockedFile::IsStillAtPath() {
    struct stat atPath {};
    const bool current = ::stat(Path.c_str(), &atPath) == 0 && atPath.st_dev == Status.st_dev &&
                         atPath.st_ino == Status.st_ino;
    Created = Created && current;
    return current;
}

void LockedFile::RemoveIfCreated() {
    const SavedErrno cause;  // of the failed write
    if (Created) ::unlink(Path.c_str());
}

// A hard link shares the file itself: a new file would leave its other names
// on the old text.
bool RewriteFile(const LockedFile& file, const std::string& target, std::string_view text) {
    if (file.status().st_nlink > 1) return WriteInPlace(file.fd(), text);
    switch (ReplaceFile(file.fd(), target, text, file.status())) {
        case Replacement::Done:
            return true;
        case Replacement::Refused:
            return WriteInPlace(file.fd(), text);
        case Replacement::Failed:
            break;
    }
    return false;
}

}  // namespace qv
