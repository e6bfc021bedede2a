#include "qvutils/host_services.h"

#include <cstdio>
#include <cstdlib>
#include <map>

namespace qvhost {
namespace {

struct Params {
    std::map<std::wstring, int> ints;
    std::map<std::wstring, CString> strings;
};

Params& P() {
    static Params p;
    return p;
}

std::string& HomeFolder() {
    static std::string home;
    return home;
}

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
    auto it = P().ints.find(name);
    return it == P().ints.end() ? defaultValue : it->second;
}

bool GetAppParam(const wchar_t* name, CString& out) {
    auto it = P().strings.find(name);
    if (it == P().strings.end())
        return false;
    out = it->second;
    return true;
}

void SetAppParam(const wchar_t* name, int value) {
    P().ints[name] = value;
}
void SetAppParam(const wchar_t* name, const CString& value) {
    P().strings[name] = value;
}

int GetSetAppParam(const wchar_t* name, int defaultValue) {
    auto it = P().ints.find(name);
    if (it != P().ints.end())
        return it->second;
    P().ints[name] = defaultValue;
    return defaultValue;
}

void ResetAppParams() {
    P().ints.clear();
    P().strings.clear();
}

CString HomePath(const wchar_t* name) {
    std::string home = HomeFolder();
    if (home.empty()) {
        if (const char* env = std::getenv("KELVANE_HOME"); env && *env)
            home = env;
        else if (const char* h = std::getenv("HOME"); h && *h)
            home = std::string(h) + "/Kelvane";
        else
            home = "/tmp/Kelvane";
    }
    if (home.back() != '/')
        home += '/';
    CString result(home);
    if (name) {
        while (*name == L'\\' || *name == L'/')
            ++name;
        result += name;
    }
    return result;
}

void SetHomeFolder(const std::string& path) {
    HomeFolder() = path;
}

int MessageBox(const CString& text, UINT type) {
    if (Responder())
        return Responder()(text, type);
    std::fprintf(stderr, "%s\n", text.ToUtf8().c_str());
    return (type & 0xF) == kMbRetryCancel ? kIdCancel : kIdOk;
}

void SetMessageBoxResponder(MessageBoxResponder responder) {
    Responder() = std::move(responder);
}

void PumpMessages() {
    if (Pump())
        Pump()();
}

void SetMessagePump(std::function<void()> pump) {
    Pump() = std::move(pump);
}

} // namespace qvhost
