// CJoxTabCtrl: the MDI tab control that remembers the last active tab across moves and
// deletions, and can end a splitter or resize drag.
#pragma once

#include "platform/framework/mfc_tab_ctrl.h"

class CJoxTabCtrl : public CMFCTabCtrl {
    DECLARE_DYNCREATE(CJoxTabCtrl)

public:
    CJoxTabCtrl() = default;
    ~CJoxTabCtrl() override = default;

    int GetLastActiveTab() const { return m_iLastActiveTab; }
    void SetLastActiveTab(int index) { m_iLastActiveTab = index; }
    // The last active tab follows the moved tabs: "to" is where the moved tab ends.
    void MoveTab(int from, int to) override;
    void PreDeleteTab(int index) override;
    // false when no splitter or resize drag is in progress; otherwise ends it.
    bool StopSplitOrResize();

protected:
    int m_iLastActiveTab = -1;
};
