// The subsystems depend on each other one way, as the README's layout tells:
// a source file includes the headers of its own folder and of the folders
// below it, never of one above, so that each folder can be read with only
// the ones below it at hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

// Higher levels may include lower ones; folders of one level not each other.
const std::map<std::string, int> kLevel = {
    {"report", 3}, {"settings", 2}, {"resource", 2}, {"locale", 1}, {"diag", 1}, {"platform", 0},
};

// The subsystem of "diag/log.h" or of "platform/posix/file.cpp": its first folder.
std::string SubsystemOf(const std::string& path) {
    return path.substr(0, path.find('/'));
}

// The project headers the file includes: the names in `#include "..."`.
std::vector<std::string> IncludesOf(const fs::path& file) {
    std::vector<std::string> included;
    std::ifstream in(file);
    const std::string directive = "#include \"";
    for (std::string line; std::getline(in, line);)
        if (line.rfind(directive, 0) == 0) {
            const std::size_t end = line.find('"', directive.size());
            included.push_back(line.substr(directive.size(), end - directive.size()));
        }
    return included;
}

TEST(Layers, NoSourceIncludesAHeaderOfAHigherOrSiblingLayer) {
    const fs::path src = fs::path(SOURCE_DIR) / "src";
    std::size_t files = 0;
    for (const auto& entry : fs::recursive_directory_iterator(src)) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".h" && extension != ".cpp") continue;
        const std::string name = fs::relative(entry.path(), src).generic_string();
        const std::string own = SubsystemOf(name);
        ASSERT_TRUE(kLevel.count(own)) << name;
        ++files;
        for (const std::string& header : IncludesOf(entry.path())) {
            const std::string other = SubsystemOf(header);
            if (other == own || !kLevel.count(other)) continue;  // generated tables
            EXPECT_LT(kLevel.at(other), kLevel.at(own)) << name << " includes " << header;
        }
    }
    EXPECT_GT(files, 100u);
}

}  // namespace
