// The choices of one output to the cutter, carried from the cut-output sheet to the send loop and
// kept in the application parameters between sends.
#pragma once

#include "design/output_order.h"

#include <cstdint>

enum eSettingsMode {
    eGeneralMode = 0, // edited without a design and without a cutter
    eNormalMode = 1,  // a send without registration marks
    eVelmMode = 2,    // a send of a design whose registration marks were found
};

// When the cutter feeds the medium on.
enum eFeedOption {
    eFeedNone = 0,
    eFeedAfterJob = 1,
    eFeedAfterCopy = 2,
};

// Exactly 23 signed 32-bit fields, in this order. Lengths are in data units (micrometres).
struct StOutputSettings {
    StOutputSettings(eSettingsMode mode, int itemsSelected);
    StOutputSettings(const StOutputSettings&) = default;
    StOutputSettings& operator=(const StOutputSettings&) = default;

    bool IsVELMMode() const { return m_eMode == eVelmMode; }
    bool IsNormalMode() const { return m_eMode == eNormalMode; }
    bool IsGeneralMode() const { return m_eMode == eGeneralMode; }
    int32_t ItemsSelected() const { return m_bItemsSelected; }

    void LoadFromReg();
    void SaveToReg() const;

    int32_t m_nCopies;
    int32_t m_bBrevnar; // red lines last, as perforation lines
    int32_t m_bOptimizeCurves;
    int32_t m_bAutoRotate;
    int32_t m_bVelmSheetMode;
    int32_t m_bCutOffAfterFeed;
    int32_t m_nFeedOption; // eFeedOption
    int32_t m_bPreload;
    int32_t m_bWeedBox;
    int32_t m_nWeedMargin;
    int32_t m_bTiling;
    int32_t m_nTileOverlap;
    int32_t m_nTileWidth;
    int32_t m_nTileHeight;
    int32_t m_nTileToCut; // -1 all tiles, else the 1-based tile
    int32_t m_nCutScope;  // 0 design, 1 selection, 2 colours of the selection
    int32_t m_bCutObjectsSeparately;
    int32_t m_bCutVelmMarks;
    int32_t m_nOrderMode; // EOrderMode
    int32_t m_bInsideFirst;
    int32_t m_nStartPointMode; // EStartPointMode
    int32_t m_eMode;           // eSettingsMode
    int32_t m_bItemsSelected;
};
static_assert(sizeof(StOutputSettings) == 23 * sizeof(int32_t));
