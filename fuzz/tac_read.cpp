// Reads a tone curve file from arbitrary bytes and, when it loads, computes
// its table. Any input ends in a curve or an archive exception.

#include "framework/CArchive.h"
#include "framework/CException.h"
#include "imaging/CTonalAdjustCurve.h"
#include "imaging/CToneCurve.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CMemFile f(data, size);
    CArchive ar(&f, CArchive::load);
    CTonalAdjustCurve curve;
    try {
        curve.Serialize(ar);
        CToneCurve model;
        model.SetCurve(curve.m_points, curve.m_nSamples, curve.m_nParamMode);
        // Editing near the loaded points exercises the same tables.
        model.Press(curve.m_points[0].x + 1, 300, true);
        model.Drag(-40, 128);
        model.Release(200, -3);
    } catch (const CException&) {
    }
    return 0;
}
