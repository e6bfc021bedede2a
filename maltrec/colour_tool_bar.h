// CColourToolBar: the "Colour List" toolbar (slot 47): the page's line colours in one
// owner-drawn list, the selection's colour marked; a pick tells the design view.
#pragma once

#include "toolbars/custom_tool_bar.h"

class CColourBox;
class CMFCToolBarColourBox;

class CColourToolBar : public CCustomToolBar {
    DECLARE_SERIAL(CColourToolBar)
public:
    static constexpr UINT ID_COLOUR_LIST = 34006;
    static constexpr int kSlot = 47;
    // Top or bottom, floating allowed, whatever is asked.
    static constexpr DWORD kDockAlignment = 0xA040;
    static constexpr int kListWidth = 120;
    static constexpr int kDropDownHeight = 200;

    CColourToolBar() = default;
    ~CColourToolBar() override = default;

    BOOL Create(CWnd* parent, DWORD style, UINT id, UINT resourceId) override;
    using CCustomToolBar::Create;
    DWORD EnableDocking(DWORD alignment);
    // The list button in place of the plain button of command 34006.
    void OnReset();
    CMFCToolBarColourBox* GetMFCColourList() const;
    CColourBox* GetColourList() const;
    void SetView(CJoxView* view) override;
    void OnSelectionChanged();
    // The chosen row's style index; 1 without a button or a choice.
    int fnCurrentColourIdx() const;
    // After the base's state: row 0 chosen.
    void LoadState();

    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

private:
    DWORD m_dwDockAlignment = 0;
};
