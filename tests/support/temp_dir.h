// A fresh directory for one test, removed with everything in it afterwards.
#pragma once

#include <filesystem>
#include <string>

namespace qv::test {

class TempDir {
  public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return Path; }
    std::string operator/(const std::string& name) const { return (Path / name).string(); }

  private:
    std::filesystem::path Path;
};

std::string ReadFile(const std::string& path);
// The file's text with CRLF line ends read as "\n", as a text-mode reader would.
std::string ReadText(const std::string& path);
void WriteFile(const std::string& path, const std::string& text);

// Sets the home path (and so the log's folder) for the test's lifetime.
class HomeAt {
  public:
    explicit HomeAt(const std::string& directory);
    ~HomeAt();

  private:
    std::string Saved;
};

}  // namespace qv::test
