// Printing to PDF: a 100-photo contact sheet drawn from the stored thumbnails
// (goal: under 3 s) and a 12-megapixel poster over 3 × 3 pages (goal: under
// 2 s). The counter pdf_bytes is the size of the file written: each picture
// should be in it once, at the resolution it is printed at.

#include "album/CAlbum.h"
#include "framework/qt/CQtDC.h"
#include "imaging/CDib.h"
#include "print/CAlbumModelPrintSource.h"
#include "print/CAlbumThumbnailPrintJob.h"
#include "print/CImagePrintJob.h"
#include "print/CPrintInfo.h"
#include "storage/formats/ImpExpTables.h"
#include "storage/formats/ImportExport.h"
#include "storage/photo/QlnPhotoFile.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

void EnsureApp() {
    if (QGuiApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "bench";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

const std::string& ScratchDir() {
    static const std::string dir = [] {
        std::string pattern = (std::filesystem::temp_directory_path() / "zozi-print-bench-XXXXXX").string();
        return std::string(::mkdtemp(pattern.data()));
    }();
    return dir;
}

// A picture with gradients and grain, as photographs compress.
std::unique_ptr<CDib> MakePicture(int w, int h, uint32_t seed) {
    auto dib = std::make_unique<CDib>(24, w, h, nullptr);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = dib->GetRow(y);
        for (int x = 0; x < w * 3; ++x) {
            seed = seed * 1103515245u + 12345u;
            row[x] = static_cast<uint8_t>((x * 7 / 3 + y / 5 + (x % 3) * 60 + ((seed >> 16) & 15)) & 255);
        }
    }
    return dib;
}

// An album of 100 photo files with their thumbnails stored (scale 3), made once.
const std::string& ContactAlbum() {
    static const std::string path = [] {
        QLNI_Initialize(nullptr);
        std::vector<std::string> photos;
        for (int k = 0; k < 4; ++k) {
            auto dib = MakePicture(1600, 1200, 777u + k);
            const std::string p = ScratchDir() + "/src" + std::to_string(k) + ".qln";
            if (ExportPicture(*dib, 666, p) != IMPEXP_SUCCESS) std::abort();
            photos.push_back(p);
        }
        std::vector<std::string> list;
        for (int i = 0; i < 100; ++i) {
            const std::string p = ScratchDir() + "/photo" + std::to_string(i) + ".qln";
            std::filesystem::copy_file(photos[static_cast<size_t>(i % 4)], p);
            list.push_back(p);
        }
        const std::string albumPath = ScratchDir() + "/contact.alb";
        CAlbum album;
        album.m_nScale = 3;
        album.m_strProvisionalPath = albumPath;
        album.AddPhotos(list);
        album.SaveFile(albumPath);
        QLNI_CloseFile();
        return albumPath;
    }();
    return path;
}

// Prints every page of the job into an A4 PDF at 300 dpi held in memory.
qint64 PrintToPdf(CPrintJob& job, bool bPreview) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setResolution(300);
        writer.setPageLayout(
            QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter(&writer);
        CQtDC dc(&painter, true);
        CPrintInfo info;
        info.m_bPreview = bPreview;
        job.BeginPrinting(dc, info);
        for (unsigned n = info.m_nMinPage; n <= info.m_nMaxPage; ++n) {
            if (n > info.m_nMinPage) writer.newPage();
            info.m_nCurPage = n;
            job.PrintPage(dc, info);
        }
    }
    return buffer.size();
}

void BM_ContactSheet100FromThumbnails(benchmark::State& state) {
    EnsureApp();
    const std::string& albumPath = ContactAlbum();
    qint64 nBytes = 0;
    for (auto _ : state) {
        CAlbum album;
        album.LoadFile(albumPath, false);
        CAlbumModelPrintSource source(album);
        CAlbumPrintSettings settings;
        settings.m_nColumns = 4;
        settings.m_nRows = 5;
        CAlbumThumbnailPrintJob job(settings, source);
        nBytes = PrintToPdf(job, true); // previewed sheets draw the stored thumbnails
        QLNI_CloseFile();
    }
    state.counters["pdf_bytes"] = static_cast<double>(nBytes);
    state.SetItemsProcessed(state.iterations() * 100);
}
BENCHMARK(BM_ContactSheet100FromThumbnails)->Unit(benchmark::kMillisecond)->MinTime(0.1);

void BM_Poster12MPThreeByThree(benchmark::State& state) {
    EnsureApp();
    constexpr int kW = 3000, kH = 4000; // 12 megapixels, portrait
    auto dib = MakePicture(kW, kH, 4242u);
    qint64 nBytes = 0;
    int nPages = 0;
    for (auto _ : state) {
        CImagePrintSettings settings;
        settings.m_nLayout = kLayoutPoster;
        settings.m_rcImage = CRect(0, 0, 7340, 7340 * kH / kW); // 3 × 3 A4 bodies
        CImagePrintJob job(settings, dib.get());
        nBytes = PrintToPdf(job, false);
        nPages = job.GetPagesAcross() * job.GetPagesDown();
    }
    state.counters["pdf_bytes"] = static_cast<double>(nBytes);
    state.counters["pages"] = nPages;
    state.counters["raw_picture_bytes"] = static_cast<double>(kW) * kH * 3;
    state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_Poster12MPThreeByThree)->Unit(benchmark::kMillisecond)->MinTime(0.1);

// A contact sheet printed from full 12 MP pictures: each lands in the PDF at
// its cell's size, so the file stays small.
void BM_SheetOfFullPictures(benchmark::State& state) {
    EnsureApp();
    class CBigPictures : public IAlbumPrintSource {
    public:
        int GetCount() const override { return 4; }
        std::string GetTitle(int i) const override { return "Picture " + std::to_string(i + 1); }
        std::string GetDescription(int) const override { return {}; }
        std::unique_ptr<CDib> LoadThumbnail(int) override { return nullptr; }
        std::unique_ptr<CDib> LoadImage(int i) override { return std::make_unique<CDib>(*m_pics[i % 2]); }
        std::unique_ptr<CDib> m_pics[2] = {MakePicture(4000, 3000, 1u), MakePicture(4000, 3000, 2u)};
    } source;
    qint64 nBytes = 0;
    for (auto _ : state) {
        CAlbumPrintSettings settings;
        settings.m_nColumns = settings.m_nRows = 2;
        CAlbumThumbnailPrintJob job(settings, source);
        nBytes = PrintToPdf(job, false);
    }
    state.counters["pdf_bytes"] = static_cast<double>(nBytes);
    state.SetItemsProcessed(state.iterations() * 4LL * 4000 * 3000);
}
BENCHMARK(BM_SheetOfFullPictures)->Unit(benchmark::kMillisecond)->MinTime(0.1);

} // namespace
