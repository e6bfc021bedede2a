// CCloseAllDlg: asked once when the operator closes all designs or the program, what to do
// with the unsaved ones: save all, ask for each, or save none. The chosen action becomes the
// pages' close action, which the close prompt obeys.
#pragma once

#include "pivora/jox_page.h"

#include "qvutils/tavrin_dialog.h"

class CCloseAllDlg : public CTavrinDialog {
    DECLARE_DYNAMIC(CCloseAllDlg)
public:
    enum { IDD = 12286 };
    static constexpr int IDC_SAVE_ALL = 1226;
    static constexpr int IDC_PROMPT = 1227;
    static constexpr int IDC_NO_SAVE = 1228;
    static constexpr int IDC_QUESTION = 1229;

    explicit CCloseAllDlg(CWnd* parent = nullptr);

    void SetDesignCount(int total, int unsaved);
    // The action chosen; save all until a button says otherwise.
    CloseModAction CloseModifiedAction() const { return m_eAction; }

    BOOL OnInitDialog() override;
    BOOL OnCommand(WPARAM wp, LPARAM lp) override;

protected:
    void OnSaveAll() { Choose(eCloseModSaveAll); }
    void OnPrompt() { Choose(eCloseModPrompt); }
    void OnNoSave() { Choose(eCloseModNoSave); }

private:
    void Choose(CloseModAction action);

    CString m_strQuestion;
    CloseModAction m_eAction = eCloseModSaveAll;
    int m_nTotal = 0;
    int m_nUnsaved = 0;
};
