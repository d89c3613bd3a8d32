// apply: operations between two pictures (Image1 = IN, Image2 = IN2); the
// result is a new 24-bit picture of Image1's size.

#include "framework/CException.h"
#include "imaging/CTBlend.h"
#include "imaging/CTDifference.h"
#include "imaging/CTMinus.h"
#include "imaging/CTMultiply.h"
#include "imaging/CTPlus.h"
#include "tool/ToolApply.h"
#include "tool/ToolCommand.h"
#include "tool/ToolPictures.h"

namespace {

// Loads Image2 and makes the target; the enhancer offers these only for 24 bits.
std::unique_ptr<CDib> LoadSecond(const CDib& image, const std::string& path, std::unique_ptr<CDib>& target) {
    if (image.GetBitCount() != 24) AfxThrowNotSupportedException();
    auto second = LoadPicture(path);
    target = MakeDestination(image, 24, nullptr);
    return second;
}

int Scale(const CToolArgs& a) {
    return static_cast<int>(CToolArgs::ToInteger(a.Value("--scale", "1"), 1, 2));
}

void Add(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    CToolArgs a(args, {"--scale"}, {"--wrap"});
    a.Expect(1, 1);
    std::unique_ptr<CDib> target;
    auto second = LoadSecond(*image, a[0], target);
    CTPlus(image.get(), second.get(), target.get(), Scale(a), a.Has("--wrap")).Run();
    image = std::move(target);
}

void Subtract(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    CToolArgs a(args, {"--scale"}, {"--wrap"});
    a.Expect(1, 1);
    std::unique_ptr<CDib> target;
    auto second = LoadSecond(*image, a[0], target);
    CTMinus(image.get(), second.get(), target.get(), Scale(a), a.Has("--wrap")).Run();
    image = std::move(target);
}

void Difference(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    CToolArgs a(args, {});
    a.Expect(1, 1);
    std::unique_ptr<CDib> target;
    auto second = LoadSecond(*image, a[0], target);
    CTDifference(image.get(), second.get(), target.get()).Run();
    image = std::move(target);
}

void Multiply(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    CToolArgs a(args, {});
    a.Expect(1, 1);
    std::unique_ptr<CDib> target;
    auto second = LoadSecond(*image, a[0], target);
    CTMultiply(image.get(), second.get(), target.get()).Run();
    image = std::move(target);
}

void Blend(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    CToolArgs a(args, {});
    a.Expect(2, 2);
    const int nPercent = static_cast<int>(CToolArgs::ToInteger(a[1], 0, 100));
    std::unique_ptr<CDib> target;
    auto second = LoadSecond(*image, a[0], target);
    CTBlend(image.get(), second.get(), target.get(), nPercent).Run();
    image = std::move(target);
}

} // namespace

ZOZI_APPLY_OPERATION("add", 2176, "IN2 [--scale 1|2] [--wrap]", Add)
ZOZI_APPLY_OPERATION("subtract", 2177, "IN2 [--scale 1|2] [--wrap]", Subtract)
ZOZI_APPLY_OPERATION("difference", 2178, "IN2", Difference)
ZOZI_APPLY_OPERATION("multiply", 2179, "IN2", Multiply)
ZOZI_APPLY_OPERATION("blend", 2180, "IN2 PERCENT", Blend)
