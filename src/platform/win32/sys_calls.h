// The thin layer through which the support library reaches the window system,
// the kernel and the sound system of Windows. Builds without a window system
// do not have it; the one wrapper the report reaches, Sys_MessageBox,
// is in platform/system.h on every platform.
#pragma once

#include "platform/types.h"

struct _RTL_CRITICAL_SECTION;

namespace qv {

using HCURSOR = void*;
using HACCEL = void*;
using CRITICAL_SECTION = ::_RTL_CRITICAL_SECTION;
using PWINDOWPROC = LRESULT(__stdcall*)(HWND, UINT, WPARAM, LPARAM);

// Pass-through wrappers: the system function of the same name (A variants).
void Sys_BringWindowToTop(HWND Window);
void Sys_CloseFile(HANDLE Handle);
BOOL Sys_DefDialogProc(HWND Window, UINT Message, WPARAM Parm1, LPARAM Parm2);
LRESULT Sys_DefWindowProc(HWND Window, UINT Message, WPARAM Parm1, LPARAM Parm2);
void Sys_DeleteCriticalSection(CRITICAL_SECTION* control);
void Sys_DestroyWindow(HWND Window);
void Sys_EnableWindow(HWND Window, BOOL fEnable);
int Sys_EndDialog(HWND Dialog, BOOL Status);
void Sys_EnterCriticalSection(CRITICAL_SECTION* control);
[[noreturn]] void Sys_ExitThread(int Status);
HWND Sys_GetFocus();
HWND Sys_GetForegroundWindow();
HANDLE Sys_GetModuleHandle(const char* LibraryName);
void Sys_GetWindowText(HWND Window, char* Text, int TextSize);
void Sys_InitializeCriticalSection(CRITICAL_SECTION* control);
void Sys_LeaveCriticalSection(CRITICAL_SECTION* control);
HCURSOR Sys_LoadCursor(HANDLE Anchor, long CursorType);
int Sys_PostMessage(HWND Window, UINT Message, WPARAM Parm1, LPARAM Parm2);
void Sys_ReleaseCapture();
void Sys_ResumeThread(HANDLE Thread);
LRESULT Sys_SendMessage(HWND Window, UINT Message, WPARAM Parm1, LPARAM Parm2);
void Sys_SetCursor(HCURSOR Cursor);
void Sys_SetCursorPos(int x, int y);
void Sys_SetWindowText(HWND Window, const char* Text);
void Sys_ShowCursor(BOOL Show);
void Sys_Sleep(int Milliseconds);
void Sys_StopTimer(HWND Window, int Id);
void Sys_SuspendThread(HANDLE Thread);
int Sys_UpdateWindow(HWND Window);
HWND PARENT(HWND Window);

// Wrappers that adapt their arguments or results.
HWND OWNER(HWND Window);
// Beeps at BeepFrequency(Frequency) for Duration milliseconds.
void Sys_Beep(int Frequency, int Duration);
// The frequency the speaker can sound: at least 37 Hz.
int BeepFrequency(int Frequency);
DWORD Sys_GetLastError(HANDLE Anchor);
// The pointer kept in the window's first extra bytes (pointer-sized on x86-64).
void* Sys_GetWindowData(HWND Window);
void Sys_SetWindowData(HWND Window, void* Data);
// The whole client area, without erasing the background.
void Sys_InvalidateWindow(HWND Window);
BOOL Sys_IsMousePresent();
void Sys_PostQuitMessage(HWND Window, int Status);
// The system timer tick in milliseconds: always 54.
unsigned long Sys_QueryTickInterval();
int Sys_ReadFile(HANDLE Handle, void* Buffer, int Count, unsigned long* Read);
void Sys_WriteFile(HANDLE Handle, const void* Buffer, int Count, unsigned long* Written);
void Sys_SetActiveWindow(HWND Window);
// 1 when another window had the capture (or the focus) before, else 0.
int Sys_SetCapture(HWND Window);
BOOL Sys_SetFocus(HWND Window);
// Shows the window for any nonzero Status, hides it for 0.
int Sys_ShowWindow(HWND Window, BOOL Status);
// WM_TIMER messages to Window every Milliseconds.
void Sys_StartTimer(HWND Window, int Id, int Milliseconds);
HWND Sys_WindowFromPoint(int x, int y);
// The last-write time of a file of the C runtime's low-level functions, as the
// packed date and time words of the FAT file system, in local time; SetFileTime
// sets it from them. Both leave the words (or the file) alone on failure.
void Sys_GetFileTime(int Handle, unsigned short* FileDate, unsigned short* FileTime);
void Sys_SetFileTime(int Handle, unsigned short FileDate, unsigned short FileTime);

// The three sounds of the language library (note, warning, error); a sound
// that cannot be played is logged, or replaced by the default beep.
void Sys_BeepNote();
void Sys_BeepWarning();
void Sys_BeepError();

// The two system calls of the sound player; tests put their own in place.
struct SoundOutput {
    BOOL (*Play)(const char* Sound, UINT Flags);  // sndPlaySoundA
    void (*Beep)(UINT Type);                      // MessageBeep
};
SoundOutput& SoundOutputs();

// Wrappers with logic of their own.
// The direct child of Window whose control id is Id, or null.
HWND CHILD(HWND Window, int Id);
// The thread's message loop, until WM_QUIT; AcceleratorTable may be null.
void Sys_ProcessMessages(long Anchor, HACCEL AcceleratorTable);
// The class atom, or 0 when registration fails.
int Sys_RegisterClass(HANDLE Anchor, const char* Name, PWINDOWPROC WindowProc, int StyleFlags,
                      int ExtraClassBytes, int ExtraWindowBytes, const char* IconName,
                      const char* MenuName);

}  // namespace qv
