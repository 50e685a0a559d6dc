// Windows paths: separators, the executable's own path, and the names the
// library loader and the home path derive from them.
#include <gtest/gtest.h>
#include <windows.h>

#include "platform/path.h"
#include "report/home_path.h"
#include "resource/module.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

struct NameCase {
    const char* given;
    const char* expected;
};

class Win32LibraryModuleName : public testing::TestWithParam<NameCase> {};

TEST_P(Win32LibraryModuleName, FoldsCaseAndDropsTheExtensionOfABareName) {
    EXPECT_EQ(LibraryModuleName(GetParam().given, PathsFoldCase()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Names, Win32LibraryModuleName,
                         testing::Values(NameCase{"QUORVANT", "QUORVANT"},
                                         NameCase{"lang.dll", "LANG"},
                                         NameCase{"c:\\lib\\lang.dll", "C:\\LIB\\LANG.DLL"},
                                         NameCase{"lib\\lang.res", "LIB\\LANG.RES"},
                                         NameCase{"lib/lang.res", "LIB/LANG.RES"},
                                         NameCase{"c:lang.dll", "C:LANG.DLL"},
                                         NameCase{"lib.d\\lang", "LIB.D\\LANG"}));

TEST(Win32LibraryModuleName, ANameLongerThanAPathIsRefused) {
    EXPECT_EQ(LibraryModuleName("c:\\" + std::string(257, 'a'), true), "");
    EXPECT_EQ(LibraryModuleName("c:\\" + std::string(256, 'a'), true).size(), 259u);
}

class Win32HomePathOf : public testing::TestWithParam<NameCase> {};

TEST_P(Win32HomePathOf, IsTheFoldedDirectoryOfTheExecutable) {
    EXPECT_EQ(HomePathOf(GetParam().given, PathsFoldCase()), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, Win32HomePathOf,
    testing::Values(NameCase{"C:\\SNAPSHOT.EXE", "C:"},
                    NameCase{"c:\\tools\\snapshot.exe", "C:\\TOOLS"},
                    NameCase{"C:/tools/bin/snapshot.exe", "C:/TOOLS/BIN"},
                    NameCase{"\\\\server\\share\\snapshot.exe", "\\\\SERVER\\SHARE"},
                    NameCase{"C:SNAPSHOT.EXE", "C:"}, NameCase{"snapshot.exe", ""}));

TEST(Win32Path, SeparatorsAreBackslashAndSlash) {
    EXPECT_EQ(PathSeparator(), '\\');
    EXPECT_TRUE(IsPathSeparator('\\'));
    EXPECT_TRUE(IsPathSeparator('/'));
    EXPECT_FALSE(IsPathSeparator(':'));
}

TEST(Win32Path, ExecutablePathIsTheSystemsRecordOfThisProgram) {
    char recorded[MAX_PATH] = {};
    ASSERT_GT(::GetModuleFileNameA(nullptr, recorded, sizeof recorded), 0u);
    const std::string path = ExecutablePath();
    EXPECT_EQ(path, recorded);
    EXPECT_TRUE(FileExists(path));
}

TEST(Win32Path, AbsolutePathIsTakenAgainstTheCurrentDirectory) {
    char current[MAX_PATH] = {};
    ASSERT_GT(::GetCurrentDirectoryA(sizeof current, current), 0u);
    std::string directory = current;
    if (directory.back() != '\\') directory += '\\';
    EXPECT_EQ(AbsolutePath("name.txt"), directory + "name.txt");
    EXPECT_EQ(AbsolutePath("C:\\a\\..\\b.txt"), "C:\\b.txt");
}

TEST(Win32Path, FileExistsOnlyForFiles) {
    const test::TempDir temp;
    test::WriteFile(temp / "file.txt", "x");
    EXPECT_TRUE(FileExists(temp / "file.txt"));
    EXPECT_FALSE(FileExists(temp.path().string()));
    EXPECT_FALSE(FileExists(temp / "missing.txt"));
}

}  // namespace
}  // namespace qv
