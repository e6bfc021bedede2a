// CDefEdit: an edit that shows a default text in grey while it is empty. The owner dialog
// colours it (WM_CTLCOLOREDIT) while ShowingDefault() is set; the text is also the edit's cue
// text, which a display that draws the edit itself shows in grey.
#pragma once

#include "platform/framework/edit.h"

class CDefEdit : public CEdit {
    DECLARE_DYNAMIC(CDefEdit)

public:
    void SetDefaultText(const CString& text);
    const CString& DefaultText() const { return m_strDefault; }
    int ShowingDefault() const { return m_bShowingDefault; }

    void PreSubclassWindow() override;
    void OnPaint() override;
    void OnChar(UINT ch, UINT repeat, UINT flags) override;

protected:
    CString m_strDefault;
    int m_bShowingDefault = 0;
};
