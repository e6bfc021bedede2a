// CObject and its run-time class records. Records register themselves by name when their shared
// library loads, so a class of any deliverable can be created by name while a file loads.
#pragma once

#include "platform/core/types.h"

class CArchive;
class CObject;

struct CRuntimeClass {
    const char* m_lpszClassName;
    int m_nObjectSize;
    UINT m_wSchema; // 0xFFFF: not serializable
    CObject* (*m_pfnCreateObject)();
    CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const;
    bool IsDerivedFrom(const CRuntimeClass* base) const;
    bool IsSerializable() const { return m_wSchema != 0xFFFF; }

    // The registered class of that name, or null.
    static CRuntimeClass* FromName(const char* className);
    static CRuntimeClass* FromName(const wchar_t* className);
    static CObject* CreateObject(const char* className);
    static CObject* CreateObject(const wchar_t* className);
};

// Adds a class record to the registry; the IMPLEMENT macros do this at load time.
struct CRuntimeClassRegistrar {
    explicit CRuntimeClassRegistrar(CRuntimeClass* cls);
    ~CRuntimeClassRegistrar();
    CRuntimeClass* m_class;
};

class CObject {
public:
    static CRuntimeClass classCObject;
    static CRuntimeClass* GetThisClass() { return &classCObject; }
    virtual CRuntimeClass* GetRuntimeClass() const;
    virtual ~CObject();
    virtual void Serialize(CArchive& ar);
    virtual void AssertValid() const {}
    // An object whose load failed is deleted through this, so that a class whose load links
    // objects it does not own yet (a row of siblings) can free them as well.
    virtual void DeleteAfterFailedLoad() { delete this; }

    bool IsKindOf(const CRuntimeClass* cls) const;
    bool IsSerializable() const { return GetRuntimeClass()->IsSerializable(); }

protected:
    CObject() = default;
    CObject(const CObject&) = default;
    CObject& operator=(const CObject&) = default;
};

#define RUNTIME_CLASS(class_name) (&class_name::class##class_name)

#define DECLARE_DYNAMIC(class_name)                                                                \
public:                                                                                            \
    static CRuntimeClass class##class_name;                                                        \
    static CRuntimeClass* GetThisClass() {                                                         \
        return &class##class_name;                                                                 \
    }                                                                                              \
    CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_DYNCREATE(class_name)                                                              \
    DECLARE_DYNAMIC(class_name)                                                                    \
    static CObject* CreateObject();

#define DECLARE_SERIAL(class_name) DECLARE_DYNCREATE(class_name)

#define KELVANE_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, factory)               \
    CRuntimeClass class_name::class##class_name = {#class_name, int(sizeof(class_name)), schema,   \
                                                   factory, RUNTIME_CLASS(base_class_name)};       \
    static CRuntimeClassRegistrar _kelvane_register_##class_name(RUNTIME_CLASS(class_name));       \
    CRuntimeClass* class_name::GetRuntimeClass() const {                                           \
        return RUNTIME_CLASS(class_name);                                                          \
    }

#define IMPLEMENT_DYNAMIC(class_name, base_class_name)                                             \
    KELVANE_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, nullptr)

#define IMPLEMENT_DYNCREATE(class_name, base_class_name)                                           \
    CObject* class_name::CreateObject() {                                                          \
        return new class_name;                                                                     \
    }                                                                                              \
    KELVANE_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, 0xFFFF, class_name::CreateObject)

#define IMPLEMENT_SERIAL(class_name, base_class_name, schema)                                      \
    CObject* class_name::CreateObject() {                                                          \
        return new class_name;                                                                     \
    }                                                                                              \
    KELVANE_IMPLEMENT_RUNTIMECLASS(class_name, base_class_name, schema, class_name::CreateObject)

// The object as a pointer to the class, or null when it is of another class.
template <class T> T* DynamicDowncast(CObject* obj) {
    return obj && obj->IsKindOf(T::GetThisClass()) ? static_cast<T*>(obj) : nullptr;
}
template <class T> const T* DynamicDowncast(const CObject* obj) {
    return obj && obj->IsKindOf(T::GetThisClass()) ? static_cast<const T*>(obj) : nullptr;
}
#define DYNAMIC_DOWNCAST(class_name, object) DynamicDowncast<class_name>(object)
#define STATIC_DOWNCAST(class_name, object) static_cast<class_name*>(object)
