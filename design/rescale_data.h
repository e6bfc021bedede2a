// CRescaleData: the arithmetic of the Rescale dialog, a plain value copied whole. Sizes are in
// display units (millimetres, or inches with the inch flag); extents in data units
// (micrometres). The new extents keep the centre of the original ones.
#pragma once

#include "pivora/geometry/geometry_types.h"

#include <cstdint>

class CRescaleData {
public:
    // Data units in one display unit.
    static constexpr int kUnitsPerMm = 1000;
    static constexpr int kUnitsPerInch = 25400;
    static constexpr double kInchesPerUnit = 0.00003937008;
    static constexpr double kMmPerUnit = 0.001;
    // One spin step: a hundredth of a display unit, a tenth of a percent.
    static constexpr float kSizeStep = 0.01f;
    static constexpr float kPercentStep = 0.1f;
    // The new extents must stay inside the data range.
    static constexpr LONG kDataLimit = 99999999;

    // Why a new size cannot be applied.
    enum ESizeCheck { eSizeOk = 0, eNothingToRescale, eSizeTooSmall, eSizeTooLarge };

    CRescaleData() = default;
    virtual ~CRescaleData() = default;
    CRescaleData(const CRescaleData&) = default;
    CRescaleData& operator=(const CRescaleData&) = default;

    void SetOrigExtents(CWindow& extents);
    // Computes the new extents from the width and height. They are stored only when the check
    // passes: original extents with a size, and a new size of at least one data unit that stays
    // inside the data range.
    ESizeCheck CalculateNewExtents();
    void GetScaleFactors(double& sx, double& sy) const;

    void UpdateWidth(float w);
    void UpdateHeight(float h);
    void UpdateDeltaWidth(int delta);
    void UpdateDeltaHeight(int delta);
    void UpdateWidthPercentage(float p);
    void UpdateHeightPercentage(float p);
    void UpdateDeltaWidthPercentage(int delta);
    void UpdateDeltaHeightPercentage(int delta);

    CWindow& GetOrigExtents() { return m_OrigExtents; }
    CWindow& GetNewExtents() { return m_NewExtents; }
    float GetWidth() const { return m_fWidth; }
    float GetHeight() const { return m_fHeight; }
    float GetWidthPercentage() const { return m_fWidthPercentage; }
    float GetHeightPercentage() const { return m_fHeightPercentage; }
    int GetSelected() const { return m_bSelected; }
    void SetSelected(int selected) { m_bSelected = selected; }
    int GetCentreScale() const { return m_bCentreScale; }
    void SetCentreScale(int on) { m_bCentreScale = on; }
    void SetInches(int on) { m_bInches = on; }
    int GetInches() const { return m_bInches; }
    void SetAspectRatio(int keep) { m_bAspect = keep; }
    // Original extents with a width and a height: only those can be rescaled.
    bool HasOrigSize() const;

protected:
    CWindow m_NewExtents = CWindow::EmptyExtent();
    int32_t m_bAspect = 1;
    int32_t m_bSelected = 1;
    int32_t m_bCentreScale = 1;
    int32_t m_bPercentageMode = 0;
    int32_t m_bInches = 0;
    float m_fOrigWidth = 0;
    float m_fOrigHeight = 0;
    float m_fAspectRatio = 0;
    float m_fHeightPercentage = 100;
    float m_fWidthPercentage = 100;
    CWindow m_OrigExtents = CWindow::EmptyExtent();
    float m_fWidth = 0;
    float m_fHeight = 0;

private:
    void SetWidthHeight(const CWindow& extents);
    // v / original x 100; 0 for an original without size, which cannot be rescaled anyway.
    static float Percent(float v, float original);
};
