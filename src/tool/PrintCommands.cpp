// print layout image / layout album / pdf image / pdf album

#include "album/CAlbum.h"
#include "framework/CAppException.h"
#include "framework/CFile.h"
#include "framework/StringTable.h"
#include "framework/qt/CQtDC.h"
#include "imaging/CDib.h"
#include "print/CAlbumModelPrintSource.h"
#include "print/CAlbumTextPrintJob.h"
#include "print/CAlbumThumbnailPrintJob.h"
#include "print/CImagePrintJob.h"
#include "print/CPrintInfo.h"
#include "print/PrintUnits.h"
#include "storage/photo/QlnPhotoFile.h"
#include "tool/ToolCommand.h"
#include "tool/ToolPictures.h"

#include <QBuffer>
#include <QGuiApplication>
#include <QImage>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>

#include <cstdio>
#include <memory>
#include <optional>

namespace {

// Fonts need a GUI application; the tool never needs a screen.
void EnsureGuiApp() {
    if (QGuiApplication::instance()) return;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt's notes about the session (no runtime directory and the like) are not
    // the tool's output; only its real errors go to standard error.
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext&, const QString& msg) {
        if (type == QtCriticalMsg || type == QtFatalMsg) std::fprintf(stderr, "%s\n", qPrintable(msg));
    });
    static int argc = 1;
    static char name[] = "zozi-tool";
    static char* argv[] = {name, nullptr};
    static QGuiApplication app(argc, argv);
}

bool LocaleIsMetric() {
    return QLocale::system().measurementSystem() == QLocale::MetricSystem;
}

// A refused value: the dialog's message, exit 2.
[[noreturn]] void Refuse(const std::string& message) {
    throw CAppException(message);
}

std::vector<int> ParseList(const std::string& text, size_t nCount, const char* what) {
    std::vector<int> v;
    size_t i = 0;
    while (i <= text.size() && v.size() < 100000) {
        size_t j = text.find(',', i);
        if (j == std::string::npos) j = text.size();
        v.push_back(
            static_cast<int>(CToolArgs::ToInteger(text.substr(i, j - i), INT32_MIN / 4, INT32_MAX / 4)));
        i = j + 1;
    }
    if (nCount && v.size() != nCount) throw CToolUsageError(std::string("bad ") + what);
    return v;
}

// The device: printable area and resolution, options shared by every print command.
struct CDevice {
    int nDpiX = 300, nDpiY = 300;
    int nWidth = 0, nHeight = 0;
    bool bLetter = false;
};

CDevice ParseDevice(const CToolArgs& a, bool bPdf) {
    CDevice d;
    if (a.Has("--dpi")) {
        std::vector<int> v = ParseList(a.Value("--dpi"), 0, "--dpi");
        if (v.size() > 2) throw CToolUsageError("--dpi X[,Y]");
        d.nDpiX = static_cast<int>(CToolArgs::ToInteger(std::to_string(v[0]), 1, 4800));
        d.nDpiY =
            v.size() == 2 ? static_cast<int>(CToolArgs::ToInteger(std::to_string(v[1]), 1, 4800)) : d.nDpiX;
        if (bPdf && d.nDpiX != d.nDpiY) throw CToolUsageError("a PDF has one resolution");
    }
    d.bLetter = !LocaleIsMetric();
    if (a.Has("--paper")) {
        if (!bPdf) throw CToolUsageError("--paper goes with print pdf");
        const std::string p = a.Value("--paper");
        if (p != "a4" && p != "letter") throw CToolUsageError("--paper a4|letter");
        d.bLetter = p == "letter";
    }
    if (a.Has("--page")) {
        if (bPdf) throw CToolUsageError("a PDF page is the paper: use --paper");
        const std::string s = a.Value("--page");
        const size_t x = s.find('x');
        if (x == std::string::npos) throw CToolUsageError("--page WxH");
        d.nWidth = static_cast<int>(CToolArgs::ToInteger(s.substr(0, x), 1, 200000));
        d.nHeight = static_cast<int>(CToolArgs::ToInteger(s.substr(x + 1), 1, 200000));
    } else if (d.bLetter) {
        d.nWidth = MulDiv(17, d.nDpiX, 2);
        d.nHeight = 11 * d.nDpiY;
    } else {
        d.nWidth = MulDiv(2100, d.nDpiX, 254);
        d.nHeight = MulDiv(2970, d.nDpiY, 254);
    }
    return d;
}

