// The print dialogs driven as a user would: defaults, refused entries with
// their bounds, the miniature following a change, Close after a page range,
// and pages printed to a PDF file.

#include "../print/PrintTestSupport.h"
#include "framework/CIniProfileStore.h"
#include "framework/StringTable.h"
#include "framework/UserPrompt.h"
#include "print/CAlbumTextPrintJob.h"
#include "print/CPrintTextStyle.h"
#include "print/ui/CAlbumPrintDlg.h"
#include "print/ui/CExtraMarginsDlg.h"
#include "print/ui/CImagePrintDlg.h"
#include "print/ui/CNotesDlg.h"
#include "print/ui/CPageRangeDlg.h"
#include "print/ui/PrintRun.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <memory>

#include <unistd.h>

namespace {

std::unique_ptr<QPrinter> PdfPrinter() {
    auto p = std::make_unique<QPrinter>(QPrinter::HighResolution);
    p->setOutputFormat(QPrinter::PdfFormat);
    p->setResolution(300);
    p->setPageSize(QPageSize(QPageSize::A4));
    return p;
}

// Types the text into the field and leaves it, as a user tabbing on.
void Enter(QLineEdit* pEdit, const QString& text) {
    pEdit->setText(text);
    emit pEdit->editingFinished();
}

std::string Pane(const CPrintDlg& dlg, int i) {
    return dlg.GetPane(i)->text().toStdString();
}

std::string Bounds(const std::string& lo, const std::string& hi) {
    return FormatResString2(1317, lo, hi);
}

// Runs fn on the modal dialog the next exec() opens.
template <class T, class F> void OnNextModal(F fn) {
    QTimer::singleShot(0, [fn] {
        if (auto* p = dynamic_cast<T*>(QApplication::activeModalWidget())) fn(*p);
    });
}

int PdfPages(const std::string& path) {
    const std::string cmd = "pdfinfo '" + path + "' 2>/dev/null | grep '^Pages:'";
    FILE* f = popen(cmd.c_str(), "r");
    if (!f) return -1;
    char line[128] = {};
    int n = -1;
    if (fgets(line, sizeof line, f)) std::sscanf(line, "Pages: %d", &n);
    pclose(f);
    return n;
}

std::string TempPdf(const char* name) {
    return (std::filesystem::temp_directory_path() /
            ("zozi-print-ui-" + std::to_string(::getpid()) + "-" + name + ".pdf"))
        .string();
}

} // namespace

TEST(AlbumPrintDlg, DefaultsGridRangeAndMiniature) {
    CScriptedPrompt prompt;
    CUserPromptScope scope(&prompt);
    auto printer = PdfPrinter();
    CMemoryAlbum album(5);
    CAlbumPrintSettings settings;
    CAlbumPrintDlg dlg(settings, nullptr, *printer, album, {}, 0);
    EXPECT_EQ(dlg.windowTitle(), "Print Album");
    EXPECT_TRUE(dlg.GetThumbnailsButton()->isChecked());
    EXPECT_TRUE(dlg.GetAllButton()->isChecked());
    EXPECT_FALSE(dlg.GetSelectedButton()->isEnabled()); // nothing selected
    EXPECT_EQ(dlg.GetRowsEdit()->text(), "1");
    EXPECT_EQ(dlg.GetColumnsEdit()->text(), "1");
    EXPECT_EQ(Pane(dlg, 0), "Page Range: 1 - 5");
    EXPECT_EQ(Pane(dlg, 2), "Header: No; Footer: No");
    EXPECT_EQ(dlg.GetCancelButton()->text(), "Cancel");

    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    QTest::qWait(20);
    const int nPaints = dlg.GetMiniaturePaints();
    EXPECT_GT(nPaints, 0);

    // One past the largest grid is refused with the bounds and put back.
    Enter(dlg.GetRowsEdit(), "13");
    ASSERT_EQ(prompt.m_shown.size(), 1u);
    EXPECT_EQ(prompt.m_shown[0].text, Bounds("1", "12"));
    EXPECT_EQ(dlg.GetRowsEdit()->text(), "1");
    Enter(dlg.GetColumnsEdit(), "0");
    EXPECT_EQ(prompt.m_shown.back().text, Bounds("1", "12"));

    // 2 × 2 on 5 photos: two pages, and the miniature is drawn again.
    Enter(dlg.GetRowsEdit(), "2");
    Enter(dlg.GetColumnsEdit(), "2");
    EXPECT_EQ(prompt.m_shown.size(), 2u);
    EXPECT_EQ(Pane(dlg, 0), "Page Range: 1 - 2");
    QTest::qWait(20);
    EXPECT_GT(dlg.GetMiniaturePaints(), nPaints);
    Enter(dlg.GetRowsEdit(), "12");
    EXPECT_EQ(dlg.GetWorkSettings().m_nRows, 12);

    // The run's settings change on OK only.
    dlg.reject();
    EXPECT_EQ(settings.m_nRows, 1);
}

