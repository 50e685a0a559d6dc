#include <windows.h>

// After <windows.h>, whose types it uses.
#include <mmsystem.h>

#include "platform/library.h"
#include "platform/problem.h"
#include "platform/win32/sys_calls.h"

namespace qv {
namespace {

constexpr int kSounds = 3;

// Indexed by sound number - 1: note, warning, error. A sound stays loaded once
// it played; only a refused play releases it.
const char* const SoundResourceNames[kSounds] = {"SOUND1", "SOUND2", "SOUND3"};
HGLOBAL SoundResourceHandles[kSounds];
const char* SoundResources[kSounds];
const UINT SoundDefaults[kSounds] = {MB_ICONASTERISK, MB_ICONASTERISK, MB_ICONASTERISK};

BOOL PlayWithSystem(const char* Sound, UINT Flags) {
    return ::sndPlaySoundA(Sound, Flags);
}

void BeepWithSystem(UINT Type) {
    ::MessageBeep(Type);
}

void ForgetSound(int index) {
    SoundResources[index] = nullptr;
    ::FreeResource(SoundResourceHandles[index]);
    SoundResourceHandles[index] = nullptr;
}

// Finds, loads and locks the sound's WAVE resource in the language library.
bool LoadSound(int index) {
    const auto library = static_cast<HMODULE>(LibraryHandle);
    const char* name = SoundResourceNames[index];
    const HRSRC found = ::FindResourceA(library, name, "WAVE");
    if (!found) {
        ReportProblem("WARNING: Unable to find wave resource '%s'.", name);
        return false;
    }
    SoundResourceHandles[index] = ::LoadResource(library, found);
    if (!SoundResourceHandles[index]) {
        ReportProblem("WARNING: Unable to load wave resource '%s'.", name);
        return false;
    }
    SoundResources[index] = static_cast<const char*>(::LockResource(SoundResourceHandles[index]));
    if (!SoundResources[index]) {
        ReportProblem("WARNING: Unable to lock wave resource '%s'.", name);
        ForgetSound(index);
        return false;
    }
    return true;
}

// Starts sound 1, 2 or 3 in the background; the system's default beep instead
// when it refuses to play it.
BOOL SH__PlayResource(int Sound) {
    const int index = Sound - 1;
    if (!SoundResourceHandles[index] && !LoadSound(index)) return FALSE;
    if (!SoundOutputs().Play(SoundResources[index], SND_ASYNC | SND_MEMORY)) {
        ForgetSound(index);
        SoundOutputs().Beep(SoundDefaults[index]);
        return FALSE;
    }
    return TRUE;
}

}  // namespace

SoundOutput& SoundOutputs() {
    static SoundOutput outputs{PlayWithSystem, BeepWithSystem};
    return outputs;
}

void Sys_BeepNote() {
    SH__PlayResource(1);
}

void Sys_BeepWarning() {
    SH__PlayResource(2);
}

void Sys_BeepError() {
    SH__PlayResource(3);
}

}  // namespace qv
