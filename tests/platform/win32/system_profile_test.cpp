// The system profile of Windows is WIN.INI in the Windows folder.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "platform/profile.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

TEST(SystemProfile, IsWinIniInTheWindowsFolder) {
    const char* windows = std::getenv("WINDIR");
    ASSERT_NE(windows, nullptr);
    ASSERT_TRUE(WriteSystemProfileText("QVTEST", "Where", "0102"));
    const std::string text = test::ReadFile(std::string(windows) + "\\win.ini");
    EXPECT_NE(text.find("[QVTEST]"), std::string::npos);
    EXPECT_NE(text.find("Where=0102"), std::string::npos);
    char value[8];
    EXPECT_EQ(GetSystemProfileText("qvtest", "WHERE", "", value, sizeof value), 4u);
    EXPECT_STREQ(value, "0102");
    EXPECT_TRUE(WriteSystemProfileText("QVTEST", nullptr, nullptr));
    EXPECT_EQ(GetSystemProfileText("QVTEST", "Where", "gone", value, sizeof value), 4u);
    EXPECT_STREQ(value, "gone");
}

}  // namespace
}  // namespace qv
