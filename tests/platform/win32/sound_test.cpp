// The three sounds of the language library, played through a stand-in for
// the sound system: whether a sound played or beeped cannot be heard here.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstring>
#include <string>
#include <vector>

#include "platform/library.h"
#include "platform/win32/sys_calls.h"
#include "platform/win32/win_support.h"
#include "support/temp_dir.h"

namespace qv {
namespace {

struct Played {
    const char* sound;
    UINT flags;
};
std::vector<Played> played;
std::vector<UINT> beeped;
BOOL playResult = TRUE;

class Sounds : public ::testing::Test {
  protected:
    void SetUp() override {
        saved = SoundOutputs();
        SoundOutputs() = {[](const char* sound, UINT flags) -> BOOL {
                              played.push_back({sound, flags});
                              return playResult;
                          },
                          [](UINT type) { beeped.push_back(type); }};
        played.clear();
        beeped.clear();
        playResult = TRUE;
        savedLibrary = LibraryHandle;
    }
    void TearDown() override {
        SoundOutputs() = saved;
        LibraryHandle = savedLibrary;
    }
    // A copy of this build's language library, kept loaded (played sounds
    // point into it); a copy, so that the loader tests still see the last
    // reference to the library itself go.
    static HANDLE Library() {
        static const HMODULE library = [] {
            const std::string build = test::HostPathToWindows(BUILD_DIR);
            const std::string copy = build + "\\tests\\QVSOUNDS.DLL";
            ::CopyFileA((build + "\\QUORVANT.DLL").c_str(), copy.c_str(), FALSE);
            return ::LoadLibraryA(copy.c_str());
        }();
        return library;
    }
    std::string LogText() { return test::ReadText(dir / "QUORVANT.LOG"); }

    test::TempDir dir;
    test::HomeAt home{dir.path().string()};
    SoundOutput saved{};
    HANDLE savedLibrary = nullptr;
};

TEST_F(Sounds, ASoundPlaysFromMemoryAndStaysLoaded) {
    LibraryHandle = Library();
    ASSERT_NE(LibraryHandle, nullptr);
    Sys_BeepNote();
    Sys_BeepNote();
    ASSERT_EQ(played.size(), 2u);
    EXPECT_EQ(std::string(played[0].sound, 4), "RIFF");
    EXPECT_EQ(played[0].flags, 5u);  // SND_ASYNC | SND_MEMORY
    EXPECT_EQ(played[1].sound, played[0].sound);
    EXPECT_TRUE(beeped.empty());
    EXPECT_EQ(LogText(), "");
}

TEST_F(Sounds, ARefusedSoundBeepsInsteadAndIsLoadedAgainNextTime) {
    LibraryHandle = Library();
    playResult = FALSE;
    Sys_BeepError();
    EXPECT_EQ(beeped, std::vector<UINT>{MB_ICONASTERISK});
    playResult = TRUE;
    LibraryHandle = ::GetModuleHandleA(nullptr);  // no sounds here: it is looked up again
    Sys_BeepError();
    EXPECT_EQ(played.size(), 1u);
    EXPECT_NE(LogText().find("WARNING: Unable to find wave resource 'SOUND3'.\n"),
              std::string::npos)
        << LogText();
}

// A library without SOUND2: one warning in the log and no sound at all.
TEST_F(Sounds, AMissingSoundIsLoggedWithoutABeep) {
    LibraryHandle = ::GetModuleHandleA(nullptr);
    Sys_BeepWarning();
    EXPECT_TRUE(played.empty());
    EXPECT_TRUE(beeped.empty());
    const std::string log = LogText();
    EXPECT_EQ(log.substr(18), "WARNING: Unable to find wave resource 'SOUND2'.\n") << log;
}

}  // namespace
}  // namespace qv
