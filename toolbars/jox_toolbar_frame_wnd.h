// CJoxToolbarFrameWnd: the main frame's base: the framework frame plus 70 toolbar slots. Its
// one instance is the program's toolbar registry (toolbar_registry.h finds it through
// s_pFrmWnd). A slot number is a toolbar's identity across the program; the toolbar of slot n
// has control id 60000 + n, and the menu item that toggles it (slots 1 to 69) command id
// 60000 + n.
#pragma once

#include "pivora/framework/jox_frame_wnd.h"

#include <array>

class CCustomToolBar;

class CJoxToolbarFrameWnd : public CJoxFrameWnd {
    DECLARE_DYNAMIC(CJoxToolbarFrameWnd)

public:
    static constexpr int kSlotCount = 70;
    static constexpr UINT kFirstToolbarId = 60000;
    // Shows or hides slot 0's toolbar; its menu item also lists the other toolbars.
    static constexpr UINT ID_VIEW_MAIN_TOOLBAR = 40014;

    CJoxToolbarFrameWnd();
    ~CJoxToolbarFrameWnd() override;

    static bool IsSlot(int slot) { return slot >= 0 && slot < kSlotCount; }

    // The slot's toolbar object (created or not); null for an empty slot or one out of range.
    CCustomToolBar* GetSlot(int slot) const;
    void SetSlot(int slot, CCustomToolBar* toolbar); // takes ownership
    const CString& GetToolbarName(int slot) const;
    void SetToolbarName(int slot, const wchar_t* name);
    int GetToolbarResourceId(int slot) const;
    void SetToolbarResourceId(int slot, int resourceId);
    DWORD LoadSaveContext() const { return m_dwLoadSaveContext; }
    void LoadSaveContext(DWORD mask) { m_dwLoadSaveContext = mask; }

    // All 70 slots emptied (the objects are not deleted: that is DeleteContents').
    virtual void InitContents();
    // Destroys and deletes the toolbars from slot 0 (slot 1 when keepFirst).
    virtual void DeleteContents(int keepFirst);
    // The toolbar factory: a plain toolbar; derived frames make their own for some slots.
    virtual CCustomToolBar* NewToolbar(int slot);

    // Lays the frame out; when the client area moved or resized, every view repaints whole.
    void RecalcLayoutEx(BOOL notify);

    BOOL OnCmdMsg(UINT id, int code, void* extra, void* handlerInfo) override;
    void OnDestroy() override;

    static CJoxToolbarFrameWnd* s_pFrmWnd;

protected:
    void ToggleSlot(int slot);
    // Rebuilds the toolbar list of the menu that holds the main toolbar's item.
    void UpdateToolbarMenu(HMENU menu);

    std::array<CCustomToolBar*, kSlotCount> m_pToolbars{};
    std::array<CString, kSlotCount> m_strNames;
    std::array<int, kSlotCount> m_nResourceIds{};
    DWORD m_dwLoadSaveContext = 0;
};
