// histogram FILE [--channel grey|red|green|blue] [--accumulated]
// count-colors FILE

#include "framework/CException.h"
#include "imaging/CTRGBHist.h"
#include "imaging/ColorCount.h"
#include "tool/ToolCommand.h"
#include "tool/ToolPictures.h"

#include <cinttypes>
#include <cstdio>
#include <string>

namespace {

// Integer part and hundredths, as the histogram dialog shows them (the
// hundredths truncated, not rounded).
std::string FormatHundredths(double v) {
    const bool bNegative = v < 0;
    const long long n = static_cast<long long>((bNegative ? -v : v) * 100.0 + 1e-7);
    char text[64];
    std::snprintf(text, sizeof text, "%s%lld.%02lld", bNegative ? "-" : "", n / 100, n % 100);
    return text;
}

int Histogram(const std::vector<std::string>& args) {
    CToolArgs a(args, {"--channel"}, {"--accumulated"});
    a.Expect(1, 1);
    const std::string channel = a.Value("--channel", "grey");
    int nChannel;
    if (channel == "grey")
        nChannel = CTRGBHist::kGrey;
    else if (channel == "red")
        nChannel = CTRGBHist::kRed;
    else if (channel == "green")
        nChannel = CTRGBHist::kGreen;
    else if (channel == "blue")
        nChannel = CTRGBHist::kBlue;
    else
        throw CToolUsageError("--channel takes grey, red, green or blue");
    auto image = LoadPicture(a[0]);
    // The dialog is offered for more than 8 bits or 256-level grey images.
    if (!(image->GetBitCount() > 8 || (image->IsGray() && image->GetGrayLevels() == 256)))
        AfxThrowNotSupportedException();
    CTRGBHist hist(image.get(), true);
    hist.Compute();
    const uint32_t* pCumulative = hist.GetCumulative(nChannel);
    const uint32_t* pShown = a.Has("--accumulated") ? pCumulative : hist.GetHistogram(nChannel);
    const CHistStatistics st = hist.GetStatistics(pShown, pCumulative);
    std::printf("min=%d max=%d mean=%s stddev=%s\n", st.m_nMin, st.m_nMax,
                FormatHundredths(st.m_dMean).c_str(), FormatHundredths(st.m_dStdDev).c_str());
    return kExitOk;
}

int CountColorsCommand(const std::vector<std::string>& args) {
    CToolArgs a(args, {});
    a.Expect(1, 1);
    auto image = LoadPicture(a[0]);
    std::printf("%" PRIu32 "\n", CountColors(*image));
    return kExitOk;
}

} // namespace

ZOZI_TOOL_COMMAND("histogram", "zozi-tool histogram FILE [--channel grey|red|green|blue] [--accumulated]",
                  Histogram)
ZOZI_TOOL_COMMAND("count-colors", "zozi-tool count-colors FILE", CountColorsCommand)
