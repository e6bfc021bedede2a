// The process-wide cache of application parameters: each name is read from the settings once,
// kept for the life of the process and written back at exit.
#pragma once

#include "pivora/framework/app_param.h"
#include "platform/core/ob_list.h"
#include "platform/core/typed_ptr_list.h"

class CAppParamList : public CObject {
    DECLARE_DYNAMIC(CAppParamList)
public:
    CAppParamList() : m_list(10) {}
    // Writes every entry when an application is still current, then deletes them.
    ~CAppParamList() override;
    CAppParamList(const CAppParamList&) = delete;
    CAppParamList& operator=(const CAppParamList&) = delete;

    // The one list of the process.
    static CAppParamList& Instance();

    // `value` holds the caller's default on entry and the value in force on return;
    // 1 when a value is stored. A miss is remembered and not read again.
    int GetAppParam(const CString& name, int& value);
    int GetAppParam(const CString& name, CString& text);
    // The entry of that name; made by `factory`, appended and loaded when missing.
    CAppParam* GetAppParam(const CString& name, CAppParam* (*factory)(const CString&));
    // Sets and writes at once.
    void SetAppParam(const CString& name, int value);
    void SetAppParam(const CString& name, const CString& text);

    // Appends a copy of every entry to `obj` (a new list when null) and returns it.
    CObject* CopyObject(CObject* obj);
    // Deletes every entry without writing it.
    void Discard();
    INT_PTR GetCount() const { return m_list.GetCount(); }

private:
    CAppParam* FindFromHead(const CString& name) const;
    CAppParam* FindFromTail(const CString& name) const;

    CTypedPtrList<CObList, CAppParam*> m_list; // owns its entries
};
