// CDocument: the class library's document: title, path, modified flag, the list of its views,
// and the open and save steps through CFile and CArchive.
//
// Saving puts the document together in memory, writes it to a temporary file beside the target
// and renames that over the target only once it is complete and flushed, so the target always
// holds the previous or the new file, whatever stops the save. Opening reads regular files
// only, up to a size limit; a file that cannot be read empties the document and reports why.
#pragma once

#include "platform/core/archive.h"
#include "platform/core/exceptions.h"
#include "platform/core/file.h"
#include "platform/core/object.h"
#include "platform/core/ptr_list.h"
#include "platform/core/replace_file.h"
#include "platform/framework/cmd_target.h"
#include "platform/windowing/accelerator.h"

#include <functional>

class CDocTemplate;
class CView;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    CDocument();
    ~CDocument() override;
    CDocument(const CDocument&) = delete;
    CDocument& operator=(const CDocument&) = delete;

    const CString& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const wchar_t* title);
    const CString& GetPathName() const { return m_strPathName; }
    // The title follows the file name of the path.
    virtual void SetPathName(const wchar_t* path, BOOL addToMRU = TRUE);
    virtual BOOL IsModified() { return m_bModified; }
    virtual void SetModifiedFlag(BOOL modified = TRUE) { m_bModified = modified; }
    // A table of the document's own that its frames translate keys through instead of theirs.
    virtual HACCEL GetDefaultAccelerator() { return nullptr; }

    // Views are not owned.
    virtual void AddView(CView* view);
    virtual void RemoveView(CView* view);
    POSITION GetFirstViewPosition() const { return m_viewList.GetHeadPosition(); }
    CView* GetNextView(POSITION& pos) const {
        return static_cast<CView*>(const_cast<CPtrList&>(m_viewList).GetNext(pos));
    }
    INT_PTR GetViewCount() const { return m_viewList.GetCount(); }
    // Tells every view but sender (OnUpdate). A view may close or add views while told.
    void UpdateAllViews(CView* sender, LPARAM hint = 0, CObject* hintObject = nullptr);
    // The template that made the document, or null.
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }
    // Commands reach the document after its view; then its template.
    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;

    virtual void OnChangedViewList();
    virtual void DeleteContents() {}
    virtual BOOL OnNewDocument();
    virtual BOOL OnOpenDocument(const wchar_t* path);
    virtual BOOL OnSaveDocument(const wchar_t* path);
    virtual void OnCloseDocument();
    // Asks whether to save a modified document: FALSE keeps it open.
    virtual BOOL SaveModified();
    // Saves under the document's name; a document whose file does not exist (a new design) or
    // cannot be written is saved through the save dialog instead.
    virtual BOOL DoFileSave();
    // Saves to path; without one the application's save dialog asks for a name first. With
    // replace the document takes the name it was saved under. FALSE when nothing was saved.
    virtual BOOL DoSave(const wchar_t* path, BOOL replace = TRUE);

    // The standard commands: Save, Save As, and Close after the modified-question.
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileClose();

    virtual CFile* GetFile(const wchar_t* fileName, UINT openFlags, CFileException* error);
    virtual void ReleaseFile(CFile* file, BOOL abort);
    // Shows the failure of an open or save; the text stays readable through GetLastErrorText.
    virtual void ReportSaveLoadException(const wchar_t* path, const std::exception* e, BOOL saving);
    const CString& GetLastErrorText() const { return m_strLastError; }

    BOOL m_bAutoDelete = TRUE;

protected:
    // Writes the document through Serialize into a temporary file beside path and renames it
    // over path. beforeReplace runs once the new file is complete, just before the rename
    // (a backup of the old file is made there). Leaves the modified flag and the path alone;
    // FALSE after a reported failure.
    BOOL SaveToFile(const wchar_t* path, const std::function<void()>& beforeReplace = {});

    CString m_strTitle;
    CString m_strPathName;
    BOOL m_bModified = FALSE;
    CPtrList m_viewList;
    CString m_strLastError;
    CDocTemplate* m_pDocTemplate = nullptr;
    friend class CDocTemplate;
};

namespace platform {

// Test seams: called at every step of a document save (a test stops there as a crash would);
// and the largest file an open reads (0: the usual limit of 1 GB).
void SetDocumentSaveHook(std::function<void(ReplaceStep)> hook);
void SetDocumentSizeLimit(ULONGLONG bytes);

} // namespace platform
