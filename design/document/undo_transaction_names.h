// The names the undo and redo drop-down bars list: the transactions of the active design
// view's page, newest first. For any other view (or none) an empty list. The array belongs to
// the page; read it within the current message only.
#pragma once

#include "platform/core/collections.h"

class CJoxView;

const CStringArray& UndoTransactionNames(CJoxView* view, BOOL redo);
