#include "settings/profile.h"

#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <string_view>

#include "diag/log.h"
#include "platform/path.h"
#include "platform/profile.h"
#include "settings/inidata.h"
#include "settings/item_text.h"

namespace qv {
namespace {

// Far beyond the largest setting; keeps 2 * Size + 2 within range.
constexpr int kMaxItemSize = 1 << 20;
constexpr DWORD kLongStringSize = 4096;

std::unique_ptr<char[]> NewText(std::size_t length) {
    return std::unique_ptr<char[]>(new (std::nothrow) char[length]);
}

std::unique_ptr<char[]> CopyOf(const char* text) {
    const char* source = text ? text : "";
    const std::size_t size = std::strlen(source) + 1;
    auto copy = NewText(size);
    if (copy) std::memcpy(copy.get(), source, size);
    return copy;
}

// The text of an item, or nothing when its size is out of range or there is
// no memory for it.
std::optional<std::string> ItemText(const void* item, int size) {
    if (size < 0 || size > kMaxItemSize) return std::nullopt;
    try {
        return EncodeItem(item, static_cast<std::size_t>(size));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
}

// The settings file <name>.INI in the directory; nothing when the path would
// not fit the platform's limit.
std::optional<std::string> SettingsFileIn(const std::string& directory, const char* name) {
    std::string path = directory + PathSeparator() + name + ".INI";
    if (path.size() >= static_cast<std::size_t>(Profile::kPathSize)) return std::nullopt;
    return path;
}

bool ExistsWithinLimit(const std::string& path) {
    const std::string absolute = AbsolutePath(path);
    return !absolute.empty() && absolute.size() < static_cast<std::size_t>(Profile::kPathSize) &&
           FileExists(absolute);
}

}  // namespace

Profile::Profile(const char* name, HANDLE, const char* HomePath, int) : Name(CopyOf(name)) {
    if (!Name) return;
    {
        Profile system(Name.get());
        char* iniPath = nullptr;
        if (system.GetString("INIPATH", iniPath)) {
            const std::unique_ptr<char[]> owned(iniPath);
            const auto candidate = SettingsFileIn(iniPath, Name.get());
            if (candidate && ExistsWithinLimit(*candidate)) UseFileIn(iniPath);
        }
    }
    if (!Source) UseFileIn(HomePath ? HomePath : "");
    Ready = Source && FileExists(ProfileName) ? TRUE : FALSE;
}

Profile::Profile(const char* name) : Name(CopyOf(name)) {
    Source = std::make_unique<ProfileFile>(nullptr);
    Ready = Name ? TRUE : FALSE;
}

Profile::~Profile() {
    Ready = FALSE;
}

// The directory text goes in as given, not in the absolute form that was tested.
bool Profile::UseFileIn(const char* Directory) {
    const auto path = SettingsFileIn(Directory, Name.get());
    if (!path) return false;
    std::memcpy(ProfileName, path->c_str(), path->size() + 1);
    Source = std::make_unique<ProfileFile>(ProfileName);
    return true;
}

DWORD Profile::ReadValue(const char* ItemName, char* Buffer, DWORD Size) {
    if (Source) return Source->Read(Name.get(), ItemName, "", Buffer, Size);
    if (Size > 0) Buffer[0] = '\0';
    return 0;
}

BOOL Profile::WriteValue(const char* ItemName, const char* Value) {
    return Name && Source ? Source->Write(Name.get(), ItemName, Value) : FALSE;
}

void Profile::LogWriteFailure(const char* ItemName, const char* Value) const {
    char code[16];
    InterpretWinError(nullptr, code);
    Log("Profile::PutString: Could not put INI item.  App %s, Item %s, Value %s.  %s", Name.get(),
        ItemName, Value ? Value : "", code);
}

// Only the length of the value is checked; a value of any other length leaves
// the item as it was. The buffer holds one character more than a good value,
// so that a longer one is seen as such.
BOOL Profile::GetItem(const char* ItemName, void* Item, int Size) {
    if (!Ready) return FALSE;
    const bool sizeUsable = Size >= 0 && Size <= kMaxItemSize;
    const DWORD digits = sizeUsable ? 2 * static_cast<DWORD>(Size) : 0;
    const auto text = sizeUsable ? NewText(digits + 2) : nullptr;
    const DWORD length = text ? ReadValue(ItemName, text.get(), digits + 2) : 0;
    if (!text ||
        !DecodeItem(std::string_view(text.get(), length), Item, static_cast<std::size_t>(Size))) {
        Log("Profile::GetItem: Could not get INI item.  App %s, Item %s.  Wrong size.", Name.get(),
            ItemName);
        return FALSE;
    }
    return TRUE;
}

BOOL Profile::PutItem(const char* ItemName, const void* Item, int Size) {
    if (!Ready) return FALSE;
    const auto text = ItemText(Item, Size);
    if (!text) {
        Log("Profile::PutItem: Could not put INI item.  App %s, Item %s, size %i.  Insufficient "
            "memory.",
            Name.get(), ItemName, Size);
        return FALSE;
    }
    if (WriteValue(ItemName, text->c_str())) return TRUE;
    LogWriteFailure(ItemName, text->c_str());
    return FALSE;
}

BOOL Profile::GetString(const char* ItemName, char* Item, int MaxSize) {
    if (!Ready) return FALSE;
    const auto text = MaxSize > 0 ? NewText(static_cast<std::size_t>(MaxSize) + 1) : nullptr;
    const DWORD length =
        text ? ReadValue(ItemName, text.get(), static_cast<DWORD>(MaxSize) + 1) : 0;
    if (!text || length >= static_cast<DWORD>(MaxSize)) {
        Log("Profile::GetString: Could not get INI item.  App %s, Item %s.  Too large.", Name.get(),
            ItemName);
        return FALSE;
    }
    std::memcpy(Item, text.get(), length + 1);
    return TRUE;
}

BOOL Profile::GetString(const char* ItemName, char*& Item) {
    Item = nullptr;
    if (!Ready) return FALSE;
    char text[kLongStringSize];
    const DWORD length = ReadValue(ItemName, text, kLongStringSize);
    auto copy = NewText(length + 1);
    if (!copy) {
        Log("Profile::GetString: Unable to allocate memory to hold string.  App %s, Item %s, "
            "TrueSize %i.",
            Name.get(), ItemName, static_cast<int>(length));
        return FALSE;
    }
    std::memcpy(copy.get(), text, length + 1);
    Item = copy.release();
    return TRUE;
}

BOOL Profile::PutString(const char* ItemName, const char* Item) {
    if (!Ready) return FALSE;
    if (WriteValue(ItemName, Item)) return TRUE;
    LogWriteFailure(ItemName, Item);
    return FALSE;
}

// A null key name would delete the whole section; it deletes nothing.
void Profile::Reset(const char* ItemName) {
    if (ItemName) WriteValue(ItemName, nullptr);
}

void Profile::Reset() {
    WriteValue(nullptr, nullptr);
}

// Reads "Position" first: without a valid one the window keys that go with it
// are dropped from the file. Then every key of the table over the defaults.
int Profile::GetIniData(PINIDATA IniData, const CountryInfo& Locale) {
    BYTE* record = reinterpret_cast<BYTE*>(IniData);
    std::memset(record + offsetof(_IniData, Position), 0, sizeof(WINDOWPOS));
    IniData->fPosition = FALSE;
    if (GetItem("Position", record + offsetof(_IniData, Position), sizeof(WINDOWPOS)))
        IniData->fPosition = TRUE;
    if (!IniData->fPosition) {
        Reset("Position");
        Reset("AnchorCorner");
        Reset("fAnchorCorner");
        if (ProfileName[0] == '\0' || std::strcmp(Name.get(), "QUORVANT") != 0) return 1;
    }
    IniData->Reset(Locale);
    for (const PROFILEITEM& row : ProfileItems) GetItem(row.Name, record + row.Offset, row.Size);
    IniData->TerminateTexts();
    if (IniData->FontNameSize[0] != 0) IniData->fFontNameSize = TRUE;
    return 0;
}

int Profile::GetIniData(PINIDATA IniData) {
    return GetIniData(IniData, CountryInfo());
}

}  // namespace qv
