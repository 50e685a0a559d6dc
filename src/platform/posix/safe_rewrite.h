// Rewriting a file that other processes read and write, so that none of them
// loses a change or sees half a file. Writes are serialised between
// processes by a lock on the file; the new text replaces the file atomically
// (a temporary file with the old one's owner, mode, ACL and extended
// attributes, renamed over it). Where a new file would not be what the old
// one was (a hard link, an owner or attribute the process cannot give it) or
// the folder refuses the replacement (sticky, not writable), the file is
// written in place under the lock instead: grown first, so that a full disk
// fails before anything is overwritten, and put back as it was when the write
// fails. Readers hold a shared lock, which the writer's excludes.
#pragma once

#include <sys/stat.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/posix/unique_fd.h"

namespace qv {

// The file a path leads to: symbolic links are followed to their target, also
// to one that does not exist yet, so that the link stays a link. Nothing
// (errno set) when a link cannot be read or they loop.
std::optional<std::string> FollowLinks(std::string path);

// The file's text, read under a shared lock: a writer in place holds the
// exclusive one while the file is half written. Nothing when the file is
// missing, no regular file, beyond `limit` bytes, or (errno EAGAIN) locked
// by another for longer than the wait. A file system that has no locks at
// all (ENOLCK on some network mounts) has no writer in place either, as
// writing needs the lock: such a file is read without it.
std::optional<std::string> ReadLocked(const std::string& path, std::size_t limit);

// The file at Path, open and locked against other writers. Whoever replaces
// the file does so under the lock of the file it replaces, so the lock counts
// only while Path still names the locked file; otherwise it is taken again.
class LockedFile {
  public:
    // Closed (fd() < 0, errno set) when the file cannot be opened or locked;
    // a missing file is created only when `create` is set.
    LockedFile(const std::string& path, bool create);

    int fd() const { return Fd.Get(); }
    bool created() const { return Created; }
    const struct stat& status() const { return Status; }

    // Undoes the creation of a file that was never written; errno is kept.
    void RemoveIfCreated();

  private:
    bool IsStillAtPath();

    std::string Path;
    UniqueFd Fd;
    bool Created = false;
    struct stat Status {};
};

// Puts the bytes in place of the locked file's text, which `target` names:
// by replacement where the new file can be what the old one was, else in
// place. False, with errno set, when the file is left as it was.
bool RewriteFile(const LockedFile& file, const std::string& target, std::string_view bytes);

}  // namespace qv
