#include "maltrec/output_settings.h"

#include "pivora/framework/app_params.h"

namespace {

// Application parameters of the stored fields. The inside-first flag and the start-point mode are
// kept under each other's name: settings stored by earlier versions rely on the pairing.
constexpr const wchar_t* kBrevnar = L"Cut Brevnar";
constexpr const wchar_t* kOptimizeCurves = L"Optimize curves";
constexpr const wchar_t* kAutoRotate = L"Cut Out Rotate";
constexpr const wchar_t* kVelmSheetMode = L"VELM sheet mode";
constexpr const wchar_t* kCutOffAfterFeed = L"Cut Out Feed Then Cut";
constexpr const wchar_t* kFeedOption = L"Cut Out Feed Options";
constexpr const wchar_t* kPreload = L"Preload";
constexpr const wchar_t* kWeedBox = L"Cut Out Weed";
constexpr const wchar_t* kWeedMargin = L"Cut Out WeedAdd Thou";
constexpr const wchar_t* kCutScope = L"Cut selection";
constexpr const wchar_t* kCutObjectsSeparately = L"Cut objects separate";
constexpr const wchar_t* kCutVelmMarks = L"Cut VELM marks";
constexpr const wchar_t* kOrderMode = L"Order mode";
constexpr const wchar_t* kInsideFirst = L"Startpoint mode";
constexpr const wchar_t* kStartPointMode = L"Inside first";

constexpr int32_t kDefaultWeedMargin = 2000; // 2 mm

} // namespace

StOutputSettings::StOutputSettings(eSettingsMode mode, int itemsSelected)
    : m_nCopies(1), m_bBrevnar(0), m_bOptimizeCurves(1), m_bAutoRotate(0), m_bVelmSheetMode(0),
      m_bCutOffAfterFeed(0), m_nFeedOption(mode == eVelmMode ? eFeedAfterJob : eFeedAfterCopy),
      m_bPreload(0), m_bWeedBox(0), m_nWeedMargin(kDefaultWeedMargin), m_bTiling(0),
      m_nTileOverlap(0), m_nTileWidth(0), m_nTileHeight(0), m_nTileToCut(-1), m_nCutScope(0),
      m_bCutObjectsSeparately(0), m_bCutVelmMarks(0), m_nOrderMode(eOrderLeastMovement),
      m_bInsideFirst(1), m_nStartPointMode(eStartUnchanged), m_eMode(mode),
      m_bItemsSelected(itemsSelected) {}

void StOutputSettings::LoadFromReg() {
    m_bAutoRotate = m_bPreload = m_bWeedBox = m_nWeedMargin = 0;
    m_bVelmSheetMode = m_bCutVelmMarks = 0;
    m_nFeedOption = eFeedAfterJob;
    if (IsVELMMode() || IsGeneralMode()) {
        m_bVelmSheetMode = QvGetAppParam(kVelmSheetMode, 0);
        m_bCutVelmMarks = QvGetAppParam(kCutVelmMarks, 0);
    }
    if (IsNormalMode() || IsGeneralMode()) {
        m_bAutoRotate = QvGetAppParam(kAutoRotate, 0);
        m_nFeedOption = QvGetAppParam(kFeedOption, eFeedAfterCopy);
        m_bPreload = QvGetAppParam(kPreload, 0);
        m_bWeedBox = QvGetAppParam(kWeedBox, 0);
        m_nWeedMargin = QvGetAppParam(kWeedMargin, kDefaultWeedMargin);
        m_bCutObjectsSeparately = QvGetAppParam(kCutObjectsSeparately, 0);
    }
    m_bBrevnar = QvGetAppParam(kBrevnar, 0);
    m_bOptimizeCurves = QvGetAppParam(kOptimizeCurves, 1);
    m_nOrderMode = QvGetAppParam(kOrderMode, eOrderLeastMovement);
    m_bInsideFirst = QvGetAppParam(kInsideFirst, 1);
    m_nStartPointMode = QvGetAppParam(kStartPointMode, eStartUnchanged);
    m_bCutOffAfterFeed = m_nFeedOption != eFeedNone ? QvGetAppParam(kCutOffAfterFeed, 0) : 0;
    if (IsGeneralMode() || m_bItemsSelected)
        m_nCutScope = QvGetAppParam(kCutScope, 0);
}

void StOutputSettings::SaveToReg() const {
    if (IsVELMMode() || IsGeneralMode()) {
        QvSetAppParam(kVelmSheetMode, m_bVelmSheetMode);
        QvSetAppParam(kCutVelmMarks, m_bCutVelmMarks);
    }
    if (IsNormalMode() || IsGeneralMode()) {
        QvSetAppParam(kAutoRotate, m_bAutoRotate);
        QvSetAppParam(kFeedOption, m_nFeedOption);
        QvSetAppParam(kPreload, m_bPreload);
        QvSetAppParam(kWeedBox, m_bWeedBox);
        QvSetAppParam(kWeedMargin, m_nWeedMargin);
        QvSetAppParam(kCutObjectsSeparately, m_bCutObjectsSeparately);
    }
    QvSetAppParam(kBrevnar, m_bBrevnar);
    QvSetAppParam(kOptimizeCurves, m_bOptimizeCurves);
    QvSetAppParam(kOrderMode, m_nOrderMode);
    QvSetAppParam(kInsideFirst, m_bInsideFirst);
    QvSetAppParam(kStartPointMode, m_nStartPointMode);
    if (m_nFeedOption != eFeedNone)
        QvSetAppParam(kCutOffAfterFeed, m_bCutOffAfterFeed);
    if (IsGeneralMode() || m_bItemsSelected)
        QvSetAppParam(kCutScope, m_nCutScope);
}
