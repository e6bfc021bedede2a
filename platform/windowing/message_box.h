// Message boxes: shown by the display when there is one; in tests a responder answers them and
// records what was shown.
#pragma once

#include "platform/windowing/controls.h"

#include <map>
#include <string>
#include <vector>

constexpr UINT MB_OK = 0x0;
constexpr UINT MB_OKCANCEL = 0x1;
constexpr UINT MB_ABORTRETRYIGNORE = 0x2;
constexpr UINT MB_YESNOCANCEL = 0x3;
constexpr UINT MB_YESNO = 0x4;
constexpr UINT MB_RETRYCANCEL = 0x5;
constexpr UINT MB_TYPEMASK = 0xF;
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONSTOP = 0x10;
constexpr UINT MB_ICONERROR = 0x10;
constexpr UINT MB_ICONQUESTION = 0x20;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_ICONWARNING = 0x30;
constexpr UINT MB_ICONINFORMATION = 0x40;
constexpr UINT MB_ICONASTERISK = 0x40;
constexpr UINT MB_DEFBUTTON1 = 0x000;
constexpr UINT MB_DEFBUTTON2 = 0x100;
constexpr UINT MB_DEFBUTTON3 = 0x200;
constexpr UINT MB_DEFMASK = 0xF00;
constexpr UINT MB_APPLMODAL = 0x0000;
constexpr UINT MB_SYSTEMMODAL = 0x1000;
constexpr UINT MB_TASKMODAL = 0x2000;
constexpr UINT MB_SETFOREGROUND = 0x10000;
constexpr UINT MB_TOPMOST = 0x40000;

int MessageBoxW(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type);

namespace platform {

struct ShownMessage {
    std::wstring text;
    std::wstring caption;
    UINT type;
    UINT stringId; // 0 when the text was not a string resource
};

// The answer of pressing Enter: the default button of the type.
int DefaultMessageBoxAnswer(UINT type);
// The answer that changes least: No where the type has it (Yes/No/Cancel too: nothing is done,
// and what asked goes on), else Cancel, else Ignore or OK.
int DeclineMessageBoxAnswer(UINT type);
int ShowMessageBox(HWND owner, LPCWSTR text, LPCWSTR caption, UINT type, UINT stringId);

// The display's presenter; null without a display.
typedef int (*MessageBoxPresenter)(HWND owner, const ShownMessage& message);
void SetMessageBoxPresenter(MessageBoxPresenter presenter);

// Answers message boxes for the life of the object and records them.
class MessageBoxResponder {
public:
    MessageBoxResponder();
    ~MessageBoxResponder();
    MessageBoxResponder(const MessageBoxResponder&) = delete;
    MessageBoxResponder& operator=(const MessageBoxResponder&) = delete;

    void Answer(UINT stringId, int answer) { m_byId[stringId] = answer; }
    void AnswerText(const std::wstring& text, int answer) { m_byText[text] = answer; }
    // Without a specific answer: this one, or the default button when it is 0.
    void SetDefault(int answer) { m_default = answer; }
    // Without a specific answer: each box declined (DeclineMessageBoxAnswer), whatever its type.
    void SetDeclineAll(bool on) { m_declineAll = on; }
    const std::vector<ShownMessage>& Shown() const { return m_shown; }
    int Respond(const ShownMessage& m);

private:
    std::map<UINT, int> m_byId;
    std::map<std::wstring, int> m_byText;
    int m_default = 0;
    bool m_declineAll = false;
    std::vector<ShownMessage> m_shown;
    MessageBoxResponder* m_previous;
};

} // namespace platform
