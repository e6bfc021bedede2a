#include "design/show_bar.h"

#include "pivora/framework/app_params.h"
#include "platform/framework/dialog.h"
#include "platform/framework/slider_ctrl.h"
#include "platform/framework/tool_bar_images.h"
#include "platform/windowing/dialog_template.h"

#include <cstring>
#include <string>
#include <vector>

IMPLEMENT_DYNAMIC(CShowBar, CToolBarCtrl)

namespace {

using B = CShowBar;
constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr int kImage = 16, kImageHeight = 15;
constexpr uint32_t kInk = 0xFF000000u, kPaper = 0x00000000u, kRed = 0xFFC00000u;

const UINT kCommands[B::kButtons] = {B::ID_SHOW_AUTO_PAN, B::ID_SHOW_LEAVE_ON, B::ID_SHOW_START,
                                     B::ID_SHOW_PREV,     B::ID_SHOW_NEXT,     B::ID_SHOW_END};

// The six pictures, drawn once: a four-way arrow, two stacked pages, and the player's
// first, previous, next and last marks.
std::vector<uint32_t> Pictures() {
    std::vector<uint32_t> strip(size_t(kImage * B::kButtons * kImageHeight), kPaper);
    auto dot = [&](int image, int x, int y, uint32_t c) {
        if (x >= 0 && x < kImage && y >= 0 && y < kImageHeight)
            strip[size_t(y * kImage * B::kButtons + image * kImage + x)] = c;
    };
    // A triangle pointing right (dir 1) or left (-1) with its flat side at x0.
    auto triangle = [&](int image, int x0, int dir) {
        for (int i = 0; i < 6; ++i)
            for (int y = 7 - (5 - i); y <= 7 + (5 - i); ++y)
                dot(image, x0 + dir * i, y, kInk);
    };
    for (int i = 2; i < 14; ++i) { // auto pan: a cross with arrow heads
        dot(0, i, 7, kInk);
        dot(0, 7, i - 1, kInk);
    }
    for (int i = 0; i < 3; ++i) {
        dot(0, 2 + i, 7 - i, kInk), dot(0, 2 + i, 7 + i, kInk);
        dot(0, 13 - i, 7 - i, kInk), dot(0, 13 - i, 7 + i, kInk);
        dot(0, 7 - i, 1 + i, kInk), dot(0, 7 + i, 1 + i, kInk);
        dot(0, 7 - i, 12 - i, kInk), dot(0, 7 + i, 12 - i, kInk);
    }
    for (int x = 2; x < 11; ++x) // leave on: two pages, the front one red-edged
        for (int y = 2; y < 10; ++y)
            dot(1, x, y, (x == 2 || x == 10 || y == 2 || y == 9) ? kInk : kPaper);
    for (int x = 5; x < 14; ++x)
        for (int y = 5; y < 13; ++y)
            dot(1, x, y, (x == 5 || x == 13 || y == 5 || y == 12) ? kRed : 0xFFFFFFFFu);
    for (int y = 2; y < 13; ++y) { // start and end: a bar beside the triangle
        dot(2, 3, y, kInk), dot(2, 4, y, kInk);
        dot(5, 11, y, kInk), dot(5, 12, y, kInk);
    }
    triangle(2, 10, -1);
    triangle(3, 10, -1);
    triangle(4, 5, 1);
    triangle(5, 5, 1);
    return strip;
}

const bool kRegistered = [] {
    platform::RegisterDialogTemplate(DialogTemplate{
        B::IDD_SHOW,
        WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME,
        200,
        62,
        L"Output simulation",
        L"MS Sans Serif",
        8,
        {{B::IDC_SHOW_SLIDER, TRACKBAR_CLASS, L"",
          kChild | TBS_HORZ | TBS_AUTOTICKS | TBS_BOTH | WS_TABSTOP, 4, 19, 192, 15},
         {B::IDC_SHOW_ALL, WC_BUTTON, L"&All", kChild | BS_PUSHBUTTON | WS_TABSTOP, 4, 36, 28, 13},
         {B::IDC_SHOW_CLEAR, WC_BUTTON, L"&Clear", kChild | BS_PUSHBUTTON | WS_TABSTOP, 34, 36, 28,
          13},
         {B::IDC_SHOW_HIDE, WC_BUTTON, L"&Hide", kChild | BS_PUSHBUTTON | WS_TABSTOP, 64, 36, 28,
          13},
         {B::IDC_SHOW_DEL, WC_BUTTON, L"&Del", kChild | BS_PUSHBUTTON | WS_TABSTOP, 94, 36, 28, 13},
         {IDOK, WC_BUTTON, L"&OK", kChild | BS_DEFPUSHBUTTON | WS_TABSTOP, 132, 36, 30, 13},
         {IDCANCEL, WC_BUTTON, L"&Cancel", kChild | BS_PUSHBUTTON | WS_TABSTOP, 166, 36, 30, 13}}});
    platform::RegisterStrings({{B::ID_SHOW_AUTO_PAN, L"Pan to each item"},
                               {B::ID_SHOW_LEAVE_ON, L"Leave shown items on"},
                               {B::ID_SHOW_START, L"First"},
                               {B::ID_SHOW_PREV, L"Previous"},
                               {B::ID_SHOW_NEXT, L"Next"},
                               {B::ID_SHOW_END, L"Last"}});
    platform::RegisterToolBarImages(B::IDB_SHOW_BAR, kImage, kImageHeight, Pictures());
    return true;
}();

// The first bytes of text in UTF-8, at most max of them, never half a character.
std::string Utf8(const CString& text, size_t max) {
    std::string out;
    for (int i = 0; i < text.GetLength(); ++i) {
        const uint32_t c = uint32_t(text[i]);
        char b[4];
        size_t n = 0;
        if (c < 0x80) {
            b[n++] = char(c);
        } else if (c < 0x800) {
            b[n++] = char(0xC0 | (c >> 6));
            b[n++] = char(0x80 | (c & 0x3F));
        } else if (c < 0x10000) {
            b[n++] = char(0xE0 | (c >> 12));
            b[n++] = char(0x80 | ((c >> 6) & 0x3F));
            b[n++] = char(0x80 | (c & 0x3F));
        } else {
            b[n++] = char(0xF0 | ((c >> 18) & 0x07));
            b[n++] = char(0x80 | ((c >> 12) & 0x3F));
            b[n++] = char(0x80 | ((c >> 6) & 0x3F));
            b[n++] = char(0x80 | (c & 0x3F));
        }
        if (out.size() + n > max)
            break;
        out.append(b, n);
    }
    return out;
}

} // namespace