// The tool's fixed settings, then the options that change them.
void ApplyCommonOptions(const CToolArgs& a, CPrintSettings& s) {
    s.m_rcExtraMargins = CRect();
    s.m_header.m_bShow = s.m_footer.m_bShow = 0;
    if (a.Has("--margins")) {
        std::vector<int> m = ParseList(a.Value("--margins"), 4, "--margins L,T,R,B");
        CMeasureUnit unit(LocaleIsMetric());
        for (int v : m)
            if (v < kMinExtraMargin || v > kMaxExtraMargin)
                Refuse(FormatResString2(1317, unit.Format(kMinExtraMargin), unit.Format(kMaxExtraMargin)));
        s.m_rcExtraMargins = CRect(m[0], m[1], m[2], m[3]);
    }
    if (a.Has("--header")) {
        s.m_header.m_strText = a.Value("--header");
        s.m_header.m_bShow = 1;
    }
    if (a.Has("--footer")) {
        s.m_footer.m_strText = a.Value("--footer");
        s.m_footer.m_bShow = 1;
    }
}

void ApplyImageOptions(const CToolArgs& a, CImagePrintSettings& s) {
    ApplyCommonOptions(a, s);
    s.m_nLayout = kLayoutFit;
    s.m_bCenter = 1;
    if (a.Has("--layout")) {
        const std::string l = a.Value("--layout");
        if (l == "fit")
            s.m_nLayout = kLayoutFit;
        else if (l == "4x6")
            s.m_nLayout = kLayout4x6;
        else if (l == "poster")
            s.m_nLayout = kLayoutPoster;
        else if (l == "custom")
            s.m_nLayout = kLayoutCustom;
        else
            throw CToolUsageError("--layout fit|4x6|poster|custom");
    }
    if (a.Has("--rect")) {
        std::vector<int> r = ParseList(a.Value("--rect"), 4, "--rect L,T,R,B");
        if (r[2] <= r[0] || r[3] <= r[1]) throw CToolUsageError("--rect needs right > left and bottom > top");
        s.m_rcImage = CRect(r[0], r[1], r[2], r[3]);
    }
    if (a.Has("--position")) {
        const std::string p = a.Value("--position");
        if (p != "centered" && p != "custom") throw CToolUsageError("--position centered|custom");
        s.m_bCenter = p == "centered";
    }
}

void ApplyAlbumOptions(const CToolArgs& a, CAlbumPrintSettings& s, std::vector<int>& selection) {
    ApplyCommonOptions(a, s);
    s.m_nRows = s.m_nColumns = 1;
    s.m_bShowIndex = s.m_bShowTitle = s.m_bShowDescription = 1;
    s.m_bAllThumbnails = 1;
    s.m_bTextMode = a.Has("--text") ? 1 : 0;
    std::string err;
    auto grid = [&](const char* option, int& value) {
        if (a.Has(option) && !ValidateInteger(a.Value(option), 1, kMaxAlbumGrid, value, err)) Refuse(err);
    };
    grid("--rows", s.m_nRows);
    grid("--cols", s.m_nColumns);
    auto flag = [&](const char* option, int& value) {
        if (a.Has(option)) value = static_cast<int>(CToolArgs::ToInteger(a.Value(option), 0, 1));
    };
    flag("--index", s.m_bShowIndex);
    flag("--titles", s.m_bShowTitle);
    flag("--descriptions", s.m_bShowDescription);
    if (a.Has("--selection")) {
        selection = ParseList(a.Value("--selection"), 0, "--selection");
        s.m_bAllThumbnails = 0;
    }
}

// The photo-file layer for one command.
class CPhotoLayer {
public:
    CPhotoLayer() { QLNI_Initialize(nullptr); }
    CPhotoLayer(const CPhotoLayer&) = delete;
    CPhotoLayer& operator=(const CPhotoLayer&) = delete;
    ~CPhotoLayer() {
        try {
            QLNI_Terminate();
        } catch (...) {
        }
    }
};

