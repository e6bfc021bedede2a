// CJoxPage: one design as the application's document. It holds the design tree (an embedded
// root article and further roots in that root's sibling row, one of them active), the page's
// parameter blocks, its grid, its extents rectangles, times, flags and lock counters, and
// stores itself as one group of tagged records. Around saving it keeps a backup of the
// previous file and a recovery copy (".KDR") for autosave.
#pragma once

#include "pivora/article.h"
#include "pivora/colour_palette.h"
#include "pivora/framework/version.h"
#include "pivora/geometry/geometry_types.h"
#include "pivora/grid.h"
#include "pivora/param_blk.h"
#include "pivora/rec_archive.h"

#include "platform/core/time.h"
#include "platform/framework/document.h"

class CJoxDC;
class CJoxView;
class CSelect;

// How the close-all handling treats modified designs; -1 none chosen.
enum CloseModAction {
    eCloseModNone = -1,
    eCloseModSaveAll = 0,
    eCloseModPrompt = 1,
    eCloseModNoSave = 2
};
enum EColourPaletteType { eColourPaletteDefault = 0 };

class CJoxPage : public CDocument {
    DECLARE_DYNCREATE(CJoxPage)
public:
    // Record ids of the page's group.
    enum : WORD {
        kRecTree = 0,
        kRecParams = 1,
        kRecContext = 2,
        kRecFlags = 3,
        kRecCreated = 4,
        kRecModified = 5,
        kRecExtents = 6,
        kRecGrid = 7,
        kRecAutoResize = 8,
        kRecViewExtents = 9,
        kRecVersions = 10,
    };
    // Flag bit that keeps snapped points inside the page extents.
    static constexpr DWORD kSnapToExtentsFlag = 0x04;
    static constexpr const wchar_t* kRootName = L"Design Order";
    static constexpr UINT IDS_DOCUMENT_LOCKED = 14506;
    static constexpr const wchar_t* kDocumentLocked = L"Document Locked";
    static constexpr const wchar_t* kAutosaveExtension = L".KDR";

    ~CJoxPage() override;

    // Tree and extents.
    CArticle* RootArticle() { return RootArticle(m_lActiveRootID); }
    CArticle* RootArticle(LONG id);
    // The embedded root, whatever root is active.
    CArticle* EmbeddedRootArticle() { return &m_RootArticle; }
    LONG ActiveRootArticleID() const { return m_lActiveRootID; }
    void SetActiveRootArticle(LONG id);
    // Deletes an article with its subtree. A null article and the embedded root are refused.
    virtual void DeleteArticle(CArticle* a, int adjust, int flag);
    void RecalcExtents(unsigned int flags);
    const CWindow& Extents() const { return m_PageExtents; }
    void Extents(const CWindow& w) { m_PageExtents = w; }
    const CWindow& DeviceExtents() const { return m_DeviceExtents; }
    void DeviceExtents(const CWindow& w) {
        m_DeviceExtents = w;
        m_bDeviceExtentsKnown = 1;
    }
    void ResetDeviceExtents() { m_bDeviceExtentsKnown = 0; }
    int DeviceExtentsKnown() const { return m_bDeviceExtentsKnown; }
    const CWindow& ViewExtents() const { return m_ViewExtents; }
    void ViewExtents(const CWindow& w, bool notify);
    int ViewModified() const { return m_bViewModified; }
    void GetActiveObjectExtents(CWindow& w);
    void fnSnapToExtents(CLpoint& p) const;
    CGrid* Grid() { return m_pGrid; }
    // Snapping through the grid; flag 0x04 first keeps the point inside the page extents.
    int Snap(CJoxView* view, CLpoint& p);
    int Snap(CJoxView* view, CPoint& p);
    int Snap(CJoxView* view, CWindow& w);
    void DrawGrid(CJoxView* view, CJoxDC* dc);
    void DrawGuides(CJoxView* view, CJoxDC* dc, int inRuler);
    // The first view of the page that is kind-of c (any view for null), or null.
    CJoxView* FirstView(CRuntimeClass* c);
    void OnInitialUpdateViews();
    // Draws the active root article.
    virtual void OnDraw(CJoxView* view, CJoxDC* dc);

    // Parameter blocks; the page owns every block it holds.
    CParamBlk* AddParam(CParamBlk* b);
    CParamBlk* FindParam(int id) { return FindParam(id, 0, nullptr); }
    CParamBlk* FindParam(int id, CParamBlk* (*factory)()) { return FindParam(id, 0, factory); }
    CParamBlk* FindParam(int id, int start, CParamBlk* (*factory)());
    int FindParam(CParamBlk* b) const;
    int MakeParamFirst(CParamBlk* b);
    int RemoveParam(CParamBlk* b);
    int RemoveParam(int i);
    void RemoveAllParams();
    int ParamCount() const { return int(m_ParamBlks.GetSize()); }
    CParamBlk* GetParam(int i) const { return m_ParamBlks.GetAt(i); }
    virtual CColourPalette* GetColourPalette(bool create, EColourPaletteType type);
    void GetStorableDesignParams(CParamBlkArray& out, CRecArchive& ar);
    void StoreDesignParams(int id, CRecArchive& ar);

