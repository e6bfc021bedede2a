// The sheet documents: the documents of the sheet context, each holding a media manager block
// bound to one cutter. Finding a document's block, setting one up for a send, closing them, and
// deleting an installed cutter only once no sheet document holds it.
#pragma once

#include "platform/core/cstring.h"

class CJoxPage;
class CMediaManagerBlk;

// The context whose document template makes sheet documents.
constexpr int kSheetContext = 10;

// The page's block; made with this mode (the marks-found value) when the page has none.
CMediaManagerBlk* GetMediaManager(CJoxPage* page, int mode);
// The block to cut with: an open sheet document's of the same mode (any mode with anyMode),
// else a new sheet document for the cutter the operator picks; null when there is none.
CMediaManagerBlk* g_fnMedManSetup(int marksFound, int anyMode, int autoSend);
// Closes one sheet document; 0 when there is nothing to close or its block is busy (the
// operator is told).
int g_fnDeleteMedMan(CJoxPage* page);
// Closes every sheet document; 0 at the first busy one, and without the sheet template.
int g_fnDeleteAllMedMan();
// The same for the sheet documents bound to this device name (exact).
int g_fnDeleteAllMedManWithCutterName(const CString& name);
// The block of the first open sheet document bound to this device name (exact), or null.
CMediaManagerBlk* g_fnFindMedManWithCutterName(const CString& name);
// Deletes an installed cutter after closing its sheet documents; 0, leaving the cutter
// installed, when a busy one stays open.
int g_fnDeleteInstalledCutter(const CString& name);
