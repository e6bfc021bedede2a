#include "platform/windowing/message_box.h"

#include "platform/core/cstring.h"

#include <cstdio>

namespace {

platform::MessageBoxResponder*& Active() {
    static platform::MessageBoxResponder* active = nullptr;
    return active;
}

platform::MessageBoxPresenter& Presenter() {
    static platform::MessageBoxPresenter presenter = nullptr;
    return presenter;
}

} // namespace

namespace platform {

int DefaultMessageBoxAnswer(UINT type) {
    static const int buttons[6][3] = {{IDOK, IDOK, IDOK},           {IDOK, IDCANCEL, IDCANCEL},
                                      {IDABORT, IDRETRY, IDIGNORE}, {IDYES, IDNO, IDCANCEL},
                                      {IDYES, IDNO, IDNO},          {IDRETRY, IDCANCEL, IDCANCEL}};
    UINT kind = type & MB_TYPEMASK;
    if (kind > 5)
        kind = 0;
    UINT index = (type & MB_DEFMASK) >> 8;
    if (index > 2)
        index = 0;
    return buttons[kind][index];
}

int DeclineMessageBoxAnswer(UINT type) {
    // Yes/No/Cancel offers something on the way (saving before a close): No turns the offer
    // down and lets the way go on, where Cancel would hold a close that nobody can answer.
    static const int answers[6] = {IDOK, IDCANCEL, IDIGNORE, IDNO, IDNO, IDCANCEL};
    const UINT kind = type & MB_TYPEMASK;
    return answers[kind > 5 ? 0 : kind];
}

int ShowMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type, UINT stringId) {
    ShownMessage m{text ? text : L"", caption ? caption : L"", type, stringId};
    if (Active())
        return Active()->Respond(m);
    if (Presenter())
        return Presenter()(owner, m);
    // Headless without a responder: say what would have been asked, take the default button.
    std::fprintf(stderr, "message box: %s\n", ToUtf8(m.text.c_str()).c_str());
    return DefaultMessageBoxAnswer(type);
}

void SetMessageBoxPresenter(MessageBoxPresenter presenter) {
    Presenter() = presenter;
}

MessageBoxResponder::MessageBoxResponder() : m_previous(Active()) {
    Active() = this;
}

MessageBoxResponder::~MessageBoxResponder() {
    Active() = m_previous;
}

int MessageBoxResponder::Respond(const ShownMessage& m) {
    m_shown.push_back(m);
    if (m.stringId) {
        auto it = m_byId.find(m.stringId);
        if (it != m_byId.end())
            return it->second;
    }
    auto it = m_byText.find(m.text);
    if (it != m_byText.end())
        return it->second;
    if (m_declineAll)
        return DeclineMessageBoxAnswer(m.type);
    return m_default ? m_default : DefaultMessageBoxAnswer(m.type);
}

} // namespace platform

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type) {
    return platform::ShowMessageBox(owner, text, caption, type, 0);
}