// What a print command works on: the settings, the data and the job.
struct CToolPrint {
    CImagePrintSettings imageSettings;
    CAlbumPrintSettings albumSettings;
    std::unique_ptr<CDib> pDib;
    std::unique_ptr<CPhotoLayer> pLayer;
    std::unique_ptr<CAlbum> pAlbum;
    std::unique_ptr<CAlbumModelPrintSource> pSource;
    std::unique_ptr<CPrintJob> pJob;
    bool bImage = true;
};

void MakeJob(CToolPrint& p, const std::string& kind, const std::string& input, const CToolArgs& a) {
    if (kind == "image") {
        ApplyImageOptions(a, p.imageSettings);
        p.pDib = LoadPicture(input);
        p.pJob = std::make_unique<CImagePrintJob>(p.imageSettings, p.pDib.get());
    } else if (kind == "album") {
        p.bImage = false;
        std::vector<int> selection;
        ApplyAlbumOptions(a, p.albumSettings, selection);
        p.pLayer = std::make_unique<CPhotoLayer>();
        p.pAlbum = std::make_unique<CAlbum>();
        p.pAlbum->LoadFile(input, false);
        for (int i : selection)
            if (i < 0 || i >= p.pAlbum->GetCount()) throw CToolUsageError("--selection index out of range");
        p.pSource = std::make_unique<CAlbumModelPrintSource>(*p.pAlbum);
        if (p.albumSettings.m_bTextMode)
            p.pJob = std::make_unique<CAlbumTextPrintJob>(p.albumSettings, *p.pSource, selection);
        else
            p.pJob = std::make_unique<CAlbumThumbnailPrintJob>(p.albumSettings, *p.pSource, selection);
    } else {
        throw CToolUsageError("image or album");
    }
}

// A poster beyond 9 × 9 pages is refused as the dialog refuses it.
void CheckPosterSize(const CToolPrint& p, const CImagePrintJob& job) {
    const CImagePrintSettings& s = p.imageSettings;
    if (s.m_nLayout != kLayoutPoster || s.m_rcImage.IsRectEmpty()) return;
    const CSize body = job.GetBodySize();
    if (s.m_rcImage.Width() > kMaxPosterPages * body.cx || s.m_rcImage.Height() > kMaxPosterPages * body.cy)
        Refuse(FormatResString2(1317, "1", std::to_string(kMaxPosterPages)));
}

const std::set<std::string> kValueOptions = {
    "--dpi",  "--page", "--margins", "--header", "--footer",       "--layout",    "--rect", "--position",
    "--rows", "--cols", "--index",   "--titles", "--descriptions", "--selection", "--paper"};

std::string RectText(const CRect& r) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "%d,%d,%d,%d", r.left, r.top, r.right, r.bottom);
    return buf;
}

int PrintLayout(const CToolArgs& a) {
    a.Expect(2, 2);
    EnsureGuiApp();
    if (a.Has("--paper")) throw CToolUsageError("--paper goes with print pdf");
    const CDevice dev = ParseDevice(a, false);
    CToolPrint p;
    MakeJob(p, a[0], a[1], a);
    // Text is measured with the real fonts at the device's resolution.
    QImage probe(1, 1, QImage::Format_RGB32);
    probe.setDotsPerMeterX(MulDiv(dev.nDpiX, 10000, 254));
    probe.setDotsPerMeterY(MulDiv(dev.nDpiY, 10000, 254));
    QPainter painter(&probe);
    CQtDC dc(&painter, true);
    dc.SetDeviceOverride(dev.nWidth, dev.nHeight, dev.nDpiX, dev.nDpiY);
    CPrintInfo info;
    p.pJob->BeginPrinting(dc, info);
    const int nPages = p.pJob->PageCount(dc);
    if (p.bImage) {
        auto& job = static_cast<CImagePrintJob&>(*p.pJob);
        CheckPosterSize(p, job);
        std::printf("surface: %dx%d\n", job.GetPagesAcross(), job.GetPagesDown());
        std::printf("rect: %s\n", RectText(job.GetImageRect()).c_str());
        std::printf("pages: %d\n", nPages);
        for (int i = 0; i < nPages; ++i) {
            const auto& t = job.GetTiles()[static_cast<size_t>(i)];
            std::printf("page %d: dest=%s src=%s\n", i + 1, RectText(job.TileDeviceRect(t)).c_str(),
                        RectText(t.rcSource).c_str());
        }
        std::printf("header: %s\nfooter: %s\n", job.HeaderPrinted() ? "yes" : "no",
                    job.FooterPrinted() ? "yes" : "no");
    } else {
        auto& job = static_cast<CAlbumPrintJob&>(*p.pJob);
        std::printf("pages: %d\n", nPages);
        for (int i = 0; i < nPages; ++i) {
            const int nFirst = std::min(job.FirstItemOfPage(i, dc), job.ItemCount());
            const int nNext = std::min(job.FirstItemOfPage(i + 1, dc), job.ItemCount());
            std::printf("page %d: first=%d count=%d\n", i + 1, nFirst, nNext - nFirst);
        }
        if (!p.albumSettings.m_bTextMode) {
            auto& sheet = static_cast<CAlbumThumbnailPrintJob&>(job);
            for (int k = 0; k < sheet.CellsPerPage(); ++k)
                std::printf("cell %d: %s\n", k, RectText(sheet.GetCell(k)).c_str());
            if (sheet.CaptionShown()) std::printf("caption-points: %d\n", sheet.CaptionPoints());
        }
    }
    painter.end();
    return kExitOk;
}

