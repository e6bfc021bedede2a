// CUndoBar: the inside of the undo (or redo) drop-down: the list of the most recent actions,
// newest first, and under it a label "Undo %d Action(s)". Picking n actions posts the undo
// (redo) command n times to the design view that was active when the drop-down opened.
#pragma once

#include "platform/core/string_array.h"
#include "platform/framework/wnd.h"
#include "toolbars/undo_list_box.h"

class CJoxView;

class CUndoBar : public CWnd {
    DECLARE_DYNAMIC(CUndoBar)

public:
    static constexpr UINT kUndoListId = 40005;
    static constexpr UINT kRedoListId = 40006;
    static constexpr UINT IDS_UNDO_ACTIONS = 40007;
    static constexpr UINT IDS_REDO_ACTIONS = 40008;
    static constexpr UINT IDS_UNNAMED_ACTION = 40009;
    static constexpr UINT ID_EDIT_UNDO = 57643;
    static constexpr UINT ID_EDIT_REDO = 57644;
    static constexpr int nMaxShownTransactions = 12;

    // The names of the view's transactions, newest first.
    using TransactionNamesFn = const CStringArray& (*)(CJoxView* view, BOOL redo);
    static void SetUndoTransactionNamesCallback(TransactionNamesFn fn) {
        s_pFnUndoTransactionNames = fn;
    }
    static TransactionNamesFn s_pFnUndoTransactionNames;

    explicit CUndoBar(BOOL redo = FALSE) : m_bRedo(redo), m_wndList(this) {}
    ~CUndoBar() override;

    using CWnd::Create;
    // Makes the window and its list as a child of parent, for the active view of the main
    // window's active frame.
    BOOL Create(CWnd* parent, CPoint topLeft);

    void UpdateLabel(int n);
    const CString& GetLabel() const { return m_strLabel; }
    CRect GetLabelRect() const { return m_rectLabel; }
    // Closes the drop-down and posts the command n times to the view while its window exists.
    void DoUndo(int n);
    BOOL IsScrollable() const { return m_wndList.GetCount() > nMaxShownTransactions; }
    BOOL IsRedo() const { return m_bRedo; }
    // List width by rows shown (at most 12) plus the label.
    CSize CalcSize() const;
    CUndoListBox& GetList() { return m_wndList; }
    CJoxView* GetView() const;

    BOOL OnWndMsg(UINT msg, WPARAM wp, LPARAM lp, LRESULT* result) override;

protected:
    // The label strip: the look's bar background, the label centred on one line in the bar
    // text colour, inside the strip less one pixel on every side.
    void OnPaint() override;
    void Fill();
    void Layout();
    void PaintLabel();

    BOOL m_bRedo;
    CUndoListBox m_wndList;
    CJoxView* m_pView = nullptr;
    HWND m_hViewWnd = nullptr;
    int m_nListWidth = 0;
    int m_nLabelHeight = 0;
    CString m_strLabel;
    CRect m_rectLabel;
};
