#include "platform/framework/document.h"
#include "platform/framework/win_app.h"

#include "platform/core/mem_file.h"
#include "platform/core/replace_file.h"
#include "platform/framework/doc_template.h"
#include "platform/framework/file_dialog.h"
#include "platform/framework/frame_messages.h"
#include "platform/framework/frame_wnd.h"
#include "platform/framework/view.h"
#include "platform/system/paths.h"
#include "platform/windowing/message_box.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

IMPLEMENT_DYNAMIC(CDocument, CCmdTarget)

namespace {

constexpr ULONGLONG kMaxDocumentBytes = 1ull << 30;
ULONGLONG g_maxDocumentBytes = kMaxDocumentBytes;

std::function<void(platform::ReplaceStep)>& SaveHook() {
    static std::function<void(platform::ReplaceStep)> hook;
    return hook;
}

} // namespace

namespace platform {

void SetDocumentSaveHook(std::function<void(ReplaceStep)> hook) {
    SaveHook() = std::move(hook);
}

void SetDocumentSizeLimit(ULONGLONG bytes) {
    g_maxDocumentBytes = bytes ? bytes : kMaxDocumentBytes;
}

} // namespace platform

CDocument::CDocument() = default;

CDocument::~CDocument() {
    for (POSITION pos = m_viewList.GetHeadPosition(); pos;)
        static_cast<CView*>(m_viewList.GetNext(pos))->m_pDocument = nullptr;
    m_viewList.RemoveAll();
    if (m_pDocTemplate)
        m_pDocTemplate->RemoveDocument(this);
}

void CDocument::SetTitle(const wchar_t* title) {
    m_strTitle = title ? title : L"";
}

void CDocument::SetPathName(const wchar_t* path, BOOL addToMRU) {
    m_strPathName = path ? path : L"";
    SetTitle(platform::FileNameOf(m_strPathName));
    if (addToMRU && !m_strPathName.IsEmpty())
        if (CWinApp* app = AfxGetApp())
            app->AddToRecentFileList(m_strPathName);
}

void CDocument::AddView(CView* view) {
    if (!view || m_viewList.Find(view))
        return;
    if (view->m_pDocument && view->m_pDocument != this)
        view->m_pDocument->RemoveView(view);
    m_viewList.AddTail(view);
    view->m_pDocument = this;
    OnChangedViewList();
}

void CDocument::RemoveView(CView* view) {
    POSITION pos = m_viewList.Find(view);
    if (!pos)
        return;
    m_viewList.RemoveAt(pos);
    view->m_pDocument = nullptr;
    OnChangedViewList();
}

void CDocument::UpdateAllViews(CView* sender, LPARAM hint, CObject* hintObject) {
    // A copy: a view told may close itself or open another.
    CPtrList views;
    views.AddTail(&m_viewList);
    for (POSITION pos = views.GetHeadPosition(); pos;) {
        auto* view = static_cast<CView*>(views.GetNext(pos));
        if (view != sender && m_viewList.Find(view))
            view->OnUpdate(sender, hint, hintObject);
    }
}

BOOL CDocument::OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) {
    // Only the commands themselves: their enabled state is the frame's or the view's to give.
    if (code == CN_COMMAND &&
        (id == ID_FILE_SAVE || id == ID_FILE_SAVE_AS || id == ID_FILE_CLOSE)) {
        if (IsQuery(handlerInfo))
            return TRUE;
        if (id == ID_FILE_SAVE)
            OnFileSave();
        else if (id == ID_FILE_SAVE_AS)
            OnFileSaveAs();
        else
            OnFileClose();
        return TRUE;
    }
    if (CCmdTarget::OnCmdMsg(id, code, extra, handlerInfo))
        return TRUE;
    return m_pDocTemplate && m_pDocTemplate->OnCmdMsg(id, code, extra, handlerInfo);
}

void CDocument::OnChangedViewList() {
    if (m_viewList.IsEmpty() && m_bAutoDelete)
        OnCloseDocument();
}

