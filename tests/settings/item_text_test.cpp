#include "settings/item_text.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <ostream>
#include <string>
#include <string_view>
#include <vector>

namespace qv {
namespace {

using Bytes = std::vector<unsigned char>;

constexpr unsigned char kGuard = 0xA5;
constexpr std::size_t kGuardBytes = 4;

struct DecodeCase {
    std::string_view text;
    std::size_t size;
    bool decoded;
    Bytes bytes;  // when decoded
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << '"' << c.text << "\" size " << c.size;
}

class DecodeItemTest : public ::testing::TestWithParam<DecodeCase> {};

// The item sits between guard bytes: a decoded text fills exactly its bytes, a
// refused one (of the wrong length) changes nothing at all.
TEST_P(DecodeItemTest, FillsExactlyTheItemOrLeavesItAsItWas) {
    const DecodeCase& c = GetParam();
    Bytes buffer(c.size + 2 * kGuardBytes, kGuard);
    EXPECT_EQ(DecodeItem(c.text, buffer.data() + kGuardBytes, c.size), c.decoded) << c.text;
    Bytes expected(buffer.size(), kGuard);
    if (c.decoded) std::copy(c.bytes.begin(), c.bytes.end(), expected.begin() + kGuardBytes);
    EXPECT_EQ(buffer, expected) << c.text;
}

using namespace std::string_view_literals;

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeItemTest,
    ::testing::Values(
        DecodeCase{"01000000", 4, true, {0x01, 0x00, 0x00, 0x00}},
        DecodeCase{"E803", 2, true, {0xE8, 0x03}},
        DecodeCase{"0123456789ABCDEF", 8, true, {0x01, 0x23, 0x45, 0x67, 0x89, 0xAB, 0xCD, 0xEF}},
        DecodeCase{"", 0, true, {}},
        // wrong length: too short, too long, odd, empty, and digits for no byte
        DecodeCase{"01000000", 2, false, {}}, DecodeCase{"01", 4, false, {}},
        DecodeCase{"010", 2, false, {}}, DecodeCase{"01000", 2, false, {}},
        DecodeCase{"0", 1, false, {}}, DecodeCase{"", 1, false, {}}, DecodeCase{"00", 0, false, {}},
        // Any other character counts by the same rule (code - 55 above '9', else
        // code - 48; the byte is the low eight bits of high * 16 OR low).
        DecodeCase{"0a", 1, true, {0x2A}}, DecodeCase{"f0", 1, true, {0xF0}},
        DecodeCase{"/0", 1, true, {0xF0}}, DecodeCase{":0", 1, true, {0x30}},
        DecodeCase{"@0", 1, true, {0x90}}, DecodeCase{"0G", 1, true, {0x10}},
        DecodeCase{"G0G0", 2, true, {0x00, 0x00}}, DecodeCase{" 1", 1, true, {0x01}},
        DecodeCase{"-1", 1, true, {0xD1}}, DecodeCase{"+1", 1, true, {0xB1}},
        DecodeCase{"00 0", 2, true, {0x00, 0x00}},
        DecodeCase{"0000000G", 4, true, {0x00, 0x00, 0x00, 0x10}},
        DecodeCase{"0\0"sv, 1, true, {0xD0}}, DecodeCase{"0\xB0", 1, true, {0x79}}));

struct EncodeCase {
    Bytes bytes;
    std::string text;
};

class EncodeItemTest : public ::testing::TestWithParam<EncodeCase> {};

TEST_P(EncodeItemTest, WritesTwoUpperCaseDigitsPerByteInMemoryOrder) {
    const EncodeCase& c = GetParam();
    EXPECT_EQ(EncodeItem(c.bytes.data(), c.bytes.size()), c.text);
}

INSTANTIATE_TEST_SUITE_P(Cases, EncodeItemTest,
                         ::testing::Values(EncodeCase{{}, ""}, EncodeCase{{0x06}, "06"},
                                           EncodeCase{{0xE8, 0x03}, "E803"},
                                           EncodeCase{{0xFF, 0xFF, 0xFF, 0x00}, "FFFFFF00"},
                                           EncodeCase{{0x0F, 0xF0, 0xAB, 0xCD}, "0FF0ABCD"},
                                           EncodeCase{{'a', 0, 'z', 0}, "61007A00"}));

TEST(ItemText, EveryByteValueSurvivesTheRoundTrip) {
    Bytes all(256);
    std::string expected;
    for (int value = 0; value < 256; ++value) {
        all[static_cast<std::size_t>(value)] = static_cast<unsigned char>(value);
        char digits[3];
        std::snprintf(digits, sizeof digits, "%02X", value);
        expected += digits;
    }
    const std::string text = EncodeItem(all.data(), all.size());
    EXPECT_EQ(text, expected);
    Bytes back(all.size());
    ASSERT_TRUE(DecodeItem(text, back.data(), back.size()));
    EXPECT_EQ(back, all);
}

}  // namespace
}  // namespace qv
