// CSelectionManager: the subject that passes a selection change on to every other observer,
// once it has been started. Nothing in the system makes one yet; observers stay unattached.
#pragma once

#include "pivora/subject.h"

class CSelectionManager : public CSubject {
public:
    CSelectionManager() = default;
    ~CSelectionManager() override = default;

    bool IsActive() const { return m_bActive; }
    void SetActive(bool on) { m_bActive = on; }
    // Calls UpdateSelection of every listed observer but the sender, head first; an observer
    // may detach itself while it is told.
    virtual void RequestUpdateSelection(UINT code, void* data, CObserver* sender);

private:
    bool m_bActive = false;
};
