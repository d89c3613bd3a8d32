// The operation table's enable rules against the enhancer's command table,
// written out by hand, and its argument declarations.

#include "framework/CException.h"
#include "imaging/CDib.h"
#include "imaging/FixedPalettes.h"
#include "imaging/ops/COperationTable.h"
#include "imaging/ops/OpCalls.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace {

// Pictures of each depth: 1-bit black and white (a grey image of 2 levels),
// 4-bit 16 colours, 8-bit grey, 8-bit colour, 16, 24 and 32 bits.
std::vector<std::unique_ptr<CDib>> Pictures() {
    std::vector<std::unique_ptr<CDib>> p;
    p.push_back(std::make_unique<CDib>(4, 3, 1, 2, GetBWPalette()));
    p.push_back(std::make_unique<CDib>(4, 4, 3, GetSixteenColorPalette()));
    p.push_back(std::make_unique<CDib>(4, 3, 8, 256, nullptr));
    p.push_back(std::make_unique<CDib>(8, 4, 3, GetDisplayPalette()));
    p.push_back(std::make_unique<CDib>(16, 4, 3, nullptr));
    p.push_back(std::make_unique<CDib>(24, 4, 3, nullptr));
    p.push_back(std::make_unique<CDib>(32, 4, 3, nullptr));
    return p;
}

// Enabled at zoom 1, no fit, default tool, nothing to undo, empty clipboard;
// columns 1, 4, 8 grey, 8 colour, 16, 24, 32 bits.
const std::map<unsigned, const char*> kExpected = {
    {57643, "0000000"},
    {57644, "0000000"},
    {57634, "1111111"},
    {57637, "0000000"},
    {2184, "1111111"},
    {2060, "1111111"},
    {2127, "1111111"},
    {2080, "1111111"},
    {2062, "1111111"},
    {2063, "1111111"},
    {2064, "1111111"},
    {2065, "1111111"},
    {2066, "1111111"},
    {2067, "1111111"},
    {2069, "1111111"},
    {2068, "1111111"},
    {2086, "1111111"},
    {2087, "1111111"},
    {2088, "1111111"},
    {2089, "1111111"},
    {2090, "1111111"},
    {2091, "1111111"},
    {2071, "1111111"},
    {2072, "1111111"},
    {2073, "1111111"},
    {2074, "1111111"},
    {2075, "1111111"},
    {2076, "1111111"},
    {2077, "1111111"},
    {2078, "1111111"},
    {2079, "1111111"},
    {2092, "1111111"},
    {2093, "1111111"},
    {2094, "1111111"},
    {2095, "1111111"},
    {2096, "1111111"},
    {2097, "1111111"},
    {2059, "1111111"},
    {2039, "1111111"},
    {2119, "1111111"},
    {2038, "0011111"}, // Scale: bits >= 8
    {2058, "0000111"}, // Crop: bits > 8
    {2034, "0000010"},
    {2035, "0000010"},
    {2036, "0000010"},
    {2037, "0000010"},
    {2031, "0000010"},
    {2032, "0000010"},
    {2033, "0000010"},
    {2197, "0000010"},
    {2085, "0000010"},
    {2027, "0000010"},
    {2173, "0010111"}, // Histogram: bits > 8 or 256-level grey
    {2174, "0000010"},
    {2123, "0010000"},
    {2124, "0010000"},
    {2125, "0010000"}, // false colour: 256-level
                       // grey
    {2028, "0000111"},
    {2029, "0000111"},
    {2030, "0000111"},
    {2126, "0011000"},
    {2052, "0011000"},
    {2046, "0011111"},
    {2051, "0011000"},
    {2054, "0111111"},
    {2056, "0011111"},
    {2049, "0011111"},
    {2055, "0011111"},
    {2120, "0000111"},
    {2050, "1111101"},
    {2201, "0000010"},
    {2164, "0000010"},
    {2186, "0000010"},
    {2187, "0000010"},
    {2188, "0000010"},
    {2189, "0000010"},
    {2190, "0000010"},
    {2165, "0000010"},
    {2166, "0000010"},
    {2167, "0000010"},
    {2196, "0000010"},
    {2168, "0000010"},
    {2169, "0000010"},
    {2170, "0000010"},
    {2171, "0000010"},
    {2194, "0000010"},
    {2195, "0000010"},
    {2176, "0000010"},
    {2177, "0000010"},
    {2178, "0000010"},
    {2179, "0000010"},
    {2180, "0000010"},
    {2192, "1111111"},
    {2193, "1111111"},
    {2116, "1111111"},
    {2118, "1111111"},
};

