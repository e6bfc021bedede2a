// CSelectionObserver: a document or view that hears of selection changes made elsewhere and
// announces its own through the selection manager it is attached to.
#pragma once

#include "pivora/observer.h"
#include "platform/core/types.h"

class CSelectionObserver : public CObserver {
public:
    CSelectionObserver() { m_pSelection = this; }
    CSelectionObserver(const CSelectionObserver& other) : CObserver(other) { m_pSelection = this; }
    CSelectionObserver& operator=(const CSelectionObserver& other) {
        CObserver::operator=(other);
        return *this;
    }
    virtual ~CSelectionObserver();

    // Switches the manager's notices on.
    virtual void StartSelectionManager();
    // Tells every other observer of the manager.
    virtual void ChangeSelection(UINT code, void* data);
    // A change announced by another observer; nothing here.
    virtual void UpdateSelection(UINT, void*) {}
};
