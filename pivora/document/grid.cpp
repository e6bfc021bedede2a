#include "pivora/grid.h"

#include "pivora/document/record_fields.h"
#include "pivora/rec_archive.h"

#include "pivora/framework/app_params.h"

#include <cmath>

IMPLEMENT_SERIAL(CGrid, CObject, 0)

int CGrid::m_iSnapTolPixel = -1;
int CGrid::m_iSnapTolData = -1;

namespace {

const wchar_t kPixelSnapTolParam[] = L"PixelSnapTol";
const wchar_t kDataSnapTolParam[] = L"DataSnapTol";
constexpr int kDefaultPixelSnapTol = 30;
constexpr int kDefaultDataSnapTol = 500; // half a millimetre

void StoreGuides(CArchive& ar, const CList<int, int>& guides) {
    ar.WriteCount(DWORD_PTR(guides.GetCount()));
    for (POSITION pos = guides.GetHeadPosition(); pos;)
        ar << int32_t(guides.GetNext(pos));
}

void LoadGuides(CArchive& ar, CList<int, int>& guides) {
    DWORD_PTR count = ar.ReadCount(4);
    for (DWORD_PTR i = 0; i < count; ++i) {
        int32_t v;
        ar >> v;
        guides.AddTail(v);
    }
}

} // namespace

CGrid::CGrid() = default;

CGrid::~CGrid() = default;

int CGrid::GetSnapTolPix() {
    if (m_iSnapTolPixel == -1)
        m_iSnapTolPixel = QvGetAppParam(kPixelSnapTolParam, kDefaultPixelSnapTol);
    return m_iSnapTolPixel;
}

int CGrid::GetSnapTolData() {
    if (m_iSnapTolData == -1)
        m_iSnapTolData = QvGetAppParam(kDataSnapTolParam, kDefaultDataSnapTol);
    return m_iSnapTolData;
}

int CGrid::SetSnapTolPix(int pixels) {
    int old = GetSnapTolPix();
    QvSetAppParam(kPixelSnapTolParam, pixels);
    m_iSnapTolPixel = pixels;
    return old;
}

int CGrid::SetSnapTolData(int dataUnits) {
    int old = GetSnapTolData();
    QvSetAppParam(kDataSnapTolParam, dataUnits);
    m_iSnapTolData = dataUnits;
    return old;
}

CList<int, int>* CGrid::Guides(int kind) {
    return kind == kVertical ? &verticalGuides : kind == kHorizontal ? &horizontalGuides : nullptr;
}

const CList<int, int>* CGrid::Guides(int kind) const {
    return const_cast<CGrid*>(this)->Guides(kind);
}

int CGrid::GetGridLinePos(int& pos, int kind, int index) const {
    const CList<int, int>* guides = Guides(kind);
    if (!guides || guides->IsEmpty())
        return 0;
    POSITION at = index == -1 ? guides->GetTailPosition() : guides->FindIndex(index);
    if (!at)
        return 0;
    pos = guides->GetAt(at);
    return 1;
}

int CGrid::SetGridLinePos(int pos, int kind, int index) {
    CList<int, int>* guides = Guides(kind);
    if (!guides || index < 0)
        return 0;
    POSITION at = guides->FindIndex(index);
    if (!at)
        return 0;
    guides->SetAt(at, pos);
    return 1;
}

void CGrid::AddGridLinePos(int pos, int kind) {
    if (CList<int, int>* guides = Guides(kind))
        guides->AddTail(pos);
}

void CGrid::DeleteGridLine(int kind, int index) {
    CList<int, int>* guides = Guides(kind);
    if (!guides || guides->IsEmpty())
        return;
    POSITION at = index == -1 ? guides->GetTailPosition() : guides->FindIndex(index);
    if (at)
        guides->RemoveAt(at);
}

void CGrid::RemoveGridLines() {
    verticalGuides.RemoveAll();
    horizontalGuides.RemoveAll();
}

