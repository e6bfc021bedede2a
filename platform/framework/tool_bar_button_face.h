// What a toolbar button shows and how wide that makes it on its bar: the picture registered
// for its command, else a text: its own, else its command's tip (the part of the command's
// string after the line break), else the command number. The layout and the display both ask
// here, so the display draws each button where the layout put it.
#pragma once

#include "platform/core/cstring.h"

class CMFCToolBarButton;

namespace platform {

// Room round a picture and round a text inside a button, and a drop-down arrow's width.
constexpr int kButtonPictureMargin = 7;
constexpr int kButtonTextMargin = 14;
constexpr int kDropDownArrowWidth = 12;

CString ButtonFaceText(const CMFCToolBarButton& button);

// How wide a text is in the font buttons show it in: the display sets the measure of its own
// font (null goes back to the guess from the text's length, all there is without a display).
using ButtonTextMeasure = int (*)(const CString& text);
void SetButtonTextMeasure(ButtonTextMeasure measure);

// The width the button's face needs, at least standard (arrow not included).
int ButtonFaceWidth(const CMFCToolBarButton& button, int standard);

} // namespace platform
