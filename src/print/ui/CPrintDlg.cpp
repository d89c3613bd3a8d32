#include "print/ui/CPrintDlg.h"

#include "framework/IProfileStore.h"
#include "framework/StringTable.h"
#include "framework/UserPrompt.h"
#include "framework/qt/CQtDC.h"
#include "print/CPrintJob.h"
#include "print/CPrintSettings.h"
#include "print/PrintStatusPanes.h"
#include "print/ui/CExtraMarginsDlg.h"
#include "print/ui/CNotesDlg.h"
#include "print/ui/CPageRangeDlg.h"
#include "print/ui/PrintRun.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const char kPdfEntry[] = "PDF file";

// The owner-drawn miniature: the job draws the page on the button's face.
class CMiniatureButton : public QPushButton {
public:
    explicit CMiniatureButton(CPrintDlg* pDlg) : QPushButton(pDlg), m_pDlg(pDlg) {
        setObjectName("miniature");
        setFocusPolicy(Qt::NoFocus);
        setMinimumSize(170, 200);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        if (CPrintJob* pJob = m_pDlg->GetJob()) {
            CQtDC dc(&painter);
            pJob->DrawMiniature(dc, CRect(0, 0, width(), height()));
        }
        m_pDlg->CountMiniaturePaint();
    }

private:
    CPrintDlg* m_pDlg;
};

} // namespace

CPrintDlg::CPrintDlg(CPrintSettings& settings, IProfileStore* pStore, QPrinter& printer, QWidget* pParent)
    : QDialog(pParent), m_settings(settings), m_pStore(pStore), m_printer(printer),
      m_unit(GetRunMeasureUnit()) {
    if (m_pStore) m_settings.Load(*m_pStore);
}

CPrintDlg::~CPrintDlg() = default;

void CPrintDlg::Build(QWidget* pOwnControls) {
    auto* outer = new QVBoxLayout(this);
    outer->setContentsMargins(0, 0, 0, 0);
    auto* top = new QHBoxLayout;
    top->setContentsMargins(10, 10, 10, 0);
    outer->addLayout(top);
    auto* left = new QVBoxLayout;
    top->addLayout(left, 1);

    // The printer, the copies and the buttons of the common part.
    auto* printerRow = new QHBoxLayout;
    auto* printerLabel = new QLabel("&Printer:", this);
    m_pPrinterBox = new QComboBox(this);
    m_pPrinterBox->setObjectName("printer");
    printerLabel->setBuddy(m_pPrinterBox);
    const QString current =
        m_printer.outputFormat() == QPrinter::PdfFormat ? QString() : m_printer.printerName();
    for (const QString& name : QPrinterInfo::availablePrinterNames()) m_pPrinterBox->addItem(name, name);
    m_pPrinterBox->addItem(kPdfEntry, QString());
    const int nCurrent = current.isEmpty() ? m_pPrinterBox->count() - 1 : m_pPrinterBox->findData(current);
    m_pPrinterBox->setCurrentIndex(nCurrent < 0 ? m_pPrinterBox->count() - 1 : nCurrent);
    SelectPrinter(m_pPrinterBox->currentIndex());
    connect(m_pPrinterBox, &QComboBox::currentIndexChanged, this, [this](int i) {
        SelectPrinter(i);
        Relayout();
    });
    printerRow->addWidget(printerLabel);
    printerRow->addWidget(m_pPrinterBox, 1);
    auto* setup = new QPushButton("&Setup...", this);
    setup->setObjectName("setup");
    connect(setup, &QPushButton::clicked, this, [this] { OnSetup(); });
    printerRow->addWidget(setup);
    left->addLayout(printerRow);

    auto* copiesRow = new QHBoxLayout;
    auto* copiesLabel = new QLabel("&Copies:", this);
    m_pCopies = new QSpinBox(this);
    m_pCopies->setObjectName("copies");
    m_pCopies->setRange(1, 999);
    m_pCopies->setValue(std::max(1, m_printer.copyCount()));
    copiesLabel->setBuddy(m_pCopies);
    m_pCollate = new QCheckBox("C&ollate Copies", this);
    m_pCollate->setObjectName("collate");
    m_pCollate->setChecked(m_printer.collateCopies());
    copiesRow->addWidget(copiesLabel);
    copiesRow->addWidget(m_pCopies);
    copiesRow->addWidget(m_pCollate);
    copiesRow->addStretch(1);
    left->addLayout(copiesRow);
    left->addWidget(pOwnControls);

    auto* buttonRow = new QHBoxLayout;
    auto addButton = [&](const char* text, const char* name, auto handler) {
        auto* b = new QPushButton(text, this);
        b->setObjectName(name);
        connect(b, &QPushButton::clicked, this, handler);
        buttonRow->addWidget(b);
        return b;
    };
    addButton("&Header...", "header", [this] { OnNotes(false); });
    addButton("&Footer...", "footer", [this] { OnNotes(true); });
    addButton("Page Range...", "pageRange", [this] { OnPageRange(); });
    addButton("Page Size...", "pageSize", [this] { OnPageSize(); });
    left->addLayout(buttonRow);
    left->addStretch(1);

    auto* right = new QVBoxLayout;
    top->addLayout(right);
    m_pOk = new QPushButton("OK", this);
    m_pOk->setObjectName("ok");
    m_pOk->setDefault(true);
    m_pCancel = new QPushButton("Cancel", this);
    m_pCancel->setObjectName("cancel");
    connect(m_pOk, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_pCancel, &QPushButton::clicked, this, &QDialog::reject);
    right->addWidget(m_pOk);
    right->addWidget(m_pCancel);
    m_pMiniature = new CMiniatureButton(this);
    right->addWidget(m_pMiniature, 1);

    auto* status = new QStatusBar(this);
    status->setSizeGripEnabled(false);
    for (int i = 0; i < 3; ++i) {
        m_pPanes[i] = new QLabel(this);
        status->addWidget(m_pPanes[i], i == 1 ? 2 : 1);
    }
    outer->addWidget(status);

    ReplaceJob();
}

