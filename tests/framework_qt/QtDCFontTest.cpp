// Fonts on the Qt device context: the described face at the device's
// resolution, measured with Qt's metrics.

#include "framework/qt/CQtDC.h"

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

#include <cstring>

namespace {

void EnsureApp() {
    if (QGuiApplication::instance()) return;
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

LOGFONT Arial(int nHeight) {
    LOGFONT lf;
    lf.lfHeight = nHeight;
    lf.lfPitchAndFamily = 34;
    std::strcpy(lf.lfFaceName, "Arial");
    return lf;
}

TEST(QtDCFont, MetricsFollowTheSelectedFont) {
    EnsureApp();
    QImage img(16, 16, QImage::Format_RGB32);
    QPainter painter(&img);
    CQtDC dc(&painter, true);
    dc.SetDeviceOverride(2400, 3000, 300, 300);
    EXPECT_EQ(dc.GetDeviceCaps(HORZRES), 2400);
    EXPECT_EQ(dc.GetDeviceCaps(LOGPIXELSY), 300);

    LOGFONT small = Arial(-50), large = Arial(-100);
    TEXTMETRIC tmSmall, tmLarge;
    dc.SelectFont(&small);
    dc.GetTextMetrics(tmSmall);
    dc.SelectFont(&large);
    dc.GetTextMetrics(tmLarge);
    EXPECT_GE(tmSmall.tmHeight, 50);
    EXPECT_LE(tmSmall.tmHeight, 75);
    EXPECT_NEAR(tmLarge.tmHeight, 2 * tmSmall.tmHeight, 4);
    EXPECT_EQ(tmSmall.tmHeight, tmSmall.tmAscent + tmSmall.tmDescent);

    // Word-wrapped measuring in a narrow rectangle takes several lines.
    dc.SelectFont(&small);
    CRect one(0, 0, 2000, 0), wrapped(0, 0, 300, 0);
    const std::string text = "a caption long enough to need several lines";
    dc.DrawText(text, one, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    dc.DrawText(text, wrapped, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
    EXPECT_LE(one.Height(), tmSmall.tmHeight + tmSmall.tmExternalLeading + 2);
    EXPECT_GE(wrapped.Height(), 3 * tmSmall.tmHeight);
    EXPECT_LE(wrapped.Width(), 300);

    LOGFONT lf;
    EXPECT_TRUE(dc.GetFont(lf));
    EXPECT_EQ(lf.lfHeight, -50);
    dc.SelectFont(nullptr);
    EXPECT_FALSE(dc.GetFont(lf));
    painter.end();
}

} // namespace