BOOL CDocument::OnNewDocument() {
    DeleteContents();
    m_strPathName.Empty();
    SetModifiedFlag(FALSE);
    return TRUE;
}

void CDocument::OnCloseDocument() {
    // Closing the frames removes the views; that must not close the document a second time.
    BOOL autoDelete = m_bAutoDelete;
    m_bAutoDelete = FALSE;
    while (!m_viewList.IsEmpty()) {
        auto* view = static_cast<CView*>(m_viewList.GetHead());
        CFrameWnd* frame = view->GetParentFrame();
        if (frame && ::IsWindow(frame->m_hWnd))
            frame->DestroyWindow();
        else if (::IsWindow(view->m_hWnd))
            view->DestroyWindow();
        if (!m_viewList.IsEmpty() && m_viewList.GetHead() == view)
            RemoveView(view);
    }
    m_bAutoDelete = autoDelete;
    DeleteContents();
    if (m_bAutoDelete)
        delete this;
}

CFile* CDocument::GetFile(const wchar_t* fileName, UINT openFlags, CFileException* error) {
    auto* file = new CFile;
    if (!file->Open(fileName, openFlags, error)) {
        delete file;
        return nullptr;
    }
    return file;
}

void CDocument::ReleaseFile(CFile* file, BOOL abort) {
    if (!file)
        return;
    if (abort)
        file->Abort();
    else
        file->Close();
    delete file;
}

