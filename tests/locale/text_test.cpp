#include "locale/text.h"

#include <gtest/gtest.h>

#include "support/utf8.h"

namespace qv {
namespace {

TEST(DisplayWidth, CountsColumnsOfUtf8Text) {
    struct {
        const char* text;
        int columns;
    } cases[] = {
        {"", 0},
        {"Free memory", 11},
        {"Gr\u00f6\u00dfe", 5},  // two-byte letters
        {"e\u0301", 1},          // e and a combining accent
        {"\u65e5\u672c", 4},     // two wide characters
        {"\xff\xfe", 2},         // bytes that start no character count one each
        {"\xe2\x82", 2},         // a cut sequence: each byte on its own
        {"\U0001F600", 2},       // an emoji
    };
    for (const auto& c : cases) EXPECT_EQ(DisplayWidth(c.text, true), c.columns) << c.text;
}

TEST(DisplayWidth, CountsBytesInASingleByteEncoding) {
    EXPECT_EQ(DisplayWidth("Gr\xf6\xdf"
                           "e",
                           false),
              5);
}

TEST(CharacterBoundary, NeverCutsACharacter) {
    const std::string text = "a\u00f6\u65e5";  // 1 + 2 + 3 bytes
    EXPECT_EQ(CharacterBoundary(text, 0, true), 0u);
    EXPECT_EQ(CharacterBoundary(text, 2, true), 1u);
    EXPECT_EQ(CharacterBoundary(text, 3, true), 3u);
    EXPECT_EQ(CharacterBoundary(text, 5, true), 3u);
    EXPECT_EQ(CharacterBoundary(text, 6, true), 6u);
    EXPECT_EQ(CharacterBoundary(text, 60, true), 6u);
    EXPECT_EQ(CharacterBoundary(text, 2, false), 2u);
}

TEST(FirstCharacter, TakesTheFirstCharacter) {
    EXPECT_EQ(FirstCharacter(""), "");
    EXPECT_EQ(FirstCharacter(",."), ",");
}

TEST(FirstCharacter, TakesTheWholeFirstCharacterOfSeveralBytes) {
    REQUIRE_UTF8_TEXTS();
    EXPECT_EQ(FirstCharacter("\u202F"), "\u202F");
    EXPECT_EQ(FirstCharacter("\u00a0x"), "\u00a0");
}

TEST(CutToCharacters, CutsAfterWholeCharacters) {
    REQUIRE_UTF8_TEXTS();
    std::string text = "\u00e4\u00f6\u00fc";
    CutToCharacters(text, 2);
    EXPECT_EQ(text, "\u00e4\u00f6");
    std::string shorter = "ab";
    CutToCharacters(shorter, 5);
    EXPECT_EQ(shorter, "ab");
}

}  // namespace
}  // namespace qv
