#include "platform/posix/free_space.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/statvfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <limits>
#include <utility>

#include "platform/posix/unique_fd.h"

namespace qv {
namespace {

// What a child writes back: one fixed-size record.
struct Answer {
    bool Known = false;
    FreeSpace Space;
};

struct Child {
    pid_t Pid = -1;
    UniqueFd Answers;  // read end of the child's answer pipe; closed once finished
    std::size_t Got = 0;
    Answer Result;
};

// The child: nothing of the caller's stays open in it but its answer pipe, so
// that a child stuck in the kernel holds no pipe the caller's reader waits on.
[[noreturn]] void AnswerInChild(int answerFd,
                                const std::function<std::optional<FreeSpace>(std::size_t)>& query,
                                std::size_t index) {
    const int null = ::open("/dev/null", O_RDWR);
    if (null >= 0)
        for (int fd = 0; fd <= 2; ++fd) ::dup2(null, fd);
    if (answerFd > 3) ::close_range(3, static_cast<unsigned>(answerFd) - 1, 0);
    ::close_range(static_cast<unsigned>(answerFd) + 1, ~0U, 0);

    Answer answer;
    if (const std::optional<FreeSpace> space = query(index)) {
        answer.Known = true;
        answer.Space = *space;
    }
    WriteAll(answerFd, reinterpret_cast<const char*>(&answer), sizeof answer);
    ::_exit(0);
}

Child StartChild(const std::function<std::optional<FreeSpace>(std::size_t)>& query,
                 std::size_t index) {
    Child child;
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return child;
    UniqueFd reader(fds[0]);
    const UniqueFd writer(fds[1]);
    child.Pid = ::fork();
    if (child.Pid == 0) AnswerInChild(writer.Get(), query, index);
    if (child.Pid > 0) child.Answers = std::move(reader);
    return child;
}

// Reads what is there; true once the child has closed its end.
bool ReadAnswer(Child& child) {
    char* into = reinterpret_cast<char*>(&child.Result);
    const std::size_t room = child.Got < sizeof(Answer) ? sizeof(Answer) - child.Got : 0;
    char overflow[1];
    const ssize_t n = room != 0 ? ::read(child.Answers.Get(), into + child.Got, room)
                                : ::read(child.Answers.Get(), overflow, sizeof overflow);
    if (n < 0) return errno != EINTR && errno != EAGAIN;
    if (n == 0) return true;
    if (room != 0) child.Got += static_cast<std::size_t>(n);
    return false;
}

// Waits for answers until all came or the deadline passed.
void CollectAnswers(std::vector<Child>& children, std::chrono::steady_clock::time_point deadline) {
    std::vector<pollfd> waiting;
    std::vector<std::size_t> owners;
    for (;;) {
        waiting.clear();
        owners.clear();
        for (std::size_t i = 0; i < children.size(); ++i) {
            if (!children[i].Answers.IsOpen()) continue;
            waiting.push_back({children[i].Answers.Get(), POLLIN, 0});
            owners.push_back(i);
        }
        if (waiting.empty()) return;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return;
        const int ready =
            ::poll(waiting.data(), waiting.size(), static_cast<int>(left.count()) + 1);
        if (ready < 0 && errno != EINTR) return;
        for (std::size_t k = 0; ready > 0 && k < waiting.size(); ++k)
            if (waiting[k].revents != 0 && ReadAnswer(children[owners[k]]))
                children[owners[k]].Answers.Reset();
    }
}

}  // namespace

std::uint64_t BlockBytes(std::uint64_t count, std::uint64_t blockSize) {
    if (blockSize != 0 && count > std::numeric_limits<std::uint64_t>::max() / blockSize)
        return std::numeric_limits<std::uint64_t>::max();
    return count * blockSize;
}

std::optional<FreeSpace> QueryFreeSpace(const std::string& path) {
    struct statvfs info;
    if (::statvfs(path.c_str(), &info) != 0) return std::nullopt;
    const std::uint64_t blockSize = info.f_frsize != 0 ? info.f_frsize : info.f_bsize;
    return FreeSpace{BlockBytes(info.f_bavail, blockSize), info.f_blocks, info.f_fsid,
                     info.f_files};
}

std::vector<std::optional<FreeSpace>> QueryInChildren(
    std::size_t Count, const std::function<std::optional<FreeSpace>(std::size_t)>& Query,
    std::chrono::milliseconds Deadline) {
    const auto deadline = std::chrono::steady_clock::now() + Deadline;
    std::vector<Child> children;
    children.reserve(Count);
    for (std::size_t i = 0; i < Count; ++i) children.push_back(StartChild(Query, i));
    CollectAnswers(children, deadline);

    std::vector<std::optional<FreeSpace>> answers(Count);
    for (std::size_t i = 0; i < Count; ++i) {
        Child& child = children[i];
        if (child.Answers.IsOpen()) {
            // No answer in time: the child may be stuck in the kernel for good.
            ::kill(child.Pid, SIGKILL);
            child.Answers.Reset();
            continue;
        }
        // The answer pipe closes only as the child exits: this wait is short.
        if (child.Pid > 0) ::waitpid(child.Pid, nullptr, 0);
        if (child.Got == sizeof(Answer) && child.Result.Known) answers[i] = child.Result.Space;
    }
    return answers;
}

}  // namespace qv
