// The language library QUORVANT.DLL of this build, through the loader and
// through Module and ResourceString.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <map>
#include <sstream>

#include "diag/log.h"
#include "platform/library.h"
#include "platform/win32/win_support.h"
#include "resource/module.h"
#include "resource/restring.h"
#include "support/pattern.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

std::string LibraryPath() {
    return test::HostPathToWindows(BUILD_DIR) + "\\QUORVANT.DLL";
}

// The Windows texts of the source file: the entries of every platform and
// those marked @win32, with their escapes undone.
std::map<ULONG, std::string> WindowsTexts() {
    const test::Pattern entry(R"re(^(\d+)(@[a-z0-9]+)?[ \t]+"(.*)"\r?$)re");
    const test::Pattern escape(R"(\\(["\\]))");
    std::istringstream source(
        test::ReadFile(test::HostPathToWindows(SOURCE_DIR) + "\\src\\resource\\english.txt"));
    std::map<ULONG, std::string> texts;
    for (std::string line; std::getline(source, line);) {
        const std::optional<test::Groups> match = entry.Match(line);
        if (!match) continue;
        const std::string& platform = (*match)[2];
        if (!platform.empty() && platform != "@win32") continue;
        texts[static_cast<ULONG>(std::stoul((*match)[1]))] = escape.Replace((*match)[3], "$1");
    }
    return texts;
}

class Win32Library : public testing::Test {
  protected:
    void SetUp() override { ASSERT_NE(Library, nullptr) << LibraryPath(); }
    void TearDown() override {
        if (Library) FreeLanguageLibrary(Library);
    }
    HANDLE Library = LoadLanguageLibrary(LibraryPath());
};

TEST_F(Win32Library, HoldsEveryTextOfTheSourceFile) {
    const test::TempDir home;  // for the entries of the numbers the file lacks
    const test::HomeAt at(home.path().string());
    const std::map<ULONG, std::string> texts = WindowsTexts();
    ASSERT_GE(texts.size(), 30u);  // the parse above found the entries
    for (ULONG id = 13; id <= 62; ++id) {
        const auto found = texts.find(id);
        EXPECT_EQ(ResourceString(Library, id).str(), found == texts.end() ? "" : found->second)
            << "string " << id;
    }
    EXPECT_EQ(texts.at(28), "Free space on drive %c:");
}

TEST_F(Win32Library, CutsATextToTheBufferAndEndsItWithAZero) {
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_EQ(LoadLanguageString(Library, 13, buffer, 5), 4);
    EXPECT_STREQ(buffer, "Time");
    EXPECT_EQ(LoadLanguageString(Library, 13, buffer, 0), 0);
}

TEST_F(Win32Library, HoldsTheThreeSounds) {
    for (const char* name : {"SOUND1", "SOUND2", "SOUND3"}) {
        const HRSRC sound = ::FindResourceA(static_cast<HMODULE>(Library), name, "WAVE");
        ASSERT_NE(sound, nullptr) << name;
        const DWORD size = ::SizeofResource(static_cast<HMODULE>(Library), sound);
        const auto* data = static_cast<const char*>(
            ::LockResource(::LoadResource(static_cast<HMODULE>(Library), sound)));
        ASSERT_NE(data, nullptr) << name;
        EXPECT_GT(size, 44u) << name;
        EXPECT_LT(size, 4096u) << name;
        EXPECT_EQ(std::string(data, 4), "RIFF") << name;
        EXPECT_EQ(std::string(data + 8, 4), "WAVE") << name;
    }
}

// A missing string reads as "" and leaves one log entry with the handle (as a
// whole number: a 64-bit build may load the library above 4 GiB), the number
// and the system's error code.
TEST_F(Win32Library, AMissingStringIsEmptyAndLoggedWithTheErrorCode) {
    const test::TempDir home;
    const test::HomeAt at(home.path().string());
    for (const ULONG id : {14u, 1000u}) {
        const ResourceString missing(Library, id);
        const DWORD error = ::GetLastError();
        EXPECT_STREQ(missing, "") << id;
        const std::string expected = "ERROR: Unable to get string resource.  Module " +
                                     std::to_string(reinterpret_cast<std::uintptr_t>(Library)) +
                                     ", id " + std::to_string(id) + ".  Status " +
                                     std::to_string(error) + ".\r\n";
        const std::string log = test::ReadFile(home / "QUORVANT.LOG");
        EXPECT_NE(log.find(expected), std::string::npos) << log;
    }
}

TEST(Win32Module, LoadsTheLibraryByPathAndFreesItWithTheLastReference) {
    const std::string path = LibraryPath();
    {
        const Module library(path.c_str());
        ASSERT_NE(library.QueryHandle(), nullptr);
        EXPECT_STREQ(library.QueryName(), path.c_str());
        {
            const Module copy(library);
            EXPECT_EQ(copy.QueryHandle(), library.QueryHandle());
        }
        EXPECT_NE(::GetModuleHandleA(path.c_str()), nullptr);
        EXPECT_EQ(ResourceString(library.QueryHandle(), 40).str(), "day");
    }
    EXPECT_EQ(::GetModuleHandleA(path.c_str()), nullptr);
}

}  // namespace
}  // namespace qv
