// The browsing functions: how design documents are created, named, opened, saved and closed,
// with a few services beside them (interface flags, product bitmap, folders and file names).
// The design page calls them from its document operations, the main program for new designs,
// file names and the close-all command, the media manager for its sheet documents.
#pragma once

#include "platform/core/array.h"
#include "platform/core/cstring.h"
#include "platform/core/string_array.h"

class CJoxPage;
// A record store's field exchange; no record store is served here.
class CDaoFieldExchange;

// The context whose document template makes design documents.
constexpr int kDesignContext = 43;
// BrowserAddParamBlocks: both blocks, or the design block alone (sheet documents).
constexpr int kAddAllParamBlocks = -1;
constexpr int kAddDesignParamBlock = 10;
// Page flags the road reads and clears.
constexpr unsigned long kPageFlagReadOnly = 1;
constexpr unsigned long kPageFlagPathChanged = 2;
// A prompt shorter than this many characters is shown on one line.
constexpr int kOneLinePromptLength = 120;
constexpr int kProductBitmapNameChars = 255;

// Interface flags: a bit set filled by the main program.
LONG gfnGetBrowserInterfaceFlags();
void gfnSetBrowserInterfaceFlags(LONG bits);
void gfnClrBrowserInterfaceFlags(LONG bits);

void FnSetProductBitmap(int bitmap);
int FnGetProductBitmap();
// Keeps at most 255 characters.
void FnSetProductBitmapName(const CString& name);
// Copies the name out and returns its length.
int FnGetProductBitmapName(CString& name);

// The home folder, ending in a separator.
void BrowserGetHomePath(CString& path);
// The design folder: the parameter "DefaultDesignDirectory" when it names an existing folder,
// else home + "Designs", which is stored in the parameter and created when missing. A folder
// that cannot be created is still given: saving there then fails with the page's message.
void BrowserGetDesignPath(CString& path);
// A name for a new design in folder: "Design" and the next number of the process-wide counter
// whose file folder\DesignN.KDX does not exist yet.
CString BrowserGetFreshDesignName(const CString& folder);
// Names the page name (or, when empty, its file title, its title or a fresh name) in the
// design folder: the page's path becomes folder\name.KDX and its design block follows.
void BrowserSetPathName(CJoxPage* page, CString& name);

// home + "browser.mdb" and home + "wbtavrin.mdb".
CString gfnGetDefaultDBName();
CString gfnGetDefaultWBName();
// A record store's text field; there is no record store here, so nothing is exchanged.
void FN_DfxText(CDaoFieldExchange* fx, const wchar_t* name, CString& value);
// The index of the first element equal to id, -1 when none.
int fnFindIdxOfID(LONG id, CArray<LONG, LONG>& ids);
// The index of the first string equal to text without regard to case, -1 when none.
int fnFindIdxOfStr(const wchar_t* text, CStringArray& strings);

// The document road.
// A new design from the template of the design context, named name (a fresh name when null or
// empty) in home\Templates\ until it is named, modified and marked new. context and
// chooseTemplate are not used. Null, with nothing changed, without the template or a document.
CJoxPage* BrowserOnFileNew(int context, const wchar_t* name, int chooseTemplate);
int BrowserOnNewDocument(CJoxPage* page);
// After the page read its file: the blocks are added when missing, the design is marked as
// opened, and the design block's table word passes to the table block.
int BrowserOnOpenDocument(CJoxPage* page, const wchar_t* path);
// Saves the page to path (its own path when null); with replace the page takes that path.
// 0 when there is no path or the save failed.
int BrowserDoSave(CJoxPage* page, const wchar_t* path, int replace);
// The close prompt, following the close-all action: 0 keeps the page open.
int BrowserSaveModified(CJoxPage* page);
// Releases the lock file of the page's design unless the page was opened read-only.
void BrowserOnCloseDocument(CJoxPage* page);
// Adds the design block (its path name from the page's path) and, with mode -1, the table
// block, each only when the page has none.
void BrowserAddParamBlocks(CJoxPage* page, int mode);

// Test seam: the process-wide state back to its start (flags, counter, product bitmap).
void BrowserResetState();
