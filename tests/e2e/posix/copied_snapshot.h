// A copy of the program in a fresh folder of its own, so that its log, its
// settings file and its language library are the test's to arrange.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "e2e/posix/run.h"
#include "support/temp_dir.h"

namespace qv::test {

class CopiedSnapshot : public ::testing::Test {
  protected:
    TempDir dir;
    TempDir empty;
    std::string exe = dir / "snapshot";

    void SetUp() override { std::filesystem::copy_file(SNAPSHOT_EXE, exe); }
    // The language library that the build made, beside the copy.
    void CopyLanguageLibrary() {
        std::filesystem::copy_file(std::string(BUILD_DIR) + "/QUORVANT.cat", dir / "QUORVANT.cat");
    }
    // Nothing but the copy's own folder can hold a language library.
    Launch CopyLaunch(std::vector<std::string> environment = {}) const {
        Launch launch;
        launch.argv = {exe};
        launch.environment = {"XDG_DATA_HOME=" + empty.path().string(),
                              "XDG_DATA_DIRS=" + empty.path().string()};
        launch.environment.insert(launch.environment.end(), environment.begin(), environment.end());
        return launch;
    }
    Outcome RunCopy(const std::string& stdoutPath = "") const {
        Launch launch = CopyLaunch();
        launch.stdoutPath = stdoutPath;
        return test::Run(launch);
    }
};

}  // namespace qv::test
