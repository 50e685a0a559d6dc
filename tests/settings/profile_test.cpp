#include "settings/profile.h"

#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>

#include "platform/profile.h"
#include "settings/store_fixture.h"

namespace qv {
namespace {

using test::SettingsStore;
using Strings = std::vector<std::string>;

struct ItemCase {
    const char* value;  // null: no such key
    int size;
    BOOL result;
    std::vector<BYTE> bytes;  // when read
};

class GetItemTest : public SettingsStore, public ::testing::WithParamInterface<ItemCase> {};

TEST_P(GetItemTest, ReadsExactlyTwoCharactersPerByteOrLogsAndLeavesTheItem) {
    const ItemCase& c = GetParam();
    WriteSettings(c.value ? std::string("[QUORVANT]\nItem=") + c.value + "\n" : "[QUORVANT]\n");
    auto store = Open();
    ASSERT_TRUE(store->IsReady());
    std::vector<BYTE> item(static_cast<std::size_t>(c.size), 0xAA);
    EXPECT_EQ(store->GetItem("Item", item.data(), c.size), c.result);
    if (c.result) {
        EXPECT_EQ(item, c.bytes);
        EXPECT_EQ(LogText(), "");
    } else {
        EXPECT_EQ(item, std::vector<BYTE>(static_cast<std::size_t>(c.size), 0xAA));
        EXPECT_EQ(WrongSizeItems(), Strings{"Item"});
        EXPECT_NE(LogText().find(
                      "Profile::GetItem: Could not get INI item.  App QUORVANT, Item Item.  Wrong "
                      "size."),
                  std::string::npos);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, GetItemTest,
    ::testing::Values(
        ItemCase{"01000000", 4, TRUE, {1, 0, 0, 0}}, ItemCase{"E803", 2, TRUE, {0xE8, 0x03}},
        ItemCase{"  \"FF7F\"  ", 2, TRUE, {0xFF, 0x7F}}, ItemCase{"01000000", 2, FALSE, {}},
        ItemCase{"01", 4, FALSE, {}}, ItemCase{nullptr, 1, FALSE, {}}, ItemCase{"", 1, FALSE, {}},
        // Only the length counts: other characters convert by the rule.
        ItemCase{"0a00", 2, TRUE, {0x2A, 0x00}}, ItemCase{"0G00", 2, TRUE, {0x10, 0x00}},
        ItemCase{"01 0", 2, TRUE, {0x01, 0x00}}, ItemCase{"-100", 2, TRUE, {0xD1, 0x00}}));

TEST_F(SettingsStore, PutItemWritesUpperCaseDigitsInMemoryOrder) {
    WriteSettings("[QUORVANT]\n");
    auto store = Open();
    const USHORT thousand = 1000;
    const ULONG colour = 0xFFFFFF;
    const char text[4] = {'a', 0, 'z', 0};
    EXPECT_TRUE(store->PutItem("Short", &thousand, sizeof thousand));
    EXPECT_TRUE(store->PutItem("Long", &colour, sizeof colour));
    EXPECT_TRUE(store->PutItem("Text", text, sizeof text));
    char value[16];
    EXPECT_TRUE(store->GetString("Short", value, sizeof value));
    EXPECT_STREQ(value, "E803");
    EXPECT_TRUE(store->GetString("Long", value, sizeof value));
    EXPECT_STREQ(value, "FFFFFF00");
    EXPECT_TRUE(store->GetString("Text", value, sizeof value));
    EXPECT_STREQ(value, "61007A00");
    ULONG back = 0;
    EXPECT_TRUE(store->GetItem("Long", &back, sizeof back));
    EXPECT_EQ(back, colour);
}

TEST_F(SettingsStore, RefusedWriteIsLoggedWithTheErrorCode) {
    test::TempDir folder;
    test::WriteFile(folder / "QUORVANT.INI", "[QUORVANT]\n");
    Profile store("QUORVANT", nullptr, folder.path().string().c_str(), 0);
    ASSERT_TRUE(store.IsReady());
    std::filesystem::remove_all(folder.path());
    const USHORT thousand = 1000;
    EXPECT_FALSE(store.PutItem("Short", &thousand, sizeof thousand));
    EXPECT_FALSE(store.PutString("Name", "text"));
    const std::string log = LogText();
    for (const char* entry :
         {"Profile::PutString: Could not put INI item.  App QUORVANT, Item Short, Value E803.  ",
          "Profile::PutString: Could not put INI item.  App QUORVANT, Item Name, Value text.  "}) {
        const std::size_t at = log.find(entry);
        ASSERT_NE(at, std::string::npos) << entry;
        const std::string code = log.substr(at + std::strlen(entry), 9);
        EXPECT_EQ(code.find_first_not_of("0123456789ABCDEF"), 8u) << code;
        EXPECT_NE(code.substr(0, 8), "00000000");
    }
}

TEST_F(SettingsStore, GetStringIntoABufferTakesOnlyWhatFits) {
    WriteSettings("[QUORVANT]\nFits=" + std::string(79, 'x') + "\nTooLong=" + std::string(80, 'y') +
                  "\n");
    auto store = Open();
    char buffer[80] = "untouched";
    EXPECT_TRUE(store->GetString("Fits", buffer, sizeof buffer));
    EXPECT_EQ(std::string(buffer), std::string(79, 'x'));
    std::strcpy(buffer, "untouched");
    EXPECT_FALSE(store->GetString("TooLong", buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "untouched");
    EXPECT_NE(LogText().find("Profile::GetString: Could not get INI item.  App QUORVANT, Item "
                             "TooLong.  Too large."),
              std::string::npos);
    EXPECT_TRUE(store->GetString("Missing", buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "");
}

TEST_F(SettingsStore, AllocatingGetStringGivesANewTextCutAt4095) {
    WriteSettings("[QUORVANT]\nLong=" + std::string(5000, 'z') + "\n");
    auto store = Open();
    char* text = nullptr;
    ASSERT_TRUE(store->GetString("Missing", text));
    ASSERT_NE(text, nullptr);
    EXPECT_STREQ(text, "");
    delete[] text;
    ASSERT_TRUE(store->GetString("Long", text));
    EXPECT_EQ(std::string(text), std::string(4095, 'z'));
    delete[] text;
}

TEST_F(SettingsStore, StoreWithoutItsFileReadsAndWritesNothingButResetStillDeletes) {
    auto store = Open();
    EXPECT_FALSE(store->IsReady());
    BYTE item = 7;
    char buffer[8] = "x";
    char* text = buffer;
    EXPECT_FALSE(store->GetItem("ShowK", &item, 1));
    EXPECT_FALSE(store->PutItem("ShowK", &item, 1));
    EXPECT_FALSE(store->GetString("ShowK", buffer, sizeof buffer));
    EXPECT_FALSE(store->GetString("ShowK", text));
    EXPECT_EQ(text, nullptr);
    EXPECT_FALSE(store->PutString("ShowK", "1"));
    EXPECT_EQ(item, 7);
    EXPECT_STREQ(buffer, "x");
    EXPECT_EQ(LogText(), "");
    EXPECT_FALSE(std::filesystem::exists(File));

    WriteSettings("[QUORVANT]\nShowK=0000\nShowM=0000\n");
    store->Reset("ShowK");
    EXPECT_EQ(SettingsText(), Entries("[QUORVANT]\nShowM=0000\n"));
    EXPECT_FALSE(store->IsReady());
}

TEST_F(SettingsStore, ResetDeletesAKeyOrTheSectionAndNothingElse) {
    const std::string text = "; mine\n[OTHER]\nShowK=0000\n\n[QUORVANT]\nShowK=0000\nShowM=0000\n";
    WriteSettings(text);
    auto store = Open();
    store->Reset("NotThere");
    EXPECT_EQ(SettingsText(), Entries(text));
    store->Reset("showk");
    EXPECT_EQ(SettingsText(), Entries("; mine\n[OTHER]\nShowK=0000\n\n[QUORVANT]\nShowM=0000\n"));
    store->Reset();
    EXPECT_EQ(SettingsText(), Entries("; mine\n[OTHER]\nShowK=0000\n\n"));
    EXPECT_EQ(LogText(), "");
}

// The system profile is the user's own: the tests use a section nobody else has.
class SystemProfileStore : public SettingsStore {
  protected:
    ~SystemProfileStore() override { WriteSystemProfileText(kSection, nullptr, nullptr); }
    static constexpr const char* kSection = "QVTEST";
};

TEST_F(SystemProfileStore, IsReadyAtOnceAndReadsWhatItWrote) {
    Profile store(kSection);
    EXPECT_TRUE(store.IsReady());
    const ULONG value = 0x01020304;
    ULONG back = 0;
    EXPECT_TRUE(store.PutItem("Value", &value, sizeof value));
    EXPECT_TRUE(store.GetItem("Value", &back, sizeof back));
    EXPECT_EQ(back, value);
    store.Reset();
    EXPECT_FALSE(store.GetItem("Value", &back, sizeof back));
}

TEST_F(SystemProfileStore, IniPathLeadsToTheFileElseTheHomeDirectoryIsUsed) {
    test::TempDir elsewhere;
    const std::string elsewhereFile = elsewhere / "QVTEST.INI";
    test::WriteFile(Dir / "QVTEST.INI", "[QVTEST]\nWhere=486F6D6500\n");  // "Home"
    ASSERT_TRUE(WriteSystemProfileText(kSection, "INIPATH", elsewhere.path().string().c_str()));

    char where[16] = "";
    EXPECT_TRUE(Open("QVTEST")->GetString("Where", where, sizeof where));
    EXPECT_STREQ(where, "486F6D6500") << "no file where INIPATH points: the home directory";

    test::WriteFile(elsewhereFile, "[QVTEST]\nWhere=456C736500\n");  // "Else"
    EXPECT_TRUE(Open("QVTEST")->GetString("Where", where, sizeof where));
    EXPECT_STREQ(where, "456C736500");
}

TEST_F(SystemProfileStore, PathsBeyondTheLimitCountAsAbsent) {
    std::filesystem::path deep = Dir.path();
    std::error_code failed;
    while (deep.string().size() < 250) deep /= "0123456789";
    std::filesystem::create_directories(deep, failed);
    test::WriteFile((deep / "QVTEST.INI").string(), "[QVTEST]\nWhere=00\n");
    if (failed || !std::filesystem::exists(deep / "QVTEST.INI"))
        GTEST_SKIP() << "this file system takes no path that long";
    ASSERT_TRUE(WriteSystemProfileText(kSection, "INIPATH", deep.string().c_str()));
    EXPECT_FALSE(Open("QVTEST")->IsReady());
    EXPECT_FALSE(Profile("QVTEST", nullptr, deep.string().c_str(), 0).IsReady());
}

}  // namespace
}  // namespace qv
