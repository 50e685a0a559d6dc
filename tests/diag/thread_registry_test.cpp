#include "diag/thread_registry.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "platform/thread.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

// Runs `body` on a thread of its own and waits for it.
template <typename Body>
void OnNewThread(Body body) {
    std::thread thread(body);
    thread.join();
}

// Registers the calling thread for the test's lifetime.
class Registered {
  public:
    Registered() : Number(Sys_RegisterThread()) {}
    ~Registered() { Sys_DeregisterThread(); }
    const int Number;
};

void Push(const char* name, int times = 1) {
    for (int i = 0; i < times; ++i) SH__PrintName(name, -1, 0);
}

TEST(ThreadRegistry, NumbersAreTheLowestFreeSlots) {
    int first = 0, second = 0, again = 0;
    OnNewThread([&] {
        first = Sys_RegisterThread();
        OnNewThread([&] {
            second = Sys_RegisterThread();
            EXPECT_EQ(Sys_ThreadNumber(CurrentThreadId()), second);
            Sys_DeregisterThread();
        });
        Sys_DeregisterThread();
    });
    OnNewThread([&] {
        again = Sys_RegisterThread();
        Sys_DeregisterThread();
    });
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 2);
    EXPECT_EQ(again, 1);
}

TEST(ThreadRegistry, UnknownThreadsAre101) {
    EXPECT_EQ(Sys_ThreadNumber(CurrentThreadId()), 101);
    EXPECT_EQ(Sys_ThreadNumber(-5), 101);
    Sys_DeregisterThread();  // not registered: changes nothing
    EXPECT_STREQ(SH__RoutineThatCalledMe(), "???? Unregistered Thread  ");
}

// Every slot taken: the next registration stays unregistered and nothing past
// the table is touched; the lowest slot answers lookups.
TEST(ThreadRegistry, AFullRegistryGives101) {
    for (int expected = 1; expected <= 100; ++expected) ASSERT_EQ(Sys_RegisterThread(), expected);
    EXPECT_EQ(Sys_RegisterThread(), 101);
    int other = 0;
    OnNewThread([&] { other = Sys_RegisterThread(); });
    EXPECT_EQ(other, 101);
    EXPECT_EQ(Sys_ThreadNumber(CurrentThreadId()), 1);
    for (int i = 0; i < 100; ++i) Sys_DeregisterThread();
    EXPECT_EQ(Sys_ThreadNumber(CurrentThreadId()), 101);
}

TEST(FunctionStack, CallerByDepth) {
    Registered thread;
    ASSERT_EQ(thread.Number, 1);
    struct Case {
        int depth;
        std::string expected;
    };
    const Case cases[] = {{0, "???? Underflowed          "},
                          {1, "???? Underflowed          "},
                          {2, "f0"},
                          {32, "f30"},
                          {33, "???? Overflowed           "}};
    for (const Case& c : cases) {
        for (int i = 0; i < c.depth; ++i) Push(std::string("f").append(std::to_string(i)).c_str());
        EXPECT_EQ(SH__RoutineThatCalledMe(), c.expected) << c.depth;
        for (int i = 0; i < c.depth; ++i) SH__EndProc(0);
    }
}

TEST(FunctionStack, NamesAreCut) {
    Registered thread;
    SH__PrintName("MainWindow", 4, 0);
    SH__PrintName("Inner", 5, 0);
    EXPECT_STREQ(SH__RoutineThatCalledMe(), "Main");
    SH__EndProc(0);
    const std::string longName(100, 'n');
    SH__PrintName(longName.c_str(), 90, 0);
    SH__PrintName(nullptr, 3, 0);  // a missing name stores an empty one
    EXPECT_EQ(SH__RoutineThatCalledMe(), std::string(64, 'n'));
    SH__EndProc(0);
    SH__EndProc(0);
    SH__EndProc(0);
}

TEST(FunctionStack, ReRegistrationStartsEmptyAfterUnderflow) {
    {
        Registered thread;
        SH__EndProc(0);
        SH__EndProc(0);  // no lower bound
        Push("a", 3);
        EXPECT_STREQ(SH__RoutineThatCalledMe(), "???? Underflowed          ");
    }
    Registered again;
    Push("x");
    Push("y");
    EXPECT_STREQ(SH__RoutineThatCalledMe(), "x");
    SH__EndProc(0);
    SH__EndProc(0);
}

TEST(FunctionStack, ThreadsKeepTheirOwnRows) {
    std::vector<std::thread> threads;
    std::vector<std::string> answers(8);
    for (int t = 0; t < 8; ++t) {
        threads.emplace_back([t, &answers] {
            Registered thread;
            const std::string name = std::string("caller").append(std::to_string(t));
            for (int round = 0; round < 200; ++round) {
                SH__PrintName(name.c_str(), -1, 0);
                SH__PrintName("callee", -1, 0);
                answers[t] = SH__RoutineThatCalledMe();
                SH__EndProc(0);
                SH__EndProc(0);
                if (answers[t] != name) return;
            }
        });
    }
    for (std::thread& thread : threads) thread.join();
    for (int t = 0; t < 8; ++t)
        EXPECT_EQ(answers[t], std::string("caller").append(std::to_string(t)));
}

std::string DumpOf(std::uintptr_t stackPtr) {
    test::TempDir dir;
    const std::string path = dir / "dump.txt";
    std::FILE* file = std::fopen(path.c_str(), "w");
    SH__DumpStack(file, stackPtr);
    std::fclose(file);
    return test::ReadText(path);
}

// Lines without their "HH:MM:SS MM/DD/YY " stamps.
std::vector<std::string> Unstamped(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        lines.push_back(text.substr(at + 18, end - at - 18));
        at = end + 1;
    }
    return lines;
}

TEST(FunctionStack, DumpListsTheNewestFirst) {
    EXPECT_EQ(DumpOf(0), "");  // unregistered
    Registered thread;
    Push("Outer");
    Push("Inner");
    std::uintptr_t frame[2] = {0xAB, 0xCD};
    const std::string digits(sizeof(void*) * 2 - 8, '0');
    const std::vector<std::string> lines =
        Unstamped(DumpOf(reinterpret_cast<std::uintptr_t>(frame)));
    ASSERT_EQ(lines.size(), 3u);
    char expected[120];
    std::snprintf(expected, sizeof expected, "01: SP=%0*llX, BP=%s000000AB, Return=%s000000CD.",
                  static_cast<int>(sizeof(void*) * 2),
                  static_cast<unsigned long long>(reinterpret_cast<std::uintptr_t>(frame)),
                  digits.c_str(), digits.c_str());
    EXPECT_EQ(lines[0], expected);
    EXPECT_EQ(lines[1], "01: Called by function 'Inner'.");
    EXPECT_EQ(lines[2], "01: Called by function 'Outer'.");
    SH__EndProc(0);
    SH__EndProc(0);
    SH__EndProc(0);
    EXPECT_EQ(DumpOf(0), "");  // negative depth
}

}  // namespace
}  // namespace qv
