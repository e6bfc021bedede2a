#include "platform/framework/mfc_tool_bar.h"

#include "platform/framework/cmd_ui.h"
#include "platform/framework/command_manager.h"
#include "platform/framework/frame_wnd.h"
#include "platform/framework/mfc_tool_bar_menu_button.h"
#include "platform/framework/tool_bar_button_face.h"
#include "platform/windowing/ui_notify.h"

#include <algorithm>
#include <map>

IMPLEMENT_DYNAMIC(CMFCToolBar, CControlBar)

namespace {

std::map<UINT, ToolBarTemplate>& Templates() {
    static std::map<UINT, ToolBarTemplate> t;
    return t;
}

// The update of one button: enabling and checking set its style bits.
class CToolCmdUI : public CCmdUI {
public:
    explicit CToolCmdUI(CMFCToolBar* bar) : m_bar(bar) {}
    void Enable(BOOL on) override {
        m_bEnableChanged = TRUE;
        UINT style = m_bar->GetButtonStyle(int(m_nIndex));
        m_bar->SetButtonStyle(int(m_nIndex),
                              on ? (style & ~TBBS_DISABLED) : (style | TBBS_DISABLED));
    }
    void SetCheck(int check) override {
        UINT style = m_bar->GetButtonStyle(int(m_nIndex)) & ~(TBBS_CHECKED | TBBS_INDETERMINATE);
        if (check == 1)
            style |= TBBS_CHECKED;
        else if (check == 2)
            style |= TBBS_INDETERMINATE;
        m_bar->SetButtonStyle(int(m_nIndex), style);
    }
    void SetText(LPCWSTR) override {}

private:
    CMFCToolBar* m_bar;
};

} // namespace

namespace platform {

void RegisterToolBarTemplate(const ToolBarTemplate& tmpl) {
    Templates()[tmpl.id] = tmpl;
}

const ToolBarTemplate* FindToolBarTemplate(UINT id) {
    auto it = Templates().find(id);
    return it != Templates().end() ? &it->second : nullptr;
}

} // namespace platform

CMFCToolBar::CMFCToolBar() {
    m_nHeight = m_sizeButton.cy + 6;
}

CMFCToolBar::~CMFCToolBar() {
    for (CMFCToolBarButton* b : m_buttons)
        delete b;
}

BOOL CMFCToolBar::Create(CWnd* parent, DWORD style, UINT id) {
    return CMFCToolBar::CreateEx(parent, 0, style, CRect(1, 1, 1, 1), id);
}

BOOL CMFCToolBar::CreateEx(CWnd* parent, DWORD ctrlStyle, DWORD style, CRect borders, UINT id) {
    m_dwCtrlStyle = ctrlStyle;
    m_rectBorders = borders;
    if (!CreateBar(L"", style, parent, id))
        return FALSE;
    if (m_pDockSite)
        m_pDockSite->RecalcLayout();
    return TRUE;
}

BOOL CMFCToolBar::LoadToolBar(UINT resourceId, UINT, UINT, BOOL locked, UINT, UINT, UINT) {
    const ToolBarTemplate* t = platform::FindToolBarTemplate(resourceId);
    if (!t)
        return FALSE;
    RemoveAllButtons();
    if (t->buttonWidth > 0 && t->buttonHeight > 0)
        m_sizeButton = CSize(t->buttonWidth, t->buttonHeight);
    m_nHeight = m_sizeButton.cy + 6;
    // The resource's bitmap joins the image collection: one image per button, in order.
    const int buttons =
        int(std::count_if(t->items.begin(), t->items.end(), [](UINT id) { return id != 0; }));
    int image = GetCmdMgr()->AddImages(buttons);
    for (UINT id : t->items) {
        m_buttons.push_back(new CMFCToolBarButton(id, id ? TBBS_BUTTON : TBBS_SEPARATOR));
        m_buttons.back()->OnChangeParentWnd(this);
        if (id == 0)
            continue;
        if (GetCmdMgr()->GetCmdImage(id) < 0)
            GetCmdMgr()->SetCmdImage(id, image);
        m_buttons.back()->SetImage(GetCmdMgr()->GetCmdImage(id));
        ++image;
    }
    m_bLocked = locked;
    OnReset();
    AdjustLayout();
    return TRUE;
}

