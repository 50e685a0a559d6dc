#include "platform/posix/catalogue.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

std::string At(const Catalogue& catalogue, ULONG id) {
    const auto text = catalogue.Find(id);
    return text ? std::string(*text) : "(missing)";
}

TEST(ParseCatalogue, ReadsEntriesAndIgnoresCommentsAndBlankLines) {
    std::string text =
        "\xEF\xBB\xBF"  // a byte order mark, as many editors write it
        "12 \"first line\"\n"
        "# texts\n"
        "\n"
        "13 \"Time since start\"\n"
        "  15\t\"  padded  \"  \r\n"
        "16 \"quote \\\" backslash \\\\ tab \\t newline \\n\"\n"
        "17 \"\"\n"
        "40 \"Gr\u00f6\u00dfe\"";
    const Catalogue catalogue = ParseCatalogue(text);
    EXPECT_TRUE(catalogue.problems.empty());
    EXPECT_EQ(At(catalogue, 12), "first line");
    EXPECT_EQ(At(catalogue, 13), "Time since start");
    EXPECT_EQ(At(catalogue, 15), "  padded  ");
    EXPECT_EQ(At(catalogue, 16), "quote \" backslash \\ tab \t newline \n");
    EXPECT_EQ(At(catalogue, 17), "");
    EXPECT_EQ(At(catalogue, 40), "Gr\u00f6\u00dfe");
    EXPECT_EQ(At(catalogue, 14), "(missing)");
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
        {"13 \"ends in an escaped quote\\\"", "no closing quote"},
        {"13 \"bad \\q escape\"", "unknown escape"},
        {"13 \"a\" b", "text after the closing quote"},
        {"28@posix \"qualified\"", "no quoted text after the number"},
    };
    for (const auto& c : cases) {
        std::string text = std::string("1 \"ok\"\n") + c.line + "\n2 \"ok\"";
        const Catalogue catalogue = ParseCatalogue(text);
        ASSERT_EQ(catalogue.problems.size(), 1u) << c.line;
        EXPECT_EQ(catalogue.problems[0].line, 2) << c.line;
        EXPECT_EQ(catalogue.problems[0].reason, c.reason) << c.line;
        EXPECT_EQ(catalogue.count, 2u) << c.line;
    }
}

TEST(ParseCatalogue, KeepsTheFirstOfTwoEntriesWithOneNumber) {
    std::string text = "5 \"first\"\n5 \"second\"\n";
    const Catalogue catalogue = ParseCatalogue(text);
    EXPECT_EQ(At(catalogue, 5), "first");
    ASSERT_EQ(catalogue.problems.size(), 1u);
    EXPECT_EQ(catalogue.problems[0].line, 2);
}

TEST(ParseCatalogue, SurvivesBinaryAndHugeInput) {
    std::string binary(4096, '\0');
    for (std::size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 7);
    const Catalogue garbage = ParseCatalogue(binary);
    EXPECT_EQ(garbage.count, 0u);

    const std::string longText(1 << 20, 'x');
    std::string hugeText = "7 \"" + longText + "\"\n";
    const Catalogue huge = ParseCatalogue(hugeText);
    EXPECT_EQ(At(huge, 7), longText);

    // A file of malformed lines keeps the first problems and counts them all.
    std::string bad;
    for (int i = 0; i < 1000; ++i) bad += "x\n";
    const Catalogue many = ParseCatalogue(bad);
    EXPECT_EQ(many.problems.size(), Catalogue::kMostProblems);
    EXPECT_EQ(many.skippedLines, 1000u);
}

}  // namespace
}  // namespace qv
