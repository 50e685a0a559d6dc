// Profile: access to one section of the settings file (or of the system
// profile). Binary items are stored as hexadecimal text, two upper-case digits
// per byte in memory order.
#pragma once

#include <memory>

#include "platform/types.h"

namespace qv {

struct _IniData;
struct CountryInfo;
using PINIDATA = _IniData*;
class ProfileFile;

class Profile {
  public:
    static constexpr int kPathSize = 260;

    // A store over the file "<name>.INI", looked for in the directory that the
    // key INIPATH of section <name> in the system profile names (without the key
    // in the root directory), then in HomePath. Ready when the file exists.
    // Anchor is accepted and not used; MustExist changes nothing, since a store
    // without its file is never ready.
    Profile(const char* name, HANDLE Anchor, const char* HomePath, int MustExist);

    // A store over section <name> of the system profile; ready at once.
    explicit Profile(const char* name);

    virtual ~Profile();
    Profile(const Profile&) = delete;
    Profile& operator=(const Profile&) = delete;

    BOOL IsReady() const { return Ready; }
    char* QueryName() const { return Name.get(); }

    // Reads an item of exactly Size bytes; FALSE, logged, when the value is
    // not exactly 2 * Size characters long. Item is then untouched.
    BOOL GetItem(const char* ItemName, void* Item, int Size);
    BOOL PutItem(const char* ItemName, const void* Item, int Size);

    // Reads into the caller's buffer of MaxSize characters, terminator included.
    BOOL GetString(const char* ItemName, char* Item, int MaxSize);
    // Reads into a new array that the caller frees with delete[]; null when not ready.
    BOOL GetString(const char* ItemName, char*& Item);
    BOOL PutString(const char* ItemName, const char* Item);

    void Reset(const char* ItemName);  // deletes the key
    void Reset();                      // deletes the whole section

    void Copy(Profile&) {}
    void PhaseOut() {}

    // Fills the settings record from the file over the defaults of the
    // locale; 0 when read, 1 when nothing was. Without a locale, the user's
    // as it is now.
    int GetIniData(PINIDATA IniData, const CountryInfo& Locale);
    int GetIniData(PINIDATA IniData);

  protected:
    std::unique_ptr<char[]> Name;
    char ProfileName[kPathSize] = {};
    int Ready = FALSE;

  private:
    DWORD ReadValue(const char* ItemName, char* Buffer, DWORD Size);
    BOOL WriteValue(const char* ItemName, const char* Value);
    void LogWriteFailure(const char* ItemName, const char* Value) const;
    bool UseFileIn(const char* Directory);

    // Where the text of this store lives, read once for the store's life: the
    // file at ProfileName, the system profile (ProfileName empty), or nowhere
    // (null) when no usable path was found.
    std::unique_ptr<ProfileFile> Source;
};

}  // namespace qv
