// The profile functions over our own INI files. A file is read and parsed
// once; every read takes the kept text. Writes are serialised between
// processes by a lock on the file, start from the file's text on disk under
// the lock, change only the bytes concerned and replace the file atomically (a
// temporary file with the old one's owner, mode, ACL and extended attributes,
// renamed over it), so that no writer loses another's change. Where a new file
// would not be what the old one was (a hard link, an owner or attribute the
// process cannot give it) or the folder refuses the replacement (sticky, not
// writable), the file is written in place under the lock instead: grown
// first, so that a full disk fails before anything is overwritten, and put
// back as it was when the write fails. Readers hold a shared lock, which the
// writer's excludes, so that a reader never sees half a file.
#include "platform/profile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "diag/log.h"
#include "platform/posix/file_helpers.h"
#include "platform/posix/ini_encoding.h"
#include "platform/posix/ini_text.h"
#include "platform/posix/read_file.h"

namespace qv {
namespace {

constexpr int kMaxLinkHops = 40;
// How long a writer waits for another's lock on the file. A write takes
// milliseconds; a holder that keeps the lock longer (a stopped process, any
// program holding a lock on the file) must not stall the report, whose
// writes then fail and leave the file as it was.
constexpr std::chrono::milliseconds kLockWait(500);
// Settings files are a few kilobytes. A huge file under their name (a disk
// image, a log) is not taken for one: it would take its size in memory.
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

bool WriteAllAt(int fd, std::string_view text, off_t offset) {
    while (!text.empty()) {
        const ssize_t written = ::pwrite(fd, text.data(), text.size(), offset);
        if (written < 0 && errno == EINTR) continue;
        if (written <= 0) return false;
        text.remove_prefix(static_cast<std::size_t>(written));
        offset += written;
    }
    return true;
}

// The file's text, read under a shared lock: a writer in place holds the
// exclusive one while the file is half written. Nothing when the file is
// missing, no regular file, beyond the size limit, or (errno EAGAIN) locked
// by another for longer than the wait. A file system that has no locks at
// all (ENOLCK on some network mounts) has no writer in place either, as
// writing needs the lock: such a file is read without it.
std::optional<std::string> ReadLocked(const std::string& path) {
    const int fd = OpenRegularFile(path.c_str());
    if (fd < 0) return std::nullopt;
    std::optional<std::string> text;
    if (LockShared(fd, kLockWait) || errno != EAGAIN) text = ReadFromStart(fd, kMaxFileBytes);
    const int error = errno;
    ::close(fd);  // lets go of the lock
    errno = error;
    return text;
}

// The file at Path, open and locked against other writers. Whoever replaces
// the file does so under the lock of the file it replaces, so the lock counts
// only while Path still names the locked file; otherwise it is taken again.
class LockedFile {
  public:
    LockedFile(const std::string& path, bool create) : Path(path) {
        for (;;) {
            Fd = OpenRegularFile(path.c_str(), true);
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
        if (!LockExclusive(Fd, kLockWait) || ::fstat(Fd, &Status) != 0) {
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
    const int error = errno;
    if (WriteAllAt(fd, *old, 0)) (void)!::ftruncate(fd, oldSize);
    (void)!::fsync(fd);
    errno = error;
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
    std::string temporary = DirectoryOf(target) + "." + name + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return IsRefusal(errno) ? Replacement::Refused : Replacement::Failed;
    const bool owned = KeepOwner(fd, status) && KeepAttributes(old, fd);
    const bool written = owned && WriteAllAt(fd, text, 0) &&
                         ::fchmod(fd, status.st_mode & 07777) == 0 && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (written && closed && ::rename(temporary.c_str(), target.c_str()) == 0)
        return Replacement::Done;
    const int error = errno;
    ::unlink(temporary.c_str());
    errno = error;
    return !owned || (written && closed && IsRefusal(error)) ? Replacement::Refused
                                                             : Replacement::Failed;
}

// A hard link shares the file itself: a new file would leave its other names
// on the old text.
bool WriteBytes(const LockedFile& file, const std::string& target, std::string_view text) {
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

using Edit = std::function<bool(ini::Document&)>;

// The text of a file's bytes, and the encoding to write it back in.
struct FileText {
    explicit FileText(std::string bytes) : FileText(ini::Decode(std::move(bytes))) {}
    explicit FileText(ini::DecodedText decoded)
        : Encoding(std::move(decoded.encoding)), Document(std::move(decoded.text)) {}
    ini::Encoding Encoding;
    ini::Document Document;
};

// Writes the text in the file's encoding; the text of a file that holds no
// UTF-16 is written as it is, without a copy.
bool WriteText(const LockedFile& file, const std::string& target, const FileText& text) {
    std::optional<std::string> utf16;
    if (text.Encoding.kind != ini::Encoding::Kind::Bytes) {
        utf16 = ini::Encode(text.Document.Text(), text.Encoding);
        if (!utf16) {
            errno = EILSEQ;
            return false;
        }
    }
    return WriteBytes(file, target, utf16 ? *utf16 : text.Document.Text());
}

// Applies the edit to the file at Path and keeps its new text. An edit that
// changes nothing writes nothing; a file that is missing is created only when
// Create is set.
BOOL EditFile(const std::string& path, const Edit& edit, bool create,
              std::optional<FileText>& kept) {
    kept.reset();  // its room is wanted for the text on disk
    const std::optional<std::string> target = FollowLinks(path);
    if (!target) return FALSE;
    // An edit that changes nothing needs neither the lock nor the right to write.
    std::optional<std::string> current = ReadLocked(*target);
    if (!current && errno != ENOENT) return FALSE;
    if (current) {
        FileText text(std::move(*current));
        if (!edit(text.Document)) {
            kept.emplace(std::move(text));
            return TRUE;
        }
    }
    LockedFile file(*target, create);
    if (file.fd() < 0) return !create && errno == ENOENT ? TRUE : FALSE;
    std::optional<std::string> bytes = ReadFromStart(file.fd(), kMaxFileBytes);
    if (!bytes) return FALSE;
    FileText text(std::move(*bytes));
    const bool changed = edit(text.Document);
    if ((!changed && !file.created()) || WriteText(file, *target, text)) {
        kept.emplace(std::move(text));
        return TRUE;
    }
    const int error = errno;
    file.RemoveIfCreated();
    errno = error;
    return FALSE;
}

}  // namespace

struct ProfileFile::State {
    std::string Path;
    std::optional<FileText> Kept;  // the file's text once read
    // The file was locked beyond the wait when it was to be read: what was
    // read from it is the defaults, which must not be acted on in the file
    // (a "missing" key deleted), so nothing is written to it.
    bool Unread = false;

    const ini::Document& Text() {
        if (!Kept) {
            std::optional<std::string> bytes = ReadLocked(Path);
            if (!bytes && errno == EAGAIN) {
                Unread = true;
                Log("ProfileFile::Read: '%s' stayed locked by another process; it is neither "
                    "read nor written.",
                    Path.c_str());
            }
            Kept.emplace(bytes ? std::move(*bytes) : std::string());
        }
        return Kept->Document;
    }
};

ProfileFile::ProfileFile(const char* Path) : Data(std::make_unique<State>()) {
    Data->Path = Path ? Path : SystemProfilePath();
}

ProfileFile::~ProfileFile() = default;

DWORD ProfileFile::Read(const char* Section, const char* Key, const char* Default, char* Buffer,
                        DWORD Size) {
    std::optional<std::string_view> value;
    if (Section && Key && !Data->Path.empty()) value = Data->Text().Find(Section, Key);
    return ini::PlaceInBuffer(value ? *value : Default ? Default : "", Buffer, Size);
}

// A value is set under the names without the blanks around them; the new
// line holds them without the leading ones, as the platform writes them. A
// deletion takes the names as they stand.
BOOL ProfileFile::Write(const char* Section, const char* Key, const char* Value) {
    const bool valid =
        !Data->Path.empty() && Section && ini::IsValidSectionName(ini::Trim(Section)) &&
        (!Key || ini::IsValidKeyName(ini::Trim(Key))) && (!Value || ini::IsValidValue(Value));
    if (!valid || Data->Unread) {
        errno = Data->Path.empty() ? ENOENT : Data->Unread ? EAGAIN : EINVAL;
        return FALSE;
    }
    const std::string_view section = Section;
    if (!Key)
        return EditFile(
            Data->Path, [&](ini::Document& text) { return text.DeleteSection(section); }, false,
            Data->Kept);
    const std::string_view key = Key;
    if (!Value)
        return EditFile(
            Data->Path, [&](ini::Document& text) { return text.DeleteKey(section, key); }, false,
            Data->Kept);
    const std::string_view value = Value;
    return EditFile(
        Data->Path,
        [&](ini::Document& text) {
            return text.Set(ini::TrimStart(section), ini::TrimStart(key), value);
        },
        true, Data->Kept);
}

}  // namespace qv
