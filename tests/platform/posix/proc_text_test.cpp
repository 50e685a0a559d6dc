#include "platform/posix/proc_text.h"

#include <gtest/gtest.h>

namespace qv {
namespace {

const char* const kMeminfo =
    "MemTotal:       24614856 kB\n"
    "MemFree:        20191132 kB\n"
    "MemAvailable:   23170952 kB\n"
    "SwapCached:            0 kB\n"
    "SwapTotal:       2097148 kB\n"
    "SwapFree:        2097148 kB\n"
    "HugePages_Total:       0\n";

TEST(MeminfoBytes, ReadsFieldsInBytes) {
    EXPECT_EQ(MeminfoBytes(kMeminfo, "MemAvailable"), 23170952ULL * 1024);
    EXPECT_EQ(MeminfoBytes(kMeminfo, "SwapTotal"), 2097148ULL * 1024);
    EXPECT_EQ(MeminfoBytes(kMeminfo, "SwapCached"), 0u);
    EXPECT_EQ(MeminfoBytes(kMeminfo, "HugePages_Total"), 0u);
}

TEST(MeminfoBytes, MissingOrMalformedFieldsGiveNothing) {
    EXPECT_FALSE(MeminfoBytes(kMeminfo, "Swap"));  // a prefix of a name is not the name
    EXPECT_FALSE(MeminfoBytes(kMeminfo, "Nonexistent"));
    EXPECT_FALSE(MeminfoBytes("", "MemFree"));
    EXPECT_FALSE(MeminfoBytes("MemFree: lots kB\n", "MemFree"));
    EXPECT_FALSE(MeminfoBytes("MemFree: 12 MB\n", "MemFree"));
    EXPECT_FALSE(MeminfoBytes("MemFree: 99999999999999999999 kB\n", "MemFree"));
    EXPECT_FALSE(MeminfoBytes("MemFree: 18014398509481984 kB\n", "MemFree"));  // 2^54 kB
    EXPECT_EQ(MeminfoBytes("MemFree:7 kB", "MemFree"), 7u * 1024);             // no final newline
}

}  // namespace
}  // namespace qv
