// The library-wide state: interface flags, the product bitmap, and the small lookups.
#include "gastelo/browser.h"
#include "gastelo/browser_internal.h"

#include <algorithm>

namespace {

LONG g_interfaceFlags = 0;
int g_productBitmap = 0;
CString g_productBitmapName;
int g_designCounter = 0;

} // namespace

LONG gfnGetBrowserInterfaceFlags() {
    return g_interfaceFlags;
}

void gfnSetBrowserInterfaceFlags(LONG bits) {
    g_interfaceFlags |= bits;
}

void gfnClrBrowserInterfaceFlags(LONG bits) {
    g_interfaceFlags &= ~bits;
}

void FnSetProductBitmap(int bitmap) {
    g_productBitmap = bitmap;
}

int FnGetProductBitmap() {
    return g_productBitmap;
}

void FnSetProductBitmapName(const CString& name) {
    g_productBitmapName = name.Left(kProductBitmapNameChars);
}

int FnGetProductBitmapName(CString& name) {
    name = g_productBitmapName;
    return name.GetLength();
}

void FN_DfxText(CDaoFieldExchange*, const wchar_t*, CString&) {}

int fnFindIdxOfID(LONG id, CArray<LONG, LONG>& ids) {
    for (INT_PTR i = 0; i < ids.GetSize(); ++i) {
        if (ids[i] == id)
            return int(i);
    }
    return -1;
}

int fnFindIdxOfStr(const wchar_t* text, CStringArray& strings) {
    const CString wanted(text ? text : L"");
    for (INT_PTR i = 0; i < strings.GetSize(); ++i) {
        if (strings[i].CompareNoCase(wanted) == 0)
            return int(i);
    }
    return -1;
}

int& BrowserDesignCounter() {
    return g_designCounter;
}

void BrowserResetState() {
    g_interfaceFlags = 0;
    g_productBitmap = 0;
    g_productBitmapName.Empty();
    g_designCounter = 0;
}

CString FileTitleOf(const CString& path) {
    const int nameStart = std::max(path.ReverseFind(L'\\'), path.ReverseFind(L'/')) + 1;
    const int dot = path.ReverseFind(L'.');
    return dot >= nameStart ? path.Mid(nameStart, dot - nameStart) : path.Mid(nameStart);
}