    // State, locks, modification.
    int Context() const { return m_nContext; }
    void Context(int context) { m_nContext = context; }
    void SetFlags(DWORD bits) { m_dwFlags |= bits; }
    void ClrFlags(DWORD bits) { m_dwFlags &= ~bits; }
    int FlagsOn(DWORD bits) const { return (m_dwFlags & bits) == bits; }
    DWORD Flags() const { return m_dwFlags; }
    int AutoResize() const { return m_nAutoResize; }
    void AutoResize(int on) { m_nAutoResize = on; }
    const CTime& CreatedTime() const { return m_CreatedTime; }
    void Lock() { ++m_nLock; }
    void Unlock() { --m_nLock; }
    int IsLocked() const { return m_nLock > 0; }
    void LockUpdates() { ++m_nUpdateLock; }
    void UnlockUpdates() { --m_nUpdateLock; }
    int AreUpdatesLocked() const { return m_nUpdateLock; }
    void SetModifiedFlag(BOOL on = TRUE) override;
    void SetTypeModifiedFlag(int type, int on);
    int IsTypeModified(int type) const;
    BOOL SaveModified() override;
    void OnChangedViewList() override;
    void DeleteContents() override;
    virtual void SetTitle(const wchar_t* title, bool notify);
    void SetTitle(const wchar_t* title) override { SetTitle(title, true); }
    void SetFileNameExtension(const CString& ext);
    void* TempPtr() const { return m_pTempPtr; }
    void TempPtr(void* p) { m_pTempPtr = p; }
    static CloseModAction CloseModifiedAction() { return s_eCloseModifiedAction; }
    static void CloseModifiedAction(CloseModAction a) { s_eCloseModifiedAction = a; }
    // Creates the list when missing and empties it; with add, appends the running program's
    // version when it can be read.
    virtual void SetModulesVersion(bool add);
    // The versions of the programs that last wrote the design; null before the first store
    // or load.
    const CArray<CVersion, CVersion&>* ModulesVersion() const { return m_pModulesVersion; }

    // Selection: the design document overrides these.
    virtual void RemoveAllSelection() {}
    virtual CSelect* GetNextObjectSelection(POSITION& pos, const CRuntimeClass*) {
        pos = nullptr;
        return nullptr;
    }
    virtual POSITION GetFirstObjectSelection(const CRuntimeClass*) { return nullptr; }

    // Opening and saving, with the backup and the recovery copy.
    BOOL OnOpenDocument(const wchar_t* path) override;
    BOOL OnSaveDocument(const wchar_t* path) override;
    // Writes the recovery copy into the recovery folder; the modified flag and the path stay
    // as they were, so closing still asks about unsaved edits. 0 when nothing was written.
    int CreateAutosaveFile();
    CString fnGetAutosaveFile() const { return m_strAutosaveFile; }
    void fnSetAutosaveFile(const wchar_t* path);
    // The folders of backups and recovery copies, set to their defaults under the home
    // folder when the parameters are empty; no trailing separator.
    static CString BackupFolder();
    static CString AutosaveFolder();

    void Serialize(CArchive& ar) override;

protected:
    CJoxPage();
    // Keeps the file at path as its backup under a second name (or a copy); path stays as it
    // is until the new file is renamed over it.
    void CreateBackup(const wchar_t* path);
    int ExistsPreviousAutosave();
    void RenAutosaveFile(const CString& base);

private:
    // Deletes every article of the tree but the embedded root, and the root's own content.
    void ClearTree();
    void LoadTree(CRecArchive& rec, DWORD len);
    void LoadParams(CRecArchive& rec, DWORD len);
    void LoadGrid(CRecArchive& rec, DWORD len);
    void LoadRect(CRecArchive& rec, DWORD len, CWindow& rect);
    void LoadVersions(CRecArchive& rec, DWORD len);
    void SetAutosaveName(const CString& name);

    CArticle m_RootArticle;
    LONG m_lActiveRootID = -1;
    CParamBlkArray m_ParamBlks;
    CWindow m_PageExtents = CWindow::EmptyExtent();
    CWindow m_DeviceExtents = CWindow::EmptyExtent();
    int m_bDeviceExtentsKnown = 0;
    CWindow m_ViewExtents = CWindow::EmptyExtent();
    int m_bViewModified = 0;
    int m_nAutoResize = 1;
    CGrid* m_pGrid = nullptr;
    CString m_strAutosaveFile;
    int m_nContext = 0;
    DWORD m_dwFlags = 0;
    CTime m_CreatedTime;
    CTime m_ModifiedTime;
    int m_nLock = 0;
    int m_nUpdateLock = 0;
    DWORD m_dwTypeModified = 0;
    CArray<CVersion, CVersion&>* m_pModulesVersion = nullptr;
    void* m_pTempPtr = nullptr;

    static CloseModAction s_eCloseModifiedAction;
};
