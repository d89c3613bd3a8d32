#pragma once
// Root of the class tree: run-time class information and the class registry
// that archives use to create objects by name.

#include <cstdint>
#include <string_view>

class CArchive;
class CObject;

struct CRuntimeClass {
    const char* m_lpszClassName;
    unsigned m_wSchema; // 0xFFFF for classes that are not serialisable
    CObject* (*m_pfnCreateObject)();
    const CRuntimeClass* m_pBaseClass;

    CObject* CreateObject() const;
    bool IsDerivedFrom(const CRuntimeClass* pBaseClass) const;
    bool IsSerializable() const { return m_pfnCreateObject != nullptr; }

    // Registry of serialisable classes, looked up by the name stored in archives.
    static void Register(const CRuntimeClass* pClass);
    static const CRuntimeClass* FromName(std::string_view name);
};

class CObject {
public:
    virtual ~CObject() = default;
    virtual const CRuntimeClass* GetRuntimeClass() const;
    virtual void Serialize(CArchive& ar);
    bool IsKindOf(const CRuntimeClass* pClass) const;

    static const CRuntimeClass classCObject;
};

#define RUNTIME_CLASS(cls) (&cls::class##cls)

#define DECLARE_DYNAMIC(cls)                                                                                 \
public:                                                                                                      \
    static const CRuntimeClass class##cls;                                                                   \
    const CRuntimeClass* GetRuntimeClass() const override;

#define DECLARE_SERIAL(cls)                                                                                  \
    DECLARE_DYNAMIC(cls)                                                                                     \
    static CObject* CreateObject();

#define IMPLEMENT_DYNAMIC(cls, base)                                                                         \
    const CRuntimeClass cls::class##cls = {#cls, 0xFFFF, nullptr, RUNTIME_CLASS(base)};                      \
    const CRuntimeClass* cls::GetRuntimeClass() const {                                                      \
        return RUNTIME_CLASS(cls);                                                                           \
    }

#define IMPLEMENT_SERIAL(cls, base, schema)                                                                  \
    CObject* cls::CreateObject() {                                                                           \
        return new cls;                                                                                      \
    }                                                                                                        \
    const CRuntimeClass cls::class##cls = {#cls, schema, &cls::CreateObject, RUNTIME_CLASS(base)};           \
    const CRuntimeClass* cls::GetRuntimeClass() const {                                                      \
        return RUNTIME_CLASS(cls);                                                                           \
    }                                                                                                        \
    static const bool s_bRegistered##cls = (CRuntimeClass::Register(RUNTIME_CLASS(cls)), true);
