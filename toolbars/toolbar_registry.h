// The toolbar registry: the main frame's toolbars by slot number (0 to 69). Every function
// works on CJoxToolbarFrameWnd::s_pFrmWnd and does nothing (or returns null) while there is
// no such frame; slot numbers outside 0..69 are refused.
#pragma once

#include "platform/core/types.h"

class CCustomToolBar;
class CJoxView;

// The slot's toolbar when its window exists and mask is 0 or shares a bit with its contexts.
CCustomToolBar* QvGetToolBar(int slot, DWORD mask);
// Fills and creates the slot's toolbar when needed and adds mask to its contexts.
CCustomToolBar* QvCreateToolbar(int slot, UINT resourceId, DWORD mask);
// Docks the slot's toolbar on a dock bar (59419 top to 59422 bottom) before the toolbar of
// neighbourSlot (at the end of the bar when there is none), or floats it (59423).
void QvPlaceToolbar(int slot, UINT dockBarId, int neighbourSlot, BOOL show);
void QvSetViewForContextToolbars(CJoxView* view, DWORD mask);
void QvUnsetViewForToolbars(CJoxView* view);
// Routes the command to every created toolbar of those contexts.
void QvCmdMsgToContextToolbars(UINT commandId, DWORD mask);
void QvHideAllToolBars(BOOL keepFirst);
void QvPaintAllToolBars();
// Shows just the toolbars of every context, in slot order on the top bar.
void QvSetupToolbarsForNoKnownContext(BOOL force);
BOOL QvSaveAllToolbars(const wchar_t* section);
BOOL QvLoadAllToolbars(const wchar_t* section);
