#include "diag/memory_dump.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "diag/message_trace.h"
#include "platform/heap.h"
#include "support/child_process.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

// The address as a dump shows it: at least eight digits.
std::string Address(const void* at) {
    char text[24];
    std::snprintf(text, sizeof text, "%08llX",
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(at)));
    return text;
}

std::string Repeated(const std::string& text, int times) {
    std::string repeated;
    while (times-- > 0) repeated += text;
    return repeated;
}

TEST(DumpRow, FullShortAndUnprintable) {
    const unsigned char text[] = "ABCDEFGHIJKLMNOPQRST";
    EXPECT_EQ(DumpRow(text, 0x1000, 16),
              "00001000: 41 42 43 44 45 46 47 48 49 4A 4B 4C 4D 4E 4F 50 |ABCDEFGHIJKLMNOP|");
    EXPECT_EQ(DumpRow(text + 16, 0x1010, 4), "00001010: 51 52 53 54 " + std::string(36, ' ') +
                                                 "|QRST" + std::string(12, ' ') + "|");
    const unsigned char odd[] = {0x00, 0x7F, 0x80, 0xFF, 0x20, 0x7E, 0x1F};
    EXPECT_EQ(DumpRow(odd, 0xABCDEF12, 7), "ABCDEF12: 00 7F 80 FF 20 7E 1F " +
                                               std::string(27, ' ') + "|     ~ " +
                                               std::string(9, ' ') + "|");
}

class Trace : public ::testing::Test {
  protected:
    test::TempDir dir;
    test::HomeAt home{dir.path().string()};
    // The log's entries without their stamps.
    std::vector<std::string> Entries() {
        const std::string text = test::ReadText(dir / "QUORVANT.LOG");
        std::vector<std::string> entries;
        std::size_t at = 0;
        while (at < text.size()) {
            const std::size_t end = text.find('\n', at);
            entries.push_back(text.substr(at + 18, end - at - 18));
            at = end + 1;
        }
        return entries;
    }
};

TEST_F(Trace, DumpOfTwentyBytesHasThreeEntries) {
    const char data[] = "0123456789abcdefWXYZ";
    DumpMemory("note", data, 20);
    const std::vector<std::string> entries = Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], "Dump of memory at " + Address(data) + " for 20 bytes (note)");
    EXPECT_EQ(entries[1].substr(0, 2 + Address(data).size()), "  " + Address(data));
    EXPECT_EQ(entries[1].substr(entries[1].size() - 18), "|0123456789abcdef|");
    EXPECT_EQ(entries[2], "  " + Address(data + 16) + ": 57 58 59 5A " + std::string(36, ' ') +
                              "|WXYZ" + std::string(12, ' ') + "|");
}

// The lowest page is never mapped on either platform (Linux's mmap_min_addr,
// the first 64 KiB that Windows reserves): every byte is unreadable, and the
// dump marks them instead of faulting.
TEST_F(Trace, UnreadableMemoryIsMarkedNotRead) {
    const auto* nowhere = reinterpret_cast<const void*>(std::uintptr_t{0x10});
    DumpMemory("unmapped", nowhere, 18);
    const std::vector<std::string> entries = Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1], "  00000010: " + Repeated("?? ", 16) + "|" + std::string(16, ' ') + "|");
    EXPECT_EQ(entries[2],
              "  00000020: ?? ?? " + std::string(42, ' ') + "|" + std::string(16, ' ') + "|");
}

TEST_F(Trace, NothingToDumpWritesTheHeaderOnly) {
    DumpMemory(nullptr, nullptr, 0);
    DumpMemory("neg", nullptr, -3);
    const std::vector<std::string> entries = Entries();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0], "Dump of memory at 00000000 for 0 bytes ()");
    EXPECT_EQ(entries[1], "Dump of memory at 00000000 for -3 bytes (neg)");
}

TEST_F(Trace, MessagesAreShownByNumber) {
    char buffer[9];
    EXPECT_EQ(InterpretMsg(0x0F, buffer), buffer);
    EXPECT_STREQ(buffer, "0000000F");
    EXPECT_STREQ(InterpretMsg(0xC000ABCD, buffer), "C000ABCD");

    LogMsgRcvd(3, "Frame", 0x111, 0x12, -1);
    LogMsgDone(3, "Frame", 0x111, 7);
    LogMsgRcvd(100, "Deep", 0x2, 0, 0);  // the limit itself goes on
    const std::string minusOne(sizeof(void*) * 2, 'F');
    const std::vector<std::string> entries = Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0], "   Frame: Message 00000111(00000012," + minusOne + ") received.");
    EXPECT_EQ(entries[1], "   Frame: Message 00000111 done.  Result 00000007.");
    EXPECT_EQ(entries[2],
              std::string(100, ' ') + "Deep: Message 00000002(00000000,00000000) received.");
}

TEST_F(Trace, ExcessiveRecursionEndsTheProgram) {
    test::ChildProcess child({"recursion", dir.path().string()});
    const test::Ending ending = child.Wait();
    EXPECT_EQ(ending.exitCode, 1);
    EXPECT_EQ(ending.signal, 0);
    const std::vector<std::string> entries = Entries();
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[1],
              std::string(101, ' ') + "Window: Message 00000010(00000003,00000004) received.");
    EXPECT_EQ(entries[2], std::string(101, ' ') + "Window: Aborting (excessive recursion).");
}

// Every byte of a block is the caller's until it is freed: a short or leaked
// block is caught by the address sanitizer's build of this test.
TEST(Heap, EveryByteOfABlockHoldsWhatWasWritten) {
    for (const std::size_t size : {std::size_t{1}, std::size_t{4096}, std::size_t{1} << 20}) {
        auto* block = static_cast<unsigned char*>(AllocateMemory(size));
        ASSERT_NE(block, nullptr) << size;
        for (std::size_t i = 0; i < size; ++i) block[i] = static_cast<unsigned char>(i % 251);
        std::size_t wrong = 0;
        for (std::size_t i = 0; i < size; ++i) wrong += block[i] != i % 251;
        EXPECT_EQ(wrong, 0u) << size;
        FreeMemory(block);
    }
}

// GCC names the address sanitizer's build with a macro, clang with a feature.
#if defined(__SANITIZE_ADDRESS__)
#define ADDRESS_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define ADDRESS_SANITIZER 1
#endif
#endif

// No heap has as many bytes as the address space: the request fails, quietly.
TEST_F(Trace, AnExhaustedHeapGivesNullAndLogsNothing) {
#ifdef ADDRESS_SANITIZER
    GTEST_SKIP() << "the address sanitizer ends the program on such a request";
#endif
    EXPECT_EQ(AllocateMemory(SIZE_MAX), nullptr);
    EXPECT_EQ(Entries().size(), 0u);
}

}  // namespace
}  // namespace qv
