// The whole drawing copied to the clipboard as a metafile picture, and the input method's
// composition window placed at the tool's caret.
#include "design/design_page.h"
#include "design/design_tool.h"
#include "design/design_view.h"
#include "pivora/framework/app_params.h"
#include "pivora/framework/jox_client_dc.h"
#include "platform/graphics/metafile.h"
#include "platform/system/global_memory.h"
#include "platform/windowing/clipboard.h"
#include "platform/windowing/input_method.h"

#include <cmath>
#include <new>
#include <vector>

namespace {

// The picture frame is this many device pixels of the reference context on each side.
constexpr int kPictureSide = 1000;
// Extents of the picture record: the side divided by 6.
constexpr LONG kPictureExtent = kPictureSide / 6;
constexpr double kHundredthsMmPerInch = 2540.0;
// A monitor that reports no density is taken as this many pixels per inch.
constexpr int kDefaultPixelsPerInch = 96;
// Application name and picture name, "%" standing for the zero characters (32 in all).
constexpr const wchar_t* kDescription = L"VOZ Uzeveriv Evidir%The Design%%";

void Prepare(CJoxDC& dc, const CSize& window, const CPoint& origin) {
    dc.SetMapMode(1);
    dc.SetDrawOption(1, 16);
    dc.SetWindowExt(window);
    dc.SetViewportExt(kPictureSide, -kPictureSide);
    dc.SetViewportOrg(origin);
}

} // namespace

void CDesignView::OnSaveMetafile() {
    CDesignPage* page = GetDocument();
    if (!page || !::IsWindow(m_hWnd))
        return;
    CJoxClientDC ref(this, eClientDocument);
    int ppiX = ref.GetDeviceCaps(LOGPIXELSX), ppiY = ref.GetDeviceCaps(LOGPIXELSY);
    if (ppiX <= 0)
        ppiX = kDefaultPixelsPerInch;
    if (ppiY <= 0)
        ppiY = kDefaultPixelsPerInch;
    const double width = kPictureSide / double(ppiX) * kHundredthsMmPerInch;
    const double height = kPictureSide / double(ppiY) * kHundredthsMmPerInch;

    // The drawing centred in the square frame, the same scale on both axes.
    const CWindow& scroll = GetScrollExtents();
    const CSize window(LONG(std::llabs(int64_t(scroll.x2) - scroll.x1)),
                       LONG(std::llabs(int64_t(scroll.y2) - scroll.y1)));
    Prepare(ref, window, CPoint(0, 0));
    CPoint corner(-scroll.x1, -scroll.y2);
    ref.LPtoDP(corner);
    CSize size = window;
    ref.LPtoDP(&size);
    size = CSize(std::abs(size.cx), std::abs(size.cy));
    const CPoint offset(size.cx < kPictureSide ? (kPictureSide - size.cx) / 2 : 0,
                        size.cy < kPictureSide ? (kPictureSide - size.cy) / 2 : 0);
    const CPoint origin = corner + offset;
    ref.SetViewportOrg(origin);

    std::wstring description = kDescription;
    for (wchar_t& ch : description)
        if (ch == L'%')
            ch = 0;
    const RECT frame{0, 0, LONG(width), LONG(height)};
    HDC recordDc = ::CreateEnhMetaFileW(ref.m_hDC, nullptr, &frame, description.c_str());
    if (!recordDc)
        return;
    {
        CJoxDC dc;
        dc.Attach(recordDc);
        dc.m_bPrinting = TRUE;
        Prepare(dc, window, origin);
        page->OnDraw(this, &dc);
        dc.Detach();
    }
    HENHMETAFILE emf = ::CloseEnhMetaFile(recordDc);
    auto fail = [&](const wchar_t* message) {
        ::DeleteEnhMetaFile(emf);
        AfxMessageBox(message);
    };
    const UINT bytes = ::GetWinMetaFileBits(emf, 0, nullptr, MM_TEXT, ref.m_hDC);
    if (bytes == 0)
        return fail(L"Fail in 1st GetWinMetaFileBits!");
    std::vector<BYTE> buffer;
    try {
        buffer.resize(bytes);
    } catch (const std::bad_alloc&) {
        return fail(L"Fail in Memory Allocation!");
    }
    if (::GetWinMetaFileBits(emf, bytes, buffer.data(), MM_TEXT, ref.m_hDC) == 0) {
        std::vector<BYTE>().swap(buffer);
        return fail(L"Fail in 2nd GetWinMetaFileBits!");
    }
    HMETAFILE mf = ::SetMetaFileBitsEx(bytes, buffer.data());
    std::vector<BYTE>().swap(buffer);
    HGLOBAL block =
        ::GlobalAlloc(GMEM_MOVEABLE | GMEM_DDESHARE | GMEM_ZEROINIT, sizeof(METAFILEPICT));
    if (!block) {
        ::DeleteMetaFile(mf);
        return fail(L"Failed in allocating memory");
    }
    auto* pict = static_cast<METAFILEPICT*>(::GlobalLock(block));
    *pict = METAFILEPICT{MM_TEXT, kPictureExtent, kPictureExtent, mf};
    ::GlobalUnlock(block);
    if (!::OpenClipboard(m_hWnd)) {
        ::GlobalFree(block);
        ::DeleteMetaFile(mf);
        return fail(L"Cannot open the Clipboard");
    }
    if (!::EmptyClipboard()) {
        ::CloseClipboard();
        ::GlobalFree(block);
        ::DeleteMetaFile(mf);
        return fail(L"Cannot empty the Clipboard");
    }
    ::SetClipboardData(CF_METAFILEPICT, block);
    ::CloseClipboard();
    ::DeleteEnhMetaFile(emf);
}

void CDesignView::fnOnStartComposition() {
    const bool debug = QvGetAppParam(L"ShowDebugMessage", 0) != 0;
    if (!QvGetAppParam(L"ImeCompositionInPlace", 0))
        return;
    if (debug)
        AfxMessageBox(L"In CDesignView::fnOnStartComposition()");
    if (!::IsWindow(m_hWnd))
        return;
    if (debug)
        AfxMessageBox(L"Got my Hwnd");
    HIMC context = ::ImmGetContext(m_hWnd);
    if (!context)
        return;
    COMPOSITIONFORM form{};
    CDesignTool* tool = GetDesignTool();
    if (::ImmGetCompositionWindow(context, &form) && tool) {
        if (debug)
            AfxMessageBox(L"Got my hImc & CompForm");
        CPoint caret, other;
        if (tool->fnGetCaretPos(caret, other)) {
            DocToClient(caret);
            DocToClient(other);
            form.dwStyle = CFS_FORCE_POSITION;
            form.ptCurrentPos = caret;
            LOGFONTW font{};
            if (::ImmSetCompositionWindow(context, &form) &&
                ::ImmGetCompositionFontW(context, &font)) {
                font.lfHeight = LONG((double(other.y) - caret.y) * 0.66);
                font.lfWidth = 0;
                ::ImmSetCompositionFontW(context, &font);
            }
            if (debug) {
                CString text;
                text.Format(L"Set Pos to (%d,%d), set font to %s(%d)", int(caret.x), int(caret.y),
                            font.lfFaceName, int(font.lfHeight));
                AfxMessageBox(text);
            }
        }
    }
    ::ImmReleaseContext(m_hWnd, context);
}
