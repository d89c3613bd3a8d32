#pragma once
// The list of predefined tone curves: every "*.tac" file of the effects
// folder, sorted by the curves' names, with "Original Curve" chosen first.

#include "imaging/CTonalAdjustCurve.h"

#include <string>
#include <vector>

class CPredefinedCurves {
public:
    enum EResult {
        Loaded,
        NoDirectory, // "Tonal Adjustment directory does not exist!"
        NoCurves,    // "No predefined Tonal Adjustment curve found!"
        BadFile,     // a curve file with another signature: the list stays empty
    };

    // Loads the folder's curves; files that cannot be opened are skipped.
    EResult Load(const std::string& strDir);
    // The message shown for a folder without curves (empty for Loaded and BadFile).
    static std::string Message(EResult result);

    const std::vector<CTonalAdjustCurve>& Curves() const { return m_curves; }
    // The first curve whose name begins with "Original Curve" (any case), else
    // the first one; -1 when there is none.
    int DefaultIndex() const;

private:
    std::vector<CTonalAdjustCurve> m_curves;
};
