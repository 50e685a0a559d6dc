// The one message box of the system, shown by Debug, closed here by a helper
// thread: under wine it waits for a user otherwise.
#include <gtest/gtest.h>
#include <windows.h>

#include "diag/log.h"
#include "platform/system.h"
#include "platform/win32/win_support.h"

namespace qv {
namespace {

TEST(Win32MessageBox, ShowsTheTextUnderTheTitleAndReturnsTheButton) {
    test::MessageBoxCloser closer("qv-test box");
    EXPECT_EQ(Sys_MessageBox(nullptr, nullptr, "the text", "qv-test box", 0, MB_OK), IDOK);
    EXPECT_EQ(closer.Wait(), "the text");
}

TEST(Win32Debug, ShowsTheFormattedTextInABoxTitledDebug) {
    test::MessageBoxCloser closer("Debug");
    Debug(nullptr, "ERROR: Unable to load module '%s'.", "lang.dll");
    EXPECT_EQ(closer.Wait(), "ERROR: Unable to load module 'lang.dll'.");
}

TEST(Win32Debug, CutsTheTextTo499Characters) {
    test::MessageBoxCloser closer("Debug");
    Debug(nullptr, "%s", std::string(600, 'd').c_str());
    EXPECT_EQ(closer.Wait(), std::string(499, 'd'));
}

}  // namespace
}  // namespace qv