CMFCToolBarButton* CMFCToolBar::GetButton(int index) const {
    return index >= 0 && index < GetCount() ? m_buttons[size_t(index)] : nullptr;
}

UINT CMFCToolBar::GetItemID(int index) const {
    CMFCToolBarButton* b = GetButton(index);
    return b ? b->m_nID : 0;
}

int CMFCToolBar::CommandToIndex(UINT id, int start) const {
    for (int i = std::max(0, start); i < GetCount(); ++i)
        if (m_buttons[size_t(i)]->m_nID == id && !m_buttons[size_t(i)]->IsSeparator())
            return i;
    return -1;
}

int CMFCToolBar::InsertButton(const CMFCToolBarButton& button, int at) {
    if (at < 0 || at > GetCount())
        at = GetCount();
    CMFCToolBarButton* copy = button.Clone();
    m_buttons.insert(m_buttons.begin() + at, copy);
    copy->OnChangeParentWnd(this);
    platform::NotifyUi(platform::UiChange::ToolbarButtons, m_hWnd, this);
    return at;
}

int CMFCToolBar::InsertSeparator(int at) {
    return InsertButton(CMFCToolBarButton(0, TBBS_SEPARATOR), at);
}

int CMFCToolBar::ReplaceButton(UINT id, const CMFCToolBarButton& button, BOOL all) {
    int replaced = 0;
    for (CMFCToolBarButton*& b : m_buttons) {
        if (b->m_nID != id || b->IsSeparator())
            continue;
        CMFCToolBarButton* copy = button.Clone();
        copy->m_rect = b->m_rect;
        delete b;
        b = copy;
        copy->OnChangeParentWnd(this);
        ++replaced;
        if (!all)
            break;
    }
    if (replaced > 0)
        AdjustLayout();
    return replaced;
}

BOOL CMFCToolBar::DropDown(int index) {
    auto* menu = dynamic_cast<CMFCToolBarMenuButton*>(GetButton(index));
    return menu && menu->OpenPopupMenu(this);
}

BOOL CMFCToolBar::RemoveButton(int index) {
    if (index < 0 || index >= GetCount())
        return FALSE;
    delete m_buttons[size_t(index)];
    m_buttons.erase(m_buttons.begin() + index);
    platform::NotifyUi(platform::UiChange::ToolbarButtons, m_hWnd, this);
    return TRUE;
}

void CMFCToolBar::RemoveAllButtons() {
    for (CMFCToolBarButton* b : m_buttons)
        delete b;
    m_buttons.clear();
    platform::NotifyUi(platform::UiChange::ToolbarButtons, m_hWnd, this);
}

UINT CMFCToolBar::GetButtonStyle(int index) const {
    CMFCToolBarButton* b = GetButton(index);
    return b ? b->m_nStyle : 0;
}

void CMFCToolBar::SetButtonStyle(int index, UINT style) {
    CMFCToolBarButton* b = GetButton(index);
    if (!b || b->m_nStyle == style)
        return;
    b->m_nStyle = style;
    platform::NotifyUi(platform::UiChange::ToolbarButtons, m_hWnd, this);
}

namespace {
BOOL g_customizeMode = FALSE;

constexpr int kSeparatorSize = 8;

std::vector<UINT>& NonPermitted() {
    static std::vector<UINT> ids;
    return ids;
}
} // namespace

void CMFCToolBar::SetNonPermittedCommands(const std::vector<UINT>& ids) {
    NonPermitted() = ids;
}

