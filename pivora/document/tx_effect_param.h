// CTxEffectParam: the page's block (id 19) for the transform effect being applied. While an
// effect is previewed or applied it holds the design's top-level articles aside, so that they
// can be put back unchanged.
#pragma once

#include "pivora/param_blk.h"

class CArticle;
class CTxEffect;

class CTxEffectParam : public CParamBlk {
    DECLARE_SERIAL(CTxEffectParam)
public:
    // Record ids of the block's own group.
    static constexpr WORD kRecEnabled = 0;
    static constexpr WORD kRecEffect = 1;
    static constexpr WORD kRecSavedDesign = 2;

    CTxEffectParam();
    ~CTxEffectParam() override;

    int fnIsEnabled() const { return m_bEnabled; }
    void fnEnable(int on) { m_bEnabled = on; }
    CTxEffect* GetEffect() const { return m_pEffect; }
    // Takes ownership; the previous effect is deleted.
    void SetEffect(CTxEffect* effect);
    // Never null: a new block, and a block loaded without one, hold an empty article.
    CArticle* GetSavedDesign() const { return m_pSavedDesign; }

    // Makes block the page's one id-19 block, deleting the one it replaces.
    static CTxEffectParam* fnAddToDoc(CTxEffectParam* block, CJoxPage* page);
    // Moves every top-level article of the page under the saved-design article, in order.
    void fnSaveDesignData(CJoxPage* page);
    // Moves them back to the page's root article.
    void fnRestoreDesignData(CJoxPage* page);

    void Serialize(CArchive& ar) override;

private:
    void LoadGroup(CArchive& ar);

    CTxEffect* m_pEffect = nullptr;
    int m_bEnabled = 0;
    CArticle* m_pSavedDesign = nullptr;
};