int CGrid::GridLineCount(int kind) const {
    const CList<int, int>* guides = Guides(kind);
    return guides ? int(guides->GetCount()) : 0;
}

void CGrid::SetOrigin(const CLpoint& o) {
    for (POSITION pos = verticalGuides.GetHeadPosition(); pos;) {
        int& x = verticalGuides.GetNext(pos);
        x = int(int64_t(x) - o.x);
    }
    for (POSITION pos = horizontalGuides.GetHeadPosition(); pos;) {
        int& y = horizontalGuides.GetNext(pos);
        y = int(int64_t(y) - o.y);
    }
}

void CGrid::MakeSound() {
    if (rectSpacingX <= 0)
        rectSpacingX = kDefaultSpacing;
    if (rectSpacingY <= 0)
        rectSpacingY = kDefaultSpacing;
    if (polarRadiusStep <= 0)
        polarRadiusStep = kDefaultSpacing;
    if (!(polarAngleStep > 0.0f) || !std::isfinite(polarAngleStep))
        polarAngleStep = kDefaultAngleStep;
}

void CGrid::Serialize(CArchive& ar) {
    CObject::Serialize(ar);
    CRecArchive rec(ar);
    if (ar.IsStoring()) {
        using record_fields::StoreFixed;
        StoreFixed(ar, kRecShow, int32_t(showRect), int32_t(showPolar), int32_t(showGuides));
        StoreFixed(ar, kRecRect, int32_t(rectStyle), int32_t(rectSnap), int32_t(rectSpacingX),
                   int32_t(rectSpacingY), int32_t(rectOriginX), int32_t(rectOriginY));
        StoreFixed(ar, kRecPolar, int32_t(polarStyle), int32_t(polarSnap), polarAngleStep,
                   int32_t(polarRadiusStep), int32_t(polarCentreX), int32_t(polarCentreY));
        DWORD pos = rec.StartStore(WORD(kRecGuides));
        ar << int32_t(guideSnap) << int32_t(guideDisplayFlag) << int32_t(showOriginLines)
           << int32_t(showMiddleLines);
        StoreGuides(ar, verticalGuides);
        StoreGuides(ar, horizontalGuides);
        rec.EndStore(pos);
        rec.StoreEndRec();
        return;
    }
    record_fields::ForEach(rec, [&](WORD id, DWORD len) {
        switch (id) {
        case kRecShow: {
            int32_t v[3];
            if (record_fields::LoadFixed(rec, len, v)) {
                showRect = v[0];
                showPolar = v[1];
                showGuides = v[2];
            }
            return true;
        }
        case kRecRect: {
            int32_t v[6];
            if (record_fields::LoadFixed(rec, len, v)) {
                rectStyle = v[0];
                rectSnap = v[1];
                rectSpacingX = v[2];
                rectSpacingY = v[3];
                rectOriginX = v[4];
                rectOriginY = v[5];
            }
            return true;
        }
        case kRecPolar: {
            int32_t style, snap, radius, cx, cy;
            float angle;
            if (record_fields::LoadFixed(rec, len, style, snap, angle, radius, cx, cy)) {
                polarStyle = style;
                polarSnap = snap;
                polarAngleStep = angle;
                polarRadiusStep = radius;
                polarCentreX = cx;
                polarCentreY = cy;
            }
            return true;
        }
        case kRecGuides: {
            int32_t flags[4];
            CList<int, int> vertical, horizontal;
            record_fields::LoadSized(rec, len, [&] {
                ar >> flags[0] >> flags[1] >> flags[2] >> flags[3];
                LoadGuides(ar, vertical);
                LoadGuides(ar, horizontal);
            });
            guideSnap = flags[0];
            guideDisplayFlag = flags[1];
            showOriginLines = flags[2];
            showMiddleLines = flags[3];
            RemoveGridLines();
            verticalGuides.AddTail(&vertical);
            horizontalGuides.AddTail(&horizontal);
            return true;
        }
        default:
            return false;
        }
    });
    MakeSound();
}
