// `cmake --install` of this build into a fresh prefix, and the installed copy
// run from elsewhere, as a user who installed it would run it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <set>

#include "e2e/posix/run.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

namespace fs = std::filesystem;

// A report line's label: the text before the value column, without what
// varies between machines (the swap file's path, a volume's mount point and
// its annotations).
std::string LabelOf(const std::string& line) {
    std::string label = line.substr(0, line.find("  "));
    for (const char* variablePart : {" (", " /"}) label = label.substr(0, label.find(variablePart));
    return label;
}

// The labels of the report's value lines, in order, each once where lines
// repeat it (the volumes).
std::vector<std::string> Labels(const std::string& report) {
    std::vector<std::string> labels;
    const std::vector<std::string> lines = test::Lines(report);
    for (std::size_t i = 1; i < lines.size(); ++i) {  // line 0 is the date
        const std::string label = LabelOf(lines[i]);
        if (labels.empty() || labels.back() != label) labels.push_back(label);
    }
    return labels;
}

std::string WithSingleBlanks(const std::string& text) {
    std::string single;
    for (const char c : text) {
        const bool blank = c == ' ' || c == '\n' || c == '\t';
        if (!blank)
            single += c;
        else if (!single.empty() && single.back() != ' ')
            single += ' ';
    }
    return single;
}

class InstalledCopy : public ::testing::Test {
  protected:
    test::TempDir prefix;
    test::TempDir elsewhere;  // the working directory of the installed copy
    test::TempDir nowhere;    // the user's and the system's data directories: empty
    test::TempDir home;       // the user's home folder

    void SetUp() override {
        const test::Outcome install =
            test::Run({CMAKE_EXE, "--install", BUILD_DIR, "--prefix", prefix.path().string()});
        ASSERT_EQ(install.exitCode, 0) << install.out << install.err;
    }

    // The user's folders are the defaults below HOME unless `environment`
    // names others.
    test::Outcome RunInstalled(const std::vector<std::string>& environment = {}) {
        test::Launch launch;
        launch.argv = {prefix / "bin/snapshot"};
        launch.environment = {
            "XDG_DATA_HOME=" + nowhere.path().string(), "XDG_DATA_DIRS=" + nowhere.path().string(),
            "XDG_CONFIG_HOME=", "XDG_STATE_HOME=", "HOME=" + home.path().string()};
        launch.environment.insert(launch.environment.end(), environment.begin(), environment.end());
        launch.workingDirectory = elsewhere.path().string();
        return test::Run(launch);
    }

    std::set<std::string> InstalledFiles() const { return FilesBelow(prefix.path()); }

    static std::set<std::string> FilesBelow(const fs::path& folder) {
        std::set<std::string> files;
        for (const auto& entry : fs::recursive_directory_iterator(folder))
            if (!entry.is_directory()) files.insert(fs::relative(entry, folder).string());
        return files;
    }
};

// A line's value ends in its unit: a blank for bytes.
bool ShownInBytes(const std::string& report, const std::string& label) {
    for (const std::string& line : test::Lines(report))
        if (line.rfind(label, 0) == 0) return line.back() == ' ';
    return false;
}

TEST_F(InstalledCopy, LogsInTheUsersStateFolderAndReadsTheSettingsOfTheirConfigFolder) {
    fs::create_directories(home.path() / ".config/quorvant");
    test::WriteFile(home / ".config/quorvant/QUORVANT.INI", test::kSettingsInBytes);
    const std::set<std::string> installed = InstalledFiles();

    const test::Outcome run = RunInstalled();
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_TRUE(ShownInBytes(run.out, "Free physical memory")) << run.out;
    const std::string log = home / ".local/state/quorvant/QUORVANT.LOG";
    ASSERT_TRUE(fs::is_regular_file(log));
    EXPECT_NE(test::ReadFile(log).find("Wrong size"), std::string::npos);
    EXPECT_EQ(fs::status(home.path() / ".local/state/quorvant").permissions(),
              fs::perms::owner_all);
    EXPECT_EQ(InstalledFiles(), installed) << "the run wrote into its prefix";
    EXPECT_TRUE(FilesBelow(elsewhere.path()).empty());
}

struct NoLogFolder {
    const char* name;
    std::vector<std::string> environment;  // "<home>" stands for the user's home folder
    std::string settingsFolder;            // below the home folder
};

class InstalledCopyWithoutLogFolder : public InstalledCopy,
                                      public testing::WithParamInterface<NoLogFolder> {};

