#include "print/ui/CExtraMarginsDlg.h"

#include "framework/StringTable.h"
#include "framework/UserPrompt.h"
#include "framework/qt/CQtDC.h"
#include "print/CPrintSettings.h"
#include "print/MarginsTestPage.h"
#include "print/PrintUnits.h"
#include "print/ui/PrintRun.h"

#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrinter>
#include <QPushButton>

CExtraMarginsDlg::CExtraMarginsDlg(const CRect& rcMargins, const CMeasureUnit& unit, QPrinter& printer,
                                   QWidget* pParent)
    : QDialog(pParent), m_rcMargins(rcMargins), m_unit(unit), m_printer(printer) {
    setWindowTitle("Print Extra Margins");
    SetPrintDialogHelp(this, 1383);
    auto* grid = new QGridLayout(this);
    const char* labels[4] = {"&Left:", "&Top:", "&Right:", "&Bottom:"};
    const int values[4] = {rcMargins.left, rcMargins.top, rcMargins.right, rcMargins.bottom};
    for (int i = 0; i < 4; ++i) {
        m_pEdits[i] = new QLineEdit(QString::fromStdString(unit.Format(values[i])), this);
        auto* label = new QLabel(labels[i], this);
        label->setBuddy(m_pEdits[i]);
        grid->addWidget(label, i, 0);
        grid->addWidget(m_pEdits[i], i, 1);
        grid->addWidget(new QLabel(QString::fromStdString(unit.Label()), this), i, 2);
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    QPushButton* defaults = buttons->addButton("&Defaults", QDialogButtonBox::ResetRole);
    QPushButton* test = buttons->addButton("Te&st Printer", QDialogButtonBox::ActionRole);
    defaults->setObjectName("defaults");
    test->setObjectName("testPrinter");
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(defaults, &QPushButton::clicked, this, [this] {
        for (QLineEdit* e : m_pEdits) e->setText(QString::fromStdString(m_unit.Format(0)));
    });
    connect(test, &QPushButton::clicked, this, [this] { TestPrinter(); });
    grid->addWidget(buttons, 4, 0, 1, 3);
}

bool CExtraMarginsDlg::ReadFields(CRect& rc) {
    int v[4];
    for (int i = 0; i < 4; ++i) {
        std::string strError;
        if (!ValidateLength(m_unit, m_pEdits[i]->text().toStdString(), kMinExtraMargin, kMaxExtraMargin, v[i],
                            strError)) {
            GetUserPrompt().MessageBox(strError, MB_OK | MB_ICONEXCLAMATION);
            m_pEdits[i]->setFocus();
            m_pEdits[i]->selectAll();
            return false;
        }
    }
    rc = CRect(v[0], v[1], v[2], v[3]);
    return true;
}

void CExtraMarginsDlg::accept() {
    CRect rc;
    if (!ReadFields(rc)) return;
    m_rcMargins = rc;
    QDialog::accept();
}

bool CExtraMarginsDlg::TestPrinter() {
    CRect rc;
    if (!ReadFields(rc)) return false;
    // On the PDF device the page goes to a file the user names.
    const QString oldFile = m_printer.outputFileName();
    if (m_printer.outputFormat() == QPrinter::PdfFormat && oldFile.isEmpty()) {
        const QString file =
            QFileDialog::getSaveFileName(this, "Print to PDF File", "margins-test.pdf", "PDF files (*.pdf)");
        if (file.isEmpty()) return false;
        m_printer.setOutputFileName(file);
    }
    // A failure to start the document or the page leaves the test silently.
    const QString oldName = m_printer.docName();
    m_printer.setDocName(QString::fromStdString(LoadResString(1385)).trimmed());
    QPainter painter;
    const bool bStarted = painter.begin(&m_printer);
    if (bStarted) {
        CQtDC dc(&painter, true);
        DrawMarginsTestPage(dc, rc);
        painter.end();
    }
    m_printer.setDocName(oldName);
    m_printer.setOutputFileName(oldFile);
    return bStarted;
}
