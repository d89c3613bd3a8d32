// Operations between two pictures (Image1 = the image, Image2 = IN2): the
// result is a new 24-bit image of Image1's size.

#include "framework/CException.h"
#include "imaging/CDib.h"
#include "imaging/CTBlend.h"
#include "imaging/CTDifference.h"
#include "imaging/CTMinus.h"
#include "imaging/CTMultiply.h"
#include "imaging/CTPlus.h"
#include "imaging/ops/OpCalls.h"

namespace {

std::unique_ptr<CDib> LoadSecond(COpContext& ctx) {
    if (!ctx.m_loadPicture) AfxThrowNotSupportedException();
    auto second = ctx.m_loadPicture(ctx.m_values.Text("IN2"));
    if (!second) AfxThrowNotSupportedException();
    return second;
}

template <class TOp, class... TArgs> void Arith(COpContext& ctx, TArgs... args) {
    auto second = LoadSecond(ctx);
    auto target = MakeDestination(*ctx.m_image, 24, nullptr);
    TOp(ctx.m_image.get(), second.get(), target.get(), args...).Run();
    ctx.m_image = std::move(target);
}

} // namespace

namespace OpCalls {

void Add(COpContext& ctx) {
    Arith<CTPlus>(ctx, int(ctx.m_values.Int("--scale")), ctx.m_values.Has("--wrap"));
}
void Subtract(COpContext& ctx) {
    Arith<CTMinus>(ctx, int(ctx.m_values.Int("--scale")), ctx.m_values.Has("--wrap"));
}
void Difference(COpContext& ctx) {
    Arith<CTDifference>(ctx);
}
void Multiply(COpContext& ctx) {
    Arith<CTMultiply>(ctx);
}
void Blend(COpContext& ctx) {
    Arith<CTBlend>(ctx, int(ctx.m_values.Int("PERCENT")));
}

} // namespace OpCalls
