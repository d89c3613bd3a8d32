#include "print/ui/CAlbumPrintDlg.h"

#include "print/CAlbumTextPrintJob.h"
#include "print/CAlbumThumbnailPrintJob.h"
#include "print/PrintUnits.h"
#include "print/ui/PrintRun.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

CAlbumPrintDlg::CAlbumPrintDlg(CAlbumPrintSettings& settings, IProfileStore* pStore, QPrinter& printer,
                               IAlbumPrintSource& source, std::vector<int> selection,
                               int nContactPreviewSource, QWidget* pParent)
    : CPrintDlg(settings, pStore, printer, pParent), m_albumSettings(settings), m_work(settings),
      m_source(source), m_selection(std::move(selection)), m_nContactPreviewSource(nContactPreviewSource) {
    setWindowTitle("Print Album");
    SetPrintDialogHelp(this, 1323);
    auto* controls = new QWidget(this);
    auto* grid = new QGridLayout(controls);
    grid->setContentsMargins(0, 0, 0, 0);

    auto* typeBox = new QGroupBox("Type", controls);
    auto* typeColumn = new QVBoxLayout(typeBox);
    m_pThumbnails = new QRadioButton("T&humbnails", typeBox);
    m_pText = new QRadioButton("Te&xt", typeBox);
    auto* typeGroup = new QButtonGroup(this);
    typeGroup->addButton(m_pThumbnails, 0);
    typeGroup->addButton(m_pText, 1);
    typeColumn->addWidget(m_pThumbnails);
    typeColumn->addWidget(m_pText);

    auto* rangeBox = new QGroupBox("Range", controls);
    auto* rangeColumn = new QVBoxLayout(rangeBox);
    m_pSelected = new QRadioButton("Selected &Thumbnail(s)", rangeBox);
    m_pAll = new QRadioButton("A&ll Thumbnails", rangeBox);
    auto* rangeGroup = new QButtonGroup(this);
    rangeGroup->addButton(m_pSelected, 0);
    rangeGroup->addButton(m_pAll, 1);
    rangeColumn->addWidget(m_pSelected);
    rangeColumn->addWidget(m_pAll);

    auto* gridBox = new QGroupBox("Thumbnails per Page", controls);
    auto* gridGrid = new QGridLayout(gridBox);
    m_pRows = new QLineEdit(gridBox);
    m_pRows->setObjectName("rows");
    m_pColumns = new QLineEdit(gridBox);
    m_pColumns->setObjectName("columns");
    auto* rowsLabel = new QLabel("&Row(s):", gridBox);
    rowsLabel->setBuddy(m_pRows);
    auto* columnsLabel = new QLabel("&Column(s):", gridBox);
    columnsLabel->setBuddy(m_pColumns);
    gridGrid->addWidget(rowsLabel, 0, 0);
    gridGrid->addWidget(m_pRows, 0, 1);
    gridGrid->addWidget(columnsLabel, 1, 0);
    gridGrid->addWidget(m_pColumns, 1, 1);

    auto* titlesBox = new QGroupBox("Titles", controls);
    auto* titlesColumn = new QVBoxLayout(titlesBox);
    m_pIndex = new QCheckBox("&Index", titlesBox);
    m_pTitles = new QCheckBox("Titl&es", titlesBox);
    m_pDescriptions = new QCheckBox("D&escriptions", titlesBox);
    titlesColumn->addWidget(m_pIndex);
    titlesColumn->addWidget(m_pTitles);
    titlesColumn->addWidget(m_pDescriptions);

    grid->addWidget(typeBox, 0, 0);
    grid->addWidget(rangeBox, 0, 1);
    grid->addWidget(gridBox, 1, 0);
    grid->addWidget(titlesBox, 1, 1);

    // Selected thumbnails only when there is a selection.
    if (m_selection.empty()) m_work.m_bAllThumbnails = 1;
    m_pSelected->setEnabled(!m_selection.empty());
    (m_work.m_bTextMode ? m_pText : m_pThumbnails)->setChecked(true);
    (m_work.m_bAllThumbnails ? m_pAll : m_pSelected)->setChecked(true);
    m_pIndex->setChecked(m_work.m_bShowIndex != 0);
    m_pTitles->setChecked(m_work.m_bShowTitle != 0);
    m_pDescriptions->setChecked(m_work.m_bShowDescription != 0);

    connect(typeGroup, &QButtonGroup::idClicked, this, [this](int nText) {
        m_work.m_bTextMode = nText;
        UpdateMode();
        ReplaceJob();
    });
    connect(rangeGroup, &QButtonGroup::idClicked, this, [this](int nAll) {
        m_work.m_bAllThumbnails = nAll;
        ReplaceJob();
    });
    connect(m_pRows, &QLineEdit::editingFinished, this, [this] { EnterGrid(m_pRows, m_work.m_nRows); });
    connect(m_pColumns, &QLineEdit::editingFinished, this,
            [this] { EnterGrid(m_pColumns, m_work.m_nColumns); });
    auto check = [this](QCheckBox* box, int& nFlag) {
        connect(box, &QCheckBox::toggled, this, [this, &nFlag](bool bOn) {
            nFlag = bOn ? 1 : 0;
            Relayout();
        });
    };
    check(m_pIndex, m_work.m_bShowIndex);
    check(m_pTitles, m_work.m_bShowTitle);
    check(m_pDescriptions, m_work.m_bShowDescription);
    UpdateMode();
    Build(controls);
}

void CAlbumPrintDlg::UpdateMode() {
    const bool bText = m_work.m_bTextMode != 0;
    m_pRows->setEnabled(!bText);
    m_pColumns->setEnabled(!bText);
    m_pTitles->setVisible(!bText);
    m_pDescriptions->setVisible(bText);
}

std::unique_ptr<CPrintJob> CAlbumPrintDlg::MakeJob() {
    std::vector<int> selection = m_work.m_bAllThumbnails ? std::vector<int>{} : m_selection;
    if (m_work.m_bTextMode)
        return std::make_unique<CAlbumTextPrintJob>(m_work, m_source, std::move(selection));
    return std::make_unique<CAlbumThumbnailPrintJob>(m_work, m_source, std::move(selection),
                                                     m_nContactPreviewSource);
}

void CAlbumPrintDlg::FillFields() {
    const QSignalBlocker rows(m_pRows), columns(m_pColumns);
    m_pRows->setText(QString::number(m_work.m_nRows));
    m_pColumns->setText(QString::number(m_work.m_nColumns));
}

bool CAlbumPrintDlg::EnterGrid(QLineEdit* pEdit, int& nValue) {
    if (!pEdit->isEnabled() || pEdit->text() == QString::number(nValue)) return true;
    std::string strError;
    int n = 0;
    if (!ValidateInteger(pEdit->text().toStdString(), 1, kMaxAlbumGrid, n, strError)) {
        Refuse(pEdit, strError);
        return false;
    }
    nValue = n;
    Relayout();
    return true;
}

bool CAlbumPrintDlg::CommitFields() {
    if (!EnterGrid(m_pRows, m_work.m_nRows) || !EnterGrid(m_pColumns, m_work.m_nColumns)) return false;
    CAlbumPrintSettings& s = m_albumSettings;
    s.m_bTextMode = m_work.m_bTextMode;
    s.m_bAllThumbnails = m_work.m_bAllThumbnails;
    s.m_nRows = m_work.m_nRows;
    s.m_nColumns = m_work.m_nColumns;
    s.m_bShowIndex = m_work.m_bShowIndex;
    s.m_bShowTitle = m_work.m_bShowTitle;
    s.m_bShowDescription = m_work.m_bShowDescription;
    return true;
}
