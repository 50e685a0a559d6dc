#include <gtest/gtest.h>
#include <stdlib.h>
#include <unistd.h>

#include "resource/module.h"
#include "resource/restring.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

class CatalogueLibrary : public ::testing::Test {
  protected:
    test::TempDir dir;
    test::HomeAt home{dir.path().string()};

    std::string Catalogue(const std::string& name, const std::string& text) {
        test::WriteFile(dir / name, text);
        return dir / name;
    }
    std::string LogText() { return test::ReadFile(dir / "QUORVANT.LOG"); }
};

TEST_F(CatalogueLibrary, LoadsStringsByNumber) {
    const std::string path = Catalogue("LANG.cat", "13 \"Elapsed\"\n40 \"Tag\"\n");
    const Module library((dir / "LANG").c_str());  // the default extension is added
    ASSERT_NE(library.QueryHandle(), nullptr);
    EXPECT_STREQ(ResourceString(library.QueryHandle(), 13), "Elapsed");
    EXPECT_STREQ(ResourceString(library.QueryHandle(), 40), "Tag");
    EXPECT_EQ(LogText(), "");
}

TEST_F(CatalogueLibrary, MissingStringReadsEmptyAndIsLogged) {
    Catalogue("LANG.cat", "13 \"Elapsed\"\n");
    const Module library((dir / "LANG.cat").c_str());
    const ResourceString missing(library.QueryHandle(), 99);
    EXPECT_STREQ(missing, "");
    const std::string log = LogText();
    EXPECT_NE(log.find("ERROR: Unable to get string resource.  Module "), std::string::npos);
    EXPECT_NE(log.find(", id 99.  Status 2.\n"), std::string::npos) << log;
}

TEST_F(CatalogueLibrary, LongTextsAreCutTo199Characters) {
    const std::string ascii(250, 'a');
    std::string umlauts;
    for (int i = 0; i < 250; ++i) umlauts += "\u00fc";
    Catalogue("LANG.cat", "1 \"" + ascii + "\"\n2 \"" + umlauts + "\"\n");
    const Module library((dir / "LANG.cat").c_str());
    EXPECT_EQ(ResourceString(library.QueryHandle(), 1).str(), std::string(199, 'a'));
    EXPECT_EQ(ResourceString(library.QueryHandle(), 2).str().size(), 199u * 2);
}

// The platform's string copy (strlen + 1 bytes) ends a text at a zero byte.
TEST_F(CatalogueLibrary, AZeroByteEndsTheText) {
    Catalogue("LANG.cat", std::string("1 \"shown\0hidden\"\n", 17));
    const Module library((dir / "LANG.cat").c_str());
    EXPECT_EQ(ResourceString(library.QueryHandle(), 1).str(), "shown");
}

TEST_F(CatalogueLibrary, MalformedLinesAreLoggedWithTheirNumberAndSkipped) {
    Catalogue("LANG.cat", "1 \"one\"\nbroken\n3 \"three\"\n");
    const Module library((dir / "LANG.cat").c_str());
    EXPECT_STREQ(ResourceString(library.QueryHandle(), 1), "one");
    EXPECT_STREQ(ResourceString(library.QueryHandle(), 3), "three");
    EXPECT_NE(LogText().find("Line 2 of '"), std::string::npos) << LogText();
}

TEST_F(CatalogueLibrary, CopiesHoldTheirOwnReference) {
    Catalogue("LANG.cat", "1 \"one\"\n");
    auto original = std::make_unique<Module>((dir / "LANG.cat").c_str());
    const Module copy(*original);
    EXPECT_EQ(copy.QueryHandle(), original->QueryHandle());  // one library, two references
    EXPECT_STREQ(copy.QueryName(), original->QueryName());
    original.reset();
    EXPECT_STREQ(ResourceString(copy.QueryHandle(), 1), "one");
}

TEST_F(CatalogueLibrary, StringsOfAFreedLibraryAreMissingNotGarbage) {
    Catalogue("LANG.cat", "1 \"one\"\n");
    HANDLE handle;
    {
        const Module library((dir / "LANG.cat").c_str());
        handle = library.QueryHandle();
    }
    EXPECT_STREQ(ResourceString(handle, 1), "");
}

TEST(CatalogueLibraryDeath, MissingLibraryIsFatalWithMessageAndLogEntry) {
    test::TempDir dir;
    const std::string missing = dir / "nowhere/lang.cat";
    EXPECT_DEATH(
        {
            test::HomeAt home(dir.path().string());
            Module library(missing.c_str());
        },
        "Debug: ERROR: Unable to load module '.*nowhere/lang.cat'\\.");
    EXPECT_NE(test::ReadFile(dir / "QUORVANT.LOG")
                  .find("ERROR: Unable to load module '" + missing + "'.\r\n\n"),
              std::string::npos);
}

}  // namespace
}  // namespace qv
