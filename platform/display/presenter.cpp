#include "platform/display/presenter.h"

#include "platform/display/colour_picker.h"
#include "platform/display/cursor_shape.h"
#include "platform/display/descriptor_watch.h"
#include "platform/display/dialog_font.h"
#include "platform/display/file_dialog_widget.h"
#include "platform/display/frame_menu_bar.h"
#include "platform/display/list_widgets.h"
#include "platform/display/status_bar_widget.h"
#include "platform/display/tab_group_bar.h"
#include "platform/display/termination_watch.h"
#include "platform/display/tool_bar_widget.h"
#include "platform/display/window_state.h"
#include "platform/display/window_widget.h"
#include "platform/system/clock.h"
#include "platform/system/termination_request.h"
#include "platform/windowing/colour_dialog.h"
#include "platform/windowing/cursor.h"
#include "platform/windowing/dialog_template.h"
#include "platform/windowing/icon.h"
#include "platform/windowing/list_controls.h"
#include "platform/windowing/menu.h"
#include "platform/windowing/message.h"
#include "platform/windowing/ui_notify.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <chrono>
#include <limits>

namespace platform::display {

namespace {

Presenter* g_instance = nullptr;

bool IsListKind(ControlKind k) {
    return k == ControlKind::ComboBox || k == ControlKind::ListBox || k == ControlKind::IpAddress ||
           k == ControlKind::ListView;
}

bool SameRect(const RECT& a, const RECT& b) {
    return a.left == b.left && a.top == b.top && a.right == b.right && a.bottom == b.bottom;
}

bool IsDialogClass(HWND hwnd) {
    wchar_t name[16] = {};
    GetClassNameW(hwnd, name, 16);
    return std::wstring(name) == WC_DIALOG;
}

HWND TopLevelOf(HWND hwnd) {
    while (hwnd && (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD))
        hwnd = GetParent(hwnd);
    return hwnd;
}

// The rectangle in the coordinates its widget is placed in: the parent's client area, or the
// screen for a top-level window.
RECT PlacedRect(HWND hwnd, bool topLevel) {
    RECT r{0, 0, 0, 0};
    GetWindowRect(hwnd, &r);
    if (!topLevel) {
        POINT o{0, 0};
        ClientToScreen(GetParent(hwnd), &o);
        r = RECT{r.left - o.x, r.top - o.y, r.right - o.x, r.bottom - o.y};
    }
    return r;
}

void CreateHookThunk(void* context, HWND hwnd);
void DestroyHookThunk(void* context, HWND hwnd);

bool WaitThunk(ULONGLONG untilMs) {
    WatchTerminationRequests();
    RearmDescriptorWatches();
    return g_instance && g_instance->Wait(untilMs);
}

int MessageBoxThunk(HWND owner, const ShownMessage& message) {
    return g_instance ? g_instance->ShowMessageBox(owner, message)
                      : DefaultMessageBoxAnswer(message.type);
}

} // namespace

class PresenterAccess {
public:
    static void Created(Presenter* p, HWND hwnd) { p->Created(hwnd); }
    static void Destroyed(Presenter* p, HWND hwnd) { p->Destroyed(hwnd); }
};

namespace {

void CreateHookThunk(void* context, HWND hwnd) {
    PresenterAccess::Created(static_cast<Presenter*>(context), hwnd);
}

void DestroyHookThunk(void* context, HWND hwnd) {
    PresenterAccess::Destroyed(static_cast<Presenter*>(context), hwnd);
}

} // namespace

Presenter::Presenter() {
    g_instance = this;
    SetWindowObserver(CreateHookThunk, DestroyHookThunk, this);
    SetMessageWaitHook(WaitThunk);
    InstallDescriptorWatcher(true);
    SetMessageBoxPresenter(MessageBoxThunk);
    SetFileDialogPresenter(ShowFileDialog);
    SetControlChangeHook([](HWND hwnd, ControlChange what) { ControlChanged(hwnd, int(what)); });
    SetMenuResponder(
        [](HMENU menu, int x, int y, HWND owner) { return ShowPopupMenu(menu, x, y, owner); });
    m_uiListener =
        AddUiListener([this](UiChange what, HWND hwnd, void*) { UiChanged(int(what), hwnd); });
    m_focusWatch = QObject::connect(qApp, &QApplication::focusChanged,
                                    [this](QWidget*, QWidget* now) { FocusMoved(now); });
    ToolBarWidget::MeasureTextsInButtonFont(true);
    MeasureDialogsInDisplayFont(true);
}

Presenter::~Presenter() {
    ToolBarWidget::MeasureTextsInButtonFont(false);
    MeasureDialogsInDisplayFont(false);
    SetWindowObserver(nullptr, nullptr, nullptr);
    SetMessageWaitHook(nullptr);
    InstallDescriptorWatcher(false);
    SetMessageBoxPresenter(nullptr);
    SetFileDialogPresenter(nullptr);
    SetControlChangeHook(nullptr);
    SetMenuResponder(nullptr);
    RemoveUiListener(m_uiListener);
    QObject::disconnect(m_focusWatch);
    for (auto& m : m_mirrors)
        if (m->topLevel && m->widget)
            delete m->widget.data();
    for (auto& w : m_graveyard)
        delete w.data();
    g_instance = nullptr;
}

Presenter* Presenter::Instance() {
    return g_instance;
}

QWidget* Presenter::WidgetFor(HWND hwnd) const {
    auto it = m_byWindow.find(hwnd);
    return it != m_byWindow.end() ? it->second->widget.data() : nullptr;
}

void Presenter::Created(HWND hwnd) {
    auto m = std::make_unique<Mirror>();
    m->hwnd = hwnd;
    m->topLevel = !(GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD);
    m_byWindow[hwnd] = m.get();
    m_mirrors.push_back(std::move(m));
    MakeWidget(*m_mirrors.back());
}

void Presenter::MakeWidget(Mirror& m) {
    if (m.topLevel) {
        Qt::WindowFlags flags = IsDialogClass(m.hwnd) ? Qt::Dialog : Qt::Window;
        m.widget = new WindowWidget(m.hwnd, nullptr, flags);
        m_byWidget[m.widget] = m.hwnd;
        return;
    }
    m.parent = GetParent(m.hwnd);
    QWidget* parent = WidgetFor(m.parent);
    if (!parent)
        return;
    m.kind = ControlKindOf(m.hwnd);
    if (TabGroupBar::ModelOf(m.hwnd))
        m.widget = new TabGroupBar(m.hwnd, parent);
    else if (ToolBarWidget::ModelOf(m.hwnd))
        m.widget = new ToolBarWidget(m.hwnd, parent);
    else if (StatusBarWidget::ModelOf(m.hwnd))
        m.widget = new StatusBarWidget(m.hwnd, parent);
    else if (IsListKind(m.kind))
        m.widget = CreateListWidget(m.hwnd, m.kind, parent);
    else if (m.kind != ControlKind::None)
        m.widget = CreateControlWidget(m.hwnd, m.kind, parent);
    else
        m.widget = new WindowWidget(m.hwnd, parent, {});
    m_byWidget[m.widget] = m.hwnd;
    m.widget->hide();
}

void Presenter::Destroyed(HWND hwnd) {
    auto it = m_byWindow.find(hwnd);
    if (it == m_byWindow.end())
        return;
    Mirror* m = it->second;
    m_byWidget.erase(m->widget.data());
    if (m_focus == hwnd)
        m_focus = nullptr;
    if (m_active == hwnd)
        m_active = nullptr;
    if (m_pointer == hwnd)
        m_pointer = nullptr;
    const HWND giveBack = KeyboardGoesBackTo(*m);
    if (QWidget* w = m->widget.data()) {
        // Qt may still hold events for the widget: it forgets its window now and goes later.
        if (auto* ww = dynamic_cast<WindowWidget*>(w))
            ww->Forget();
        w->hide();
        m_graveyard.push_back(w);
    }
    m_byWindow.erase(it);
    if (giveBack)
        ActivateOnScreen(giveBack);
    m_mirrors.erase(std::find_if(m_mirrors.begin(), m_mirrors.end(),
                                 [&](const std::unique_ptr<Mirror>& p) { return p.get() == m; }));
}

HWND Presenter::KeyboardGoesBackTo(const Mirror& m) const {
    // A window that had the keyboard gives it back to the window it was opened over, whichever
    // the window manager would pick.
    QWidget* w = m.widget.data();
    if (!m.topLevel || !w || !w->isActiveWindow())
        return nullptr;
    const HWND owner = TopLevelOf(GetWindow(m.hwnd, GW_OWNER));
    return owner && owner != m.hwnd ? owner : nullptr;
}

void Presenter::ActivateOnScreen(HWND hwnd) {
    auto it = m_byWindow.find(hwnd);
    if (it == m_byWindow.end() || !it->second->widget || !it->second->widget->isVisible())
        return;
    Mirror& m = *it->second;
    // The owner was enabled again a moment ago; Qt does not activate a disabled window.
    const int enabled = IsWindowEnabled(hwnd) ? 1 : 0;
    if (enabled != m.enabled) {
        m.enabled = enabled;
        m.widget->setEnabled(enabled != 0);
    }
    m.widget->activateWindow();
}

void Presenter::Sync() {
    if (m_syncing)
        return;
    m_syncing = true;
    m_lastSync = std::chrono::steady_clock::now();
    std::vector<HWND> order;
    order.reserve(m_mirrors.size());
    for (auto& m : m_mirrors)
        order.push_back(m->hwnd);
    for (HWND h : order) {
        auto it = m_byWindow.find(h);
        if (it != m_byWindow.end() && IsWindow(h))
            Present(*it->second);
    }
    // The model moved the activation (a dialog ended and gave it back to its owner): the window
    // manager is asked to follow, once per move, so the person's own choice is not fought.
    if (HWND active = GetActiveWindow(); active != m_active) {
        m_active = active;
        if (QWidget* w = WidgetFor(active); w && w->isVisible() && !w->isActiveWindow())
            w->activateWindow();
    }
    // The keyboard focus the model gives follows to the widget; so it does when the keyboard went
    // nowhere (the widget that had it was disabled while a dialog ran, or went with it), or keys
    // would reach the frame instead of the view and miss the design window's shortcuts.
    HWND focus = GetFocus();
    if (focus != m_focus || (!QApplication::focusWidget() && QApplication::activeWindow())) {
        m_focus = focus;
        if (QWidget* w = WidgetFor(focus); w && w->isVisible() && w->isEnabled() && !w->hasFocus())
            w->setFocus(Qt::OtherFocusReason);
    }
    m_syncing = false;
}

void Presenter::Present(Mirror& m) {
    HWND h = m.hwnd;
    if (!m.topLevel && GetParent(h) != m.parent) {
        // Moved to another parent (a tab dragged to another group, for one).
        QWidget* parent = WidgetFor(GetParent(h));
        if (m.widget && parent) {
            m.widget->setParent(parent);
            m.parent = GetParent(h);
            m.visible = -1;
            m.rect = RECT{-1, -1, -1, -1};
        } else if (!m.widget) {
            MakeWidget(m);
        }
    }
    QWidget* w = m.widget.data();
    if (!w)
        return;
    DWORD style = DWORD(GetWindowLongPtrW(h, GWL_STYLE));
    bool visible = (style & WS_VISIBLE) != 0;
    if (m.topLevel && visible && !m.shownOnce) {
        m.shownOnce = true;
        FirstShow(m);
        if (!IsWindow(h))
            return;
    }
    if (m.topLevel) {
        SyncMenu(m);
        FollowShowState(h, w, ClientTop(h));
    }
    RECT r = PlacedRect(h, m.topLevel);
    // Widgets of a window with a menu bar hold the bar above the client area.
    int top = m.topLevel ? ClientTop(h) : ClientTop(m.parent);
    if (!SameRect(r, m.rect)) {
        m.rect = r;
        QRect g = m.topLevel ? QRect(r.left, r.top - top, std::max<LONG>(0, r.right - r.left),
                                     std::max<LONG>(0, r.bottom - r.top) + top)
                             : QRect(r.left, r.top + top, std::max<LONG>(0, r.right - r.left),
                                     std::max<LONG>(0, r.bottom - r.top));
        if (w->geometry() != g)
            w->setGeometry(g);
    }
    if (auto* tabs = dynamic_cast<TabGroupBar*>(w)) {
        tabs->SyncFromModel();
    } else if (auto* tools = dynamic_cast<ToolBarWidget*>(w)) {
        tools->SyncFromModel();
    } else if (auto* status = dynamic_cast<StatusBarWidget*>(w)) {
        status->SyncFromModel();
    } else if (IsListKind(m.kind)) {
        SyncListWidget(h, m.kind, w, m.itemsStale);
        m.itemsStale = false;
    } else if (m.kind != ControlKind::None) {
        SyncControl(h, m.kind, w, m.text);
    }
    if (m.kind == ControlKind::None && (m.scrollBars || (style & (WS_HSCROLL | WS_VSCROLL)))) {
        if (!m.scrollBars)
            m.scrollBars = std::make_unique<WindowScrollBars>(h, w);
        m.scrollBars->Sync();
    }
    if (m.topLevel) {
        int n = GetWindowTextLengthW(h);
        std::wstring text(size_t(n) + 1, L'\0');
        GetWindowTextW(h, text.data(), n + 1);
        text.resize(size_t(n));
        if (!m.textKnown || text != m.text) {
            m.text = text;
            m.textKnown = true;
            w->setWindowTitle(QString::fromWCharArray(text.data(), qsizetype(text.size())));
        }
    }
    int enabled = (style & WS_DISABLED) ? 0 : 1;
    if (enabled != m.enabled) {
        m.enabled = enabled;
        w->setEnabled(enabled != 0);
    }
    if (int(visible) != m.visible) {
        const HWND giveBack = visible ? nullptr : KeyboardGoesBackTo(m);
        m.visible = int(visible);
        w->setVisible(visible);
        if (giveBack)
            ActivateOnScreen(giveBack);
    }
    if (m.topLevel && visible) {
        // The model's minimised state; the person's own minimising comes back from the widget.
        const int iconic = IsIconic(h) ? 1 : 0;
        if (iconic != m.minimized) {
            m.minimized = iconic;
            const Qt::WindowStates s = w->windowState();
            w->setWindowState(iconic ? s | Qt::WindowMinimized : s & ~Qt::WindowMinimized);
        }
    }
    RECT dirty;
    if (TakeDirtyRect(h, &dirty) && m.kind == ControlKind::None)
        w->update(QRect(dirty.left, dirty.top + (m.topLevel ? top : 0), dirty.right - dirty.left,
                        dirty.bottom - dirty.top));
}

int Presenter::ClientTop(HWND hwnd) const {
    auto it = m_byWindow.find(hwnd);
    if (it == m_byWindow.end() || !it->second->topLevel || !it->second->widget)
        return 0;
    auto* bar = it->second->widget->findChild<FrameMenuBar*>(QString(), Qt::FindDirectChildrenOnly);
    return bar && !bar->isHidden() ? bar->height() : 0;
}

void Presenter::SyncMenu(Mirror& m) {
    HMENU menu = GetMenu(m.hwnd);
    if (menu == m.menu && !m.menuStale)
        return;
    m.menu = menu;
    m.menuStale = false;
    QWidget* w = m.widget.data();
    auto* bar = w->findChild<FrameMenuBar*>(QString(), Qt::FindDirectChildrenOnly);
    if (!menu) {
        if (bar)
            bar->hide();
        m.rect = RECT{-1, -1, -1, -1};
        return;
    }
    if (!bar)
        bar = new FrameMenuBar(m.hwnd, w);
    bar->Rebuild();
    bar->setGeometry(0, 0, w->width(), bar->sizeHint().height());
    bar->show();
    m.rect = RECT{-1, -1, -1, -1}; // the widget grows by the bar
    // Children move down with the client area.
    for (auto& c : m_mirrors)
        if (!c->topLevel && c->parent == m.hwnd)
            c->rect = RECT{-1, -1, -1, -1};
}

void Presenter::UiChanged(int what, HWND hwnd) {
    switch (UiChange(what)) {
    case UiChange::FrameMenu:
    case UiChange::MenuItems:
        for (auto& m : m_mirrors)
            if (m->topLevel && (!hwnd || m->hwnd == hwnd))
                m->menuStale = true;
        break;
    case UiChange::Cursor:
        if (m_pointer)
            PointerOver(m_pointer);
        break;
    default:
        break;
    }
}

void Presenter::ControlChanged(HWND hwnd, int what) {
    Presenter* p = Instance();
    if (!p)
        return;
    auto it = p->m_byWindow.find(hwnd);
    if (it != p->m_byWindow.end() && ControlChange(what) == ControlChange::Items)
        it->second->itemsStale = true;
}

void Presenter::FocusMoved(QWidget* now) {
    // The person moved the focus (a click, the Tab key): the model's focus follows. Not so
    // while the focus the model wants waits for its window to show.
    if (m_holdingFocus)
        return;
    for (QWidget* w = now; w; w = w->parentWidget()) {
        auto it = m_byWidget.find(w);
        if (it == m_byWidget.end())
            continue;
        HWND hwnd = it->second;
        // Qt hands its focus on through the widgets of a window that is going (a dialog that
        // ended is hidden, then destroyed): the model's focus stays where the model put it.
        if (!IsWindowVisible(hwnd))
            return;
        m_focus = hwnd;
        if (!m_syncing && IsWindow(hwnd) && GetFocus() != hwnd)
            SetFocus(hwnd);
        return;
    }
}

void Presenter::PointerOver(HWND hwnd) {
    m_pointer = hwnd;
    QWidget* w = WidgetFor(hwnd);
    if (!w)
        return;
    // A widget keeps which picture it was given: the pointer moves far more often than the
    // cursor changes.
    const HCURSOR cursor = GetCursor();
    CursorImage image;
    const bool picture = GetCursorImage(cursor, &image) && image.pixels;
    const QString key = picture ? QString::number(quintptr(cursor)) + QLatin1Char('/') +
                                      QString::number(image.serial)
                                : QString();
    if (picture && w->cursor().shape() == Qt::BitmapCursor &&
        w->property("modelCursor").toString() == key)
        return;
    const QCursor next = CursorFor(cursor);
    if (!picture && w->cursor().shape() == next.shape())
        return;
    w->setCursor(next);
    w->setProperty("modelCursor", key);
}

void Presenter::Defer(std::function<void()> action) {
    m_deferred.push_back(std::move(action));
}

void Presenter::RunDeferred() {
    // Actions may defer more; those wait for the next round.
    std::vector<std::function<void()>> now;
    now.swap(m_deferred);
    for (auto& action : now)
        action();
}

void Presenter::FocusInside(HWND top) {
    HWND focus = GetFocus();
    if (!focus || TopLevelOf(focus) != top)
        return;
    QWidget* w = WidgetFor(focus);
    if (!w || !w->isVisible() || !w->isEnabled()) {
        // A window just made shows at the next sync, which gives it the focus then; till then
        // the top-level widget holds it, or Qt would pick the first control it finds (a
        // toolbar's combo box) and the model's focus would follow there.
        if (QWidget* holder = WidgetFor(top)) {
            m_holdingFocus = true;
            holder->setFocus(Qt::ActiveWindowFocusReason);
            m_holdingFocus = false;
        }
        m_focus = nullptr;
        return;
    }
    if (!w->hasFocus())
        w->setFocus(Qt::ActiveWindowFocusReason);
    m_focus = focus;
}

void Presenter::GiveActivationBack(HWND owner) {
    // A window of Qt's own closed (a message box, the file dialog): the keyboard goes back to
    // the window it was opened over, whatever the window manager picks next.
    HWND back = TopLevelOf(owner);
    if (!WidgetFor(back))
        back = TopLevelOf(GetActiveWindow());
    ActivateOnScreen(back);
}

void Presenter::OwnTopLevel(QWidget* window, HWND owner) const {
    QWidget* over = WidgetFor(TopLevelOf(owner));
    if (!over)
        over = WidgetFor(TopLevelOf(GetActiveWindow()));
    if (!over)
        over = QApplication::activeWindow();
    if (over)
        over = over->window();
    if (!over || over == window || !over->isVisible())
        return;
    window->winId();
    over->winId();
    if (window->windowHandle() && over->windowHandle())
        window->windowHandle()->setTransientParent(over->windowHandle());
}

void Presenter::FirstShow(Mirror& m) {
    HWND h = m.hwnd;
    QWidget* w = m.widget.data();
    HWND owner = GetWindow(h, GW_OWNER);
    if (owner || IsDialogClass(h))
        OwnTopLevel(w, owner);
    if (!IsDialogClass(h))
        return;
    LayOutControls(m);
    if (IsColourDialog(h))
        AttachColourPicker(h, w);
    // A dialog left where it was made opens centred over its owner, or on the screen.
    RECT r;
    GetWindowRect(h, &r);
    if (r.left != 0 || r.top != 0)
        return;
    QRect over;
    if (owner && IsWindow(owner)) {
        RECT o;
        GetWindowRect(TopLevelOf(owner), &o);
        over = QRect(o.left, o.top, o.right - o.left, o.bottom - o.top);
    } else if (QScreen* s = QGuiApplication::primaryScreen()) {
        over = s->availableGeometry();
    }
    if (over.isEmpty())
        return;
    int x = over.center().x() - (r.right - r.left) / 2;
    int y = over.center().y() - (r.bottom - r.top) / 2;
    SetWindowPos(h, nullptr, std::max(0, x), std::max(0, y), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Presenter::LayOutControls(Mirror& dialog) {
    // Controls made without a place are stacked in a column, the dialog grown to hold them.
    constexpr int kMargin = 11, kGap = 6;
    RECT client;
    GetClientRect(dialog.hwnd, &client);
    int y = kMargin, width = 0;
    bool any = false;
    for (auto& m : m_mirrors) {
        if (m->topLevel || m->parent != dialog.hwnd || !m->widget)
            continue;
        RECT r;
        GetWindowRect(m->hwnd, &r);
        if (r.right > r.left && r.bottom > r.top)
            y = std::max<int>(y, PlacedRect(m->hwnd, false).bottom + kGap);
    }
    for (auto& m : m_mirrors) {
        if (m->topLevel || m->parent != dialog.hwnd || !m->widget)
            continue;
        RECT r;
        GetWindowRect(m->hwnd, &r);
        if (r.right > r.left && r.bottom > r.top)
            continue;
        if (m->kind != ControlKind::None)
            SyncControl(m->hwnd, m->kind, m->widget, m->text);
        QSize hint = m->widget->sizeHint().expandedTo(QSize(80, 20));
        MoveWindow(m->hwnd, kMargin, y, hint.width(), hint.height(), TRUE);
        width = std::max(width, hint.width());
        y += hint.height() + kGap;
        any = true;
    }
    if (!any)
        return;
    int cx = std::max<int>(client.right, width + 2 * kMargin);
    int cy = std::max<int>(client.bottom, y - kGap + kMargin);
    if (cx != client.right || cy != client.bottom)
        SetWindowPos(dialog.hwnd, nullptr, 0, 0, cx, cy,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void Presenter::WidgetResized(HWND hwnd, const QRect& g) {
    auto it = m_byWindow.find(hwnd);
    if (it == m_byWindow.end() || m_syncing || !it->second->topLevel)
        return;
    RECT now;
    GetWindowRect(hwnd, &now);
    int top = ClientTop(hwnd);
    RECT r{g.x(), g.y() + top, g.x() + g.width(), g.y() + g.height()};
    if (SameRect(r, now))
        return;
    it->second->rect = r;
    // Sizing sends WM_SIZE, and the back buffer follows the new client size.
    SetWindowPos(hwnd, nullptr, r.left, r.top, r.right - r.left, r.bottom - r.top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
    if (QWidget* w = WidgetFor(hwnd))
        w->update();
}

bool Presenter::Wait(ULONGLONG untilMs) {
    if (!QCoreApplication::instance())
        return false;
    if (untilMs == 0) {
        // Asked between every two steps of long work: the input comes in each time, the
        // windows follow the model at a frame's pace (and always before the loop sleeps).
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        RunDeferred();
        const auto now = std::chrono::steady_clock::now();
        if (now - m_lastSync >= kSyncInterval)
            Sync();
        return true;
    }
    Sync();
    // Widgets of destroyed windows go here, where no Qt handler of theirs can be running.
    for (auto& w : m_graveyard)
        delete w.data();
    m_graveyard.clear();
    constexpr ULONGLONG kNever = std::numeric_limits<ULONGLONG>::max();
    bool anyShown = std::any_of(m_mirrors.begin(), m_mirrors.end(), [](const auto& m) {
        return m->topLevel && m->widget && m->widget->isVisible();
    });
    if (untilMs == kNever && !anyShown)
        return false; // no window and no timer: nothing can ever arrive
    ULONGLONG now = GetClock().NowMs();
    QTimer wake;
    wake.setSingleShot(true);
    if (untilMs != kNever) {
        if (untilMs <= now) {
            QCoreApplication::processEvents(QEventLoop::AllEvents);
            RunDeferred();
            Sync();
            return true;
        }
        wake.start(int(std::min<ULONGLONG>(untilMs - now, 1u << 30)));
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
    RunDeferred();
    Sync();
    return true;
}

int Presenter::ShowMessageBox(HWND owner, const ShownMessage& message) {
    using SB = QMessageBox::StandardButton;
    struct Choice {
        SB button;
        int id;
    };
    static const std::vector<Choice> kinds[6] = {
        {{SB::Ok, IDOK}},
        {{SB::Ok, IDOK}, {SB::Cancel, IDCANCEL}},
        {{SB::Abort, IDABORT}, {SB::Retry, IDRETRY}, {SB::Ignore, IDIGNORE}},
        {{SB::Yes, IDYES}, {SB::No, IDNO}, {SB::Cancel, IDCANCEL}},
        {{SB::Yes, IDYES}, {SB::No, IDNO}},
        {{SB::Retry, IDRETRY}, {SB::Cancel, IDCANCEL}},
    };
    UINT kind = message.type & MB_TYPEMASK;
    const std::vector<Choice>& choices = kinds[kind < 6 ? kind : 0];
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (message.type & 0xF0) {
    case MB_ICONERROR:
        icon = QMessageBox::Critical;
        break;
    case MB_ICONQUESTION:
        icon = QMessageBox::Question;
        break;
    case MB_ICONWARNING:
        icon = QMessageBox::Warning;
        break;
    case MB_ICONINFORMATION:
        icon = QMessageBox::Information;
        break;
    default:
        break;
    }
    auto toQt = [](const std::wstring& s) {
        return QString::fromWCharArray(s.data(), qsizetype(s.size()));
    };
    QPointer<QMessageBox> box = new QMessageBox(icon, toQt(message.caption), toQt(message.text));
    int cancel = 0;
    for (const Choice& c : choices) {
        box->addButton(c.button);
        if (c.id == IDCANCEL || (choices.size() == 1))
            cancel = c.id;
    }
    size_t def = (message.type & MB_DEFMASK) >> 8;
    box->setDefaultButton(choices[def < choices.size() ? def : 0].button);
    if (cancel)
        box->setEscapeButton(cancel == IDCANCEL ? SB::Cancel : SB::Ok);
    box->setWindowModality(Qt::ApplicationModal);
    OwnTopLevel(box, owner);
    // The owner's window is disabled while the box is up, as the platform does.
    HWND top = TopLevelOf(owner);
    bool disabled = top && IsWindowEnabled(top);
    if (disabled)
        EnableWindow(top, FALSE);
    bool done = false;
    QMetaObject::Connection finished =
        QObject::connect(box, &QMessageBox::finished, box, [&done] { done = true; });
    box->show();
    int answer = 0;
    platform::ModalLoopScope modal;
    while (!done && box) {
        if (platform::TerminationPending()) {
            // The program is told to end: nobody answers, so nothing is changed.
            answer = DeclineMessageBoxAnswer(message.type);
            break;
        }
        MSG msg;
        if (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            if (msg.message == WM_QUIT) {
                // The quit belongs to the main loop; the box ends as if cancelled.
                PostQuitMessage(int(msg.wParam));
                answer = cancel ? cancel : DefaultMessageBoxAnswer(message.type);
                break;
            }
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        } else if (!WaitMessage()) {
            break;
        }
    }
    QObject::disconnect(finished);
    if (!answer && box) {
        SB clicked = box->standardButton(box->clickedButton());
        for (const Choice& c : choices)
            if (c.button == clicked)
                answer = c.id;
    }
    if (!answer)
        answer = cancel ? cancel : DefaultMessageBoxAnswer(message.type);
    if (box) {
        box->hide();
        m_graveyard.push_back(box.data());
    }
    if (disabled && IsWindow(top))
        EnableWindow(top, TRUE);
    GiveActivationBack(top);
    Sync();
    return answer;
}

} // namespace platform::display
