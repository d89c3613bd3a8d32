// Reads strings, numbers and objects of a small serialisable class from
// arbitrary bytes. Every length must be bounded by the data present.

#include "framework/CArchive.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace {

class CFuzzNode : public CObject {
    DECLARE_SERIAL(CFuzzNode)
public:
    ~CFuzzNode() override {
        if (!m_bChildIsReference) delete m_pChild;
    }
    void Serialize(CArchive& ar) override {
        uint16_t w;
        uint32_t d;
        ar >> m_strText >> w >> d;
        static int s_nDepth = 0;
        if (s_nDepth >= 32) return; // nesting is bounded, as any real class bounds it
        ++s_nDepth;
        try {
            m_pChild = ar.ReadObject(RUNTIME_CLASS(CFuzzNode), &m_bChildIsReference);
        } catch (...) {
            --s_nDepth;
            throw;
        }
        --s_nDepth;
    }
    std::string m_strText;
    CObject* m_pChild = nullptr;
    bool m_bChildIsReference = false;
};
IMPLEMENT_SERIAL(CFuzzNode, CObject, 0)

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CMemFile f(data, size);
    CArchive ar(&f, CArchive::load);
    try {
        std::string s;
        uint16_t w;
        ar >> s >> w;
        // Objects read stay alive until the archive is done: later tags may refer back to them.
        std::vector<std::unique_ptr<CObject>> owned;
        for (int i = 0; i < 64; ++i) {
            bool bRef = false;
            CObject* p = ar.ReadObject(RUNTIME_CLASS(CFuzzNode), &bRef);
            if (!bRef) owned.emplace_back(p);
        }
    } catch (const CException&) {
    }
    return 0;
}
