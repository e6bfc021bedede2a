// What the dialog and device utilities need of the application framework: application
// parameters, the home folder, message boxes and the message pump. Everything goes through
// here so that the framework's own services replace these in one place.
#pragma once

#include "platform/core/cstring.h"

#include <functional>
#include <string>

namespace qvhost {

// Application parameters (integers and strings, by exact name).
int GetAppParam(const wchar_t* name, int defaultValue);
bool GetAppParam(const wchar_t* name, CString& out);
void SetAppParam(const wchar_t* name, int value);
void SetAppParam(const wchar_t* name, const CString& value);
int GetSetAppParam(const wchar_t* name, int defaultValue);
// Forgets every parameter (tests).
void ResetAppParams();

// The home folder with a trailing separator, followed by `name` (a leading separator dropped).
CString HomePath(const wchar_t* name);
// Moves the home folder (tests); an empty path restores $KELVANE_HOME or ~/Kelvane.
void SetHomeFolder(const std::string& path);

// Message-box answers and styles, with the platform's values.
constexpr UINT kMbOk = 0x0;
constexpr UINT kMbRetryCancel = 0x5;
constexpr UINT kMbIconExclamation = 0x30;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdRetry = 4;

// Shows a modal message. Without a display or responder the answer is the safe one: Cancel
// when Cancel is offered, else OK, so that nothing waits for an operator who is not there.
int MessageBox(const CString& text, UINT type);
using MessageBoxResponder = std::function<int(const CString& text, UINT type)>;
void SetMessageBoxResponder(MessageBoxResponder responder);

// Dispatches pending window messages, if a message loop is installed.
void PumpMessages();
void SetMessagePump(std::function<void()> pump);

} // namespace qvhost
