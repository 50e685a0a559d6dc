// The descriptor that closes itself and the retry after a signal, against
// the kernel: fcntl tells whether a descriptor is still open, and a read
// that a signal interrupts fails with EINTR unless it is made again.
#include "platform/posix/unique_fd.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/time.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <utility>

namespace qv {
namespace {

bool IsOpen(int fd) {
    return ::fcntl(fd, F_GETFD) != -1 || errno != EBADF;
}

TEST(UniqueFd, ClosesWhatItOwnsOnceAndKeepsErrno) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const int moved = ends[0];
    {
        UniqueFd reader(ends[0]);
        UniqueFd taker(std::move(reader));
        EXPECT_TRUE(IsOpen(moved));  // the move closed nothing
        errno = ENOSPC;
        taker.Reset();
        EXPECT_EQ(errno, ENOSPC);  // the failure's cause survives the close
        EXPECT_FALSE(IsOpen(moved));
        const UniqueFd writer(ends[1]);
    }
    EXPECT_FALSE(IsOpen(ends[1]));
}

std::atomic<int> Alarms{0};

// A read waiting for a child that writes after several timer signals: each
// signal (installed without SA_RESTART) interrupts the read.
TEST(RetryAfterSignal, AReadInterruptedBySignalsStillGetsTheData) {
    struct sigaction action {
    }, previous{};
    action.sa_handler = [](int) { ++Alarms; };
    ASSERT_EQ(::sigaction(SIGALRM, &action, &previous), 0);
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    const UniqueFd reader(ends[0]), writer(ends[1]);
    const pid_t child = ::fork();
    if (child == 0) {
        ::usleep(200000);
        ::_exit(::write(writer.Get(), "x", 1) == 1 ? 0 : 1);
    }
    ASSERT_GT(child, 0);
    const itimerval every20ms{{0, 20000}, {0, 20000}};
    ::setitimer(ITIMER_REAL, &every20ms, nullptr);
    char got = 0;
    const ssize_t length = RetryAfterSignal([&] { return ::read(reader.Get(), &got, 1); });
    const itimerval stop{};
    ::setitimer(ITIMER_REAL, &stop, nullptr);
    ::sigaction(SIGALRM, &previous, nullptr);
    ::waitpid(child, nullptr, 0);
    EXPECT_EQ(length, 1);
    EXPECT_EQ(got, 'x');
    EXPECT_GT(Alarms.load(), 0);  // the read was interrupted, not merely slow
}

}  // namespace
}  // namespace qv
