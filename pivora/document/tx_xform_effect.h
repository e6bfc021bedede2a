// CTxXformEffect: a transform effect that applies an affine matrix.
#pragma once

#include "pivora/geometry/mat2d.h"
#include "pivora/tx_effect.h"

class CTxXformEffect : public CTxEffect {
    DECLARE_SERIAL(CTxXformEffect)
public:
    static constexpr WORD kRecMatrix = 0;
    // Nine little-endian doubles m0 .. m8.
    static constexpr DWORD kMatrixBytes = 72;

    CTxXformEffect() = default;

    void SetXform(const CMat2d& m) { m_Matrix = m; }
    void GetXform(CMat2d& m) const { m = m_Matrix; }

    void Xform(int x, int y, int& outX, int& outY) override;
    CPoint* Xform(CPoint* points, int n, int& count) override;
    CLpoint* Xform(CLpoint* points, int n, int& count) override;
    CItem* Xform(CItem* item) override;
    CArticle* Xform(CArticle* article, int flags) override;
    // Copies the matrix only; the target keeps its own properties.
    CObject* CopyObject(CObject* target) override;
    void Serialize(CArchive& ar) override;

private:
    CMat2d m_Matrix;
};

int IsCXformEffect(CObject* o);