// No folder for the log means no log, and the report all the same.
TEST_P(InstalledCopyWithoutLogFolder, ReportsAndWritesNowhereElse) {
    test::WriteFile(home / "file", "");
    fs::create_directories(home.path() / GetParam().settingsFolder);
    test::WriteFile((home.path() / GetParam().settingsFolder / "QUORVANT.INI").string(),
                    test::kSettingsInBytes);
    std::vector<std::string> environment;
    for (std::string variable : GetParam().environment) {
        if (const std::size_t at = variable.find("<home>"); at != std::string::npos)
            variable.replace(at, 6, home.path().string());
        environment.push_back(variable);
    }
    const std::set<std::string> installed = InstalledFiles();

    const test::Outcome run = RunInstalled(environment);
    ASSERT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.err, "");
    EXPECT_TRUE(ShownInBytes(run.out, "Free physical memory")) << "settings unread:\n" << run.out;
    EXPECT_EQ(InstalledFiles(), installed) << "the run wrote into its prefix";
    EXPECT_TRUE(FilesBelow(elsewhere.path()).empty());
    const std::set<std::string> homeFiles = FilesBelow(home.path());
    EXPECT_EQ(homeFiles.size(), 2u) << "the settings file and the file only";
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InstalledCopyWithoutLogFolder,
    testing::Values(
        NoLogFolder{
            "StateFolderBelowAFile", {"XDG_STATE_HOME=<home>/file/state"}, ".config/quorvant"},
        NoLogFolder{"NoHomeFolder", {"HOME=", "XDG_CONFIG_HOME=<home>/config"}, "config/quorvant"}),
    [](const testing::TestParamInfo<NoLogFolder>& info) { return info.param.name; });

TEST_F(InstalledCopy, HoldsTheProgramItsCatalogueAndItsDocumentationOnly) {
    EXPECT_EQ(InstalledFiles(),
              (std::set<std::string>{"bin/snapshot", "share/quorvant/QUORVANT.cat",
                                     "share/man/man1/snapshot.1",
                                     "share/doc/snapshot/QUORVANT.INI.example"}));
    EXPECT_TRUE((fs::status(prefix / "bin/snapshot").permissions() & fs::perms::others_exec) !=
                fs::perms::none);
}

TEST_F(InstalledCopy, FindsItsCatalogueInTheSharedFolderOfItsPrefix) {
    const test::Outcome installed = RunInstalled();
    const test::Outcome built = test::Run({SNAPSHOT_EXE});
    ASSERT_EQ(installed.exitCode, 0) << installed.err;
    EXPECT_EQ(installed.err, "");
    EXPECT_GE(Labels(installed.out).size(), 9u) << installed.out;
    EXPECT_EQ(Labels(installed.out), Labels(built.out));
    EXPECT_EQ(test::Lines(installed.out).size(), test::Lines(built.out).size());
    EXPECT_FALSE(fs::exists(home.path() / ".local/state/quorvant")) << "a clean run logs nothing";

    // Nothing else could have served the texts: without that file it has none.
    // Still installed, the copy notes that in the user's log, not in its prefix.
    fs::remove(prefix / "share/quorvant/QUORVANT.cat");
    const std::set<std::string> installedFiles = InstalledFiles();
    EXPECT_EQ(RunInstalled().out, "");
    EXPECT_EQ(InstalledFiles(), installedFiles);
    EXPECT_NE(test::ReadFile(home / ".local/state/quorvant/QUORVANT.LOG").find("QUORVANT"),
              std::string::npos);
}

TEST_F(InstalledCopy, ManualPageRendersCleanlyAndNamesTheReportsLinesInOrder) {
    const std::string groff = "/usr/bin/groff";
    if (!fs::exists(groff)) GTEST_SKIP() << "groff is missing (Debian package groff-base)";
    // -ww: every warning; -P-cbou: plain text without overstrikes or colours.
    const test::Outcome rendered = test::Run(
        {groff, "-man", "-Tutf8", "-ww", "-P-cbou", prefix / "share/man/man1/snapshot.1"});
    ASSERT_EQ(rendered.exitCode, 0);
    EXPECT_EQ(rendered.err, "");
    const std::string page = WithSingleBlanks(rendered.out);
    for (const char* section :
         {"NAME", "SYNOPSIS", "SETTINGS", "FILES", "ENVIRONMENT", "EXIT STATUS"})
        EXPECT_NE(page.find(section), std::string::npos) << section;

    std::size_t from = page.find("THE REPORT");
    ASSERT_NE(from, std::string::npos);
    for (const std::string& label : Labels(test::Run({SNAPSHOT_EXE}).out)) {
        from = page.find(label, from);
        ASSERT_NE(from, std::string::npos) << "'" << label << "' missing or out of order";
    }
}

}  // namespace
}  // namespace qv
