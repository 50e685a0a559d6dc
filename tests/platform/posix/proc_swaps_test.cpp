// The first swap area of /proc/swaps and the kernel's escapes in names.
#include <gtest/gtest.h>

#include "platform/posix/proc_text.h"

namespace qv {
namespace {

constexpr const char* kHeading = "Filename\t\t\t\tType\t\tSize\t\tUsed\t\tPriority\n";

TEST(FirstSwapArea, PathAndSizeOfTheFirstArea) {
    const auto area = FirstSwapArea(std::string(kHeading) +
                                    "/dev/dm-1                               partition\t999420\t\t0"
                                    "\t\t-2\n"
                                    "/swapfile                               file\t\t2097148\t\t0"
                                    "\t\t-3\n");
    ASSERT_TRUE(area);
    EXPECT_EQ(area->Path, "/dev/dm-1");
    EXPECT_EQ(area->Size, 999420ull * 1024);
}

TEST(FirstSwapArea, EscapedPathIsDecoded) {
    const auto area = FirstSwapArea(std::string(kHeading) +
                                    "/mnt/my\\040swap\\011file\\012x\\134y file\t8388604\t0\t-2\n");
    ASSERT_TRUE(area);
    EXPECT_EQ(area->Path, "/mnt/my swap\tfile\nx\\y");
    EXPECT_EQ(area->Size, 8388604ull * 1024);  // 8 GiB, past 32 bits
}

TEST(FirstSwapArea, NoneWithoutAreasOrWithAMalformedOne) {
    EXPECT_EQ(FirstSwapArea(kHeading), std::nullopt);
    EXPECT_EQ(FirstSwapArea(""), std::nullopt);
    EXPECT_EQ(FirstSwapArea(std::string(kHeading) + "/swapfile file lots 0 -2\n"), std::nullopt);
    EXPECT_EQ(FirstSwapArea(std::string(kHeading) + "/swapfile file 99999999999999999999 0 -2\n"),
              std::nullopt);
}

TEST(DecodeOctalEscapes, OnePassAndOnlyByteValues) {
    struct Case {
        const char* text;
        const char* decoded;
    };
    const Case cases[] = {
        {"a\\040b", "a b"}, {"\\134040", "\\040"},  {"\\043x", "#x"}, {"\\400", "\\400"},
        {"\\08", "\\08"},   {"end\\04", "end\\04"}, {"\\", "\\"},     {"plain", "plain"},
    };
    for (const Case& c : cases) EXPECT_EQ(DecodeOctalEscapes(c.text), c.decoded) << c.text;
}

}  // namespace
}  // namespace qv
