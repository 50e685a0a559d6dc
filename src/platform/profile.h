// The platform's profile (INI) functions: key=value lines in bracketed
// sections, read and written one key at a time, either in a named file or in
// the user's system profile. Section and key names are matched without regard
// to case; blanks around names and values are ignored (but a deletion compares
// the names it is given as they stand) and a matching pair of quotes around a
// value is taken off when it is read. On POSIX a file larger
// than 1 MiB is no settings file: it reads as missing and is not written
// (the last error is then EFBIG).
#pragma once

#include <memory>

#include "platform/types.h"

namespace qv {

// One profile file, or the system profile. On POSIX the file is read and
// parsed once, at the first read, and its text kept; a write changes the file
// at once (starting from its text on disk, so that no other process's change
// is lost) and the kept text with it. On Windows every call goes to the
// platform's functions.
class ProfileFile {
  public:
    // The file at Path; a null Path means the user's system profile. An empty
    // path names no file: reads give the default and writes fail.
    explicit ProfileFile(const char* Path);
    ~ProfileFile();
    ProfileFile(const ProfileFile&) = delete;
    ProfileFile& operator=(const ProfileFile&) = delete;

    // Reads Key of Section into Buffer of Size characters. A missing file,
    // section or key yields Default (the empty text when null). A value that
    // does not fit is cut to Size - 1 characters. Returns the number of
    // characters placed, the terminator excluded.
    DWORD Read(const char* Section, const char* Key, const char* Default, char* Buffer, DWORD Size);

    // Sets Key of Section to Value, creating the file and the section when
    // missing. A null Value deletes the key, a null Key the whole section.
    // FALSE when the write was refused; the last error then says why.
    BOOL Write(const char* Section, const char* Key, const char* Value);

  private:
    struct State;
    std::unique_ptr<State> Data;
};

// One read or write of a file that is not kept open, and of the system profile.
DWORD GetPrivateProfileText(const char* Section, const char* Key, const char* Default, char* Buffer,
                            DWORD Size, const char* File);
DWORD GetSystemProfileText(const char* Section, const char* Key, const char* Default, char* Buffer,
                           DWORD Size);
BOOL WritePrivateProfileText(const char* Section, const char* Key, const char* Value,
                             const char* File);
BOOL WriteSystemProfileText(const char* Section, const char* Key, const char* Value);

}  // namespace qv
