#include "qvutils/qv_utils.h"

#include "pivora/geometry/geometry_types.h"
#include "platform/core/string_array.h"
#include "platform/system/clock.h"
#include "platform/system/paths.h"
#include "qvutils/host_services.h"

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <unistd.h>

namespace {

struct CachedPreference {
    const wchar_t* name;
    int defaultValue;
    int value;
};

CachedPreference g_stopRescale = {L"Stop Auto Rescale", 0, -1};
CachedPreference g_resize = {L"AutoResize", 1, -1};
CachedPreference g_autoPan = {L"AutoPan", 1, -1};
CachedPreference g_largeCross = {L"Use Large Cross Hair", 0, -1};
CachedPreference g_textAuto = {L"TextAutoCutters", 1, -1};

int Get(CachedPreference& p) {
    if (p.value == -1)
        p.value = qvhost::GetAppParam(p.name, p.defaultValue);
    return p.value;
}

int Set(CachedPreference& p, int v) {
    int old = Get(p);
    qvhost::SetAppParam(p.name, v);
    p.value = v;
    return old;
}

int g_locking = 1;

constexpr int kContextSlots = 10;
struct ContextSlot {
    int context;
    DWORD mask;
};
ContextSlot g_contexts[kContextSlots + 1];
DWORD g_allowed = 0xFFFFFFFF;
bool g_contextsReady = false;

void EnsureContexts() {
    if (g_contextsReady)
        return;
    for (int i = 0; i < kContextSlots; ++i)
        g_contexts[i] = {-1, 0};
    g_contexts[kContextSlots] = {-99, 0};
    g_contextsReady = true;
}

bool IsDesignPath(const CString& path) {
    return path.GetLength() >= 4 && path.Right(4).CompareNoCase(L".KDX") == 0;
}

} // namespace

int QvGetStopRescaleOn() {
    return Get(g_stopRescale);
}
int QvSetStopRescaleOn(int on) {
    return Set(g_stopRescale, on);
}
int QvGetResizeOn() {
    return Get(g_resize);
}
int QvSetResizeOn(int on) {
    return Set(g_resize, on);
}
int QvGetAutoPan() {
    return Get(g_autoPan);
}
int QvSetAutoPan(int on) {
    return Set(g_autoPan, on);
}
int QvGetUseLargeCrossHair() {
    return Get(g_largeCross);
}
int QvSetUseLargeCrossHair(int on) {
    return Set(g_largeCross, on);
}
int QvGetTextAutoCutters() {
    return Get(g_textAuto);
}
int QvSetTextAutoCutters(int on) {
    return Set(g_textAuto, on);
}
int QvGetAutoPanDelay() {
    return qvhost::GetAppParam(L"AutoPanDelay", 1);
}
int QvGetInchDisplayOn() {
    return qvhost::GetAppParam(L"Display Inches", 0);
}
int QvGetSilentModeOn() {
    return qvhost::GetAppParam(L"Silent Mode", 0);
}
void QvSetSilentModeOn(int on) {
    qvhost::SetAppParam(L"Silent Mode", on);
}
int QvStandardPaletteSize() {
    return qvhost::GetAppParam(L"Standard Palette Size", 15);
}

void QvResetPreferenceCache() {
    for (CachedPreference* p : {&g_stopRescale, &g_resize, &g_autoPan, &g_largeCross, &g_textAuto})
        p->value = -1;
}

const wchar_t* QvDefaultFontName() {
    return L"DefaultFontName";
}
const wchar_t* QvDefaultDofFontName() {
    return L"DefaultDofFontName";
}

void QvConvertDisplayPrompt(CString& text) {
    int at = text.Find(L"mm");
    while (at >= 0) {
        int start = at;
        while (start > 0 &&
               ((text[start - 1] >= L'0' && text[start - 1] <= L'9') || text[start - 1] == L'.'))
            --start;
        int next = at + 2;
        if (start < at) {
            CString piece = text.Mid(start, at - start + 2);
            double mm = std::wcstod(text.Mid(start, at - start).GetString(), nullptr);
            CString inches;
            inches.Format(L"%.2fin", fnDoublePrecision(mm * 0.03937007874015748, 2, true));
            text.Replace(piece, inches);
            // Go on after the replacement of this occurrence.
            next = start + inches.GetLength();
        }
        at = next < text.GetLength() ? text.Find(L"mm", next) : -1;
    }
}

void fnQvWaitTimer(DWORD ms, bool pump) {
    ULONGLONG start = GetTickCount64();
    for (;;) {
        if (pump)
            qvhost::PumpMessages();
        ULONGLONG elapsed = GetTickCount64() - start;
        if (elapsed >= ms)
            break;
        // Short slices so messages are seen promptly.
        ULONGLONG left = ms - elapsed;
        Sleep(DWORD(pump && left > 10 ? 10 : left));
    }
}

int FNEnableLocking(int on) {
    int old = g_locking;
    g_locking = on;
    return old;
}

int FNGetLockFileName(CString& path) {
    if (!IsDesignPath(path))
        return 0;
    path = path.Left(path.GetLength() - 4) + L".LOC";
    return 1;
}

