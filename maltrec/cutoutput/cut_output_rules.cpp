#include "maltrec/cutoutput/cut_output_rules.h"

#include <algorithm>
#include <cmath>
#include <cwchar>

namespace {

constexpr double kUnitsPerMm = 1000.0;
constexpr double kUnitsPerInch = 25400.0;
constexpr int32_t kMmStep = 100;
constexpr int32_t kInchStep = 254;
// The sheet lowers its top by 1 mm before tiling.
constexpr int32_t kTileTopMargin = 1000;
constexpr int64_t kWholeMm = 1000;
// More tiles than this cannot be cut in one session; the list stops there.
constexpr int64_t kMaxTileRows = 10000;

} // namespace

CString FnFormatLength(int32_t value, int inch) {
    return inch ? FormatString(L"%.2lf", value / kUnitsPerInch)
                : FormatString(L"%.1lf", value / kUnitsPerMm);
}

int32_t FnParseLength(const CString& text, int inch) {
    const double v = std::wcstod(text, nullptr);
    if (!std::isfinite(v))
        return 0;
    const double units = std::trunc(v * (inch ? kUnitsPerInch : kUnitsPerMm));
    return int32_t(std::clamp(units, double(INT32_MIN), double(INT32_MAX)));
}

int32_t FnLengthStep(int inch) {
    return inch ? kInchStep : kMmStep;
}

CWindow FnTileWindow(const CWindow& sheet, int32_t tileWidth, int32_t tileHeight, int32_t overlap) {
    CWindow w = sheet;
    w.y2 = int32_t(std::max<int64_t>(int64_t(w.y2) - kTileTopMargin, w.y1));
    const int64_t wantW = int64_t(tileWidth) + 2 * int64_t(overlap);
    const int64_t wantH = int64_t(tileHeight) + 2 * int64_t(overlap);
    if (wantW >= 0 && wantW < int64_t(w.x2) - w.x1)
        w.x1 = int32_t(w.x2 - wantW);
    if (wantH >= 0 && wantH < int64_t(w.y2) - w.y1)
        w.y2 = int32_t(w.y1 + wantH);
    return w;
}

int64_t FnTileAdvance(int64_t window, int32_t overlap) {
    return window / kWholeMm * kWholeMm - overlap;
}

int64_t FnTilesAlong(int64_t length, int64_t advance) {
    if (advance <= 0 || length < 0)
        return 0;
    return std::max<int64_t>(1, (length + advance - 1) / advance);
}

std::vector<CString> FnTileList(int64_t count) {
    std::vector<CString> rows{L"ALL"};
    const int64_t n = std::clamp<int64_t>(count, 0, kMaxTileRows);
    for (int64_t i = 1; i <= n; ++i)
        rows.push_back(FormatString(L"%d", int(i)));
    return rows;
}

StSelectEnables FnSelectPageEnables(const StOutputSettings& s) {
    const bool selection = s.IsGeneralMode() || s.ItemsSelected();
    return {selection, selection, !s.IsNormalMode(), !s.IsVELMMode()};
}

StOutputEnables FnOutputPageEnables(const StOutputSettings& s) {
    const bool velm = s.IsVELMMode(), general = s.IsGeneralMode();
    StOutputEnables e{};
    e.copies = !general;
    e.autoRotate = !velm;
    e.weedBox = !velm;
    e.weedSize = !velm && s.m_bWeedBox;
    e.tiling = !velm && !general;
    e.tileFields = e.tiling && s.m_bTiling;
    e.tileList = e.tileFields;
    e.feedChoices = !velm && !s.m_bBrevnar;
    e.cutOffAfterFeed = s.m_nFeedOption != eFeedNone;
    e.velmSheetMode = !s.IsNormalMode();
    e.preload = !velm;
    return e;
}

void FnOutputPageCoerce(StOutputSettings& s) {
    if (s.m_nFeedOption == eFeedNone)
        s.m_bCutOffAfterFeed = 0;
    if (s.IsVELMMode() || s.m_bBrevnar)
        s.m_nFeedOption = eFeedAfterCopy;
    if (s.m_bWeedBox)
        s.m_bTiling = 0;
}

void FnSortingPageCoerce(StOutputSettings& s) {
    if (s.m_nOrderMode != eOrderDesign && s.m_nOrderMode != eOrderLeastMovement)
        s.m_nOrderMode = eOrderDesign;
    if (s.m_nStartPointMode != eStartUnchanged && s.m_nStartPointMode != eStartAlwaysRight)
        s.m_nStartPointMode = eStartUnchanged;
}
