// A page written to a PDF through the Qt device context, rendered back with
// poppler, against the same page drawn on the image device.

#include "../print/PrintTestSupport.h"
#include "framework/qt/CQtDC.h"
#include "print/CAlbumThumbnailPrintJob.h"
#include "print/CImagePrintJob.h"
#include "print/CPrintInfo.h"

#include <QBuffer>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include <unistd.h>

namespace {

constexpr int kDpi = 60;

void EnsureApp() {
    if (QGuiApplication::instance()) return;
    static int argc = 1;
    static char name[] = "test";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

// Draws page 1 of the job into an A4 PDF at kDpi, renders it with pdftoppm
// and returns the picture (null when poppler is missing).
QImage RenderThroughPdf(CPrintJob& job, bool bPreview, CSize& page) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path();
    // Unique per process and test: ctest runs the cases side by side.
    const std::string stem = "zozi-print-test-" + std::to_string(::getpid()) + "-" +
                             ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::string pdf = (dir / (stem + ".pdf")).string();
    const std::string png = (dir / stem).string();
    {
        QPdfWriter writer(QString::fromStdString(pdf));
        writer.setResolution(kDpi);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter(&writer);
        CQtDC dc(&painter, true);
        CPrintInfo info;
        info.m_bPreview = bPreview;
        job.BeginPrinting(dc, info);
        job.PrintPage(dc, info);
        page = CSize(writer.width(), writer.height());
    }
    const std::string cmd =
        "pdftoppm -r " + std::to_string(kDpi) + " -singlefile -png '" + pdf + "' '" + png + "'";
    if (std::system(cmd.c_str()) != 0) return {};
    QImage img(QString::fromStdString(png + ".png"));
    std::filesystem::remove(pdf);
    std::filesystem::remove(png + ".png");
    return img.convertToFormat(QImage::Format_RGB32);
}

// Pixels that differ by more than a little in any channel.
double MismatchShare(const QImage& pdf, const CImageDC& dc) {
    const int w = std::min(pdf.width(), dc.GetWidth()), h = std::min(pdf.height(), dc.GetHeight());
    long long nBad = 0;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const QRgb a = pdf.pixel(x, y);
            const uint32_t b = dc.GetPixel(x, y);
            if (std::abs(qRed(a) - int(b >> 16)) > 40 || std::abs(qGreen(a) - int((b >> 8) & 0xFF)) > 40 ||
                std::abs(qBlue(a) - int(b & 0xFF)) > 40)
                ++nBad;
        }
    return static_cast<double>(nBad) / (static_cast<double>(w) * h);
}

bool HavePoppler() {
    return std::system("command -v pdftoppm > /dev/null 2>&1") == 0;
}

TEST(PdfRender, ContactSheetMatchesTheImageDevice) {
    if (!HavePoppler()) GTEST_SKIP() << "pdftoppm missing";
    EnsureApp();
    CMemoryAlbum album(5);
    CAlbumPrintSettings settings;
    settings.m_nRows = settings.m_nColumns = 2;
    settings.m_bShowIndex = settings.m_bShowTitle = 0; // the image device draws no glyphs
    CAlbumThumbnailPrintJob pdfJob(settings, album);
    CSize page;
    QImage pdf = RenderThroughPdf(pdfJob, true, page);
    ASSERT_FALSE(pdf.isNull());
    EXPECT_NEAR(pdf.width(), page.cx, 1);
    EXPECT_NEAR(pdf.height(), page.cy, 1);

    auto dc = MakePrinter(page.cx, page.cy, kDpi);
    CAlbumThumbnailPrintJob imageJob(settings, album);
    CPrintInfo info;
    info.m_bPreview = true;
    imageJob.BeginPrinting(*dc, info);
    imageJob.PrintPage(*dc, info);
    EXPECT_LT(MismatchShare(pdf, *dc), 0.005);
    // The frame of the first picture is where the layout puts it on both.
    const CRect thumb = imageJob.GetThumbRect(0);
    EXPECT_EQ(dc->GetPixel(thumb.left - 1, thumb.top + thumb.Height() / 2), 0u);
    EXPECT_LT(qGray(pdf.pixel(thumb.left - 1, thumb.top + thumb.Height() / 2)), 100);
}

TEST(PdfRender, FittedPictureMatchesTheImageDevice) {
    if (!HavePoppler()) GTEST_SKIP() << "pdftoppm missing";
    EnsureApp();
    auto dib = SolidDib(300, 200, 200, 30, 40);
    CImagePrintSettings settings;
    settings.m_rcExtraMargins = CRect(60, 120, 30, 0);
    CImagePrintJob pdfJob(settings, dib.get());
    CSize page;
    QImage pdf = RenderThroughPdf(pdfJob, false, page);
    ASSERT_FALSE(pdf.isNull());
    auto dc = MakePrinter(page.cx, page.cy, kDpi);
    CImagePrintJob imageJob(settings, dib.get());
    CPrintInfo info;
    imageJob.BeginPrinting(*dc, info);
    imageJob.PrintPage(*dc, info);
    EXPECT_LT(MismatchShare(pdf, *dc), 0.005);
}

} // namespace
