#pragma once
// Lengths on paper: print units of 1/300 inch, their conversion to device
// pixels, and how they are shown and entered in the user's unit.

#include <string>

constexpr int kPrintUnitsPerInch = 300;

// nNumber × nNumerator / nDenominator rounded to the nearest integer (halves
// away from zero) with a 64-bit intermediate; -1 when nDenominator is 0.
int MulDiv(int nNumber, int nNumerator, int nDenominator);

// Print units to device pixels at nDpi, and back.
inline int PrintToDevice(int nUnits, int nDpi) {
    return MulDiv(nUnits, nDpi, kPrintUnitsPerInch);
}
inline int DeviceToPrint(int nPixels, int nDpi) {
    return MulDiv(nPixels, kPrintUnitsPerInch, nDpi);
}

// The unit lengths are shown in: inches, or centimetres where the locale
// measures in metric units. The caller decides which, once per run.
class CMeasureUnit {
public:
    explicit CMeasureUnit(bool bMetric = false) : m_bMetric(bMetric) {}

    bool IsMetric() const { return m_bMetric; }
    double Factor() const { return m_bMetric ? 2.54 : 1.0; }
    // "%.2f" of the length in the unit without trailing zeros or point:
    // 300 shows "1" (or "2.54"), 150 shows "0.5".
    std::string Format(int nUnits) const;
    // A decimal in the unit back to print units (rounded); false when the
    // text is not a number.
    bool Parse(const std::string& text, int& nUnits) const;
    // The unit label: "In." or "Cm.".
    std::string Label() const;

private:
    bool m_bMetric;
};

// Checks an entered length against [nMin, nMax] print units. On failure
// strError is message 1317 with the bounds in the unit.
bool ValidateLength(const CMeasureUnit& unit, const std::string& text, int nMin, int nMax, int& nUnits,
                    std::string& strError);
// The same for whole numbers (rows, columns, pages, percent): bounds as integers.
bool ValidateInteger(const std::string& text, int nMin, int nMax, int& nValue, std::string& strError);
