#include "platform/posix/catalogue.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

TEST(ParseCatalogue, ReadsEntriesAndIgnoresCommentsAndBlankLines) {
    const Catalogue catalogue = ParseCatalogue(
        "# texts\n"
        "\n"
        "13 \"Time since start\"\n"
        "  15\t\"  padded  \"  \r\n"
        "16 \"quote \\\" backslash \\\\ tab \\t newline \\n\"\n"
        "17 \"\"\n"
        "40 \"Gr\u00f6\u00dfe\"");
    EXPECT_TRUE(catalogue.problems.empty());
    EXPECT_EQ(catalogue.strings.at(13), "Time since start");
    EXPECT_EQ(catalogue.strings.at(15), "  padded  ");
    EXPECT_EQ(catalogue.strings.at(16), "quote \" backslash \\ tab \t newline \n");
    EXPECT_EQ(catalogue.strings.at(17), "");
    EXPECT_EQ(catalogue.strings.at(40), "Gr\u00f6\u00dfe");
}

TEST(ParseCatalogue, SkipsMalformedLinesAndNamesThem) {
    struct {
        const char* line;
        const char* reason;
    } cases[] = {
        {"x \"text\"", "no string number from 0 to 65535"},
        {"65536 \"too large\"", "no string number from 0 to 65535"},
        {"99999999999999999999 \"overflow\"", "no string number from 0 to 65535"},
        {"13", "no quoted text after the number"},
        {"13\"no blank\"", "no quoted text after the number"},
        {"13 text", "no quoted text after the number"},
        {"13 \"open", "no closing quote"},
        {"13 \"ends in backslash\\", "no closing quote"},
        {"13 \"bad \\q escape\"", "unknown escape"},
        {"13 \"a\" b", "text after the closing quote"},
        {"28@posix \"qualified\"", "no quoted text after the number"},
    };
    for (const auto& c : cases) {
        const Catalogue catalogue =
            ParseCatalogue(std::string("1 \"ok\"\n") + c.line + "\n2 \"ok\"");
        ASSERT_EQ(catalogue.problems.size(), 1u) << c.line;
        EXPECT_EQ(catalogue.problems[0].line, 2) << c.line;
        EXPECT_EQ(catalogue.problems[0].reason, c.reason) << c.line;
        EXPECT_EQ(catalogue.strings.size(), 2u) << c.line;
    }
}

TEST(ParseCatalogue, KeepsTheFirstOfTwoEntriesWithOneNumber) {
    const Catalogue catalogue = ParseCatalogue("5 \"first\"\n5 \"second\"\n");
    EXPECT_EQ(catalogue.strings.at(5), "first");
    ASSERT_EQ(catalogue.problems.size(), 1u);
    EXPECT_EQ(catalogue.problems[0].line, 2);
}

TEST(ParseCatalogue, SurvivesBinaryAndHugeInput) {
    std::string binary(4096, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 7);
    const Catalogue garbage = ParseCatalogue(binary);
    EXPECT_TRUE(garbage.strings.empty());

    const std::string longText(1 << 20, 'x');
    const Catalogue huge = ParseCatalogue("7 \"" + longText + "\"\n");
    EXPECT_EQ(huge.strings.at(7).size(), longText.size());
}

}  // namespace
}  // namespace qv
