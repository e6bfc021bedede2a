#include "pivora/framework/app_param_list.h"

#include "platform/system/app_registry.h"

IMPLEMENT_DYNAMIC(CAppParamList, CObject)

CAppParamList::~CAppParamList() {
    bool write = CAppRegistry::Current() != nullptr;
    while (!m_list.IsEmpty()) {
        CAppParam* p = m_list.RemoveHead();
        if (write)
            p->WriteProfile();
        delete p;
    }
}

void CAppParamList::Discard() {
    while (!m_list.IsEmpty())
        delete m_list.RemoveHead();
}

CAppParamList& CAppParamList::Instance() {
    // Made on first use, so that it goes before the application object at exit and can
    // still write its entries back.
    static CAppParamList list;
    return list;
}

CAppParam* CAppParamList::FindFromHead(const CString& name) const {
    for (POSITION pos = m_list.GetHeadPosition(); pos;) {
        CAppParam* p = m_list.GetNext(pos);
        if (p->MatchAppParam(name))
            return p;
    }
    return nullptr;
}

CAppParam* CAppParamList::FindFromTail(const CString& name) const {
    for (POSITION pos = m_list.GetTailPosition(); pos;) {
        CAppParam* p = m_list.GetPrev(pos);
        if (p->MatchAppParam(name))
            return p;
    }
    return nullptr;
}

int CAppParamList::GetAppParam(const CString& name, int& value) {
    if (CAppParam* p = FindFromHead(name)) {
        if (p->Default())
            return 0;
        value = p->GetParamValue();
        return 1;
    }
    auto* entry = new CAppOnOff(name, value);
    m_list.AddTail(entry);
    if (entry->LoadProfile()) {
        value = entry->GetParamValue();
        return 1;
    }
    entry->Default(true);
    return 0;
}

int CAppParamList::GetAppParam(const CString& name, CString& text) {
    if (CAppParam* p = FindFromHead(name)) {
        if (p->Default())
            return 0;
        p->GetParamStr(text);
        return 1;
    }
    auto* entry = new CAppString(name, text);
    m_list.AddTail(entry);
    if (entry->LoadProfile()) {
        entry->GetParamStr(text);
        return 1;
    }
    entry->Default(true);
    return 0;
}

CAppParam* CAppParamList::GetAppParam(const CString& name, CAppParam* (*factory)(const CString&)) {
    if (CAppParam* p = FindFromHead(name))
        return p;
    if (!factory)
        return nullptr;
    CAppParam* p = factory(name);
    if (!p)
        return nullptr;
    m_list.AddTail(p);
    p->LoadProfile();
    return p;
}

void CAppParamList::SetAppParam(const CString& name, int value) {
    CAppParam* p = FindFromTail(name);
    if (p) {
        p->SetParamValue(value);
        p->Default(false);
    } else {
        p = new CAppOnOff(name, value);
        m_list.AddTail(p);
    }
    p->WriteProfile();
}

void CAppParamList::SetAppParam(const CString& name, const CString& text) {
    CAppParam* p = FindFromTail(name);
    if (p) {
        p->SetParamStr(text);
        p->Default(false);
    } else {
        p = new CAppString(name, text);
        m_list.AddTail(p);
    }
    p->WriteProfile();
}

CObject* CAppParamList::CopyObject(CObject* obj) {
    CAppParamList* target = obj ? DYNAMIC_DOWNCAST(CAppParamList, obj) : new CAppParamList;
    if (!target)
        return obj;
    for (POSITION pos = m_list.GetHeadPosition(); pos;) {
        CAppParam* p = m_list.GetNext(pos);
        if (auto* copy = static_cast<CAppParam*>(p->CopyObject(nullptr)))
            target->m_list.AddTail(copy);
    }
    return target;
}
