#include "print/PrintUnits.h"

#include "framework/StringTable.h"

#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

int MulDiv(int nNumber, int nNumerator, int nDenominator) {
    if (nDenominator == 0) return -1;
    int64_t p = static_cast<int64_t>(nNumber) * nNumerator;
    int64_t d = nDenominator;
    if (d < 0) {
        p = -p;
        d = -d;
    }
    int64_t q = p >= 0 ? (p + d / 2) / d : -((-p + d / 2) / d);
    if (q > INT32_MAX || q < INT32_MIN) return -1;
    return static_cast<int>(q);
}

std::string CMeasureUnit::Format(int nUnits) const {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.2f", nUnits * Factor() / kPrintUnitsPerInch);
    std::string s = buf;
    if (s.find('.') != std::string::npos) {
        while (!s.empty() && s.back() == '0') s.pop_back();
        if (!s.empty() && s.back() == '.') s.pop_back();
    }
    if (s == "-0") s = "0";
    return s;
}

namespace {

// Parses the whole text (blanks around allowed) as a decimal number.
bool ParseDecimal(const std::string& text, double& value) {
    if (text.empty() || text.size() > 32) return false;
    size_t b = text.find_first_not_of(" \t");
    size_t e = text.find_last_not_of(" \t");
    if (b == std::string::npos) return false;
    std::string t = text.substr(b, e - b + 1);
    for (char c : t)
        if (!((c >= '0' && c <= '9') || c == '.' || c == '-' || c == '+')) return false;
    errno = 0;
    char* end = nullptr;
    value = std::strtod(t.c_str(), &end);
    return end && *end == '\0' && errno == 0 && std::isfinite(value);
}

} // namespace

bool CMeasureUnit::Parse(const std::string& text, int& nUnits) const {
    double v;
    if (!ParseDecimal(text, v)) return false;
    double u = std::round(v * kPrintUnitsPerInch / Factor());
    if (u > INT32_MAX / 2 || u < INT32_MIN / 2) return false;
    nUnits = static_cast<int>(u);
    return true;
}

std::string CMeasureUnit::Label() const {
    return LoadResString(m_bMetric ? 1320 : 1319);
}

bool ValidateLength(const CMeasureUnit& unit, const std::string& text, int nMin, int nMax, int& nUnits,
                    std::string& strError) {
    int v;
    if (unit.Parse(text, v) && v >= nMin && v <= nMax) {
        nUnits = v;
        return true;
    }
    strError = FormatResString2(1317, unit.Format(nMin), unit.Format(nMax));
    return false;
}

bool ValidateInteger(const std::string& text, int nMin, int nMax, int& nValue, std::string& strError) {
    double v;
    if (ParseDecimal(text, v) && v == std::floor(v) && v >= nMin && v <= nMax) {
        nValue = static_cast<int>(v);
        return true;
    }
    strError = FormatResString2(1317, std::to_string(nMin), std::to_string(nMax));
    return false;
}
