// A mutex shared by every process of the user that opens the same name, kept
// in a small lock file of the user's own.
#pragma once

#include <sys/types.h>

#include <string>

#include "platform/posix/reentrant_mutex.h"
#include "platform/posix/unique_fd.h"

namespace qv {

class LockFileMutex final : public ReentrantMutex {
  public:
    // Opens the name's lock file and takes its place among the processes that
    // have it open; on failure IsOpen is false and errno tells why.
    explicit LockFileMutex(const std::string& name);
    ~LockFileMutex() override;

    bool IsOpen() const { return Fd.IsOpen(); }
    bool ExistedAlready() const { return Existed; }
    const std::string& QueryName() const { return Name; }
    unsigned References = 1;

  protected:
    OsWait AcquireSystemWide(std::optional<Clock::time_point> deadline) override;
    void ReleaseSystemWide(bool abandoned) override;

  private:
    void OpenAgainInChild();
    void Open();
    void WriteState(char state);

    std::string Name;
    std::string Path;
    UniqueFd Fd;
    pid_t OpenedBy = 0;  // the process whose open file description Fd refers to
    bool Existed = false;
};

}  // namespace qv
