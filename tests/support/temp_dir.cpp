#include "support/temp_dir.h"

#include <fstream>
#include <random>
#include <sstream>

#include "diag/log_folder.h"

namespace qv::test {

TempDir::TempDir() {
    std::random_device random;
    const auto base = std::filesystem::temp_directory_path();
    do {
        Path = base / ("qv-test-" + std::to_string(random()));
    } while (!std::filesystem::create_directory(Path));
}

TempDir::~TempDir() {
    std::error_code ignored;
    std::filesystem::remove_all(Path, ignored);
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

std::string ReadText(const std::string& path) {
    std::string text = ReadFile(path);
    std::string lines;
    for (std::size_t i = 0; i < text.size(); ++i)
        if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lines += text[i];
    return lines;
}

void WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
}

HomeAt::HomeAt(const std::string& directory) : Saved(HomePath) {
    HomePath = directory;
}

HomeAt::~HomeAt() {
    HomePath = Saved;
}

}  // namespace qv::test
