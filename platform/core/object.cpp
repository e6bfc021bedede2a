#include "platform/core/object.h"

#include "platform/core/cstring.h"

#include <map>
#include <string>

namespace {

// Class names are exact, case-sensitive identifiers.
std::map<std::string, CRuntimeClass*>& Registry() {
    static std::map<std::string, CRuntimeClass*> registry;
    return registry;
}

} // namespace

CRuntimeClass CObject::classCObject = {"CObject", int(sizeof(CObject)), 0xFFFF, nullptr, nullptr};
static CRuntimeClassRegistrar g_registerCObject(&CObject::classCObject);

namespace platform::detail {
// Set while an archive loads, so that it forgets objects deleted before it is done.
void (*g_objectDeleted)(CObject*) = nullptr;
} // namespace platform::detail

CObject::~CObject() {
    if (platform::detail::g_objectDeleted)
        platform::detail::g_objectDeleted(this);
}

CRuntimeClass* CObject::GetRuntimeClass() const {
    return &classCObject;
}

void CObject::Serialize(CArchive&) {}

bool CObject::IsKindOf(const CRuntimeClass* cls) const {
    return GetRuntimeClass()->IsDerivedFrom(cls);
}

CRuntimeClassRegistrar::CRuntimeClassRegistrar(CRuntimeClass* cls) : m_class(cls) {
    Registry()[cls->m_lpszClassName] = cls;
}

CRuntimeClassRegistrar::~CRuntimeClassRegistrar() {
    auto& registry = Registry();
    auto it = registry.find(m_class->m_lpszClassName);
    if (it != registry.end() && it->second == m_class)
        registry.erase(it);
}

CObject* CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* base) const {
    for (const CRuntimeClass* c = this; c; c = c->m_pBaseClass)
        if (c == base)
            return true;
    return false;
}

CRuntimeClass* CRuntimeClass::FromName(const char* className) {
    if (!className)
        return nullptr;
    auto& registry = Registry();
    auto it = registry.find(className);
    return it == registry.end() ? nullptr : it->second;
}

CRuntimeClass* CRuntimeClass::FromName(const wchar_t* className) {
    return FromName(ToUtf8(className).c_str());
}

CObject* CRuntimeClass::CreateObject(const char* className) {
    CRuntimeClass* cls = FromName(className);
    return cls ? cls->CreateObject() : nullptr;
}

CObject* CRuntimeClass::CreateObject(const wchar_t* className) {
    CRuntimeClass* cls = FromName(className);
    return cls ? cls->CreateObject() : nullptr;
}
