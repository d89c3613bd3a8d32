#include "imaging/qt/QtDib.h"
#include "framework/CException.h"
#include "framework/DisplayCaps.h"
#include "framework/qt/CQtDC.h"
#include "imaging/CDib.h"

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QImage>
#include <QPainter>

namespace {

// Qt wants an application object for painting.
QGuiApplication& App() {
    static int argc = 1;
    static char name[] = "test_imaging_qt";
    static char* argv[] = {name, nullptr};
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(argc, argv);
    return app;
}

} // namespace

TEST(QtDib, FromQtImages) {
    App();
    QImage rgb(5, 3, QImage::Format_RGB32);
    rgb.fill(qRgb(10, 20, 30));
    rgb.setPixel(4, 0, qRgb(200, 100, 50));
    auto d32 = CreateDibFromImage(rgb, false);
    EXPECT_EQ(d32->GetBitCount(), 32);
    auto d24 = CreateDibFromImage(rgb, true);
    ASSERT_EQ(d24->GetBitCount(), 24);
    const uint8_t* top = d24->GetRow(0) + 12; // (4, 0)
    EXPECT_EQ(top[0], 50);
    EXPECT_EQ(top[2], 200);
    EXPECT_EQ(d24->GetRow(2)[0], 30);

    QImage rgb16 = rgb.convertToFormat(QImage::Format_RGB16);
    auto d16 = CreateDibFromImage(rgb16, false);
    EXPECT_EQ(d16->GetBitCount(), 16);
    EXPECT_EQ(CreateDibFromImage(rgb16, true)->GetBitCount(), 24);

    QImage gray(4, 2, QImage::Format_Grayscale8);
    gray.fill(77);
    auto d8 = CreateDibFromImage(gray, false);
    EXPECT_EQ(d8->GetBitCount(), 8);
    EXPECT_TRUE(d8->IsGray());
    EXPECT_EQ(d8->GetRow(1)[3], 77);

    EXPECT_THROW(CreateDibFromImage(QImage(), false), CResourceException);

    QImage back = CreateImageFromDib(*d24);
    EXPECT_EQ(back.pixel(4, 0), qRgb(200, 100, 50));
}

TEST(QtDib, DrawThroughQPainter) {
    App();
    CDisplayCaps saved = GetDisplayCaps();
    SetDisplayDepth(24);
    CDib d(24, 3, 600, nullptr);
    for (int y = 0; y < 600; ++y)
        for (int x = 0; x < 3; ++x) {
            uint8_t* p = d.GetRow(y) + 3 * x;
            p[0] = static_cast<uint8_t>(x * 80);
            p[1] = static_cast<uint8_t>(y % 256);
            p[2] = static_cast<uint8_t>(y / 256);
        }
    QImage target(10, 700, QImage::Format_RGB32);
    target.fill(Qt::white);
    {
        QPainter painter(&target);
        CQtDC dc(&painter);
        EXPECT_EQ(d.Draw(dc, 1, 2), 600);
        d.StretchDraw(dc, CRect(5, 0, 8, 1200 / 2), CRect(0, 0, 3, 600));
        EXPECT_EQ(dc.GetDeviceCaps(BITSPIXEL), 24);
    }
    for (int y = 0; y < 600; y += 13)
        for (int x = 0; x < 3; ++x)
            ASSERT_EQ(target.pixel(1 + x, 2 + y), qRgb(y / 256, y % 256, x * 80)) << y;
    EXPECT_EQ(target.pixel(0, 0), qRgb(255, 255, 255));
    EXPECT_EQ(target.pixel(6, 599), qRgb(599 / 256, 599 % 256, 80));
    GetDisplayCaps() = saved;
}
