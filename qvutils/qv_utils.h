// Small services shared by many deliverables: preferences kept in the application parameters,
// a wait that keeps the windows alive, lock files beside open designs, context masks and a few
// string functions.
#pragma once

#include "platform/core/cstring.h"

class CStringArray;

// Preferences: cached ones are read once and kept for the life of the process. A setter returns
// the previous value.
int QvGetStopRescaleOn();
int QvSetStopRescaleOn(int on);
int QvGetResizeOn();
int QvSetResizeOn(int on);
int QvGetAutoPan();
int QvSetAutoPan(int on);
int QvGetUseLargeCrossHair();
int QvSetUseLargeCrossHair(int on);
int QvGetTextAutoCutters();
int QvSetTextAutoCutters(int on);
int QvGetAutoPanDelay();
int QvGetInchDisplayOn();
int QvGetSilentModeOn();
void QvSetSilentModeOn(int on);
int QvStandardPaletteSize();
// Forgets the cached preferences (tests).
void QvResetPreferenceCache();

const wchar_t* QvDefaultFontName();
const wchar_t* QvDefaultDofFontName();

// The pane of the main window's status bar shows text (" " for null) at once; nothing
// without a status bar.
void QvSetStatusText(int pane, const wchar_t* text);

// Every "<number>mm" in a prompt becomes "<inches>in" with two decimals.
void QvConvertDisplayPrompt(CString& text);

// True when the port name is a dotted network address: four numbers of at most 255 separated
// by dots, each read from its leading digits, and no path separator.
bool QvIsIPv4Address(const CString& name);

// Waits ms milliseconds; with pumpMessages, window messages are dispatched meanwhile.
void fnQvWaitTimer(DWORD milliseconds, bool pumpMessages);

// Lock files: "name.KDX" is locked by "name.LOC" beside it.
int FNEnableLocking(int on);
int FNGetLockFileName(CString& path);
int FNUnLockFile(CString designPath);
int FNMoveLockFile(CString first, CString second);

// Filter lists for file dialogs: "|" separates the entries.
wchar_t* FNConvertPipesToNull(CString& text);
wchar_t* FNGetNextPipeTerminator(wchar_t* p);

CStringArray* fnGetRefSearchStrings(CStringArray* array);

// Context masks: up to ten contexts, each with a mask; the allowed mask says which may act.
void QvAddContextMask(int context, int mask);
DWORD QvGetContextMask(int context);
void QvSetContextAllowed(int context);
int QvGetContextAllowed(int context);
// Empties the table and allows everything (tests).
void QvResetContextMasks();

// Moves a file to the desktop's trash; 0 after telling the operator when it cannot.
int QvSendToRecycleBin(CString path);

class CQvUtils {
public:
    static int GetWindowsPlatform(int& major, int& minor);
    static int IsWindowsNT();
    static int IsWindows2000();
    static int IsWindowsXP();
    static int IsWindowsVista();
    static bool IsWindows7();
};
