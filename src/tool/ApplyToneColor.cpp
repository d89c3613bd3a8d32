// apply: tone and colour operations of the enhancer's "Colors" menu
// (brightness/contrast, hue/saturation, negative, posterize, solarize,
// equalize), with the depth each menu entry requires.

#include "framework/CException.h"
#include "imaging/CPointProcess.h"
#include "imaging/CSolarize.h"
#include "imaging/CTComplement.h"
#include "imaging/CTPosterize.h"
#include "imaging/CTRGBHist.h"
#include "imaging/PointTables.h"
#include "tool/ToolApply.h"
#include "tool/ToolCommand.h"

#include <climits>

namespace {

void Require(bool bEnabled) {
    if (!bEnabled) AfxThrowNotSupportedException();
}

int ToInt(const std::string& text) {
    return static_cast<int>(CToolArgs::ToInteger(text, INT_MIN, INT_MAX));
}

// --channels: the letters of the ticked channels, all when absent.
void ParseChannels(const CToolArgs& a, bool& bRed, bool& bGreen, bool& bBlue) {
    if (!a.Has("--channels")) {
        bRed = bGreen = bBlue = true;
        return;
    }
    bRed = bGreen = bBlue = false;
    for (char c : a.Value("--channels")) {
        if (c == 'r')
            bRed = true;
        else if (c == 'g')
            bGreen = true;
        else if (c == 'b')
            bBlue = true;
        else
            throw CToolUsageError("--channels takes the letters r, g and b");
    }
}

void BrightnessContrast(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    CToolArgs a(args, {"--channel"});
    a.Expect(3, 3);
    const int nMask = ChannelMaskOption(a);
    Require(image->GetBitCount() == 24);
    CPointProcess(image.get()).ApplyBrightnessContrast(ToInt(a[0]), ToInt(a[1]), ToInt(a[2]), nMask);
}

void HueSaturation(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    CToolArgs a(args, {});
    a.Expect(3, 3);
    Require(image->GetBitCount() == 24);
    CPointProcess(image.get()).ApplyHueSaturation(ToInt(a[0]), ToInt(a[1]), ToInt(a[2]));
}

void Negative(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    CToolArgs a(args, {"--channels"});
    a.Expect(0, 0);
    bool bRed, bGreen, bBlue;
    ParseChannels(a, bRed, bGreen, bBlue);
    Require(image->GetBitCount() > 8);
    CTComplement(image.get(), image.get(), bRed, bGreen, bBlue).Run();
}

void Posterize(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    CToolArgs a(args, {"--channels"});
    a.Expect(1, 1);
    bool bRed, bGreen, bBlue;
    ParseChannels(a, bRed, bGreen, bBlue);
    Require(image->GetBitCount() > 8);
    CTPosterize(image.get(), image.get(), bRed, bGreen, bBlue, ToInt(a[0])).Run();
}

void Solarize(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    CToolArgs a(args, {}, {"--darken"});
    a.Expect(1, 1);
    const int nThreshold = static_cast<int>(CToolArgs::ToInteger(a[0], 0, 255));
    Require(image->GetBitCount() > 8);
    CSolarize(image.get(), image.get(), a.Has("--darken") ? kSolarizeDarken : kSolarizeLighten, nThreshold)
        .Run();
}

void Equalize(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    CToolArgs a(args, {});
    a.Expect(0, 0);
    Require(image->GetBitCount() == 24);
    CTRGBHist(image.get(), true).Equalize();
}

} // namespace

ZOZI_APPLY_OPERATION("brightness-contrast", 2027, "B C GAMMASTEP [--channel red|green|blue|all]",
                     BrightnessContrast)
ZOZI_APPLY_OPERATION("hue-saturation", 2085, "H S L", HueSaturation)
ZOZI_APPLY_OPERATION("negative", 2028, "[--channels rgb]", Negative)
ZOZI_APPLY_OPERATION("posterize", 2029, "LEVELS [--channels rgb]", Posterize)
ZOZI_APPLY_OPERATION("solarize", 2030, "THRESHOLD [--darken]", Solarize)
ZOZI_APPLY_OPERATION("equalize", 2174, "", Equalize)
