// Helpers of the Windows tests: the build machine's paths as wine shows them,
// and a closer for the modal message boxes, which wait for a user otherwise.
#pragma once

#include <optional>
#include <string>
#include <thread>

namespace qv::test {

// A path of the build machine (BUILD_DIR, SOURCE_DIR) as a Windows path: wine
// shows the host's root directory as drive Z:.
std::string HostPathToWindows(const std::string& path);

// Presses OK on the first message box titled `title` of any process of the
// session that appears before the time limit, and keeps the box's text.
class MessageBoxCloser {
  public:
    explicit MessageBoxCloser(const std::string& title, int limitMilliseconds = 20000);
    ~MessageBoxCloser();
    MessageBoxCloser(const MessageBoxCloser&) = delete;
    MessageBoxCloser& operator=(const MessageBoxCloser&) = delete;

    // Waits until the box was closed or the time ran out; the text the box
    // showed, or nothing when no box appeared.
    std::optional<std::string> Wait();

  private:
    void Watch(const std::string& title, int limitMilliseconds);

    std::thread Watcher;
    std::optional<std::string> Text;
};

}  // namespace qv::test
