// The slider control of the class library over the headless model (slider_control.h).
#pragma once

#include "platform/framework/wnd.h"
#include "platform/windowing/slider_control.h"

class CSliderCtrl : public CWnd {
    DECLARE_DYNAMIC(CSliderCtrl)

public:
    using CWnd::Create;
    BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id) {
        return CreateEx(0, TRACKBAR_CLASS, L"", style | WS_CHILD, rect, parent, id);
    }
    int GetPos() const { return int(SendMessage(TBM_GETPOS)); }
    void SetPos(int pos) { SendMessage(TBM_SETPOS, TRUE, LPARAM(pos)); }
    int GetRangeMin() const { return int(SendMessage(TBM_GETRANGEMIN)); }
    int GetRangeMax() const { return int(SendMessage(TBM_GETRANGEMAX)); }
    void GetRange(int& min, int& max) const {
        min = GetRangeMin();
        max = GetRangeMax();
    }
    void SetRangeMin(int min, BOOL redraw = FALSE) {
        SendMessage(TBM_SETRANGEMIN, WPARAM(redraw), LPARAM(min));
    }
    void SetRangeMax(int max, BOOL redraw = FALSE) {
        SendMessage(TBM_SETRANGEMAX, WPARAM(redraw), LPARAM(max));
    }
    void SetRange(int min, int max, BOOL redraw = FALSE) {
        SetRangeMin(min, FALSE);
        SetRangeMax(max, redraw);
    }
    int GetLineSize() const { return int(SendMessage(TBM_GETLINESIZE)); }
    int SetLineSize(int size) { return int(SendMessage(TBM_SETLINESIZE, 0, LPARAM(size))); }
    int GetPageSize() const { return int(SendMessage(TBM_GETPAGESIZE)); }
    int SetPageSize(int size) { return int(SendMessage(TBM_SETPAGESIZE, 0, LPARAM(size))); }
};
