// The profile functions over our own INI files. Reads take the file as it is;
// writes are serialised between processes by a lock on the file, re-read the
// file under the lock, change only the lines concerned and replace the file
// atomically, so that a reader never sees half a file and no writer loses
// another's change.
#include "platform/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/posix/file_helpers.h"
#include "platform/posix/ini_text.h"
#include "platform/posix/read_file.h"

namespace qv {
namespace {

using Edit = std::function<std::string(std::string_view)>;

constexpr int kMaxLinkHops = 40;
// Settings files are a few kilobytes. A huge file under their name (a disk
// image, a log) is not taken for one: reading it for each of dozens of keys
// would take minutes.
constexpr std::size_t kMaxFileBytes = std::size_t{1} << 20;

std::string SystemProfilePath() {
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && config[0] == '/') return std::string(config) + "/win.ini";
    // The program is linked statically, where the user database cannot be
    // asked: without HOME there is no system profile.
    const char* home = std::getenv("HOME");
    return home && home[0] == '/' ? std::string(home) + "/.config/win.ini" : std::string();
}

// The file a path leads to: symbolic links are followed to their target, also
// to one that does not exist yet, so that the link stays a link.
std::optional<std::string> FollowLinks(std::string path) {
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat status {};
        if (::lstat(path.c_str(), &status) != 0 || !S_ISLNK(status.st_mode)) return path;
        std::vector<char> target(static_cast<std::size_t>(status.st_size) + 2);
        const ssize_t length = ::readlink(path.c_str(), target.data(), target.size());
        if (length < 0) return std::nullopt;
        if (static_cast<std::size_t>(length) >= target.size()) continue;  // changed meanwhile
        const std::string link(target.data(), static_cast<std::size_t>(length));
        path = link[0] == '/' ? link : DirectoryOf(path).append(link);
    }
    errno = ELOOP;
    return std::nullopt;
}

bool WriteAll(int fd, std::string_view text) {
    while (!text.empty()) {
        const ssize_t written = ::write(fd, text.data(), text.size());
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        text.remove_prefix(static_cast<std::size_t>(written));
    }
    return true;
}

// The file at Path, open and locked against other writers. Whoever replaces
// the file does so under the lock of the file it replaces, so the lock counts
// only while Path still names the locked file; otherwise it is taken again.
class LockedFile {
  public:
    LockedFile(const std::string& path, bool create) : Path(path) {
        for (;;) {
            Fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
            if (Fd < 0 && errno == ENOENT && create) {
                Fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
                Created = Fd >= 0;
                if (Fd < 0 && errno == EEXIST) continue;
            }
            if (Fd < 0) return;
            if (LockAndCheck()) return;
            Close();
            if (Error != 0) return;
        }
    }
    ~LockedFile() {
        if (Fd >= 0) ::close(Fd);
    }
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;

    int fd() const { return Fd; }
    bool created() const { return Created; }
    const struct stat& status() const { return Status; }

    // Undoes the creation of a file that was never written.
    void RemoveIfCreated() {
        if (Created) ::unlink(Path.c_str());
    }

  private:
    bool LockAndCheck() {
        struct stat atPath {};
        if (!LockExclusive(Fd) || ::fstat(Fd, &Status) != 0) {
            Error = errno;
            return false;
        }
        const bool current = ::stat(Path.c_str(), &atPath) == 0 && atPath.st_dev == Status.st_dev &&
                             atPath.st_ino == Status.st_ino;
        Created = Created && current;
        return current;
    }
    void Close() {
        ::close(Fd);
        Fd = -1;
        if (Error != 0) errno = Error;
    }

    std::string Path;
    int Fd = -1;
    bool Created = false;
    int Error = 0;
    struct stat Status {};
};

// Writes Text to a new file beside Target with Target's mode and owner, and
// renames it over Target.
bool ReplaceFile(const std::string& target, std::string_view text, const struct stat& status) {
    const std::size_t slash = target.rfind('/');
    const std::string name = slash == std::string::npos ? target : target.substr(slash + 1);
    std::string temporary = DirectoryOf(target) + "." + name + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    if (status.st_uid != ::geteuid() || status.st_gid != ::getegid())
        (void)!::fchown(fd, status.st_uid, status.st_gid);  // best effort: only root may
    const bool written =
        WriteAll(fd, text) && ::fchmod(fd, status.st_mode & 07777) == 0 && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (written && closed && ::rename(temporary.c_str(), target.c_str()) == 0) return true;
    const int error = errno;
    ::unlink(temporary.c_str());
    errno = error;
    return false;
}

// Applies the edit to the file at Path. An edit that changes nothing writes
// nothing; a file that is missing is created only when Create is set.
BOOL EditFile(const std::string& path, const Edit& edit, bool create) {
    const std::optional<std::string> target = FollowLinks(path);
    if (!target) return FALSE;
    if (const auto current = ReadWholeFile(target->c_str(), kMaxFileBytes);
        current && edit(*current) == *current)
        return TRUE;
    LockedFile file(*target, create);
    if (file.fd() < 0) return !create && errno == ENOENT ? TRUE : FALSE;
    const std::optional<std::string> text = ReadFromStart(file.fd(), kMaxFileBytes);
    if (!text) return FALSE;
    const std::string edited = edit(*text);
    if (edited == *text && !file.created()) return TRUE;
    if (ReplaceFile(*target, edited, file.status())) return TRUE;
    const int error = errno;
    file.RemoveIfCreated();
    errno = error;
    return FALSE;
}

DWORD ReadText(const std::string& path, const char* Section, const char* Key, const char* Default,
               char* Buffer, DWORD Size) {
    std::optional<std::string> value;
    if (Section && Key && !path.empty()) {
        if (const auto text = ReadWholeFile(path.c_str(), kMaxFileBytes))
            value = ini::FindValue(*text, Section, Key);
    }
    return ini::PlaceInBuffer(value ? *value : Default ? Default : "", Buffer, Size);
}

BOOL WriteText(const std::string& path, const char* Section, const char* Key, const char* Value) {
    const bool valid = !path.empty() && Section && ini::IsValidSectionName(Section) &&
                       (!Key || ini::IsValidKeyName(Key)) && (!Value || ini::IsValidValue(Value));
    if (!valid) {
        errno = path.empty() ? ENOENT : EINVAL;
        return FALSE;
    }
    const std::string section = Section;
    if (!Key)
        return EditFile(
            path, [&](std::string_view text) { return ini::WithoutSection(text, section); }, false);
    const std::string key = Key;
    if (!Value)
        return EditFile(
            path, [&](std::string_view text) { return ini::WithoutKey(text, section, key); },
            false);
    const std::string value = Value;
    return EditFile(
        path, [&](std::string_view text) { return ini::WithValue(text, section, key, value); },
        true);
}

}  // namespace

DWORD GetPrivateProfileText(const char* Section, const char* Key, const char* Default, char* Buffer,
                            DWORD Size, const char* File) {
    return ReadText(File ? File : "", Section, Key, Default, Buffer, Size);
}

DWORD GetSystemProfileText(const char* Section, const char* Key, const char* Default, char* Buffer,
                           DWORD Size) {
    return ReadText(SystemProfilePath(), Section, Key, Default, Buffer, Size);
}

BOOL WritePrivateProfileText(const char* Section, const char* Key, const char* Value,
                             const char* File) {
    return WriteText(File ? File : "", Section, Key, Value);
}

BOOL WriteSystemProfileText(const char* Section, const char* Key, const char* Value) {
    return WriteText(SystemProfilePath(), Section, Key, Value);
}

}  // namespace qv
