#include "imaging/ops/COperationTable.h"

#include "framework/CException.h"
#include "imaging/CDib.h"
#include "imaging/ops/OpCalls.h"

#include <climits>

namespace {

using R = EEnableRule;
using A = EOpArgType;

constexpr double kIntMin = INT_MIN, kIntMax = INT_MAX;

COperation Make(unsigned id, const char* text, EEnableRule rule) {
    COperation op;
    op.m_nCommandId = id;
    op.m_pszMenuText = text;
    op.m_enable = rule;
    return op;
}

COperation View(unsigned id, const char* text, EEnableRule rule, ECheckRule check = ECheckRule::None) {
    COperation op = Make(id, text, rule);
    op.m_check = check;
    return op;
}

COperation Zoom(unsigned id, const char* text, int nZoom) {
    COperation op = View(id, text, R::ZoomCommand, ECheckRule::Zoom);
    op.m_nZoom = nZoom;
    return op;
}

COperation Op(unsigned id, const char* text, EEnableRule rule, EOpResult result, const char* tool,
              OpCall call, std::vector<COpArg> args = {}, bool bDialog = false) {
    COperation op = Make(id, text, rule);
    op.m_bDialog = bDialog;
    op.m_result = result;
    op.m_pszToolName = tool;
    op.m_args = std::move(args);
    op.m_call = call;
    return op;
}

COperation Dlg(unsigned id, const char* text, EEnableRule rule, EOpResult result, const char* tool,
               OpCall call, std::vector<COpArg> args) {
    return Op(id, text, rule, result, tool, call, std::move(args), true);
}

COperation Word(unsigned id, const char* text, EEnableRule rule, const char* tool, const char* word,
                OpCall call) {
    COperation op = Op(id, text, rule, EOpResult::InPlace, tool, call);
    op.m_pszToolWord = word;
    return op;
}

const COpArg kChannel{"--channel", A::Choice, 0, 0, "red|green|blue|all", "all"};
const COpArg kChannels{"--channels", A::Channels, 0, 0, "rgb", "rgb"};
const COpArg kIn2{"IN2", A::Picture};
const COpArg kArithScale{"--scale", A::Integer, 1, 2, "1|2", "1"};
const COpArg kWrap{"--wrap", A::Flag};

std::vector<COperation> MakeTable() {
    using E = EOpResult;
    using C = ECheckRule;
    std::vector<COperation> t = {
        // Edit
        View(57643, "&Undo\tCtrl+Z", R::CanUndo),
        View(57644, "&Redo\tCtrl+A", R::CanRedo),
        View(57634, "&Copy\tCtrl+C", R::Image),
        View(57637, "&Paste\tCtrl+V", R::Clipboard),
        View(2184, "&Duplicate", R::Image),
        // View
        View(2060, "Actual &View (1:1)", R::Image, C::ActualSize),
        View(2127, "&Full Screen\tF4", R::Always),
        Zoom(2080, "2x", 2),
        Zoom(2062, "3x", 3),
        Zoom(2063, "4x", 4),
        Zoom(2064, "5x", 5),
        Zoom(2065, "6x", 6),
        Zoom(2066, "7x", 7),
        Zoom(2067, "8x", 8),
        Zoom(2069, "9x", 9),
        Zoom(2068, "10x", 10),
        Zoom(2086, nullptr, 11),
        Zoom(2087, nullptr, 12),
        Zoom(2088, nullptr, 13),
        Zoom(2089, nullptr, 14),
        Zoom(2090, nullptr, 15),
        Zoom(2091, nullptr, 16),
        Zoom(2071, "1/2x", -2),
        Zoom(2072, "1/3x", -3),
        Zoom(2073, "1/4x", -4),
        Zoom(2074, "1/5x", -5),
        Zoom(2075, "1/6x", -6),
        Zoom(2076, "1/7x", -7),
        Zoom(2077, "1/8x", -8),
        Zoom(2078, "1/9x", -9),
        Zoom(2079, "1/10x", -10),
        Zoom(2092, nullptr, -11),
        Zoom(2093, nullptr, -12),
        Zoom(2094, nullptr, -13),
        Zoom(2095, nullptr, -14),
        Zoom(2096, nullptr, -15),
        Zoom(2097, nullptr, -16),
        View(2059, "Fit to &Window", R::Image, C::Fit),
        View(2039, "&Image Information...", R::Image),
        View(2119, "&Count Colors", R::Image),
        // Geometry
        Dlg(2038, "&Scale...", R::BitsAtLeast8, E::NewImage, "scale", OpCalls::Scale,
            {{"W", A::Integer, 1, 9999},
             {"H", A::Integer, 1, 9999},
             {"--quality", A::Choice, 0, 0, "low|medium|high", "low"}}),
        Dlg(2058, "C&rop...", R::CropCommand, E::NewImage, "crop", OpCalls::Crop,
            {{"LEFT", A::Integer, -1e9, 1e9},
             {"TOP", A::Integer, -1e9, 1e9},
             {"RIGHT", A::Integer, -1e9, 1e9},
             {"BOTTOM", A::Integer, -1e9, 1e9}}),
        Op(2034, "90 &Clockwise", R::Bits24, E::NewImage, "rotate-cw", OpCalls::Rotate90CW),
        Op(2035, "90 C&ounter Clockwise", R::Bits24, E::NewImage, "rotate-ccw", OpCalls::Rotate90CCW),
        Op(2036, "1&80 ", R::Bits24, E::NewImage, "rotate-180", OpCalls::Rotate180),
        Dlg(2037, "&Arbitrary...", R::Bits24, E::NewImage, "rotate", OpCalls::Rotate,
            {{"ANGLE", A::Number, 0, 360}, {"--clockwise", A::Flag}}),
        Op(2031, "&Mirror", R::Bits24, E::NewImage, "mirror", OpCalls::Mirror),
        Op(2032, "&Flip", R::Bits24, E::NewImage, "flip", OpCalls::Flip),
        Op(2033, "&Transpose Left", R::Bits24, E::NewImage, "transpose", OpCalls::Transpose),
        // Colors
        Dlg(2197, "&Color Curve...", R::Bits24, E::InPlace, "curve", OpCalls::Curve,
            {{"FILE.tac", A::File}, kChannel}),
        Dlg(2085, "&Hue/Saturation...", R::Bits24, E::InPlace, "hue-saturation", OpCalls::HueSaturation,
            {{"H", A::Integer, kIntMin, kIntMax},
             {"S", A::Integer, kIntMin, kIntMax},
             {"L", A::Integer, kIntMin, kIntMax}}),
        Dlg(2027, "&Brightness/Contrast...", R::Bits24, E::InPlace, "brightness-contrast",
            OpCalls::BrightnessContrast,
            {{"B", A::Integer, kIntMin, kIntMax},
             {"C", A::Integer, kIntMin, kIntMax},
             {"GAMMASTEP", A::Integer, kIntMin, kIntMax},
             kChannel}),
        View(2173, "&Show...", R::Histogram),
        Op(2174, "&Equalize", R::Bits24, E::InPlace, "equalize", OpCalls::Equalize),
        Word(2123, "&Pseudo Color", R::FullGrey, "false-color", "pseudo", OpCalls::PseudoColor),
        Word(2124, "&Spectrum", R::FullGrey, "false-color", "spectrum", OpCalls::Spectrum),
        Word(2125, "&Fire Sky", R::FullGrey, "false-color", "fire-sky", OpCalls::FireSky),
        Dlg(2028, "&Negative...", R::BitsOver8, E::InPlace, "negative", OpCalls::Negative, {kChannels}),
        Dlg(2029, "&Posterize...", R::BitsOver8, E::InPlace, "posterize", OpCalls::Posterize,
            {{"LEVELS", A::Integer, kIntMin, kIntMax}, kChannels}),
        Dlg(2030, "&Solarize...", R::BitsOver8, E::InPlace, "solarize", OpCalls::Solarize,
            {{"THRESHOLD", A::Integer, 0, 255}, {"--darken", A::Flag}}),
        // Change Depth
        Op(2126, "Black && &White (1-bit Pattern)", R::Bits8, E::NewImage, "bw-pattern", OpCalls::BwPattern),
        Op(2052, "&Black && White (1-bit Threshold)", R::Bits8, E::NewImage, "bw-threshold",
           OpCalls::BwThreshold),
        Op(2046, "&Grayscale (8-bit - 256 Shades) ", R::BitsAtLeast8, E::NewImage, "grayscale",
           OpCalls::Grayscale),
        Op(2051, "Gra&yscale Palette (8-bit - 256 Shades) ", R::Bits8, E::InPlace, "grayscale-palette",
           OpCalls::GrayscalePalette),
        Op(2054, "Indexed 16-color (4-bit Diffused)", R::BitsAtLeast4, E::NewImage, "indexed16-diffused",
           OpCalls::Indexed16Diffused),
        Op(2056, "Indexed 8-color (4-bit Pattern)", R::BitsAtLeast8, E::NewImage, "indexed8-pattern",
           OpCalls::Indexed8Pattern),
        Op(2049, "I&ndexed 256-color (8-bit Pattern)", R::BitsAtLeast8, E::NewImage, "indexed256-pattern",
           OpCalls::Indexed256Pattern),
        Op(2055, "In&dexed 256-color (8-bit Diffusion)", R::BitsAtLeast8, E::NewImage, "indexed256-diffused",
           OpCalls::Indexed256Diffused),
        Dlg(2120, "&Adaptive 256-Color (8-bit)...", R::BitsOver8, E::NewImage, "adaptive256",
            OpCalls::Adaptive256,
            {{"COLORS", A::Integer, 8, 256}, {"--system-colors", A::Flag}, {"--dither", A::Flag}}),
        Op(2050, "RGB True &Color (24-bit)", R::BitsNot24, E::NewImage, "truecolor", OpCalls::TrueColor),
        // Effects
        Dlg(2201, "&Warp...", R::Bits24, E::NewImage, "warp", OpCalls::Warp,
            {{"MESH.wms", A::File}, {"--high-quality", A::Flag}}),
        Op(2164, "&Emboss", R::Bits24, E::NewImage, "emboss", OpCalls::Emboss),
        Op(2186, "&Thin", R::Bits24, E::NewImage, "edge-thin", OpCalls::EdgeThin),
        Op(2187, "T&hick", R::Bits24, E::NewImage, "edge-thick", OpCalls::EdgeThick),
        Op(2188, "&Horizontal", R::Bits24, E::NewImage, "edge-horizontal", OpCalls::EdgeHorizontal),
        Op(2189, "&Vertical", R::Bits24, E::NewImage, "edge-vertical", OpCalls::EdgeVertical),
        Op(2190, "High&light Edges", R::Bits24, E::NewImage, "edge-highlight", OpCalls::EdgeHighlight),
        Op(2165, "&Slightly", R::Bits24, E::NewImage, "blur-slight", OpCalls::BlurSlight),
        Op(2166, "&More", R::Bits24, E::NewImage, "blur-more", OpCalls::BlurMore),
        Op(2167, "&Heavily", R::Bits24, E::NewImage, "blur-heavy", OpCalls::BlurHeavy),
        Dlg(2196, "Gaussian...", R::Bits24, E::NewImage, "gaussian", OpCalls::Gaussian,
            {{"RADIUS", A::Integer, 0, 50}}),
        Op(2168, "&Slightly", R::Bits24, E::NewImage, "sharpen-slight", OpCalls::SharpenSlight),
        Op(2169, "&More", R::Bits24, E::NewImage, "sharpen-more", OpCalls::SharpenMore),
        Op(2170, "&Heavily", R::Bits24, E::NewImage, "sharpen-heavy", OpCalls::SharpenHeavy),
        Op(2171, "M&in", R::Bits24, E::NewImage, "min", OpCalls::Minimum),
        Op(2194, "M&ax", R::Bits24, E::NewImage, "max", OpCalls::Maximum),
        Op(2195, "M&edian", R::Bits24, E::NewImage, "median", OpCalls::Median),
        // Two pictures: the result opens in a new window
        Dlg(2176, "&Add...", R::Bits24, E::NewWindow, "add", OpCalls::Add, {kIn2, kArithScale, kWrap}),
        Dlg(2177, "&Subtract...", R::Bits24, E::NewWindow, "subtract", OpCalls::Subtract,
            {kIn2, kArithScale, kWrap}),
        Dlg(2178, "Difference...", R::Bits24, E::NewWindow, "difference", OpCalls::Difference, {kIn2}),
        Dlg(2179, "&Multiply...", R::Bits24, E::NewWindow, "multiply", OpCalls::Multiply, {kIn2}),
        Dlg(2180, "&Blend...", R::Bits24, E::NewWindow, "blend", OpCalls::Blend,
            {kIn2, {"PERCENT", A::Integer, 0, 100}}),
        // Wallpaper and tools
        View(2192, "&Center", R::Image),
        View(2193, "&Tile", R::Image),
        View(2116, nullptr, R::ZoomCommand, C::ZoomTool),
        View(2118, nullptr, R::ActualSize, C::CropTool),
    };
    return t;
}

bool IsFullGrey(const CDib& image) {
    return image.IsGray() && image.GetBitCount() == 8 && image.GetGrayLevels() == 256;
}

} // namespace