int FNUnLockFile(CString designPath) {
    if (!g_locking || !FNGetLockFileName(designPath))
        return 1;
    std::string lock = platform::MapPath(designPath);
    int fd = ::open(lock.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return errno == ENOENT ? 1 : 0;
    ::close(fd);
    return ::unlink(lock.c_str()) == 0 ? 1 : 0;
}

int FNMoveLockFile(CString first, CString second) {
    if (!g_locking || !FNGetLockFileName(first))
        return 1;
    if (!FNGetLockFileName(second))
        return 1;
    std::string from = platform::MapPath(second);
    int fd = ::open(from.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0)
        return 1;
    ::close(fd);
    return std::rename(from.c_str(), platform::MapPath(first).c_str()) == 0 ? 1 : 0;
}

wchar_t* FNConvertPipesToNull(CString& text) {
    wchar_t* buffer = text.GetBuffer();
    for (wchar_t* p = buffer; *p; ++p) {
        if (*p == L'|')
            *p = 0;
    }
    return buffer;
}

wchar_t* FNGetNextPipeTerminator(wchar_t* p) {
    if (!p)
        return nullptr;
    for (; *p; ++p) {
        if (*p == L'|') {
            *p = 0;
            return p + 1;
        }
    }
    return nullptr;
}

CStringArray* fnGetRefSearchStrings(CStringArray* array) {
    if (array) {
        array->Add(L"%Date%");
        array->Add(L"%DateUS%");
    }
    return array;
}

void QvAddContextMask(int context, int mask) {
    EnsureContexts();
    for (int i = 0; g_contexts[i].context != -99; ++i) {
        if (g_contexts[i].context == -1) {
            g_contexts[i] = {context, DWORD(mask)};
            return;
        }
    }
}

DWORD QvGetContextMask(int context) {
    EnsureContexts();
    for (int i = 0; g_contexts[i].context > 0; ++i) {
        if (g_contexts[i].context == context)
            return g_contexts[i].mask;
    }
    return 0;
}

void QvSetContextAllowed(int context) {
    if (context == 0)
        g_allowed = 0;
    else if (context == -1)
        g_allowed = 0xFFFFFFFF;
    else
        g_allowed |= QvGetContextMask(context);
}

int QvGetContextAllowed(int context) {
    return (QvGetContextMask(context) & g_allowed) ? 1 : 0;
}

void QvResetContextMasks() {
    g_contextsReady = false;
    EnsureContexts();
    g_allowed = 0xFFFFFFFF;
}

int QvSendToRecycleBin(CString path) {
    namespace fs = std::filesystem;
    std::string file = platform::MapPath(path);
    std::error_code ec;
    bool ok = false;
    if (fs::is_regular_file(file, ec)) {
        const char* data = std::getenv("XDG_DATA_HOME");
        const char* home = std::getenv("HOME");
        fs::path trash = data && *data ? fs::path(data) / "Trash"
                                       : fs::path(home ? home : "/tmp") / ".local/share/Trash";
        fs::create_directories(trash / "files", ec);
        fs::create_directories(trash / "info", ec);
        std::string name = fs::path(file).filename().string();
        fs::path target = trash / "files" / name;
        for (int n = 2;
             fs::exists(target, ec) ||
             fs::exists(trash / "info" / (target.filename().string() + ".trashinfo"), ec);
             ++n)
            target = trash / "files" /
                     (fs::path(name).stem().string() + "." + std::to_string(n) +
                      fs::path(name).extension().string());
        char stamp[32];
        std::time_t now = std::time(nullptr);
        std::tm local{};
        localtime_r(&now, &local);
        std::strftime(stamp, sizeof stamp, "%Y-%m-%dT%H:%M:%S", &local);
        // The record first, so an interrupted move never leaves a file nobody can restore.
        fs::path info = trash / "info" / (target.filename().string() + ".trashinfo");
        {
            std::ofstream out(info);
            out << "[Trash Info]\nPath=" << fs::absolute(file, ec).string()
                << "\nDeletionDate=" << stamp << "\n";
        }
        fs::rename(file, target, ec);
        ok = !ec;
        if (!ok)
            fs::remove(info, ec);
    }
    if (!ok) {
        CString text;
        text.Format(L"Unable to Delete File %s", path.GetString());
        qvhost::MessageBox(text, qvhost::kMbOk | qvhost::kMbIconExclamation);
        return 0;
    }
    return 1;
}

// This system reports itself as the newest platform the program knows.
int CQvUtils::GetWindowsPlatform(int& major, int& minor) {
    major = 6;
    minor = 1;
    return 2;
}
int CQvUtils::IsWindowsNT() {
    return 1;
}
int CQvUtils::IsWindows2000() {
    return 0;
}
int CQvUtils::IsWindowsXP() {
    return 0;
}
int CQvUtils::IsWindowsVista() {
    return 0;
}
bool CQvUtils::IsWindows7() {
    return true;
}

bool QvIsIPv4Address(const CString& name) {
    if (name.Find(L'\\') >= 0 || name.Find(L'/') >= 0)
        return false;
    int d1 = name.Find(L'.');
    if (d1 <= 0)
        return false;
    int d2 = name.Find(L'.', d1 + 1);
    if (d2 < 0)
        return false;
    int d3 = name.Find(L'.', d2 + 1);
    if (d3 < 0)
        return false;
    auto value = [&](int from) {
        // Leading digits as an integer; 0 when there are none. Capped so a long run of digits
        // cannot overflow.
        int v = 0;
        for (int i = from; i < name.GetLength(); ++i) {
            wchar_t c = name[i];
            if (c < L'0' || c > L'9')
                break;
            v = v * 10 + (c - L'0');
            if (v > 100000)
                v = 100000;
        }
        return v;
    };
    for (int from : {0, d1 + 1, d2 + 1, d3 + 1})
        if (value(from) > 255)
            return false;
    return true;
}