BOOL CMFCToolBar::IsCommandPermitted(UINT id) {
    const std::vector<UINT>& ids = NonPermitted();
    return std::find(ids.begin(), ids.end(), id) == ids.end();
}

BOOL CMFCToolBar::IsCustomizeMode() {
    return g_customizeMode;
}

void CMFCToolBar::SetCustomizeMode(BOOL on) {
    g_customizeMode = on ? TRUE : FALSE;
}

void CMFCToolBar::AdjustLayout() {
    AdjustLocations();
    platform::NotifyUi(platform::UiChange::ToolbarButtons, m_hWnd, this);
}

void CMFCToolBar::AdjustLocations() {
    // Upright on a side edge the buttons stack downwards, each as high as a row.
    const bool across = IsHorizontal();
    int x = m_rectBorders.left;
    int y = m_rectBorders.top;
    for (CMFCToolBarButton* b : m_buttons) {
        if (!b->IsVisible()) {
            b->m_rect = CRect(0, 0, 0, 0);
            continue;
        }
        const int w = b->IsSeparator()
                          ? kSeparatorSize
                          : b->GetLayoutWidth(platform::ButtonFaceWidth(*b, m_sizeButton.cx));
        if (across) {
            b->m_rect = CRect(x, y, x + w, y + m_sizeButton.cy);
            x += w;
        } else {
            const int h = b->IsSeparator() ? kSeparatorSize : m_sizeButton.cy;
            b->m_rect = CRect(x, y, x + (b->IsSeparator() ? m_sizeButton.cx : w), y + h);
            y += h;
        }
        b->OnMove();
    }
}

void CMFCToolBar::AdjustSizeImmediate(BOOL recalcLayout) {
    AdjustLayout();
    if (recalcLayout && m_pDockSite)
        m_pDockSite->RecalcLayout();
}

void CMFCToolBar::UpdateButtons(CCmdTarget* target, BOOL disableIfNoHandler) {
    CToolCmdUI ui(this);
    ui.m_pOther = this;
    ui.m_nIndexMax = UINT(GetCount());
    for (int i = 0; i < GetCount(); ++i) {
        CMFCToolBarButton* b = m_buttons[size_t(i)];
        if (b->IsSeparator() || b->m_nID == 0)
            continue;
        ui.m_nIndex = UINT(i);
        ui.m_nID = b->m_nID;
        ui.DoUpdate(target, disableIfNoHandler);
    }
}

void CMFCToolBar::OnUpdateCmdUI(CFrameWnd* target, BOOL disableIfNoHandler) {
    UpdateButtons(target, disableIfNoHandler);
}

int CMFCToolBar::GetRowHeight() const {
    int height = m_sizeButton.cy;
    for (const CMFCToolBarButton* b : m_buttons)
        if (b->IsVisible() && !b->IsSeparator())
            height = std::max(height, b->GetLayoutHeight(m_sizeButton.cy));
    return height;
}

CSize CMFCToolBar::CalcFixedLayout(BOOL stretch, BOOL horizontal) {
    CSize s = CControlBar::CalcFixedLayout(stretch, horizontal);
    const int thickness = GetRowHeight() + m_rectBorders.top + m_rectBorders.bottom + 4;
    if (stretch) {
        (horizontal ? s.cy : s.cx) = thickness;
        return s;
    }
    // Docked in a row (or column) with others the bar takes just what its buttons need.
    AdjustLocations();
    int right = m_rectBorders.left, bottom = m_rectBorders.top;
    for (const CMFCToolBarButton* b : m_buttons)
        if (b->IsVisible()) {
            right = std::max<int>(right, b->m_rect.right);
            bottom = std::max<int>(bottom, b->m_rect.bottom);
        }
    if (horizontal)
        return CSize(right + m_rectBorders.right, thickness);
    return CSize(right + m_rectBorders.right + 4, bottom + m_rectBorders.bottom);
}

CSize CMFCToolBar::CalcFloatingSize() {
    return CalcFixedLayout(FALSE, TRUE);
}
