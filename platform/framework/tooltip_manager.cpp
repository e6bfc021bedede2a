#include "platform/framework/tooltip_manager.h"

#include "platform/framework/win_app_ex.h"

IMPLEMENT_DYNAMIC(CTooltipManager, CObject)

void CTooltipManager::SetTooltipParams(UINT types, const CToolTipLook* look) {
    const CToolTipLook chosen = look ? *look : CToolTipLook{};
    for (int kind = 0; kind < kKinds; ++kind)
        if (types & (1u << kind))
            m_looks[size_t(kind)] = chosen;
    m_nSet = look ? (m_nSet | (types & AFX_TOOLTIP_TYPE_ALL)) : (m_nSet & ~types);
    ++m_nRevision;
}

const CToolTipLook* CTooltipManager::FindTooltipParams(UINT type) const {
    for (int kind = 0; kind < kKinds; ++kind)
        if (type & (1u << kind))
            return (m_nSet & (1u << kind)) ? &m_looks[size_t(kind)] : nullptr;
    return nullptr;
}

const CToolTipLook& CTooltipManager::GetTooltipParams(UINT type) const {
    static const CToolTipLook plain{};
    for (int kind = 0; kind < kKinds; ++kind)
        if (type & (1u << kind))
            return m_looks[size_t(kind)];
    return plain;
}

CTooltipManager* AfxGetTooltipManager() {
    auto* app = dynamic_cast<CWinAppEx*>(AfxGetApp());
    return app ? app->GetTooltipManager() : nullptr;
}
