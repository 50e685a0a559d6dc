#include "diag/fault_report.h"

#include <gtest/gtest.h>

#include <string>

#include "diag/log.h"

namespace qv {
namespace {

std::string RegisterReport(const FaultRegisters& registers, int digits) {
    char buffer[1024];
    FixedText text(buffer, sizeof buffer);
    AddRegisterReport(text, registers, digits);
    return text.Text();
}

FaultRegisters Sample() {
    FaultRegisters r;
    r.ax = 0x1;
    r.bx = 0x22;
    r.cx = 0x333;
    r.dx = 0xDEADBEEF;
    r.flags = 0x10246;
    r.di = 0xA;
    r.si = 0xB;
    r.bp = 0x12FF80;
    r.cs = 0x1B;
    r.ip = 0x401234;
    r.ss = 0x23;
    r.sp = 0x12FF70;
    r.ds = 0x23;
    r.es = 0x23;
    r.fs = 0x3B;
    r.gs = 0;
    return r;
}

TEST(FaultReport, RegisterEntryOf32BitWords) {
    EXPECT_EQ(RegisterReport(Sample(), 8),
              "WARNING: An unhandled exception has occurred at 00401234.\n"
              "  The registers were as follows:\n"
              "    AX:00000001  BX:00000022  CX:00000333  DX:DEADBEEF\n"
              "    FL:00010246  DI:0000000A  SI:0000000B  BP:0012FF80\n"
              "    CS:0000001B  IP:00401234  SS:00000023  SP:0012FF70\n"
              "    DS:00000023  ES:00000023  FS:0000003B  GS:00000000");
}

// On x86-64 the word registers get 16 digits; flags and segments stay at 8.
TEST(FaultReport, RegisterEntryOf64BitWords) {
    FaultRegisters r = Sample();
    r.ax = 0x00007FFF12345678;
    const std::string report = RegisterReport(r, 16);
    EXPECT_NE(report.find("occurred at 0000000000401234.\n"), std::string::npos) << report;
    EXPECT_NE(report.find("    AX:00007FFF12345678  BX:0000000000000022"), std::string::npos);
    EXPECT_NE(report.find("    FL:00010246  DI:000000000000000A"), std::string::npos);
    EXPECT_NE(report.find("    CS:0000001B  IP:0000000000401234  SS:00000023  SP:000000000012FF70"),
              std::string::npos);
    EXPECT_NE(report.find("    DS:00000023  ES:00000023  FS:0000003B  GS:00000000"),
              std::string::npos);
}

TEST(FaultReport, CallerLine) {
    char buffer[64];
    FixedText text(buffer, sizeof buffer);
    AddCallerLine(text, 0x4011AB, 8);
    EXPECT_STREQ(text.Text(), "  Calling function was at 004011AB.");
}

TEST(FaultReport, FixedTextIsCutAtItsEnd) {
    char buffer[8];
    FixedText text(buffer, sizeof buffer);
    text.Add("abc").Hex(0xABCDEF, 8);
    EXPECT_STREQ(text.Text(), "abc00AB");
    EXPECT_EQ(text.Length(), 7u);
}

// The stamp built without the C library's time code matches the log's own.
TEST(FaultReport, StampMatchesTheLogEntry) {
    const std::int64_t moments[] = {0,          994169109, 951782400,  951868799,
                                    4102444800, -1,        1709251199, 1234567890};
    for (const std::int64_t moment : moments) {
        char buffer[32];
        FixedText text(buffer, sizeof buffer);
        AddLogStamp(text, moment);
        const std::time_t t = static_cast<std::time_t>(moment);
        const std::tm* utc = std::gmtime(&t);
        if (!utc) continue;  // a C library without times before 1970
        EXPECT_EQ(std::string(text.Text()) + "\n", LogEntry(*utc, "")) << moment;
    }
}

}  // namespace
}  // namespace qv
