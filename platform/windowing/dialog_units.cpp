#include "platform/windowing/dialog_units.h"

#include <map>
#include <string>
#include <utility>

namespace platform {

namespace {

struct Units {
    DialogTextMeasure measure = nullptr;
    // Measuring builds a font: each face and size is measured once.
    std::map<std::pair<std::wstring, int>, DialogBaseUnits> known;
};

Units& U() {
    static Units u;
    return u;
}

} // namespace

void SetDialogTextMeasure(DialogTextMeasure measure) {
    U().measure = measure;
    U().known.clear();
}

DialogBaseUnits BaseUnitsFromLetters(int lettersWidth, int height) {
    if (lettersWidth <= 0 || height <= 0)
        return kClassicDialogBaseUnits;
    // The mean of 52 letters, rounded: (w / 26 + 1) / 2.
    const int cx = (lettersWidth / 26 + 1) / 2;
    return cx > 0 ? DialogBaseUnits{cx, height} : kClassicDialogBaseUnits;
}

DialogBaseUnits DialogBaseUnitsFor(const wchar_t* face, int pointSize) {
    Units& u = U();
    if (!u.measure)
        return kClassicDialogBaseUnits;
    auto key = std::make_pair(std::wstring(face ? face : L""), pointSize);
    if (auto it = u.known.find(key); it != u.known.end())
        return it->second;
    SIZE size{0, 0};
    const DialogBaseUnits base = u.measure(face, pointSize, kDialogUnitLetters, &size)
                                     ? BaseUnitsFromLetters(size.cx, size.cy)
                                     : kClassicDialogBaseUnits;
    u.known.emplace(std::move(key), base);
    return base;
}

int DialogUnitsToPixelsX(int units, const DialogBaseUnits& base) {
    return MulDiv(units, base.cx, 4);
}

int DialogUnitsToPixelsY(int units, const DialogBaseUnits& base) {
    return MulDiv(units, base.cy, 8);
}

} // namespace platform
