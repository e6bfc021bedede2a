// CDocTemplate: binds a document class to the frame and view classes that show it, with the
// resources (menu, accelerators, document strings) of one resource id.
#pragma once

#include "platform/core/cstring.h"
#include "platform/core/position.h"
#include "platform/framework/cmd_target.h"

class CDocument;
class CFrameWnd;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)

public:
    // The parts of the document string (resource id): "\n"-separated in this order.
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName,
    };

    CDocTemplate(UINT resourceId, CRuntimeClass* docClass, CRuntimeClass* frameClass,
                 CRuntimeClass* viewClass);
    ~CDocTemplate() override;
    CDocTemplate(const CDocTemplate&) = delete;
    CDocTemplate& operator=(const CDocTemplate&) = delete;

    // Loads the document string; an empty part gives FALSE.
    virtual void LoadTemplate();
    virtual BOOL GetDocString(CString& out, DocStringIndex index) const;

    virtual CDocument* CreateNewDocument();
    // A new frame of the frame class showing doc in a new view; null on failure.
    virtual CFrameWnd* CreateNewFrame(CDocument* doc, CFrameWnd* other);
    virtual void InitialUpdateFrame(CFrameWnd* frame, CDocument* doc, BOOL makeVisible = TRUE);
    // A new document (path null) or the file opened in a new frame; null on failure.
    virtual CDocument* OpenDocumentFile(LPCWSTR path, BOOL makeVisible = TRUE) = 0;
    virtual void SetDefaultTitle(CDocument* doc) = 0;

    virtual void AddDocument(CDocument* doc);
    virtual void RemoveDocument(CDocument* doc);
    virtual POSITION GetFirstDocPosition() const = 0;
    virtual CDocument* GetNextDoc(POSITION& pos) const = 0;
    // Closes every document (and its frames).
    virtual void CloseAllDocuments(BOOL endSession);
    // Asks each modified document; FALSE when the user cancelled.
    virtual BOOL SaveAllModified();

    UINT GetResourceID() const { return m_nIDResource; }

    UINT m_nIDResource;
    CRuntimeClass* m_pDocClass;
    CRuntimeClass* m_pFrameClass;
    CRuntimeClass* m_pViewClass;
    CString m_strDocStrings;
};
