// Selection notification: subjects, observers, the selection manager and request values.
#include "pivora/observer.h"
#include "pivora/selection_manager.h"
#include "pivora/selection_observer.h"
#include "pivora/selection_request.h"
#include "pivora/subject.h"

CSubject::CSubject() = default;

CSubject::~CSubject() {
    for (POSITION pos = m_observers.GetHeadPosition(); pos;)
        m_observers.GetNext(pos)->m_pSubject = nullptr;
    m_observers.RemoveAll();
    for (POSITION pos = m_copies.GetHeadPosition(); pos;)
        static_cast<CObserver*>(m_copies.GetNext(pos))->m_pSubject = nullptr;
    m_copies.RemoveAll();
}

void CSubject::Attach(CObserver* observer) {
    if (!observer || m_observers.Find(observer))
        return;
    if (observer->m_pSubject && observer->m_pSubject != this)
        observer->Release();
    if (POSITION pos = m_copies.Find(observer))
        m_copies.RemoveAt(pos);
    m_observers.AddHead(observer);
    observer->m_pSubject = this;
}

void CSubject::Detach(CObserver* observer) {
    POSITION pos = observer ? m_observers.Find(observer) : nullptr;
    if (!pos)
        return;
    m_observers.RemoveAt(pos);
    observer->m_pSubject = nullptr;
}

CObserver::CObserver(const CObserver& other) : m_pSubject(other.m_pSubject) {
    if (m_pSubject)
        m_pSubject->m_copies.AddTail(this);
}

CObserver& CObserver::operator=(const CObserver& other) {
    if (this != &other && m_pSubject != other.m_pSubject) {
        Release();
        m_pSubject = other.m_pSubject;
        if (m_pSubject)
            m_pSubject->m_copies.AddTail(this);
    }
    return *this;
}

void CObserver::Release() {
    if (!m_pSubject)
        return;
    if (POSITION pos = m_pSubject->m_copies.Find(this))
        m_pSubject->m_copies.RemoveAt(pos);
    m_pSubject->Detach(this);
    m_pSubject = nullptr;
}

CObserver::~CObserver() {
    try {
        Release();
    } catch (...) {
    }
    m_pSubject = nullptr;
}

CSelectionObserver::~CSelectionObserver() {
    Release();
}

void CSelectionObserver::StartSelectionManager() {
    if (auto* manager = dynamic_cast<CSelectionManager*>(GetSubject()))
        manager->SetActive(true);
}

void CSelectionObserver::ChangeSelection(UINT code, void* data) {
    if (auto* manager = dynamic_cast<CSelectionManager*>(GetSubject()))
        manager->RequestUpdateSelection(code, data, this);
}

void CSelectionManager::RequestUpdateSelection(UINT code, void* data, CObserver* sender) {
    if (!m_bActive)
        return;
    for (POSITION pos = m_observers.GetHeadPosition(); pos;) {
        CObserver* o = m_observers.GetNext(pos); // taken first: o may detach itself
        if (o != sender && o->m_pSelection)
            o->m_pSelection->UpdateSelection(code, data);
    }
}

CSelectionRequest::CSelectionRequest() {
    m_values.InitHashTable(17);
}

CSelectionRequest::~CSelectionRequest() {
    RemoveAll();
}

void CSelectionRequest::Free(stRequestData& d) {
    switch (d.type) {
    case kBool:
        delete static_cast<bool*>(d.data);
        break;
    case kInt:
        delete static_cast<int*>(d.data);
        break;
    case kUnsigned:
        delete static_cast<UINT*>(d.data);
        break;
    default:
        break;
    }
    d.data = nullptr;
}

void CSelectionRequest::Store(UINT key, void* data, int type) {
    stRequestData old;
    if (m_values.Lookup(key, old))
        Free(old);
    stRequestData next{data, type};
    m_values.SetAt(key, next);
    // A cache of another type for this key no longer holds.
    if (type != kBool && m_boolKey == key)
        m_boolKey = 0;
    if (type != kInt && m_intKey == key)
        m_intKey = 0;
    if (type != kUnsigned && m_unsignedKey == key)
        m_unsignedKey = 0;
}

void CSelectionRequest::Set(UINT key, bool value) {
    if (!key)
        return;
    Store(key, new bool(value), kBool);
    if (key == m_boolKey)
        m_cachedBool = value;
}

void CSelectionRequest::Set(UINT key, int value) {
    if (!key)
        return;
    Store(key, new int(value), kInt);
    if (key == m_intKey)
        m_cachedInt = value;
}

void CSelectionRequest::Set(UINT key, UINT value) {
    if (!key)
        return;
    Store(key, new UINT(value), kUnsigned);
    if (key == m_unsignedKey)
        m_cachedUnsigned = value;
}

void CSelectionRequest::Set(UINT key, void* pointer) {
    if (!key)
        return;
    Store(key, pointer, kPointer);
}

bool CSelectionRequest::GetBool(UINT key) {
    if (key && key == m_boolKey)
        return m_cachedBool;
    stRequestData d;
    if (!key || !m_values.Lookup(key, d) || d.type != kBool)
        return false;
    m_cachedBool = *static_cast<bool*>(d.data);
    m_boolKey = key;
    return m_cachedBool;
}

int CSelectionRequest::GetInt(UINT key) {
    if (key && key == m_intKey)
        return m_cachedInt;
    stRequestData d;
    if (!key || !m_values.Lookup(key, d) || d.type != kInt)
        return -1;
    m_cachedInt = *static_cast<int*>(d.data);
    m_intKey = key;
    return m_cachedInt;
}

UINT CSelectionRequest::GetUINT(UINT key) {
    stRequestData d;
    if (!key || !m_values.Lookup(key, d))
        return 0;
    if (d.type == kUnsigned)
        return *static_cast<UINT*>(d.data);
    if (d.type == kInt)
        return UINT(*static_cast<int*>(d.data));
    return 0;
}

void* CSelectionRequest::GetVoid(UINT key) {
    stRequestData d;
    if (!key || !m_values.Lookup(key, d))
        return nullptr;
    return d.data;
}

void CSelectionRequest::RemoveAll() {
    for (POSITION pos = m_values.GetStartPosition(); pos;) {
        UINT key;
        stRequestData d;
        m_values.GetNextAssoc(pos, key, d);
        Free(d);
    }
    m_values.RemoveAll();
    m_boolKey = m_intKey = m_unsignedKey = 0;
}
