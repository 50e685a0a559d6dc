// The INI model. The readings are those of the platform's profile functions
// (seen under wine64); the edits change the text in place, as the platform
// does. The differential test runs many more texts through both.
#include "platform/posix/ini_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <ostream>
#include <string>

namespace qv::ini {
namespace {

using namespace std::string_literals;

struct FindCase {
    const char* what;
    std::string text;
    const char* section;
    const char* key;
    std::optional<std::string> expected;
};

void PrintTo(const FindCase& c, std::ostream* os) {
    *os << c.what;
}

class FindTest : public ::testing::TestWithParam<FindCase> {};

TEST_P(FindTest, ReadsAsThePlatformDoes) {
    const FindCase& c = GetParam();
    const Document text(c.text);
    const auto found = text.Find(c.section, c.key);
    EXPECT_EQ(found ? std::optional<std::string>(*found) : std::nullopt, c.expected) << c.what;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FindTest,
    ::testing::Values(
        FindCase{"plain", "[QUORVANT]\nShowK=0000\n", "QUORVANT", "ShowK", "0000"},
        FindCase{"names ignore case", "[quorvant]\nSHOWK=01\n", "QUORVANT", "showk", "01"},
        FindCase{"blanks around names and value", "  [ QUORVANT ]  \n\t ShowK \t=  01 00 \t\n",
                 "QUORVANT", "ShowK", "01 00"},
        FindCase{"VT, FF and ^Z are blanks", "[A]\n\v\x1a k\f=\x1av\v\n", "A", "k", "v"},
        FindCase{"no-break space is no blank", "[A]\n\xA0k=v\n", "A", "k", std::nullopt},
        FindCase{"double quotes", "[A]\nk=\" x \"\n", "A", "k", " x "},
        FindCase{"single quotes", "[A]\nk='x'\n", "A", "k", "x"},
        FindCase{"quotes only", "[A]\nk=\"\"\n", "A", "k", ""},
        FindCase{"unmatched quotes stay", "[A]\nk=\"x'\n", "A", "k", "\"x'"},
        FindCase{"lone quote stays", "[A]\nk=\"\n", "A", "k", "\""},
        FindCase{"empty value", "[A]\nk=  \n", "A", "k", ""},
        FindCase{"value keeps further equals", "[A]\nk=a=b\n", "A", "k", "a=b"},
        FindCase{"lone CR ends a line", "[A]\rx=1\rk=v\r", "A", "k", "v"},
        FindCase{"mixed line ends", "[A]\r\r\nx=1\n\rk=v\r\n", "A", "k", "v"},
        FindCase{"last line without end", "[A]\nk=v", "A", "k", "v"},
        FindCase{"other section", "[B]\nk=v\n[A]\nj=w\n", "A", "k", std::nullopt},
        FindCase{"entries before any section", "k=v\n[A]\n", "A", "k", std::nullopt},
        FindCase{"the section without a name", "k=v\n[A]\n", "", "k", "v"},
        FindCase{"comment is no entry of the key", "[A]\n;k=v\n", "A", "k", std::nullopt},
        FindCase{"key without value hides a later one", "[A]\nk\nk=v\n", "A", "k", std::nullopt},
        FindCase{"first of duplicate keys", "[A]\nk=1\nk=2\n", "A", "k", "1"},
        FindCase{"first block of a repeated section", "[A]\nx=1\n[B]\n[a]\nk=2\n", "A", "k",
                 std::nullopt},
        FindCase{"'[' without ']' is no header", "[X]\nk=1\n[QUORVANT\nk=2\n", "X", "k", "1"},
        FindCase{"... and names no section", "[X]\nk=1\n[QUORVANT\nk=2\n", "QUORVANT", "k",
                 std::nullopt},
        FindCase{"a broken header hides nothing", "[A]\n[broken\nm=3\n", "A", "m", "3"},
        FindCase{"header up to its last ']'", "[B]x]\nk=1\n", "B]x", "k", "1"},
        FindCase{"text after the header", "[B] junk\nk=1\n", "B", "k", "1"},
        FindCase{"NUL ends a value", "[A]\nk=ab\0cd\n"s, "A", "k", "ab"},
        FindCase{"NUL ends a key", "[A]\nm\0x=2\n"s, "A", "m", "2"},
        FindCase{"NUL ends a section name", "[QUOR\0VANT]\nk=1\n"s, "QUOR", "k", "1"},
        FindCase{"UTF-8 mark is part of the first line", "\xEF\xBB\xBF[A]\nk=v\n", "A", "k",
                 std::nullopt},
        FindCase{"binary bytes", "[A]\nk=\x01\xfe\xff\n", "A", "k", "\x01\xfe\xff"},
        FindCase{"empty text", "", "A", "k", std::nullopt}));

TEST(Document, ReadsAroundAVeryLongLine) {
    const Document text("[A]\nlong=" + std::string(100000, 'F') + "\nk=v\n");
    EXPECT_EQ(text.Find("A", "long")->size(), 100000u);
    EXPECT_EQ(text.Find("A", "k"), "v");
}

enum class Op { Set, DeleteKey, DeleteSection };

struct EditCase {
    const char* what;
    Op op;
    std::string before;
    std::string after;
};

void PrintTo(const EditCase& c, std::ostream* os) {
    *os << c.what;
}

class EditTest : public ::testing::TestWithParam<EditCase> {};

// Every case sets k of section A to "new", or deletes k, or deletes A.
TEST_P(EditTest, ChangesOnlyTheBytesConcerned) {
    const EditCase& c = GetParam();
    Document text(c.before);
    const bool changed = c.op == Op::Set         ? text.Set("A", "k", "new")
                         : c.op == Op::DeleteKey ? text.DeleteKey("A", "k")
                                                 : text.DeleteSection("A");
    EXPECT_EQ(text.Text(), c.after) << c.what;
    EXPECT_EQ(changed, c.before != c.after) << c.what;
    if (c.op == Op::Set) {
        EXPECT_EQ(text.Find("A", "k"), "new") << c.what;
    }
}

INSTANTIATE_TEST_SUITE_P(
    Set, EditTest,
    ::testing::Values(
        EditCase{"in place, comments, blank lines and order kept", Op::Set,
                 "; top\n\n[B]\nk=b\n[A]\n; note\nK = old  \nz=1\n",
                 "; top\n\n[B]\nk=b\n[A]\n; note\nK = new\nz=1\n"},
        EditCase{"crlf kept", Op::Set, "[A]\r\nk=old\r\nz=1\r\n", "[A]\r\nk=new\r\nz=1\r\n"},
        EditCase{"the same value changes nothing", Op::Set, "[A]\n k =  new  \n\n",
                 "[A]\n k =  new  \n\n"},
        EditCase{"a key without value gets one", Op::Set, "[A]\nk\nx=1\n", "[A]\nk=new\nx=1\n"},
        EditCase{"new key after the section's last line", Op::Set,
                 "[A]\nx=1\n; about B\n\n[B]\ny=2\n", "[A]\nx=1\n; about B\nk=new\n\n[B]\ny=2\n"},
        EditCase{"new key in the first block of a repeated section", Op::Set,
                 "[A]\r\nx=1\r\n[B]\r\n[A]\r\nk=3\r\n",
                 "[A]\r\nx=1\r\nk=new\r\n[B]\r\n[A]\r\nk=3\r\n"},
        EditCase{"new key in an empty section", Op::Set, "[A]\n[B]\n", "[A]\nk=new\n[B]\n"},
        EditCase{"new key after an unterminated last line", Op::Set, "[A]\nx=1",
                 "[A]\nx=1\nk=new\n"},
        EditCase{"new key with the text's lone CR", Op::Set, "[A]\rx=1\r", "[A]\rx=1\rk=new\r"},
        EditCase{"new section at the end", Op::Set, "[B]\r\ny=2\r\n",
                 "[B]\r\ny=2\r\n[A]\r\nk=new\r\n"},
        EditCase{"new file", Op::Set, "", "[A]\r\nk=new\r\n"},
        EditCase{"only the first of duplicates", Op::Set, "[A]\nk=1\nk=2\n", "[A]\nk=new\nk=2\n"},
        EditCase{"entries before any section are not the key", Op::Set, "k=0\n",
                 "k=0\n[A]\nk=new\n"},
        EditCase{"'[A' is no header", Op::Set, "[A\nk=0\n", "[A\nk=0\n[A]\nk=new\n"}));

INSTANTIATE_TEST_SUITE_P(
    Delete, EditTest,
    ::testing::Values(
        EditCase{"key, the rest kept", Op::DeleteKey, "; c\n[A]\nx=1\n k = 2\n; n\n",
                 "; c\n[A]\nx=1\n; n\n"},
        EditCase{"key, crlf kept", Op::DeleteKey, "[A]\r\nk=1\r\nx=2\r\n", "[A]\r\nx=2\r\n"},
        EditCase{"key, lone CR", Op::DeleteKey, "[A]\nk=00\rx=1\ry=2\n", "[A]\nx=1\ry=2\n"},
        EditCase{"key, the first of duplicates", Op::DeleteKey, "[A]\nk=1\nk=2\n", "[A]\nk=2\n"},
        EditCase{"key, in a later block", Op::DeleteKey, "[A]\nx=1\n[B]\n[A]\nk=3\n",
                 "[A]\nx=1\n[B]\n[A]\n"},
        EditCase{"key without value", Op::DeleteKey, "[A]\nk\nx=1\n", "[A]\nx=1\n"},
        EditCase{"key, last line without end", Op::DeleteKey, "[A]\nx=1\nk=2", "[A]\nx=1\n"},
        EditCase{"key, not past '[A' of another section", Op::DeleteKey, "[B]\nk=1\n[A\nk=2\n",
                 "[B]\nk=1\n[A\nk=2\n"},
        EditCase{"key missing, nothing changes", Op::DeleteKey, "[A]\nx=1", "[A]\nx=1"},
        EditCase{"section, up to the next one", Op::DeleteSection,
                 "[B]\nb=1\n[a]\nk=1\n; c\n\n[C]\nc=1\n", "[B]\nb=1\n[C]\nc=1\n"},
        EditCase{"section at the end", Op::DeleteSection, "[B]\r\nb=1\r\n[A]\r\nk=1",
                 "[B]\r\nb=1\r\n"},
        EditCase{"section, the first block only", Op::DeleteSection, "[A]\nx\n[B]\n[A]\ny\n",
                 "[B]\n[A]\ny\n"},
        EditCase{"section missing, nothing changes", Op::DeleteSection, "[B]\nb=1\n",
                 "[B]\nb=1\n"}));

TEST(Document, ReadsWhatItsEditsLeft) {
    Document text("[A]\nx=1\n");
    EXPECT_TRUE(text.Set("B", "y", "2"));
    EXPECT_TRUE(text.Set("A", "z", "3"));
    EXPECT_TRUE(text.DeleteKey("A", "x"));
    EXPECT_EQ(text.Text(), "[A]\nz=3\n[B]\ny=2\n");
    EXPECT_EQ(text.Find("A", "x"), std::nullopt);
    EXPECT_EQ(text.Find("a", "Z"), "3");
    EXPECT_EQ(text.Find("B", "y"), "2");
}

TEST(Names, OnlyNamesThatReadBackAsWrittenAreValid) {
    EXPECT_TRUE(IsValidSectionName("QUORVANT"));
    for (const std::string& bad : {""s, " A"s, "A "s, "A]"s, "A\nB"s, "A\0B"s})
        EXPECT_FALSE(IsValidSectionName(bad)) << bad;
    EXPECT_TRUE(IsValidKeyName("ShowK"));
    for (const std::string& bad : {""s, " k"s, "k\t"s, "a=b"s, "[k"s, ";k"s, "k\r"s, "k\0"s})
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