TEST(AlbumPrintDlg, TextModeAndSelection) {
    auto printer = PdfPrinter();
    CMemoryAlbum album(4);
    CAlbumPrintSettings settings;
    settings.m_bAllThumbnails = 0;
    CAlbumPrintDlg dlg(settings, nullptr, *printer, album, {2, 0}, 0);
    EXPECT_TRUE(dlg.GetSelectedButton()->isChecked());
    EXPECT_EQ(dlg.GetJob()->ItemCount(), 2);
    EXPECT_FALSE(dlg.GetTitlesBox()->isHidden());
    EXPECT_TRUE(dlg.GetDescriptionsBox()->isHidden());
    dlg.GetTextButton()->click();
    EXPECT_NE(dynamic_cast<CAlbumTextPrintJob*>(dlg.GetJob()), nullptr);
    EXPECT_FALSE(dlg.GetRowsEdit()->isEnabled());
    EXPECT_FALSE(dlg.GetColumnsEdit()->isEnabled());
    EXPECT_TRUE(dlg.GetTitlesBox()->isHidden());
    EXPECT_FALSE(dlg.GetDescriptionsBox()->isHidden());
    dlg.GetAllButton()->click();
    EXPECT_EQ(dlg.GetJob()->ItemCount(), 4);

    dlg.SetPreviewSetup("Album Print Preview Setup");
    EXPECT_EQ(dlg.windowTitle(), "Album Print Preview Setup");
    EXPECT_EQ(dlg.GetOkButton()->text(), "Preview");
    dlg.GetOkButton()->click();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(settings.m_bTextMode, 1);
    EXPECT_EQ(settings.m_bAllThumbnails, 1);
}

TEST(AlbumPrintDlg, PageRangeTurnsCancelIntoClose) {
    auto printer = PdfPrinter();
    CMemoryAlbum album(5);
    CAlbumPrintSettings settings;
    CAlbumPrintDlg dlg(settings, nullptr, *printer, album, {}, 0);
    OnNextModal<CPageRangeDlg>([](CPageRangeDlg& range) {
        EXPECT_TRUE(range.GetAllButton()->isChecked());
        EXPECT_FALSE(range.GetFromEdit()->isEnabled());
        range.GetPagesButton()->click();
        range.GetFromEdit()->setText("2");
        range.GetToEdit()->setText("3");
        range.accept();
    });
    dlg.OnPageRange();
    EXPECT_EQ(dlg.GetCancelButton()->text(), "Close");
    EXPECT_EQ(Pane(dlg, 0), "Page Range: 2 - 3");
    EXPECT_EQ(dlg.GetFromPage(), 2u);
    EXPECT_EQ(dlg.GetToPage(), 3u);
}

TEST(PageRangeDlg, ClampsAndRefuses) {
    CScriptedPrompt prompt;
    CUserPromptScope scope(&prompt);
    CPageRangeDlg dlg(0, 9, 4);
    EXPECT_TRUE(dlg.GetAllButton()->isChecked());
    EXPECT_EQ(dlg.GetToEdit()->text(), "4");
    dlg.GetPagesButton()->setChecked(true);
    dlg.GetFromEdit()->setText("3");
    dlg.GetToEdit()->setText("2");
    dlg.accept();
    ASSERT_EQ(prompt.m_shown.size(), 1u);
    EXPECT_EQ(prompt.m_shown[0].text, Bounds("3", "4"));
    EXPECT_NE(dlg.result(), QDialog::Accepted);
}