const std::vector<COperation>& COperationTable::All() {
    static const std::vector<COperation> s_table = MakeTable();
    return s_table;
}

const COperation* COperationTable::FindById(unsigned nCommandId) {
    for (const COperation& op : All())
        if (op.m_nCommandId == nCommandId) return &op;
    return nullptr;
}

std::vector<const COperation*> COperationTable::FindByToolName(const std::string& name) {
    std::vector<const COperation*> found;
    for (const COperation& op : All())
        if (op.m_pszToolName && name == op.m_pszToolName) found.push_back(&op);
    return found;
}

bool COperationTable::IsEnabled(const COperation& op, const CDib* pImage, const CEnhancerViewState& view) {
    switch (op.m_enable) {
    case R::Always:
        return true;
    case R::Clipboard:
        return view.m_bClipboardHasPicture;
    default:
        break;
    }
    if (!pImage) return false;
    const int nBits = pImage->GetBitCount();
    const bool bActualSize = view.m_nZoom == 1 && !view.m_bFitToWindow;
    switch (op.m_enable) {
    case R::Image:
        return true;
    case R::CanUndo:
        return view.m_bCanUndo;
    case R::CanRedo:
        return view.m_bCanRedo;
    case R::ZoomCommand:
        return view.m_tool != EEnhancerTool::Crop;
    case R::ActualSize:
        return bActualSize;
    case R::BitsAtLeast4:
        return nBits >= 4;
    case R::BitsAtLeast8:
        return nBits >= 8;
    case R::BitsOver8:
        return nBits > 8;
    case R::Bits8:
        return nBits == 8;
    case R::Bits24:
        return nBits == 24;
    case R::BitsNot24:
        return nBits != 24;
    case R::CropCommand:
        return nBits > 8 && bActualSize;
    case R::Histogram:
        return nBits > 8 || IsFullGrey(*pImage);
    case R::FullGrey:
        return IsFullGrey(*pImage);
    case R::Always:
    case R::Clipboard:
        break;
    }
    return false;
}

bool COperationTable::IsChecked(const COperation& op, const CDib* pImage, const CEnhancerViewState& view) {
    switch (op.m_check) {
    case ECheckRule::None:
        return false;
    case ECheckRule::ActualSize:
        return pImage && view.m_nZoom == 1 && !view.m_bFitToWindow;
    case ECheckRule::Zoom:
        return !view.m_bFitToWindow && view.m_nZoom == op.m_nZoom;
    case ECheckRule::Fit:
        return view.m_bFitToWindow;
    case ECheckRule::ZoomTool:
        return view.m_tool == EEnhancerTool::Zoom;
    case ECheckRule::CropTool:
        return view.m_tool == EEnhancerTool::Crop;
    }
    return false;
}

void COperationTable::Run(const COperation& op, COpContext& ctx) {
    if (!op.m_call || !ctx.m_image) AfxThrowNotSupportedException();
    if (!IsEnabled(op, ctx.m_image.get(), CEnhancerViewState())) AfxThrowNotSupportedException();
    op.m_call(ctx);
}
