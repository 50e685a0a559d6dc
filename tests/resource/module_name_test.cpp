#include <gtest/gtest.h>

#include "resource/module.h"

namespace qv {
namespace {

TEST(LibraryModuleName, BareNamesLoseTheirExtensionPathsKeepIt) {
    struct {
        const char* name;
        bool foldCase;
        const char* expected;
    } cases[] = {
        {"QUORVANT", true, "QUORVANT"},
        {"lang.dll", true, "LANG"},
        {"c:\\lib\\lang.dll", true, "C:\\LIB\\LANG.DLL"},
        {"lib\\lang.res", true, "LIB\\LANG.RES"},
        {"d:lang.dll", true, "D:LANG.DLL"},
        {"lib.d/lang", true, "LIB.D/LANG"},  // a dot in a directory is no extension
        {"lang.dll", false, "lang"},
        {"/usr/share/quorvant/Lang.cat", false, "/usr/share/quorvant/Lang.cat"},
        {"archive.tar.gz", false, "archive.tar"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(LibraryModuleName(c.name, c.foldCase), c.expected) << c.name;
}

TEST(LibraryModuleName, NamesBeyondThePathLimitAreRefused) {
    EXPECT_EQ(LibraryModuleName("/" + std::string(258, 'a'), false).size(), 259u);
    EXPECT_EQ(LibraryModuleName("/" + std::string(259, 'a'), false), "");
}

TEST(Module, WithoutANameLoadsNothing) {
    const Module none(nullptr);
    EXPECT_EQ(none.QueryName(), nullptr);
    EXPECT_EQ(none.QueryHandle(), nullptr);
    const Module empty("");
    EXPECT_EQ(empty.QueryHandle(), nullptr);
    const Module copy(none);
    EXPECT_EQ(copy.QueryName(), nullptr);
    EXPECT_EQ(copy.QueryHandle(), nullptr);
}

}  // namespace
}  // namespace qv