CString CShowBar::TipText(UINT command) {
    (void)kRegistered;
    std::wstring s;
    if (!platform::LoadResourceString(command, s))
        return CString();
    return CString(s.substr(0, kTipLength).c_str());
}

BOOL CShowBar::CreateIn(CWnd* parent) {
    DWORD style = WS_CHILD | WS_VISIBLE | TBSTYLE_TOOLTIPS | CCS_TOP;
    if (QvGetAppParam(L"Flat Toolbar Buttons", 1))
        style |= TBSTYLE_FLAT;
    if (!Create(style, CRect(0, 0, 0, 0), parent, IDC_SHOW_BAR))
        return FALSE;
    AddBitmap(kButtons, IDB_SHOW_BAR);
    for (int i = 0; i < kButtons; ++i) {
        const TBBUTTON b{i, int(kCommands[i]), TBSTATE_ENABLED, TBSTYLE_BUTTON, 0, 0};
        AddButtons(1, &b);
        if (i == 1) {
            const TBBUTTON separator{0, 0, TBSTATE_ENABLED, TBSTYLE_SEP, 0, 0};
            AddButtons(1, &separator);
        }
    }
    AutoSize();
    return TRUE;
}

void CShowBar::OpenDialog(CDialog* dialog, CShowBar& bar, CSliderCtrl& slider,
                          std::initializer_list<UINT> hiddenBarButtons,
                          std::initializer_list<int> hiddenControls) {
    bar.CreateIn(dialog);
    slider.SetLineSize(kSliderLine);
    slider.SetPageSize(kSliderPage);
    slider.SetRange(0, kSliderMax);
    for (UINT id : hiddenBarButtons)
        bar.HideButton(int(id));
    for (int id : hiddenControls)
        if (CWnd* c = dialog->GetDlgItem(id))
            c->ShowWindow(SW_HIDE);
    CRect r;
    dialog->GetWindowRect(&r);
    dialog->SetWindowPos(nullptr, 0, 0, r.Width(), kDialogHeight,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CShowBar::OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) {
    if (msg == WM_NOTIFY && lp) {
        const auto* hdr = reinterpret_cast<const NMHDR*>(lp);
        const CString tip = hdr->code == TTN_GETDISPINFOW || hdr->code == TTN_GETDISPINFOA
                                ? TipText(UINT(hdr->idFrom))
                                : CString();
        if (hdr->code == TTN_GETDISPINFOW) {
            auto* info = reinterpret_cast<NMTTDISPINFOW*>(lp);
            wcsncpy(info->szText, tip.GetString(), kTipTextLength - 1);
            info->szText[kTipTextLength - 1] = 0;
            if (result)
                *result = 0;
            return TRUE;
        }
        if (hdr->code == TTN_GETDISPINFOA) {
            auto* info = reinterpret_cast<NMTTDISPINFOA*>(lp);
            const std::string narrow = Utf8(tip, kTipTextLength - 1);
            std::memcpy(info->szText, narrow.c_str(), narrow.size() + 1);
            if (result)
                *result = 0;
            return TRUE;
        }
    }
    return CToolBarCtrl::OnWndMsg(msg, wp, lp, result);
}