bool Enabled(unsigned id, const CDib* p, const CEnhancerViewState& view = {}) {
    const COperation* op = COperationTable::FindById(id);
    EXPECT_NE(op, nullptr) << id;
    return op && COperationTable::IsEnabled(*op, p, view);
}

} // namespace

TEST(OperationTable, EveryCommandOnce) {
    std::set<unsigned> ids;
    for (const COperation& op : COperationTable::All()) {
        EXPECT_TRUE(ids.insert(op.m_nCommandId).second) << op.m_nCommandId;
        EXPECT_TRUE(kExpected.count(op.m_nCommandId)) << op.m_nCommandId;
    }
    EXPECT_EQ(ids.size(), kExpected.size());
}

TEST(OperationTable, EnableRulesByDepth) {
    const auto pictures = Pictures();
    for (const auto& [id, pattern] : kExpected)
        for (size_t i = 0; i < pictures.size(); ++i)
            EXPECT_EQ(Enabled(id, pictures[i].get()), pattern[i] == '1')
                << "command " << id << " picture " << i;
}

TEST(OperationTable, WithoutImageOnlyFullScreenAndPaste) {
    CEnhancerViewState view;
    view.m_bCanUndo = view.m_bCanRedo = true;
    for (const auto& [id, pattern] : kExpected) EXPECT_EQ(Enabled(id, nullptr, view), id == 2127) << id;
    view.m_bClipboardHasPicture = true;
    EXPECT_TRUE(Enabled(57637, nullptr, view));
}

TEST(OperationTable, ViewStateRules) {
    CDib image(24, 4, 3, nullptr);
    CEnhancerViewState view;
    view.m_bCanUndo = true;
    EXPECT_TRUE(Enabled(57643, &image, view));
    EXPECT_FALSE(Enabled(57644, &image, view));
    view.m_bCanRedo = true;
    EXPECT_TRUE(Enabled(57644, &image, view));

    // The crop tool disables zooming; the zoom tool does not.
    view.m_tool = EEnhancerTool::Crop;
    for (unsigned id : {2080u, 2068u, 2091u, 2071u, 2097u, 2116u})
        EXPECT_FALSE(Enabled(id, &image, view)) << id;
    EXPECT_TRUE(Enabled(2118, &image, view));
    EXPECT_TRUE(Enabled(2058, &image, view));
    view.m_tool = EEnhancerTool::Zoom;
    EXPECT_TRUE(Enabled(2080, &image, view));

    // Cropping needs zoom 1 without fit.
    view.m_tool = EEnhancerTool::Default;
    view.m_nZoom = 2;
    EXPECT_FALSE(Enabled(2058, &image, view));
    EXPECT_FALSE(Enabled(2118, &image, view));
    view.m_nZoom = -2;
    EXPECT_FALSE(Enabled(2058, &image, view));
    view.m_nZoom = 1;
    view.m_bFitToWindow = true;
    EXPECT_FALSE(Enabled(2058, &image, view));
    EXPECT_FALSE(Enabled(2118, &image, view));
    EXPECT_TRUE(Enabled(2034, &image, view)); // depth rules ignore the zoom
}

TEST(OperationTable, CheckRules) {
    CDib image(24, 4, 3, nullptr);
    auto checked = [&](unsigned id, const CEnhancerViewState& view) {
        return COperationTable::IsChecked(*COperationTable::FindById(id), &image, view);
    };
    CEnhancerViewState view;
    EXPECT_TRUE(checked(2060, view));
    EXPECT_FALSE(checked(2080, view));
    view.m_nZoom = 9;
    EXPECT_TRUE(checked(2069, view)); // 2069 is 9x, 2068 is 10x
    EXPECT_FALSE(checked(2068, view));
    EXPECT_FALSE(checked(2060, view));
    view.m_nZoom = -10;
    EXPECT_TRUE(checked(2079, view));
    view.m_nZoom = 1;
    view.m_bFitToWindow = true;
    EXPECT_TRUE(checked(2059, view));
    EXPECT_FALSE(checked(2060, view));
    view.m_tool = EEnhancerTool::Crop;
    EXPECT_TRUE(checked(2118, view));
    EXPECT_FALSE(checked(2116, view));
}

