// What the cutter driver and the utilities need of the application framework, in one place:
// application parameters, the home folder, message boxes and the message pump. They forward to
// the framework's services; tests may answer message boxes and pump messages themselves.
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
// Forgets every cached parameter (tests; the store itself is the test's own).
void ResetAppParams();

// The home folder with a trailing separator, followed by `name` (a leading separator dropped);
// a path in the program's own form: open it through platform::MapPath.
CString HomePath(const wchar_t* name);
// Moves the home folder (tests and tools); an empty path restores the default.
void SetHomeFolder(const std::string& path);

// Message-box answers and styles, with the platform's values.
constexpr UINT kMbOk = 0x0;
constexpr UINT kMbRetryCancel = 0x5;
constexpr UINT kMbIconExclamation = 0x30;
constexpr int kIdOk = 1;
constexpr int kIdCancel = 2;
constexpr int kIdRetry = 4;

// Shows a modal message, through the responder when one is set.
int MessageBox(const CString& text, UINT type);
using MessageBoxResponder = std::function<int(const CString& text, UINT type)>;
void SetMessageBoxResponder(MessageBoxResponder responder);

// Dispatches pending window messages.
void PumpMessages();
void SetMessagePump(std::function<void()> pump);

} // namespace qvhost