void CPrintDlg::SelectPrinter(int nIndex) {
    const QString name = m_pPrinterBox->itemData(nIndex).toString();
    if (name.isEmpty()) {
        m_printer.setOutputFormat(QPrinter::PdfFormat);
    } else {
        m_printer.setOutputFormat(QPrinter::NativeFormat);
        m_printer.setPrinterName(name);
    }
}

bool CPrintDlg::IsPdfChosen() const {
    return m_printer.outputFormat() == QPrinter::PdfFormat;
}

void CPrintDlg::SetPreviewSetup(const std::string& title) {
    setWindowTitle(QString::fromStdString(title));
    m_pOk->setText("Preview");
}

std::unique_ptr<CPrintJob> CPrintDlg::TakeJob() {
    return std::move(m_pJob);
}

void CPrintDlg::ReplaceJob() {
    m_pJob = MakeJob();
    Relayout();
}

void CPrintDlg::Relayout() {
    if (!m_pJob) return;
    CPrintInfo info;
    if (m_nFromPage) {
        info.m_nFromPage = m_nFromPage;
        info.m_nToPage = m_nToPage;
    }
    m_nPageCount = std::max(1, LayoutForPrinter(*m_pJob, m_printer, info));
    FillFields();
    UpdatePanes();
    if (m_pMiniature) m_pMiniature->update();
}

void CPrintDlg::UpdatePanes() {
    if (!m_pPanes[0]) return;
    const unsigned nFrom = m_nFromPage ? std::min<unsigned>(m_nFromPage, m_nPageCount) : 1;
    const unsigned nTo = m_nFromPage ? std::clamp<unsigned>(m_nToPage, nFrom, m_nPageCount) : m_nPageCount;
    const CPrintStatusPanes panes = MakePrintStatusPanes(*m_pJob, nFrom, nTo, m_unit);
    m_pPanes[0]->setText(QString::fromStdString(panes.strPageRange));
    m_pPanes[1]->setText(QString::fromStdString(panes.strMargins));
    m_pPanes[2]->setText(QString::fromStdString(panes.strHeaderFooter));
}

