#include "gastelo/file_extensions.h"

#include <algorithm>

namespace {

// Plain texts, not patterns: "U??" matches only "U??". Rows 17 and 20, and 16 and 41, repeat
// an extension; the first row wins. Rows 28 and 31 are three spaces.
const wchar_t* const kFileExts[kFileExtCount] = {
    L"Kdx", L"KOM", L"STC", L"PCH", L"OTL", L"LOP", L"SCN", L"PNT", L"XYZ", L"MCN", // 0
    L"AFF", L"AI",  L"EPS", L"DWG", L"DXF", L"CDR", L"HGL", L"DST", L"FOM", L"NST", // 10
    L"DST", L"U??", L"DAT", L"EXP", L"STN", L"T0?", L"XXX", L"PMU", L"   ", L"GTM", // 20
    L"STX", L"   ", L"EMB", L"HPG", L"Z??", L"PES", L"MLS", L"EMT", L"CUT", L"WEV", // 30
    L"SPL", L"HGL", L"PLT", L"TGL", L"CNC", L"KSM", L"PCS", L"SEW", L"JEF", L"HUS", // 40
    L"PEC", L"ECS", L"10O", L"MSV", L"GNM", L"PGS", L"TAP", L"SHV", L"VIP", L"GNC", // 50
    L"PNL", L"HUC", L"WMF", L"BDF", L"PLX", L"PDF", L"TBF", L"TPL", L"TMP",         // 60
};

const wchar_t* const kListTitles[kListTitleCount] = {
    L"Name",
    L"Reference",
    L"",
    L"Size",
    L"",
    L"",
    L"",
    L"",
    L"File",
    L"Description",
    L"Last Update",
    L"Stitches",
    L"Blocks",
    L"Colours",
    L"Bores",
    L"Sequins",
};

} // namespace

namespace {

// The rows are plain ASCII, so only ASCII letters fold: no other character can equal one.
wchar_t FoldCase(wchar_t c) {
    return (c >= L'a' && c <= L'z') ? wchar_t(c - (L'a' - L'A')) : c;
}

// The extension [ext, ext + length) equals row without regard to case.
bool SameExt(const wchar_t* ext, int length, const wchar_t* row) {
    int i = 0;
    for (; i < length && row[i]; ++i) {
        if (FoldCase(ext[i]) != FoldCase(row[i]))
            return false;
    }
    return i == length && !row[i];
}

} // namespace

int BrowserGetFileExtID(const CString& fileName) {
    const int dot = fileName.ReverseFind(L'.');
    if (dot < 0)
        return -1;
    // Text from the last "<" on is not part of the name; one before the dot leaves no
    // extension at all.
    const int angle = fileName.ReverseFind(L'<');
    const int end = angle < 0 ? fileName.GetLength() : std::max(angle, dot + 1);
    const wchar_t* ext = fileName.GetString() + dot + 1;
    const int length = end - dot - 1;
    if (SameExt(ext, length, kDesignFileExtAlt))
        return kDesignFileExtID;
    for (int id = 0; id < kFileExtCount; ++id) {
        if (SameExt(ext, length, kFileExts[id]))
            return id;
    }
    return -1;
}

void BrowserGetFileExt(int id, CString& out) {
    out.Empty();
    if (id >= 0 && id < kFileExtCount)
        out = kFileExts[id];
}

void FnGasteloGetListTitle(int index, CString& out) {
    out.Empty();
    if (index >= 0 && index < kListTitleCount)
        out = kListTitles[index];
}

void FnGasteloGetDesignFileExt(CString& out) {
    out = kDesignFileExt;
}
