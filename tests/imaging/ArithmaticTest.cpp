#include "OperationTestUtil.h"

#include "framework/CException.h"
#include "imaging/CSolarize.h"
#include "imaging/CTBlend.h"
#include "imaging/CTComplement.h"
#include "imaging/CTDifference.h"
#include "imaging/CTMinus.h"
#include "imaging/CTMultiply.h"
#include "imaging/CTPlus.h"
#include "imaging/CTPosterize.h"

#include <gtest/gtest.h>

namespace {

// One pixel of a and b in every channel, run through op, gives the target's blue.
template <class Op, class... Args> int Two(int a, int b, Args... args) {
    auto p1 = MakeUniform(2, 2, a, a, a);
    auto p2 = MakeUniform(2, 2, b, b, b);
    CDib target(24, 2, 2, nullptr);
    Op(p1.get(), p2.get(), &target, args...).Run();
    EXPECT_EQ(Px(target, 1, 1, 2), Px(target, 0, 0, 0));
    return Px(target, 1, 1, 0);
}

} // namespace

TEST(Arithmatic, AddAndSubtract) {
    EXPECT_EQ(Two<CTPlus>(200, 100, 1, false), 255);
    EXPECT_EQ(Two<CTPlus>(200, 100, 1, true), 45);
    EXPECT_EQ(Two<CTPlus>(200, 55, 1, true), 255);
    EXPECT_EQ(Two<CTPlus>(200, 101, 2, false), 150);
    EXPECT_EQ(Two<CTMinus>(50, 80, 1, false), 0);
    EXPECT_EQ(Two<CTMinus>(50, 80, 1, true), 30);
    EXPECT_EQ(Two<CTMinus>(50, 80, 2, false), 0);
    EXPECT_EQ(Two<CTMinus>(50, 80, 2, true), 15);
    EXPECT_EQ(Two<CTMinus>(81, 50, 2, false), 15);
    EXPECT_EQ(Two<CTMinus>(50, 51, 2, true), 0);
    EXPECT_EQ(Two<CTDifference>(50, 80), 30);
    EXPECT_EQ(Two<CTDifference>(80, 50), 30);
    EXPECT_EQ(Two<CTMultiply>(255, 255), 255);
    EXPECT_EQ(Two<CTMultiply>(128, 254), 127);
    EXPECT_EQ(Two<CTBlend>(200, 100, 100), 200);
    EXPECT_EQ(Two<CTBlend>(200, 100, 0), 100);
    EXPECT_EQ(Two<CTBlend>(201, 100, 33), 133); // (6700 + 6633) / 100
}

TEST(Arithmatic, RandomAgainstFormulas) {
    auto a = MakeRandom(11, 7, 3), b = MakeRandom(11, 7, 4);
    CDib t(24, 11, 7, nullptr);
    for (bool bWrap : {false, true})
        for (int s : {1, 2}) {
            CTPlus(a.get(), b.get(), &t, s, bWrap).Run();
            CDib plus(t);
            CTMinus(a.get(), b.get(), &t, s, bWrap).Run();
            for (int y = 0; y < 7; ++y)
                for (int x = 0; x < 11; ++x)
                    for (int c = 0; c < 3; ++c) {
                        const int va = Px(*a, x, y, c), vb = Px(*b, x, y, c);
                        const int sum = va + vb;
                        ASSERT_EQ(Px(plus, x, y, c),
                                  s == 2 ? sum / 2 : (sum <= 255 ? sum : (bWrap ? sum - 255 : 255)));
                        const int d = s == 1 ? va - vb : (va - vb) / 2;
                        const int e = s == 1 ? vb - va : (vb - va) / 2;
                        ASSERT_EQ(Px(t, x, y, c), d >= 0 ? d : (bWrap ? e : 0));
                    }
        }
}

