// The swap file the registry way and the Windows 95/98/ME way. The tests set
// the registry value and the WIN.INI entry they need and put back what was
// there before.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/paging_file.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

constexpr const char* kKey =
    "SYSTEM\\CurrentControlSet\\Control\\Session Manager\\Memory Management";

// Sets PagingFiles (or removes it) for the test's lifetime.
class PagingFilesValue {
  public:
    explicit PagingFilesValue(const std::optional<std::string>& value) {
        ::RegCreateKeyExA(HKEY_LOCAL_MACHINE, kKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &Key,
                          nullptr);
        ::DWORD size = 0;
        if (::RegQueryValueExA(Key, "PagingFiles", nullptr, &Type, nullptr, &size) ==
            ERROR_SUCCESS) {
            Saved.emplace(size, '\0');
            ::RegQueryValueExA(Key, "PagingFiles", nullptr, &Type,
                               reinterpret_cast<BYTE*>(Saved->data()), &size);
        }
        Set(value, REG_MULTI_SZ);
    }
    ~PagingFilesValue() {
        Set(Saved, Type);
        ::RegCloseKey(Key);
    }

  private:
    void Set(const std::optional<std::string>& value, DWORD type) {
        if (!value) {
            ::RegDeleteValueA(Key, "PagingFiles");
            return;
        }
        ::RegSetValueExA(Key, "PagingFiles", 0, type, reinterpret_cast<const BYTE*>(value->data()),
                         static_cast<DWORD>(value->size()));
    }

    HKEY Key = nullptr;
    ::DWORD Type = REG_MULTI_SZ;
    std::optional<std::string> Saved;
};

std::string MultiString(std::initializer_list<std::string> entries) {
    std::string value;
    for (const std::string& entry : entries) value += entry + '\0';
    return value + '\0';
}

std::string MakeFile(const std::string& path, std::size_t size) {
    std::ofstream(path, std::ios::binary) << std::string(size, 'x');
    return path;
}

TEST(FirstPagingFilePath, FirstEntryUpToItsFirstSpace) {
    EXPECT_EQ(FirstPagingFilePath(MultiString({"C:\\pagefile.sys 256 512", "D:\\p.sys 0 0"})),
              "C:\\pagefile.sys");
    EXPECT_EQ(FirstPagingFilePath(MultiString({"C:\\pagefile.sys"})), "C:\\pagefile.sys");
    EXPECT_EQ(FirstPagingFilePath(MultiString({"C:\\Program Files\\p.sys 0 0"})), "C:\\Program");
    EXPECT_EQ(FirstPagingFilePath(""), "");
    EXPECT_EQ(FirstPagingFilePath(std::string("C:\\p.sys", 8)), "C:\\p.sys");  // no terminator
}

TEST(SwapFileFromRegistry, PathAndWholeSizeOfTheFirstFile) {
    test::TempDir dir;
    const std::string first = MakeFile(dir / "first.sys", 5000);
    MakeFile(dir / "second.sys", 7000);
    PagingFilesValue value(MultiString({first + " 256 512", dir / "second.sys" + " 0 0"}));
    const SwapFile swap = SwapFileOfPlatform(VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(swap.Path, first);
    EXPECT_EQ(swap.Size, 5000u);
}

TEST(SwapFileFromRegistry, APathWithASpaceIsCutAndNotFound) {
    test::TempDir dir;
    ::CreateDirectoryA((dir / "with space").c_str(), nullptr);
    PagingFilesValue value(MultiString({MakeFile(dir / "with space\\p.sys", 100) + " 0 0"}));
    const SwapFile swap = SwapFileOfPlatform(VER_PLATFORM_WIN32_NT);
    EXPECT_EQ(swap.Path, "");
    EXPECT_EQ(swap.Size, 0u);
}

TEST(SwapFileFromRegistry, MissingValueOrMissingFileGivesNothing) {
    {
        PagingFilesValue value(std::nullopt);
        const SwapFile swap = SwapFileOfPlatform(VER_PLATFORM_WIN32_NT);
        EXPECT_EQ(swap.Path, "");
        EXPECT_EQ(swap.Size, 0u);
    }
    PagingFilesValue value(MultiString({"C:\\no-such-pagefile.sys 0 0"}));
    EXPECT_EQ(SwapFileOfPlatform(0).Path, "");  // platform 0 takes the registry way too
}

TEST(SwapFileFromRegistry, AValueLongerThan260BytesStillShowsTheFirstFile) {
    test::TempDir dir;
    const std::string first = MakeFile(dir / "p.sys", 10);
    PagingFilesValue value(MultiString({first + " 0 0", std::string(300, 'D') + " 0 0"}));
    EXPECT_EQ(SwapFileOfPlatform(VER_PLATFORM_WIN32_NT).Path, first);
}

// Sets [386enh] PagingFile of WIN.INI (or removes it) for the test's lifetime.
class ProfilePagingFile {
  public:
    explicit ProfilePagingFile(const char* value) {
        char saved[MAX_PATH];
        if (::GetProfileStringA("386enh", "PagingFile", "", saved, sizeof saved) != 0)
            Saved = saved;
        ::WriteProfileStringA("386enh", "PagingFile", value);
    }
    ~ProfilePagingFile() {
        ::WriteProfileStringA("386enh", "PagingFile", Saved ? Saved->c_str() : nullptr);
    }

  private:
    std::optional<std::string> Saved;
};

TEST(SwapFileFromProfile, TheEntryOrNAAndNeverASize) {
    test::TempDir dir;
    const std::string file = MakeFile(dir / "WIN386.SWP", 4096);
    {
        ProfilePagingFile entry(file.c_str());
        const SwapFile swap = SwapFileOfPlatform(kWindows9xPlatform);
        EXPECT_EQ(swap.Path, file);
        EXPECT_EQ(swap.Size, 0u);
    }
    ProfilePagingFile entry(nullptr);
    EXPECT_EQ(SwapFileOfPlatform(kWindows9xPlatform).Path, "N/A");
}

}  // namespace
}  // namespace qv