TEST(ExtraMarginsDlg, OneInchEitherWay) {
    CScriptedPrompt prompt;
    CUserPromptScope scope(&prompt);
    auto printer = PdfPrinter();
    const CMeasureUnit& unit = GetRunMeasureUnit();
    CExtraMarginsDlg dlg(CRect(30, 0, 0, 0), unit, *printer);
    EXPECT_EQ(dlg.GetEdit(0)->text().toStdString(), unit.Format(30));
    dlg.GetEdit(0)->setText(QString::fromStdString(unit.Format(300)));
    dlg.GetEdit(3)->setText(QString::fromStdString(unit.Format(-300)));
    dlg.GetEdit(1)->setText(QString::fromStdString(unit.Format(303))); // 1.01 in
    dlg.accept();
    ASSERT_EQ(prompt.m_shown.size(), 1u);
    EXPECT_EQ(prompt.m_shown[0].text, Bounds(unit.Format(-300), unit.Format(300)));
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    dlg.GetEdit(1)->setText("0");
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.GetMargins(), CRect(300, 0, 0, -300));

    dlg.findChild<QPushButton*>("defaults")->click();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(dlg.GetEdit(i)->text(), "0");

    // The test page goes to the printer: a PDF of one page here.
    const std::string pdf = TempPdf("margins");
    printer->setOutputFileName(QString::fromStdString(pdf));
    dlg.GetEdit(0)->setText(QString::fromStdString(unit.Format(60)));
    EXPECT_TRUE(dlg.TestPrinter());
    EXPECT_EQ(PdfPages(pdf), 1);
    std::filesystem::remove(pdf);
}

TEST(NotesDlg, OffersToIncludeHiddenText) {
    CScriptedPrompt prompt;
    CUserPromptScope scope(&prompt);
    CPrintTextStyle style;
    CNotesDlg dlg(style, "Header");
    EXPECT_EQ(dlg.GetEdit()->maxLength(), 255);
    dlg.show();
    dlg.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    QTest::keyClick(dlg.GetEdit(), Qt::Key_F1);
    EXPECT_EQ(prompt.m_help, std::vector<uint32_t>{0x20000 + 1324});
    dlg.GetEdit()->setText("Summer 1996");
    prompt.m_answers = {IDYES};
    dlg.accept();
    ASSERT_EQ(prompt.m_shown.size(), 1u);
    EXPECT_EQ(prompt.m_shown[0].text, FormatResString1(1394, "Header"));
    EXPECT_NE(dlg.result(), QDialog::Accepted);
    EXPECT_TRUE(style.m_strText.empty());
    prompt.m_answers = {IDNO};
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(style.m_strText, "Summer 1996");
    EXPECT_EQ(style.m_bShow, 0);
}

TEST(ImagePrintDlg, LayoutRulesAndPosterBounds) {
    CScriptedPrompt prompt;
    CUserPromptScope scope(&prompt);
    auto printer = PdfPrinter();
    auto dib = SolidDib(600, 400, 10, 200, 10);
    CImagePrintSettings settings;
    settings.m_header.m_bShow = 1;
    CImagePrintDlg dlg(settings, nullptr, *printer, dib.get());
    EXPECT_EQ(dlg.windowTitle(), "Print Image");
    EXPECT_TRUE(dlg.GetLayoutButton(kLayoutFit)->isChecked());
    EXPECT_TRUE(dlg.GetPositionButton(true)->isChecked());
    EXPECT_FALSE(dlg.GetField(CImagePrintDlg::kLeft)->isEnabled());
    EXPECT_FALSE(dlg.GetField(CImagePrintDlg::kWidth)->isEnabled());
    EXPECT_FALSE(dlg.GetField(CImagePrintDlg::kAcross)->isEnabled());
    EXPECT_EQ(Pane(dlg, 2), "Header: Yes; Footer: No");

    dlg.GetLayoutButton(kLayoutPoster)->click();
    EXPECT_TRUE(dlg.GetField(CImagePrintDlg::kWidth)->isEnabled());
    EXPECT_TRUE(dlg.GetField(CImagePrintDlg::kAcross)->isEnabled());
    EXPECT_EQ(Pane(dlg, 2), "Header: No; Footer: No"); // posters print none
    Enter(dlg.GetField(CImagePrintDlg::kAcross), "10");
    ASSERT_EQ(prompt.m_shown.size(), 1u);
    EXPECT_EQ(prompt.m_shown[0].text, Bounds("1", "9"));
    EXPECT_EQ(dlg.GetField(CImagePrintDlg::kAcross)->text(), "1");
    Enter(dlg.GetField(CImagePrintDlg::kAcross), "2");
    EXPECT_EQ(dlg.GetField(CImagePrintDlg::kAcross)->text(), "2");
    EXPECT_EQ(Pane(dlg, 0).substr(0, 15), "Page Range: 1 -");
    EXPECT_GE(dlg.GetPageCount(), 2);

    dlg.GetPositionButton(false)->click();
    EXPECT_TRUE(dlg.GetField(CImagePrintDlg::kLeft)->isEnabled());
    Enter(dlg.GetField(CImagePrintDlg::kLeft), "-1");
    EXPECT_EQ(prompt.m_shown.size(), 2u);

    // Cancel leaves the run's settings as they were.
    dlg.reject();
    EXPECT_EQ(settings.m_nLayout, kLayoutFit);
    EXPECT_EQ(settings.m_bCenter, 1);
}

