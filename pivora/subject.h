// CSubject: what observers attach to; it lists them, newest first, without owning them.
#pragma once

#include "platform/core/ptr_list.h"
#include "platform/core/typed_ptr_list.h"

class CObserver;

class CSubject {
public:
    CSubject();
    // Every former observer is left unattached.
    virtual ~CSubject();
    CSubject(const CSubject&) = delete;
    CSubject& operator=(const CSubject&) = delete;

    virtual void* GetState(UINT) { return nullptr; }
    virtual void SetState(UINT, void*) {}

    // A new observer goes to the head of the list; one already listed stays where it is.
    void Attach(CObserver* observer);
    void Detach(CObserver* observer);
    const CTypedPtrList<CPtrList, CObserver*>& Observers() const { return m_observers; }

protected:
    CTypedPtrList<CPtrList, CObserver*> m_observers{10};

private:
    friend class CObserver;
    // Copies of listed observers share the subject without being listed; they are let go of
    // too when the subject goes, so none keeps a pointer to it.
    CPtrList m_copies;
};
