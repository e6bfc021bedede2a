// CTxEffect: a geometric operation attached to an article that maps points, items and whole
// articles. The base is the identity; derived effects do the work.
#pragma once

#include "pivora/geometry/geometry_types.h"
#include "platform/core/crect.h"
#include "platform/core/object.h"

class CArticle;
class CItem;

class CTxEffect : public CObject {
    DECLARE_SERIAL(CTxEffect)
public:
    static constexpr DWORD kEnabledBit = 0x4;
    static constexpr WORD kRecProperties = 0;

    CTxEffect() = default;
    ~CTxEffect() override = default;
    CTxEffect(const CTxEffect&) = delete;
    CTxEffect& operator=(const CTxEffect&) = delete;

    virtual void Xform(int x, int y, int& outX, int& outY);
    // A new array of mapped points (freed by the caller with array delete), or null.
    virtual CPoint* Xform(CPoint* points, int n, int& count);
    virtual CLpoint* Xform(CLpoint* points, int n, int& count);
    virtual CItem* Xform(CItem* item);
    virtual CArticle* Xform(CArticle* article, int flags);
    virtual CObject* CopyObject(CObject* target);
    void Serialize(CArchive& ar) override;

    DWORD GetProperties() const { return m_dwProperties; }
    void SetProperties(DWORD w) { m_dwProperties = w; }
    int GetProperty(DWORD mask) const { return (m_dwProperties & mask) ? 1 : 0; }
    void SetProperty(DWORD mask) { m_dwProperties |= mask; }
    void ClrProperty(DWORD mask) { m_dwProperties &= ~mask; }
    void SetEnabled() { SetProperty(kEnabledBit); }
    void SetDisabled() { ClrProperty(kEnabledBit); }
    DWORD IsEnabled() const { return m_dwProperties & kEnabledBit; }

protected:
    DWORD m_dwProperties = 0;
};
