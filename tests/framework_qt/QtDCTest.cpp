#include "framework/qt/CQtDC.h"

#include <QImage>
#include <QPainter>

#include <gtest/gtest.h>

TEST(QtDC, CompatibleContextIsABlitSource) {
    QImage screen(20, 10, QImage::Format_RGB32);
    screen.fill(Qt::white);
    {
        QPainter painter(&screen);
        CQtDC dc(&painter);
        std::unique_ptr<CDC> pMem = dc.CreateCompatibleDC(6, 4);
        ASSERT_TRUE(pMem);
        pMem->FillRect(CRect(2, 1, 6, 4), RGB(255, 0, 0));
        ASSERT_TRUE(dc.BitBlt(10, 5, 4, 3, pMem.get(), 1, 1, SRCCOPY));
        EXPECT_FALSE(dc.CreateCompatibleDC(0, 4));
    }
    EXPECT_EQ(screen.pixel(10, 5), qRgb(0, 0, 0)); // the memory context starts black
    EXPECT_EQ(screen.pixel(11, 5), qRgb(255, 0, 0));
    EXPECT_EQ(screen.pixel(13, 7), qRgb(255, 0, 0));
    EXPECT_EQ(screen.pixel(14, 7), qRgb(255, 255, 255));
    EXPECT_EQ(screen.pixel(11, 8), qRgb(255, 255, 255));
}

TEST(QtDC, CompatibleContextTakesBitmapsDirectly) {
    // A 3 x 2 bottom-up 24-bit bitmap: bottom row blue, green, red; top row white, black, grey.
    BITMAPINFOHEADER info;
    info.biWidth = 3;
    info.biHeight = 2;
    info.biBitCount = 24;
    const uint8_t bits[2 * 12] = {255, 0,   0,   0, 255, 0, 0,   0,   255, 0, 0, 0,
                                  255, 255, 255, 0, 0,   0, 128, 128, 128, 0, 0, 0};
    QImage screen(8, 8, QImage::Format_RGB32);
    screen.fill(Qt::white);
    QPainter painter(&screen);
    CQtDC dc(&painter);
    std::unique_ptr<CDC> pMem = dc.CreateCompatibleDC(4, 3);
    ASSERT_TRUE(pMem);
    // Partly outside: the part inside lands, the rest is dropped.
    EXPECT_EQ(pMem->SetDIBitsToDevice(2, 1, 3, 2, 0, 0, 0, 2, bits, &info, DIB_RGB_COLORS), 2);
    pMem->FillRect(CRect(0, 0, 1, 1), RGB(1, 2, 3)); // the painter still works afterwards
    ASSERT_TRUE(dc.BitBlt(0, 0, 4, 3, pMem.get(), 0, 0, SRCCOPY));
    painter.end();
    EXPECT_EQ(screen.pixel(0, 0), qRgb(1, 2, 3));
    EXPECT_EQ(screen.pixel(2, 1), qRgb(255, 255, 255));
    EXPECT_EQ(screen.pixel(3, 1), qRgb(0, 0, 0));
    EXPECT_EQ(screen.pixel(2, 2), qRgb(0, 0, 255));
    EXPECT_EQ(screen.pixel(3, 2), qRgb(0, 255, 0));
    EXPECT_EQ(screen.pixel(1, 2), qRgb(0, 0, 0));
    EXPECT_EQ(screen.pixel(4, 2), qRgb(255, 255, 255));
}
