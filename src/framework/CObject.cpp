#include "framework/CObject.h"

#include <map>
#include <string>

const CRuntimeClass CObject::classCObject = {"CObject", 0xFFFF, nullptr, nullptr};

const CRuntimeClass* CObject::GetRuntimeClass() const {
    return &classCObject;
}

void CObject::Serialize(CArchive&) {}

bool CObject::IsKindOf(const CRuntimeClass* pClass) const {
    return GetRuntimeClass()->IsDerivedFrom(pClass);
}

CObject* CRuntimeClass::CreateObject() const {
    return m_pfnCreateObject ? m_pfnCreateObject() : nullptr;
}

bool CRuntimeClass::IsDerivedFrom(const CRuntimeClass* pBaseClass) const {
    for (const CRuntimeClass* p = this; p; p = p->m_pBaseClass)
        if (p == pBaseClass) return true;
    return false;
}

namespace {
std::map<std::string, const CRuntimeClass*, std::less<>>& Registry() {
    static std::map<std::string, const CRuntimeClass*, std::less<>> s_registry;
    return s_registry;
}
} // namespace

void CRuntimeClass::Register(const CRuntimeClass* pClass) {
    Registry()[pClass->m_lpszClassName] = pClass;
}

const CRuntimeClass* CRuntimeClass::FromName(std::string_view name) {
    auto& reg = Registry();
    auto it = reg.find(name);
    return it == reg.end() ? nullptr : it->second;
}
