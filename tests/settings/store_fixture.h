// A settings file in a folder of its own and the log in another, for tests of
// the store and of the settings record.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "settings/inidata.h"
#include "settings/profile.h"
#include "support/temp_dir.h"

namespace qv::test {

// The record's bytes from Position on: the part the file can change.
inline std::string SettingsBytes(const INIDATA& record) {
    const char* bytes = reinterpret_cast<const char*>(&record);
    return std::string(bytes + offsetof(_IniData, Position),
                       sizeof(INIDATA) - offsetof(_IniData, Position));
}

class SettingsStore : public ::testing::Test {
  protected:
    void WriteSettings(const std::string& text) { WriteFile(File, text); }

    std::unique_ptr<Profile> Open(const char* name = "QUORVANT") {
        return std::make_unique<Profile>(name, nullptr, Dir.path().string().c_str(), 0);
    }

    // The lines of a settings text that hold something, without line ends: the
    // platform's own store may rewrite blank lines and line ends.
    static std::string Entries(const std::string& text) {
        std::string entries;
        std::size_t begin = 0;
        while (begin < text.size()) {
            const std::size_t end = std::min(text.find_first_of("\r\n", begin), text.size());
            if (end > begin) entries += text.substr(begin, end - begin) + "|";
            begin = end + 1;
        }
        return entries;
    }

    std::string SettingsText() const { return Entries(ReadFile(File)); }

    std::string LogText() const { return ReadFile(LogDir / "QUORVANT.LOG"); }

    // The items of the "Wrong size" entries of the log, in order.
    std::vector<std::string> WrongSizeItems() const {
        std::vector<std::string> items;
        std::istringstream log(LogText());
        const std::string before = "Item ", after = ".  Wrong size.";
        for (std::string line; std::getline(log, line);) {
            const std::size_t end = line.rfind(after);
            const std::size_t begin = line.rfind(before, end);
            if (end != std::string::npos && begin != std::string::npos)
                items.push_back(line.substr(begin + before.size(), end - begin - before.size()));
        }
        return items;
    }

    TempDir Dir;
    TempDir LogDir;
    HomeAt Home{LogDir.path().string()};
    std::string File = Dir / "QUORVANT.INI";
};

}  // namespace qv::test
