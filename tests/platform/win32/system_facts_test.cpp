// The tick count, the memory status and the locale items against the system
// calls they come from.
#include <gtest/gtest.h>
#include <windows.h>

#include <type_traits>

#include "platform/clock.h"
#include "platform/locale.h"
#include "platform/memory.h"

namespace qv {
namespace {

TEST(Win32Clock, AgreesWithGetTickCount64InAll64Bits) {
    static_assert(std::is_same_v<decltype(MillisecondsSinceStart()), std::uint64_t>);
    const ULONGLONG before = ::GetTickCount64();
    const std::uint64_t ours = MillisecondsSinceStart();
    const ULONGLONG after = ::GetTickCount64();
    EXPECT_GE(ours, before);
    EXPECT_LE(ours, after);
}

TEST(Win32Clock, LocalTimeAgreesWithTheSystemsLocalTime) {
    SYSTEMTIME system{};
    ::GetLocalTime(&system);
    const std::tm ours = LocalTime(std::time(nullptr));
    // Both were taken within a moment: compare down to the minute, allowing
    // for the minute to turn in between.
    const int systemMinutes = system.wHour * 60 + system.wMinute;
    const int ourMinutes = ours.tm_hour * 60 + ours.tm_min;
    EXPECT_LE((ourMinutes - systemMinutes + 1440) % 1440, 1);
    EXPECT_EQ(ours.tm_year + 1900, system.wYear);
}

// Free memory moves while the test runs; each figure must lie between the
// system's readings before and after ours.
void ExpectBetween(std::uint64_t ours, ULONGLONG first, ULONGLONG second, const char* what) {
    EXPECT_GE(ours, std::min(first, second)) << what;
    EXPECT_LE(ours, std::max(first, second)) << what;
}

TEST(Win32Memory, AgreesWithGlobalMemoryStatusEx) {
    MEMORYSTATUSEX before{}, after{};
    before.dwLength = after.dwLength = sizeof before;
    ASSERT_TRUE(::GlobalMemoryStatusEx(&before));
    const MemoryStatus ours = QueryMemoryStatus();
    ASSERT_TRUE(::GlobalMemoryStatusEx(&after));
    ExpectBetween(ours.availPhys, before.ullAvailPhys, after.ullAvailPhys, "availPhys");
    ExpectBetween(ours.totalPageFile, before.ullTotalPageFile, after.ullTotalPageFile,
                  "totalPageFile");
    ExpectBetween(ours.availPageFile, before.ullAvailPageFile, after.ullAvailPageFile,
                  "availPageFile");
}

TEST(Win32Locale, TextIsUtf8OnlyUnderTheUtf8CodePage) {
    EXPECT_EQ(TextIsUtf8(), ::GetACP() == CP_UTF8);
}

}  // namespace
}  // namespace qv
