#include "qvutils/host_services.h"

#include "pivora/framework/app_params.h"
#include "pivora/framework/do_events.h"
#include "platform/windowing/message_box.h"

#include <cstdlib>

namespace qvhost {
namespace {

MessageBoxResponder& Responder() {
    static MessageBoxResponder r;
    return r;
}

std::function<void()>& Pump() {
    static std::function<void()> pump;
    return pump;
}

} // namespace

int GetAppParam(const wchar_t* name, int defaultValue) {
    return QvGetAppParam(name, defaultValue);
}
bool GetAppParam(const wchar_t* name, CString& out) {
    return QvGetAppParam(name, out) != 0;
}
void SetAppParam(const wchar_t* name, int value) {
    QvSetAppParam(name, value);
}
void SetAppParam(const wchar_t* name, const CString& value) {
    QvSetAppParam(name, value);
}
int GetSetAppParam(const wchar_t* name, int defaultValue) {
    return QvGetSetAppParam(name, defaultValue);
}
void ResetAppParams() {
    QvResetAppParamCache();
}

CString HomePath(const wchar_t* name) {
    CString out;
    QvHomePath(name, out);
    return out;
}

void SetHomeFolder(const std::string& path) {
    if (path.empty())
        ::unsetenv("KELVANE_HOME");
    else
        ::setenv("KELVANE_HOME", path.c_str(), 1);
    QvResetAppParamCache();
}

int MessageBox(const CString& text, UINT type) {
    if (Responder())
        return Responder()(text, type);
    return platform::ShowMessageBox(nullptr, text, L"", type, 0);
}

void SetMessageBoxResponder(MessageBoxResponder responder) {
    Responder() = std::move(responder);
}

void PumpMessages() {
    if (Pump())
        Pump()();
    else
        DoEvents();
}

void SetMessagePump(std::function<void()> pump) {
    Pump() = std::move(pump);
}

} // namespace qvhost
