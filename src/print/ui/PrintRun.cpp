#include "print/ui/PrintRun.h"

#include "framework/UserPrompt.h"
#include "framework/qt/CQtDC.h"
#include "print/CPrintInfo.h"
#include "print/CPrintJob.h"

#include <QImage>
#include <QLocale>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPen>
#include <QPrinter>
#include <QPrinterInfo>
#include <QShortcut>

bool HasSystemPrinters() {
    return !QPrinterInfo::availablePrinterNames().isEmpty();
}

QPrinter& GetRunPrinter() {
    static QPrinter* s_pPrinter = [] {
        auto* p = new QPrinter(QPrinter::HighResolution);
        if (!HasSystemPrinters()) p->setOutputFormat(QPrinter::PdfFormat);
        p->setPageSize(QLocale::system().measurementSystem() == QLocale::MetricSystem
                           ? QPageSize(QPageSize::A4)
                           : QPageSize(QPageSize::Letter));
        return p;
    }();
    return *s_pPrinter;
}

const CMeasureUnit& GetRunMeasureUnit() {
    static const CMeasureUnit s_unit(QLocale::system().measurementSystem() == QLocale::MetricSystem);
    return s_unit;
}

CImagePrintSettings& GetImagePrintSettings() {
    static CImagePrintSettings s_settings;
    return s_settings;
}

CAlbumPrintSettings& GetAlbumPrintSettings() {
    static CAlbumPrintSettings s_settings;
    return s_settings;
}

int LayoutForPrinter(CPrintJob& job, QPrinter& printer, CPrintInfo& info) {
    const int nDpi = printer.resolution();
    const QRect rcPaint = printer.pageLayout().paintRectPixels(nDpi);
    // A small picture at the printer's resolution, so that fonts measure as
    // they will print; the page size is the printer's.
    QImage probe(8, 8, QImage::Format_RGB32);
    const int nDotsPerMeter = static_cast<int>(nDpi / 0.0254 + 0.5);
    probe.setDotsPerMeterX(nDotsPerMeter);
    probe.setDotsPerMeterY(nDotsPerMeter);
    QPainter painter(&probe);
    CQtDC dc(&painter, true);
    dc.SetDeviceOverride(rcPaint.width(), rcPaint.height(), nDpi, nDpi);
    job.BeginPrinting(dc, info);
    return job.PageCount(dc);
}

bool PrintJobPages(CPrintJob& job, QPrinter& printer, unsigned nFromPage, unsigned nToPage, bool bPreview) {
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    CQtDC dc(&painter, true);
    CPrintInfo info;
    info.m_bPreview = bPreview;
    info.m_nFromPage = nFromPage;
    info.m_nToPage = nToPage;
    info.m_pfnStop = [&printer] { return printer.printerState() == QPrinter::Aborted; };
    job.BeginPrinting(dc, info);
    for (unsigned nPage = info.m_nMinPage; nPage <= info.m_nMaxPage && info.m_bContinuePrinting; ++nPage) {
        if (nPage > info.m_nMinPage && !printer.newPage()) break;
        info.m_nCurPage = nPage;
        painter.save();
        if (bPreview) painter.setPen(QPen(Qt::black, 0)); // a cosmetic pen
        job.PrintPage(dc, info);
        painter.restore();
    }
    return painter.end();
}

bool RunPrintSetup(QWidget* pParent) {
    QPageSetupDialog dlg(&GetRunPrinter(), pParent);
    return dlg.exec() == QDialog::Accepted;
}

void SetPrintDialogHelp(QWidget* pDialog, unsigned nDialogId) {
    auto* help = new QShortcut(QKeySequence(Qt::Key_F1), pDialog);
    QObject::connect(help, &QShortcut::activated, pDialog,
                     [nDialogId] { GetUserPrompt().ShowHelp(0x20000 + nDialogId); });
}