TEST(OperationTable, ToolNamesAndUsage) {
    // Each command reachable from the tool has exactly one name, and the
    // usage comes from the argument declaration.
    std::map<std::string, std::string> usage;
    for (const COperation& op : COperationTable::All())
        if (op.m_pszToolName && !op.m_pszToolWord) {
            EXPECT_TRUE(op.m_call);
            EXPECT_TRUE(usage.emplace(op.m_pszToolName, OpUsage(op.m_args)).second) << op.m_pszToolName;
        }
    EXPECT_EQ(usage["scale"], "W H [--quality low|medium|high]");
    EXPECT_EQ(usage["brightness-contrast"], "B C GAMMASTEP [--channel red|green|blue|all]");
    EXPECT_EQ(usage["add"], "IN2 [--scale 1|2] [--wrap]");
    EXPECT_EQ(usage["negative"], "[--channels rgb]");
    EXPECT_EQ(usage["rotate"], "ANGLE [--clockwise]");
    EXPECT_EQ(COperationTable::FindByToolName("false-color").size(), 3u);
    EXPECT_EQ(COperationTable::FindById(2068)->m_nZoom, 10);
    EXPECT_EQ(COperationTable::FindById(2097)->m_nZoom, -16);
}

TEST(OpValues, ParsesByDeclaration) {
    const auto& args = COperationTable::FindById(2038)->m_args;
    COpValues v = COpValues::Parse(args, {"10", "--quality", "high", "20"});
    EXPECT_EQ(v.Int("W"), 10);
    EXPECT_EQ(v.Int("H"), 20);
    EXPECT_EQ(v.Int("--quality"), 2);
    EXPECT_EQ(COpValues::Parse(args, {"1", "9999"}).Int("--quality"), 0); // default low

    EXPECT_THROW(COpValues::Parse(args, {"0", "5"}), COpArgError);     // below the dialog's range
    EXPECT_THROW(COpValues::Parse(args, {"5", "10000"}), COpArgError); // above it
    EXPECT_THROW(COpValues::Parse(args, {"5"}), COpArgError);
    EXPECT_THROW(COpValues::Parse(args, {"5", "5", "5"}), COpArgError);
    EXPECT_THROW(COpValues::Parse(args, {"5", "5", "--quality"}), COpArgError);
    EXPECT_THROW(COpValues::Parse(args, {"5", "5", "--quality", "best"}), COpArgError);
    EXPECT_THROW(COpValues::Parse(args, {"5", "5", "--speed", "1"}), COpArgError);
    EXPECT_THROW(COpValues::Parse(args, {"5x", "5"}), COpArgError);
    EXPECT_THROW(COpValues::Parse(args, {"99999999999999999999", "5"}), COpArgError);

    const auto& rotate = COperationTable::FindById(2037)->m_args;
    EXPECT_DOUBLE_EQ(COpValues::Parse(rotate, {"12.5"}).Number("ANGLE"), 12.5);
    EXPECT_TRUE(COpValues::Parse(rotate, {"1", "--clockwise"}).Has("--clockwise"));
    EXPECT_THROW(COpValues::Parse(rotate, {"360.5"}), COpArgError);
    EXPECT_THROW(COpValues::Parse(rotate, {"nan"}), COpArgError);
    EXPECT_THROW(COpValues::Parse(rotate, {"inf"}), COpArgError);

    const auto& negative = COperationTable::FindById(2028)->m_args;
    EXPECT_EQ(COpValues::Parse(negative, {}).Int("--channels"), 7);
    EXPECT_EQ(COpValues::Parse(negative, {"--channels", "rb"}).Int("--channels"), 5);
    EXPECT_THROW(COpValues::Parse(negative, {"--channels", "rx"}), COpArgError);
}

TEST(OperationTable, RunRefusesDisabledAndReplacesImage) {
    const COpValues none;
    std::unique_ptr<CDib> image = std::make_unique<CDib>(8, 4, 3, GetDisplayPalette());
    COpContext ctx{image, none, {}};
    EXPECT_THROW(COperationTable::Run(*COperationTable::FindById(2034), ctx), CNotSupportedException);
    EXPECT_EQ(image->GetBitCount(), 8); // unchanged

    COperationTable::Run(*COperationTable::FindById(2050), ctx); // to 24 bits: a new image
    EXPECT_EQ(image->GetBitCount(), 24);
    COperationTable::Run(*COperationTable::FindById(2034), ctx); // now the turn runs
    EXPECT_EQ(image->GetWidth(), 3);
    EXPECT_EQ(image->GetHeight(), 4);

    // View-handled commands have no call.
    EXPECT_THROW(COperationTable::Run(*COperationTable::FindById(2060), ctx), CNotSupportedException);
}
