// The Screen Properties dialog: the physical width and horizontal resolution of the screen for
// zoom to scale, where the monitor reports them wrongly. An empty box means the monitor's value,
// shown in grey inside it.
#pragma once

#include "design/document/def_edit.h"
#include "qvutils/tavrin_dialog.h"

#include <cstdint>

class CScreenProperties : public CTavrinDialog {
    DECLARE_DYNAMIC(CScreenProperties)

public:
    enum { IDD = 28037 };
    static constexpr int IDC_SCREEN_WIDTH = 28122;
    static constexpr int IDC_SCREEN_PIXELS = 28123;
    static constexpr int kEditLimit = 6;
    // Application parameters: hundredths of a millimetre and pixels; 0 means not set.
    static constexpr const wchar_t* kWidthParam = L"ScreenWidth";
    static constexpr const wchar_t* kPixelsParam = L"ScreenWidthPixels";
    static constexpr double kInchesPerMm = 0.03937007874015748;
    static constexpr double kMinMm = 100, kMaxMm = 1000;
    static constexpr double kMinInches = 4, kMaxInches = 40;
    static constexpr int kMinPixels = 800, kMaxPixels = 4000;

    explicit CScreenProperties(CWnd* parent = nullptr);

    // The grey texts: the monitor's width (hundredths of a millimetre) and pixels; 0 shows none.
    void SetDefaults(int32_t hundredthsMm, int32_t pixels);

    BOOL OnInitDialog() override;
    void DoDataExchange(CDataExchange* dx) override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;
    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;
    void OnOK() override;
    void OnCancel() override;

    CDefEdit m_WidthEdit;
    CDefEdit m_PixelsEdit;
    // In the display unit.
    double m_dWidth = 0;
    uint32_t m_nPixels = 0;
    int m_bInches;
    COLORREF m_crGrey = 0;

protected:
    bool m_bCancelling = false;
    bool m_bValidating = false;
};
