// The folders of an installed copy, by freedesktop.org's XDG base-directory
// rules (version 0.8):
// "$XDG_STATE_HOME ... If $XDG_STATE_HOME is either not set or empty, a
// default equal to $HOME/.local/state should be used", the same for
// $XDG_CONFIG_HOME with $HOME/.config; "All paths set in these environment
// variables must be absolute. If an implementation encounters a relative path
// in any of these variables it should consider the path invalid and ignore
// it".
#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <optional>

#include "platform/path.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// Sets (or, with nothing, unsets) a variable for the test's lifetime.
class ScopedVariable {
  public:
    ScopedVariable(const char* name, const std::optional<std::string>& value) : Name(name) {
        if (const char* old = ::getenv(name)) Saved = old;
        if (value)
            ::setenv(name, value->c_str(), 1);
        else
            ::unsetenv(name);
    }
    ~ScopedVariable() {
        if (Saved)
            ::setenv(Name, Saved->c_str(), 1);
        else
            ::unsetenv(Name);
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

  private:
    const char* Name;
    std::optional<std::string> Saved;
};

struct BaseDirectoryCase {
    const char* name;
    std::optional<std::string> stateHome, configHome, home;
    std::string state, config;
};

class InstalledFolderRules : public testing::TestWithParam<BaseDirectoryCase> {};

TEST_P(InstalledFolderRules, FollowTheXdgBaseDirectoryRules) {
    const BaseDirectoryCase& given = GetParam();
    test::TempDir prefix;  // laid out as `cmake --install` lays it out
    fs::create_directories(prefix.path() / "bin");
    fs::create_directories(prefix.path() / "share/quorvant");
    const ScopedVariable state("XDG_STATE_HOME", given.stateHome);
    const ScopedVariable config("XDG_CONFIG_HOME", given.configHome);
    const ScopedVariable home("HOME", given.home);

    const auto folders = InstalledCopyFolders(prefix / "bin/snapshot");
    ASSERT_TRUE(folders.has_value());
    EXPECT_EQ(folders->state, given.state);
    EXPECT_EQ(folders->config, given.config);
}

INSTANTIATE_TEST_SUITE_P(
    Xdg, InstalledFolderRules,
    testing::Values(BaseDirectoryCase{"Unset", std::nullopt, std::nullopt, "/home/u",
                                      "/home/u/.local/state/quorvant", "/home/u/.config/quorvant"},
                    BaseDirectoryCase{"Set", "/var/s", "/etc/c", "/home/u", "/var/s/quorvant",
                                      "/etc/c/quorvant"},
                    BaseDirectoryCase{"Empty", "", "", "/home/u", "/home/u/.local/state/quorvant",
                                      "/home/u/.config/quorvant"},
                    BaseDirectoryCase{"Relative", "state", "./config", "/home/u",
                                      "/home/u/.local/state/quorvant", "/home/u/.config/quorvant"},
                    BaseDirectoryCase{"NoHome", std::nullopt, "/etc/c", std::nullopt, "",
                                      "/etc/c/quorvant"}),
    [](const testing::TestParamInfo<BaseDirectoryCase>& info) { return info.param.name; });

TEST(InstallPrefix, IsNoneWhereTheCatalogueLiesBesideTheProgram) {
    test::TempDir prefix;
    fs::create_directories(prefix.path() / "bin");
    fs::create_directories(prefix.path() / "share/quorvant");
    test::WriteFile(prefix / "bin/QUORVANT.cat", "");  // an unpacked copy run from its own folder
    EXPECT_FALSE(InstalledCopyFolders(prefix / "bin/snapshot").has_value());
}

}  // namespace
}  // namespace qv
