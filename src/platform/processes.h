// The number of processes running on the system.
#pragma once

#include <memory>

namespace qv {

// Looks up the system's optional process enumeration functions when built and
// releases them when destroyed, so that the lookup happens once at start-up.
class ProcessCounter {
  public:
    ProcessCounter();
    ~ProcessCounter();
    ProcessCounter(const ProcessCounter&) = delete;
    ProcessCounter& operator=(const ProcessCounter&) = delete;

    // Every running process counted once; 0 when no way of counting works.
    int Count() const;

    struct Functions;  // what the platform found; opaque to portable code

  private:
    std::unique_ptr<Functions> Found;
};

}  // namespace qv