TEST(PrintToPdf, AlbumSheetsAndPicture) {
    auto printer = PdfPrinter();
    CMemoryAlbum album(5);
    CAlbumPrintSettings settings;
    settings.m_nRows = 2;
    settings.m_nColumns = 2;
    CAlbumPrintDlg dlg(settings, nullptr, *printer, album, {}, 0);
    const std::string pdf = TempPdf("album");
    dlg.SetPdfFileName(QString::fromStdString(pdf));
    dlg.GetCopies()->setValue(1);
    dlg.GetOkButton()->click();
    ASSERT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.GetFromPage(), 1u);
    EXPECT_EQ(dlg.GetToPage(), 2u);
    std::unique_ptr<CPrintJob> pJob = dlg.TakeJob();
    ASSERT_TRUE(pJob);
    ASSERT_TRUE(PrintJobPages(*pJob, *printer, dlg.GetFromPage(), dlg.GetToPage(), false));
    EXPECT_EQ(PdfPages(pdf), 2);
    std::filesystem::remove(pdf);

    // A poster of 2 × 1 pages, then only its second page.
    auto dib = SolidDib(900, 300, 200, 10, 10);
    CImagePrintSettings image;
    CImagePrintDlg imageDlg(image, nullptr, *printer, dib.get());
    imageDlg.GetLayoutButton(kLayoutPoster)->click();
    Enter(imageDlg.GetField(CImagePrintDlg::kAcross), "2");
    const std::string poster = TempPdf("poster");
    imageDlg.SetPdfFileName(QString::fromStdString(poster));
    imageDlg.GetOkButton()->click();
    ASSERT_EQ(imageDlg.result(), QDialog::Accepted);
    EXPECT_EQ(image.m_nLayout, kLayoutPoster);
    const int nPages = imageDlg.GetPageCount();
    EXPECT_GE(nPages, 2);
    pJob = imageDlg.TakeJob();
    ASSERT_TRUE(PrintJobPages(*pJob, *printer, 1, nPages, false));
    EXPECT_EQ(PdfPages(poster), nPages);
    ASSERT_TRUE(PrintJobPages(*pJob, *printer, 2, 2, false));
    EXPECT_EQ(PdfPages(poster), 1);
    std::filesystem::remove(poster);
}

TEST(AlbumPrintDlg, SettingsReloadedAndCopiedBack) {
    CIniProfileStore store;
    store.WriteProfileInt(kPrintSection, "Album Contact Rows", 3);
    store.WriteProfileString(kPrintSection, "Header", "Old");
    auto printer = PdfPrinter();
    CMemoryAlbum album(5);
    CAlbumPrintSettings settings;
    {
        CAlbumPrintDlg dlg(settings, &store, *printer, album, {}, 0);
        EXPECT_EQ(dlg.GetRowsEdit()->text(), "3"); // loaded when the dialog opens
        Enter(dlg.GetRowsEdit(), "4");
        OnNextModal<CNotesDlg>([](CNotesDlg& notes) {
            notes.GetEdit()->setText("Summer");
            notes.GetIncludeBox()->setChecked(true);
            notes.accept();
        });
        dlg.OnNotes(false);
        EXPECT_EQ(Pane(dlg, 2), "Header: Yes; Footer: No");
        dlg.reject();
    }
    // Cancel: the header reached the store, the rows did not.
    EXPECT_EQ(store.GetProfileString(kPrintSection, "Header", ""), "Summer");
    EXPECT_EQ(store.GetProfileInt(kPrintSection, "Show Header", 0), 1);
    EXPECT_EQ(store.GetProfileInt(kPrintSection, "Album Contact Rows", 0), 3);
}
