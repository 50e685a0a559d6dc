// The platform's profile functions as the settings store relies on them.
#include "platform/profile.h"

#include <gtest/gtest.h>

#include <string>

#include "support/temp_dir.h"

namespace qv {
namespace {

class PrivateProfile : public ::testing::Test {
  protected:
    std::string Read(const char* section, const char* key, DWORD size = 64) {
        std::string buffer(size, '#');
        Count = GetPrivateProfileText(section, key, "", buffer.data(), size, File.c_str());
        return buffer.c_str();
    }
    void Write(const std::string& text) { test::WriteFile(File, text); }

    test::TempDir Dir;
    std::string File = Dir / "TEST.INI";
    DWORD Count = 0;
};

TEST_F(PrivateProfile, MissingFileSectionOrKeyGivesTheDefault) {
    char buffer[16] = "#";
    EXPECT_EQ(GetPrivateProfileText("A", "k", "dflt", buffer, sizeof buffer, File.c_str()), 4u);
    EXPECT_STREQ(buffer, "dflt");
    Write("[A]\nk=v\n");
    EXPECT_EQ(Read("B", "k"), "");
    EXPECT_EQ(Count, 0u);
    EXPECT_EQ(Read("A", "j"), "");
}

TEST_F(PrivateProfile, NamesIgnoreCaseAndBlanksAndQuotesAreTakenOff) {
    Write("[Quorvant]\r\n  showk =  \"01 00\"  \r\n");
    EXPECT_EQ(Read("QUORVANT", "ShowK"), "01 00");
    EXPECT_EQ(Count, 5u);
}

TEST_F(PrivateProfile, ValueIsCutToTheBuffer) {
    Write("[A]\nk=0123456789\n");
    EXPECT_EQ(Read("A", "k", 5), "0123");
    EXPECT_EQ(Count, 4u);
    EXPECT_EQ(Read("A", "k", 11), "0123456789");
    EXPECT_EQ(Count, 10u);
}

TEST_F(PrivateProfile, WriteCreatesFileAndSectionAndReadsBack) {
    EXPECT_TRUE(WritePrivateProfileText("A", "k", "v1", File.c_str()));
    EXPECT_EQ(Read("A", "k"), "v1");
    EXPECT_TRUE(WritePrivateProfileText("B", "k", "v2", File.c_str()));
    EXPECT_TRUE(WritePrivateProfileText("a", "K", "v3", File.c_str()));
    EXPECT_EQ(Read("A", "k"), "v3");
    EXPECT_EQ(Read("B", "k"), "v2");
}

TEST_F(PrivateProfile, NullValueDeletesKeyAndNullKeyDeletesSection) {
    Write("[A]\nk=1\nj=2\n[B]\nk=3\n");
    EXPECT_TRUE(WritePrivateProfileText("A", "k", nullptr, File.c_str()));
    EXPECT_EQ(Read("A", "k"), "");
    EXPECT_EQ(Read("A", "j"), "2");
    EXPECT_TRUE(WritePrivateProfileText("A", nullptr, nullptr, File.c_str()));
    EXPECT_EQ(Read("A", "j"), "");
    EXPECT_EQ(Read("B", "k"), "3");
}

TEST_F(PrivateProfile, WriteIntoMissingFolderFails) {
    const std::string missing = Dir / "no/such/TEST.INI";
    EXPECT_FALSE(WritePrivateProfileText("A", "k", "v", missing.c_str()));
}

}  // namespace
}  // namespace qv