BOOL CDocument::OnOpenDocument(const wchar_t* path) {
    CFileException fe;
    CFile* file = GetFile(path, CFile::modeRead | CFile::shareDenyWrite, &fe);
    if (!file) {
        ReportSaveLoadException(path, &fe, FALSE);
        return FALSE;
    }
    DeleteContents();
    SetModifiedFlag(TRUE); // dirty while loading
    try {
        // Pipes, devices and folders are no designs: a pipe would never end, a device such as
        // /dev/zero never stops giving bytes.
        struct stat st;
        if (::fstat(file->GetDescriptor(), &st) != 0 || !S_ISREG(st.st_mode))
            throw std::runtime_error("This is not a regular file; only files hold designs.");
        // Read whole into memory: readers ask the stream position for every record, which
        // on a disk file is a system call each time.
        // Nothing this size is a document; refuse it before filling the memory, and count what
        // is read as well, since some files report no size at all.
        if (file->GetLength() > g_maxDocumentBytes)
            AfxThrowArchiveException(CArchiveException::genericException, path);
        CMemFile image(64 * 1024);
        std::vector<BYTE> chunk(256 * 1024);
        ULONGLONG total = 0;
        for (UINT got; (got = file->Read(chunk.data(), UINT(chunk.size()))) > 0;) {
            total += got;
            if (total > g_maxDocumentBytes)
                AfxThrowArchiveException(CArchiveException::genericException, path);
            image.Write(chunk.data(), got);
        }
        image.SeekToBegin();
        CArchive ar(&image, CArchive::load | CArchive::bNoFlushOnDelete);
        ar.m_pDocument = this;
        Serialize(ar);
        ar.Close();
    } catch (const std::exception& e) {
        ReleaseFile(file, TRUE);
        // Nothing half-loaded stays behind.
        DeleteContents();
        SetModifiedFlag(FALSE);
        ReportSaveLoadException(path, &e, FALSE);
        return FALSE;
    }
    ReleaseFile(file, FALSE);
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::SaveToFile(const wchar_t* path, const std::function<void()>& beforeReplace) {
    const std::string target = platform::MapPath(path);
    try {
        // The design is put together in memory first: stored records patch their lengths in
        // place, and a failing or interrupted store then leaves nothing on disk.
        CMemFile image(64 * 1024);
        {
            CArchive ar(&image, CArchive::store | CArchive::bNoFlushOnDelete);
            ar.m_pDocument = this;
            Serialize(ar);
            ar.Close();
        }
        int err = platform::ReplaceFile(target, image.Data(), [&](platform::ReplaceStep step) {
            if (step == platform::ReplaceStep::TemporaryWritten && beforeReplace)
                beforeReplace();
            if (SaveHook())
                SaveHook()(step);
        });
        if (err)
            throw CFileException(CFileException::OsErrorToException(err), err, CString(path));
    } catch (const std::exception& e) {
        ReportSaveLoadException(path, &e, TRUE);
        return FALSE;
    }
    return TRUE;
}

BOOL CDocument::OnSaveDocument(const wchar_t* path) {
    if (!SaveToFile(path))
        return FALSE;
    SetModifiedFlag(FALSE);
    return TRUE;
}

BOOL CDocument::DoFileSave() {
    // A name whose file is not there yet (a new design's fresh name) or cannot be written is
    // confirmed or changed in the save dialog first.
    const std::string mapped = platform::MapPath(m_strPathName);
    struct stat st {};
    const bool writable = !m_strPathName.IsEmpty() && ::stat(mapped.c_str(), &st) == 0 &&
                          S_ISREG(st.st_mode) && ::access(mapped.c_str(), W_OK) == 0;
    return DoSave(writable ? m_strPathName.GetString() : nullptr);
}

BOOL CDocument::DoSave(const wchar_t* path, BOOL replace) {
    CString name(path ? path : L"");
    if (name.IsEmpty()) {
        CWinApp* app = AfxGetApp();
        name = m_strPathName;
        if (name.IsEmpty())
            name = m_strTitle;
        if (!app ||
            !app->DoPromptFileName(name, replace ? L"Save As" : L"Save a Copy As",
                                   OFN_HIDEREADONLY | OFN_PATHMUSTEXIST, FALSE, m_pDocTemplate))
            return FALSE;
    }
    // The save itself never leaves a half-written file: on failure the old one stays.
    if (!OnSaveDocument(name))
        return FALSE;
    if (replace)
        SetPathName(name);
    return TRUE;
}

void CDocument::OnFileSave() {
    DoFileSave();
}

void CDocument::OnFileSaveAs() {
    DoSave(nullptr);
}

void CDocument::OnFileClose() {
    if (!SaveModified())
        return;
    OnCloseDocument();
}

BOOL CDocument::SaveModified() {
    if (!IsModified())
        return TRUE;
    CString name = m_strPathName.IsEmpty() ? m_strTitle : platform::FileNameOf(m_strPathName);
    CString prompt;
    prompt.Format(L"Save changes to %s?", name.GetString());
    switch (MessageBoxW(nullptr, prompt, L"", MB_YESNOCANCEL | MB_ICONEXCLAMATION)) {
    case IDCANCEL:
        return FALSE;
    case IDYES:
        return DoFileSave();
    default:
        return TRUE;
    }
}

void CDocument::ReportSaveLoadException(const wchar_t* path, const std::exception* e, BOOL saving) {
    CString name(path ? path : L"");
    CString reason;
    if (auto* ce = dynamic_cast<const CException*>(e))
        reason = ce->GetMessageText();
    else if (dynamic_cast<const std::bad_alloc*>(e))
        reason = L"There is not enough memory.";
    else if (e)
        reason = CString(e->what());
    if (saving) {
        m_strLastError.Format(L"Failed to save \"%s\"; the previous file is unchanged.",
                              name.GetString());
    } else if (dynamic_cast<const CArchiveException*>(e)) {
        m_strLastError.Format(L"Failed to open \"%s\": the file is damaged or is not a design "
                              L"file.",
                              name.GetString());
    } else {
        m_strLastError.Format(L"Failed to open \"%s\".", name.GetString());
    }
    if (!reason.IsEmpty())
        m_strLastError += L"\n" + reason;
    MessageBoxW(nullptr, m_strLastError, L"", MB_OK | MB_ICONEXCLAMATION);
}
