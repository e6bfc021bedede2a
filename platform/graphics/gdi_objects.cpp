#include "platform/graphics/gdi_objects.h"

#include "platform/graphics/dc.h"

#include <cwchar>
#include <map>
#include <memory>

namespace {

// Handles owned by a wrapper, and temporary wrappers made for handles nobody wraps.
std::map<HGDIOBJ, CGdiObject*>& Permanent() {
    static std::map<HGDIOBJ, CGdiObject*> map;
    return map;
}

std::map<HGDIOBJ, std::unique_ptr<CGdiObject>>& Temporary() {
    static std::map<HGDIOBJ, std::unique_ptr<CGdiObject>> map;
    return map;
}

} // namespace

IMPLEMENT_DYNAMIC(CGdiObject, CObject)
IMPLEMENT_DYNAMIC(CPen, CGdiObject)
IMPLEMENT_DYNAMIC(CBrush, CGdiObject)
IMPLEMENT_DYNAMIC(CFont, CGdiObject)
IMPLEMENT_DYNAMIC(CBitmap, CGdiObject)
IMPLEMENT_DYNAMIC(CPalette, CGdiObject)
IMPLEMENT_DYNAMIC(CRgn, CGdiObject)

CGdiObject::~CGdiObject() {
    DeleteObject();
}

BOOL CGdiObject::Attach(HGDIOBJ obj) {
    if (!obj)
        return FALSE;
    if (m_hObject)
        DeleteObject();
    m_hObject = obj;
    Permanent()[obj] = this;
    return TRUE;
}

HGDIOBJ CGdiObject::Detach() {
    HGDIOBJ h = m_hObject;
    if (h) {
        auto it = Permanent().find(h);
        if (it != Permanent().end() && it->second == this)
            Permanent().erase(it);
    }
    m_hObject = nullptr;
    return h;
}

BOOL CGdiObject::DeleteObject() {
    if (!m_hObject)
        return FALSE;
    return ::DeleteObject(Detach());
}

BOOL CGdiObject::CreateStockObject(int index) {
    HGDIOBJ h = GetStockObject(index);
    if (!h)
        return FALSE;
    // Stock objects are shared: wrap without taking ownership in the permanent map.
    if (m_hObject)
        DeleteObject();
    m_hObject = h;
    return TRUE;
}

CGdiObject* CGdiObject::FromHandle(HGDIOBJ obj) {
    if (!obj)
        return nullptr;
    auto it = Permanent().find(obj);
    if (it != Permanent().end())
        return it->second;
    auto& temps = Temporary();
    auto t = temps.find(obj);
    DWORD type = ::GetObjectType(obj);
    if (t != temps.end()) {
        if (t->second->GetObjectType() == type)
            return t->second.get();
        t->second->m_hObject = nullptr;
        temps.erase(t);
    }
    std::unique_ptr<CGdiObject> w;
    switch (type) {
    case OBJ_PEN:
    case OBJ_EXTPEN:
        w = std::make_unique<CPen>();
        break;
    case OBJ_BRUSH:
        w = std::make_unique<CBrush>();
        break;
    case OBJ_FONT:
        w = std::make_unique<CFont>();
        break;
    case OBJ_BITMAP:
        w = std::make_unique<CBitmap>();
        break;
    case OBJ_REGION:
        w = std::make_unique<CRgn>();
        break;
    case OBJ_PAL:
        w = std::make_unique<CPalette>();
        break;
    default:
        w = std::make_unique<CGdiObject>();
        break;
    }
    // A temporary wrapper never deletes the handle it shows.
    w->m_hObject = obj;
    CGdiObject* raw = w.get();
    temps[obj] = std::move(w);
    return raw;
}

void CGdiObject::DeleteTempMap() {
    for (auto& [h, w] : Temporary())
        w->m_hObject = nullptr;
    Temporary().clear();
}

BOOL CFont::CreatePointFont(int pointSize, const wchar_t* face, void*) {
    LOGFONTW lf{};
    // Tenths of a point at 96 pixels per inch, as a character height.
    lf.lfHeight = -MulDiv(pointSize, 96, 720);
    lf.lfWeight = FW_NORMAL;
    if (face)
        wcsncpy(lf.lfFaceName, face, LF_FACESIZE - 1);
    return CreateFontIndirect(&lf);
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
    return Attach(::CreateCompatibleBitmap(dc ? dc->m_hDC : nullptr, width, height));
}