void CPrintDlg::MarkClose() {
    QString text = QString::fromStdString(LoadResString(1265));
    if (text.startsWith('&')) text.remove(0, 1);
    m_pCancel->setText(text);
}

void CPrintDlg::Refuse(QLineEdit* pEdit, const std::string& strError) {
    m_bRefusing = true;
    GetUserPrompt().MessageBox(strError, MB_OK | MB_ICONEXCLAMATION);
    m_bRefusing = false;
    FillFields();
    pEdit->setFocus();
    pEdit->selectAll();
}

void CPrintDlg::OnNotes(bool bFooter) {
    CPrintTextStyle& style = bFooter ? m_settings.m_footer : m_settings.m_header;
    CNotesDlg dlg(style, LoadResString(bFooter ? 1338 : 1337), this);
    if (dlg.exec() != QDialog::Accepted) return;
    (bFooter ? Work().m_footer : Work().m_header) = style;
    Relayout();
}

void CPrintDlg::OnPageRange() {
    const unsigned nFrom = m_nFromPage ? m_nFromPage : 1;
    const unsigned nTo = m_nFromPage ? m_nToPage : static_cast<unsigned>(m_nPageCount);
    CPageRangeDlg dlg(nFrom, nTo, static_cast<unsigned>(m_nPageCount), this);
    if (dlg.exec() != QDialog::Accepted) return;
    m_nFromPage = dlg.GetFrom();
    m_nToPage = dlg.GetTo();
    MarkClose();
    Relayout();
}

void CPrintDlg::OnPageSize() {
    CExtraMarginsDlg dlg(m_settings.m_rcExtraMargins, m_unit, m_printer, this);
    if (dlg.exec() != QDialog::Accepted) return;
    m_settings.m_rcExtraMargins = dlg.GetMargins();
    Work().m_rcExtraMargins = dlg.GetMargins();
    MarkClose();
    Relayout();
}

void CPrintDlg::OnSetup() {
    int nResult;
    if (IsPdfChosen()) {
        QPageSetupDialog dlg(&m_printer, this);
        nResult = dlg.exec();
    } else {
        QPrintDialog dlg(&m_printer, this);
        dlg.setOption(QAbstractPrintDialog::PrintToFile, false);
        nResult = dlg.exec();
    }
    if (nResult != QDialog::Accepted) return;
    MarkClose();
    Relayout();
}

void CPrintDlg::ChoosePdf() {
    if (!m_pdfFileName.isEmpty()) return;
    m_pdfFileName =
        QFileDialog::getSaveFileName(this, "Print to PDF File", "printout.pdf", "PDF files (*.pdf)");
    if (!m_pdfFileName.isEmpty() && !m_pdfFileName.endsWith(".pdf", Qt::CaseInsensitive))
        m_pdfFileName += ".pdf";
}

void CPrintDlg::accept() {
    if (m_bRefusing || !CommitFields()) return;
    if (IsPdfChosen() && m_pOk->text() != "Preview") {
        ChoosePdf();
        if (m_pdfFileName.isEmpty()) return;
        m_printer.setOutputFileName(m_pdfFileName);
    }
    m_printer.setCopyCount(m_pCopies->value());
    m_printer.setCollateCopies(m_pCollate->isChecked());
    // The range the run prints: the page range chosen, or every page.
    Relayout();
    if (!m_nFromPage) {
        m_nFromPage = 1;
        m_nToPage = static_cast<unsigned>(m_nPageCount);
    }
    QDialog::accept();
}

void CPrintDlg::done(int nResult) {
    // OK or Cancel, the settings go back to the preferences.
    if (m_pStore) m_settings.Save(*m_pStore);
    QDialog::done(nResult);
}
