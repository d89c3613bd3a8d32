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
