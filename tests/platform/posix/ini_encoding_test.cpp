// UTF-16 settings files: read as UTF-8 text and written back byte for byte.
#include "platform/posix/ini_encoding.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

namespace qv::ini {
namespace {

using namespace std::string_literals;
using Kind = Encoding::Kind;

struct DecodeCase {
    const char* what;
    std::string bytes;
    Kind kind;
    std::string text;
};

void PrintTo(const DecodeCase& c, std::ostream* os) {
    *os << c.what;
}

class DecodeTest : public ::testing::TestWithParam<DecodeCase> {};

TEST_P(DecodeTest, GivesTheTextAndEncodesBackToTheSameBytes) {
    const DecodeCase& c = GetParam();
    const DecodedText decoded = Decode(c.bytes);
    EXPECT_EQ(decoded.encoding.kind, c.kind);
    EXPECT_EQ(decoded.text, c.text);
    EXPECT_EQ(Encode(decoded.text, decoded.encoding), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, DecodeTest,
    ::testing::Values(
        DecodeCase{"no mark", "[A]\r\nk=\xFF\r\n", Kind::Bytes, "[A]\r\nk=\xFF\r\n"},
        DecodeCase{"a UTF-8 mark is text", "\xEF\xBB\xBF[A]", Kind::Bytes, "\xEF\xBB\xBF[A]"},
        DecodeCase{"little-endian", "\xFF\xFE[\0A\0]\0\r\0\n\0"s, Kind::Utf16Le, "[A]\r\n"},
        DecodeCase{"big-endian", "\xFE\xFF\0[\0A\0]"s, Kind::Utf16Be, "[A]"},
        DecodeCase{"two and three UTF-8 bytes", "\xFF\xFE\xE9\0\xAC\x20"s, Kind::Utf16Le,
                   "\xC3\xA9\xE2\x82\xAC"},
        DecodeCase{"a surrogate pair", "\xFF\xFE\x3D\xD8\x00\xDE"s, Kind::Utf16Le,
                   "\xF0\x9F\x98\x80"},
        DecodeCase{"a lone surrogate",
                   "\xFF\xFE\x00\xD8"
                   "a\0"s,
                   Kind::Utf16Le,
                   "\xED\xA0\x80"
                   "a"},
        DecodeCase{"NUL units", "\xFF\xFEk\0\0\0"s, Kind::Utf16Le, "k\0"s},
        DecodeCase{"an odd last byte stays",
                   "\xFF\xFE"
                   "a\0b"s,
                   Kind::Utf16Le, "a"},
        DecodeCase{"the mark alone", "\xFF\xFE", Kind::Utf16Le, ""}));

TEST(Encode, AUtf16FileTakesOnlyUtf8Text) {
    const Encoding utf16{Kind::Utf16Le, ""};
    EXPECT_EQ(Encode("k=\xC3\xA9", utf16), "\xFF\xFEk\0=\0\xE9\0"s);
    for (const std::string& bad : {"\xFF"s, "\xC0\x80"s, "\xE2\x82"s, "\xF5\x80\x80\x80"s})
        EXPECT_EQ(Encode(bad, utf16), std::nullopt) << bad;
    EXPECT_EQ(Encode("\xFF", Encoding{}), "\xFF");
}

}  // namespace
}  // namespace qv::ini