int PrintPdf(const CToolArgs& a) {
    a.Expect(3, 3);
    EnsureGuiApp();
    const CDevice dev = ParseDevice(a, true);
    const std::string out = a[2];
    CToolPrint p;
    MakeJob(p, a[0], a[1], a);

    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter writer(&buffer);
        writer.setCreator(QStringLiteral("Pictavo Zozi"));
        writer.setResolution(dev.nDpiX);
        writer.setPageLayout(QPageLayout(QPageSize(dev.bLetter ? QPageSize::Letter : QPageSize::A4),
                                         QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
        QPainter painter(&writer);
        CQtDC dc(&painter, true);
        CPrintInfo info;
        p.pJob->BeginPrinting(dc, info);
        if (p.bImage) CheckPosterSize(p, static_cast<CImagePrintJob&>(*p.pJob));
        for (unsigned n = info.m_nMinPage; n <= info.m_nMaxPage && info.m_bContinuePrinting; ++n) {
            if (n > info.m_nMinPage) writer.newPage();
            info.m_nCurPage = n;
            painter.save();
            p.pJob->PrintPage(dc, info);
            painter.restore();
        }
        painter.end();
    }
    const QByteArray& bytes = buffer.data();
    if (bytes.isEmpty()) throw CFileException(CFileException::generic, -1, out);
    CAtomicFile file(out);
    file.File().Write(bytes.constData(), static_cast<uint32_t>(bytes.size()));
    file.Commit();
    return kExitOk;
}

int PrintCommand(const std::vector<std::string>& args) {
    if (args.empty()) throw CToolUsageError("missing print command");
    const std::string cmd = args[0];
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (cmd == "layout") return PrintLayout(CToolArgs(rest, kValueOptions, {"--text"}));
    if (cmd == "pdf") return PrintPdf(CToolArgs(rest, kValueOptions, {"--text"}));
    throw CToolUsageError("unknown print command '" + cmd + "'");
}

} // namespace

ZOZI_TOOL_COMMAND(
    "print",
    "zozi-tool print layout image PICTURE [--layout fit|4x6|poster|custom] [--rect L,T,R,B]\n"
    "                 [--position centered|custom] [DEVICE OPTIONS]\n"
    "zozi-tool print layout album ALBUM [--rows R] [--cols C] [--text] [--index 0|1] [--titles 0|1]\n"
    "                 [--descriptions 0|1] [--selection I,J,...] [DEVICE OPTIONS]\n"
    "zozi-tool print pdf image|album ... OUT.pdf [--paper a4|letter]\n"
    "  DEVICE OPTIONS: [--dpi X[,Y]] [--page WxH] [--margins L,T,R,B] [--header TEXT] [--footer TEXT]\n"
    "  lengths in 1/300 inch; --page is the printable area in device pixels",
    PrintCommand)
