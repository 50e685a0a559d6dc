#include "platform/posix/ini_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace qv::ini {
namespace {

struct FindCase {
    const char* what;
    std::string text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

class FindValueTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindValueTest, Finds) {
    const FindCase& c = GetParam();
    EXPECT_EQ(FindValue(c.text, c.section, c.key), c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindValueTest,
    ::testing::Values(
        FindCase{"plain", "[QUORVANT]\nShowK=0000\n", "QUORVANT", "ShowK", "0000"},
        FindCase{"names ignore case", "[quorvant]\nSHOWK=01\n", "QUORVANT", "showk", "01"},
        FindCase{"blanks around names and value", "  [ QUORVANT ]  \n\t ShowK \t=  01 00 \t\n",
                 "QUORVANT", "ShowK", "01 00"},
        FindCase{"double quotes", "[A]\nk=\" x \"\n", "A", "k", " x "},
        FindCase{"single quotes", "[A]\nk='x'\n", "A", "k", "x"},
        FindCase{"unmatched quotes stay", "[A]\nk=\"x'\n", "A", "k", "\"x'"},
        FindCase{"lone quote stays", "[A]\nk=\"\n", "A", "k", "\""},
        FindCase{"empty value", "[A]\nk=\n", "A", "k", ""},
        FindCase{"crlf", "[A]\r\nk=v\r\n", "A", "k", "v"},
        FindCase{"last line without end", "[A]\nk=v", "A", "k", "v"},
        FindCase{"other section", "[B]\nk=v\n[A]\nj=w\n", "A", "k", std::nullopt},
        FindCase{"missing section", "[B]\nk=v\n", "A", "k", std::nullopt},
        FindCase{"entries before any section", "k=v\n[A]\n", "A", "k", std::nullopt},
        FindCase{"comment is no entry", "[A]\n;k=v\n", "A", "k", std::nullopt},
        FindCase{"line without equals", "[A]\nk\n", "A", "k", std::nullopt},
        FindCase{"first of duplicate keys", "[A]\nk=1\nk=2\n", "A", "k", "1"},
        FindCase{"sections of one name act as one", "[A]\nx=1\n[B]\nk=b\n[A]\nk=2\n", "A", "k",
                 "2"},
        FindCase{"value keeps further equals", "[A]\nk=a=b\n", "A", "k", "a=b"},
        FindCase{"header without bracket end", "[A\nk=v\n", "A", "k", "v"},
        FindCase{"utf-8 mark before the first header", "\xEF\xBB\xBF[A]\nk=v\n", "A", "k", "v"},
        FindCase{"binary bytes", std::string("[A]\nk=\x01\x00\xff\n", 10), "A", "k",
                 std::string("\x01\x00\xff", 3)},
        FindCase{"empty text", "", "A", "k", std::nullopt}));

TEST(FindValue, ReadsAroundAVeryLongLine) {
    const std::string text = "[A]\nlong=" + std::string(100000, 'F') + "\nk=v\n";
    EXPECT_EQ(FindValue(text, "A", "long")->size(), 100000u);
    EXPECT_EQ(FindValue(text, "A", "k"), "v");
}

struct EditCase {
    const char* what;
    std::string before;
    std::string after;
};

class SetValueTest : public ::testing::TestWithParam<EditCase> {};

// Every case sets k of section A to "new".
TEST_P(SetValueTest, ChangesOnlyTheKeysLine) {
    const EditCase& c = GetParam();
    EXPECT_EQ(WithValue(c.before, "A", "k", "new"), c.after) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, SetValueTest,
    ::testing::Values(
        EditCase{"replaces in place, keeps comments and order",
                 "; top\n\n[B]\nk=b\n[A]\n; note\nK = old  \nz=1\n",
                 "; top\n\n[B]\nk=b\n[A]\n; note\nK = new\nz=1\n"},
        EditCase{"keeps crlf", "[A]\r\nk=old\r\nz=1\r\n", "[A]\r\nk=new\r\nz=1\r\n"},
        EditCase{"empty value", "[A]\nk=\n", "[A]\nk=new\n"},
        EditCase{"new key after the last entry, before trailing comments",
                 "[A]\nx=1\n\n; about B\n[B]\ny=2\n", "[A]\nx=1\nk=new\n\n; about B\n[B]\ny=2\n"},
        EditCase{"new key in crlf file", "[A]\r\nx=1\r\n", "[A]\r\nx=1\r\nk=new\r\n"},
        EditCase{"new key in empty section", "[A]\n[B]\n", "[A]\nk=new\n[B]\n"},
        EditCase{"new key after unterminated last line", "[A]\nx=1", "[A]\nx=1\nk=new\n"},
        EditCase{"new section at the end", "[B]\ny=2\n", "[B]\ny=2\n\n[A]\nk=new\n"},
        EditCase{"new section in crlf file", "[B]\r\ny=2\r\n",
                 "[B]\r\ny=2\r\n\r\n[A]\r\nk=new\r\n"},
        EditCase{"new section after unterminated line", "; c", "; c\n\n[A]\nk=new\n"},
        EditCase{"new file", "", "[A]\nk=new\n"},
        EditCase{"only the first of duplicates", "[A]\nk=1\nk=2\n", "[A]\nk=new\nk=2\n"},
        EditCase{"entries before any section are not the key", "k=0\n", "k=0\n\n[A]\nk=new\n"}));

class DeleteTest : public ::testing::TestWithParam<EditCase> {};

// Every case deletes k of section A, or the whole section when "after" says so.
TEST_P(DeleteTest, RemovesOnlyThoseLines) {
    const EditCase& c = GetParam();
    const std::string what = c.what;
    const std::string result = what.starts_with("section") ? WithoutSection(c.before, "A")
                                                           : WithoutKey(c.before, "A", "k");
    EXPECT_EQ(result, c.after) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DeleteTest,
    ::testing::Values(
        EditCase{"key, comments kept", "; c\n[A]\nx=1\n k = 2\n; n\n", "; c\n[A]\nx=1\n; n\n"},
        EditCase{"key, crlf kept", "[A]\r\nk=1\r\nx=2\r\n", "[A]\r\nx=2\r\n"},
        EditCase{"key, every duplicate", "[A]\nk=1\n[A]\nk=2\n", "[A]\n[A]\n"},
        EditCase{"key, other sections untouched", "[B]\nk=1\n[A]\nk=2\n", "[B]\nk=1\n[A]\n"},
        EditCase{"key missing, nothing changes", "[A]\nx=1", "[A]\nx=1"},
        EditCase{"section, up to the next one", "[B]\nb=1\n[a]\nk=1\n; c\n\n[C]\nc=1\n",
                 "[B]\nb=1\n[C]\nc=1\n"},
        EditCase{"section at the end", "[B]\r\nb=1\r\n[A]\r\nk=1", "[B]\r\nb=1\r\n"},
        EditCase{"section, every block of the name", "[A]\nx\n[B]\n[A]\ny\n", "[B]\n"},
        EditCase{"section missing, nothing changes", "[B]\nb=1\n", "[B]\nb=1\n"}));

TEST(Names, OnlyNamesThatReadBackAsWrittenAreValid) {
    EXPECT_TRUE(IsValidSectionName("QUORVANT"));
    for (const char* bad : {"", " A", "A ", "A]", "A\nB"})
        EXPECT_FALSE(IsValidSectionName(bad)) << bad;
    EXPECT_TRUE(IsValidKeyName("ShowK"));
    for (const char* bad : {"", " k", "k\t", "a=b", "[k", ";k", "k\r"})
        EXPECT_FALSE(IsValidKeyName(bad)) << bad;
    EXPECT_TRUE(IsValidValue(" any = text "));
    EXPECT_FALSE(IsValidValue("two\nlines"));
    EXPECT_FALSE(IsValidValue("cr\r"));
}

TEST(PlaceInBuffer, CutsAtTheBufferAndCountsWhatWasPlaced) {
    char buffer[5];
    EXPECT_EQ(PlaceInBuffer("abcd", buffer, 5), 4u);
    EXPECT_STREQ(buffer, "abcd");
    EXPECT_EQ(PlaceInBuffer("abcdef", buffer, 5), 4u);
    EXPECT_STREQ(buffer, "abcd");
    EXPECT_EQ(PlaceInBuffer("abc", buffer, 1), 0u);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(PlaceInBuffer("abc", buffer, 0), 0u);
}

}  // namespace
}  // namespace qv::ini
