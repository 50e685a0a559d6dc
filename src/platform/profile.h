// The platform's profile (INI) functions: key=value lines in bracketed
// sections, read and written one key at a time, either in a named file or in
// the user's system profile. Section and key names are matched without regard
// to case; blanks around names and values are ignored and a matching pair of
// quotes around a value is taken off when it is read. On POSIX a file larger
// than 1 MiB is no settings file: it reads as missing and is not written
// (the last error is then EFBIG).
#pragma once

#include "platform/types.h"

namespace qv {

// Reads Key of Section in File into Buffer of Size characters. A missing file,
// section or key yields Default (the empty text when null). A value that does
// not fit is cut to Size - 1 characters. Returns the number of characters
// placed, the terminator excluded.
DWORD GetPrivateProfileText(const char* Section, const char* Key, const char* Default, char* Buffer,
                            DWORD Size, const char* File);

// The same for the user's system profile.
DWORD GetSystemProfileText(const char* Section, const char* Key, const char* Default, char* Buffer,
                           DWORD Size);

// Sets Key of Section in File to Value, creating the file and the section when
// missing. A null Value deletes the key, a null Key the whole section. FALSE
// when the write was refused; the last error then says why.
BOOL WritePrivateProfileText(const char* Section, const char* Key, const char* Value,
                             const char* File);

// The same for the user's system profile.
BOOL WriteSystemProfileText(const char* Section, const char* Key, const char* Value);

}  // namespace qv
