// The presenter: one Qt widget per model window, kept in step with the model. It is installed
// in the window model's hooks (creation, destruction, waiting for messages, message boxes),
// so the Qt event loop and the model's queue drive each other on the one thread.
#pragma once

#include "platform/display/control_widgets.h"
#include "platform/display/window_scroll_bars.h"
#include "platform/windowing/message_box.h"

#include <QPointer>
#include <QRect>
#include <QWidget>
#include <chrono>
#include <functional>

#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

namespace platform::display {

class Presenter {
public:
    Presenter();
    ~Presenter();
    Presenter(const Presenter&) = delete;
    Presenter& operator=(const Presenter&) = delete;

    // The installed presenter, or null.
    static Presenter* Instance();

    QWidget* WidgetFor(HWND hwnd) const;
    // Model to screen: geometry, visibility, enabling, texts, control state, dirty areas.
    void Sync();
    // The message wait hook: takes in Qt's events, waiting until untilMs unless it is 0.
    bool Wait(ULONGLONG untilMs);
    // The person moved or resized a top-level window.
    void WidgetResized(HWND hwnd, const QRect& geometry);
    int ShowMessageBox(HWND owner, const ShownMessage& message);
    // Makes window a window of its own that the window manager keeps above its owner: the
    // owner's top-level window, or the active one when there is no owner. A child of a disabled
    // widget would be disabled with it, so modal windows are never children of their owners.
    void OwnTopLevel(QWidget* window, HWND owner) const;
    // Qt's focus to the model's focus when that lies in the window top.
    void FocusInside(HWND top);
    // Whether Qt's focus is parked on a top-level widget for the model's focus to come.
    bool HoldingFocus() const { return m_holdingFocus; }
    // After such a window closed: the activation goes back to the owner's window.
    void GiveActivationBack(HWND owner);
    // Runs an action of the person's on the model at the next safe point (the next time the
    // model's loop looks for messages), as posted input would be.
    void Defer(std::function<void()> action);
    // The client area's top inside a window's widget (below its menu bar), 0 for most.
    int ClientTop(HWND hwnd) const;
    // The person moved the mouse over a window: the cursor follows the model's.
    void PointerOver(HWND hwnd);

private:
    struct Mirror {
        HWND hwnd = nullptr;
        HWND parent = nullptr;
        QPointer<QWidget> widget;
        ControlKind kind = ControlKind::None;
        bool topLevel = false;
        bool shownOnce = false;
        RECT rect{-1, -1, -1, -1};
        int visible = -1, enabled = -1;
        int minimized = -1;
        std::wstring text;
        bool textKnown = false;
        bool itemsStale = true;
        HMENU menu = nullptr;
        bool menuStale = false;
        std::unique_ptr<WindowScrollBars> scrollBars;
    };

    friend class PresenterAccess;
    void Created(HWND hwnd);
    void Destroyed(HWND hwnd);
    void Present(Mirror& m);
    void MakeWidget(Mirror& m);
    void FirstShow(Mirror& m);
    HWND KeyboardGoesBackTo(const Mirror& m) const;
    void ActivateOnScreen(HWND hwnd);
    void LayOutControls(Mirror& dialog);
    void SyncMenu(Mirror& m);
    void RunDeferred();
    void UiChanged(int what, HWND hwnd);
    void FocusMoved(QWidget* now);
    static void ControlChanged(HWND hwnd, int what);

    std::vector<std::unique_ptr<Mirror>> m_mirrors; // creation order: parents first
    std::unordered_map<HWND, Mirror*> m_byWindow;
    std::unordered_map<const QWidget*, HWND> m_byWidget;
    std::vector<QPointer<QWidget>> m_graveyard;
    std::vector<std::function<void()>> m_deferred;
    bool m_syncing = false;
    // Polls between two steps of work show the model at most this often.
    static constexpr std::chrono::milliseconds kSyncInterval{15};
    std::chrono::steady_clock::time_point m_lastSync{};
    int m_uiListener = 0;
    HWND m_pointer = nullptr;
    HWND m_focus = nullptr;  // the model's focus as last shown
    HWND m_active = nullptr; // the model's active window as last shown
    bool m_holdingFocus = false;
    QMetaObject::Connection m_focusWatch;
};

} // namespace platform::display