TEST(Arithmatic, Checks) {
    auto a = MakeRandom(4, 4, 5), b = MakeRandom(4, 3, 6);
    CDib t(24, 4, 4, nullptr), t8(8, 4, 4, nullptr);
    CDib keep(t);
    EXPECT_THROW(CTPlus(a.get(), b.get(), &t, 1, false).Run(), CNotSupportedException);
    EXPECT_THROW(CTDifference(a.get(), a.get(), &t8).Run(), CNotSupportedException);
    EXPECT_THROW(CTDifference(&t8, a.get(), &t).Run(), CNotSupportedException);
    EXPECT_THROW(CTPlus(a.get(), a.get(), &t, 3, false).Run(), CNotSupportedException);
    EXPECT_THROW(CTBlend(a.get(), a.get(), &t, 101).Run(), CNotSupportedException);
    EXPECT_THROW(CTPosterize(a.get(), &t, true, true, true, 1).Run(), CNotSupportedException);
    EXPECT_THROW(CTComplement(&t8, &t8, true, true, true).Run(), CNotSupportedException);
    EXPECT_TRUE(SamePixels(t, keep));
}

TEST(Arithmatic, SingleImageInPlace) {
    auto pic = MakeRandom(9, 5, 7);
    CDib orig(*pic);
    CTComplement(pic.get(), pic.get(), false, false, false).Run();
    EXPECT_TRUE(SamePixels(*pic, orig));
    CTComplement(pic.get(), pic.get(), true, false, true).Run();
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 9; ++x) {
            ASSERT_EQ(Px(*pic, x, y, 2), 255 - Px(orig, x, y, 2));
            ASSERT_EQ(Px(*pic, x, y, 1), Px(orig, x, y, 1));
            ASSERT_EQ(Px(*pic, x, y, 0), 255 - Px(orig, x, y, 0));
        }

    // Wide rows: whole blocks of 16 pixels and a rest.
    auto wide = MakeRandom(37, 2, 8);
    CDib wideOrig(*wide);
    CTComplement(wide.get(), wide.get(), false, true, true).Run();
    CSolarize(&wideOrig, &wideOrig, 0, 300).Run(); // nothing above 300
    for (int x = 0; x < 37; ++x) {
        ASSERT_EQ(Px(*wide, x, 1, 0), 255 - Px(wideOrig, x, 1, 0));
        ASSERT_EQ(Px(*wide, x, 1, 1), 255 - Px(wideOrig, x, 1, 1));
        ASSERT_EQ(Px(*wide, x, 1, 2), Px(wideOrig, x, 1, 2));
    }
    CDib lightAll(wideOrig);
    CSolarize(&lightAll, &lightAll, 1, 256).Run(); // everything below 256
    for (int x = 0; x < 37; ++x) ASSERT_EQ(Px(lightAll, x, 0, 1), 255 - Px(wideOrig, x, 0, 1));

    auto s = MakeUniform(3, 3, 100, 127, 200);
    CSolarize(s.get(), s.get(), 1, 127).Run(); // lighten
    EXPECT_EQ(Px(*s, 1, 1, 0), 155);
    EXPECT_EQ(Px(*s, 1, 1, 1), 127);
    EXPECT_EQ(Px(*s, 1, 1, 2), 200);
    auto d = MakeUniform(3, 3, 100, 127, 200);
    CSolarize(d.get(), d.get(), 0, 127).Run(); // darken
    EXPECT_EQ(Px(*d, 1, 1, 0), 100);
    EXPECT_EQ(Px(*d, 1, 1, 2), 55);

    auto p = MakeUniform(3, 3, 1, 86, 200);
    CDib target(24, 3, 3, nullptr);
    CTPosterize(p.get(), &target, true, true, false, 4).Run();
    EXPECT_EQ(Px(target, 0, 0, 0), 1); // blue not ticked
    EXPECT_EQ(Px(target, 0, 0, 1), 170);
    EXPECT_EQ(Px(target, 0, 0, 2), 255);
    EXPECT_EQ(Px(*p, 0, 0, 2), 200); // the source is untouched
}
