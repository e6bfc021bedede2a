// Tooltips in the looks of the application's tooltip manager: before a widget shows its
// tooltip, the tooltip palette (fill from top to bottom, text, border) and font take the look
// of the widget's kind (toolbar buttons, tabs, any other window).
#pragma once

#include "platform/core/types.h"

class QPalette;
class QFont;
class QWidget;
struct CToolTipLook;

namespace platform::display {

void InstallToolTipLook();
void RemoveToolTipLook();
// The kind of tooltip a widget shows (AFX_TOOLTIP_TYPE_...).
UINT ToolTipKind(const QWidget* widget);
// The tooltip palette and font of a look, starting from the display's own.
QPalette ToolTipPalette(const CToolTipLook& look, const QPalette& base);
QFont ToolTipFont(const CToolTipLook& look, const QFont& base);

} // namespace platform::display
