#include "print/ui/CImagePrintDlg.h"

#include "print/CImagePrintJob.h"
#include "print/ui/PrintRun.h"

#include <QButtonGroup>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

CImagePrintDlg::CImagePrintDlg(CImagePrintSettings& settings, IProfileStore* pStore, QPrinter& printer,
                               CDib* pDib, QWidget* pParent)
    : CPrintDlg(settings, pStore, printer, pParent), m_imageSettings(settings), m_work(settings),
      m_pDib(pDib) {
    setWindowTitle("Print Image");
    SetPrintDialogHelp(this, 1322);
    auto* controls = new QWidget(this);
    auto* grid = new QGridLayout(controls);
    grid->setContentsMargins(0, 0, 0, 0);

    auto* layoutBox = new QGroupBox("Layout", controls);
    auto* layoutColumn = new QVBoxLayout(layoutBox);
    auto* layoutGroup = new QButtonGroup(this);
    const char* layouts[4] = {"Fit to &Page", "&4x6 Format Print", "P&oster", "C&ustom Page"};
    for (int i = 0; i < 4; ++i) {
        m_pLayout[i] = new QRadioButton(layouts[i], layoutBox);
        layoutGroup->addButton(m_pLayout[i], i);
        layoutColumn->addWidget(m_pLayout[i]);
    }
    auto* positionBox = new QGroupBox("Position", controls);
    auto* positionGrid = new QGridLayout(positionBox);
    auto* positionGroup = new QButtonGroup(this);
    m_pPosition[0] = new QRadioButton("C&entered", positionBox);
    m_pPosition[1] = new QRadioButton("Cus&tom", positionBox);
    positionGroup->addButton(m_pPosition[0], 1);
    positionGroup->addButton(m_pPosition[1], 0);
    positionGrid->addWidget(m_pPosition[0], 0, 0, 1, 2);
    positionGrid->addWidget(m_pPosition[1], 1, 0, 1, 2);

    auto makeField = [&](EField f, const char* name) {
        m_pFields[f] = new QLineEdit(controls);
        m_pFields[f]->setObjectName(name);
        m_pFields[f]->setMaximumWidth(70);
        connect(m_pFields[f], &QLineEdit::editingFinished, this, [this, f] {
            if (!m_bFilling) Enter(f);
        });
        return m_pFields[f];
    };
    auto label = [&](const char* text, QWidget* buddy) {
        auto* l = new QLabel(text, controls);
        l->setBuddy(buddy);
        return l;
    };
    const QString unit = QString::fromStdString(m_unit.Label());
    positionGrid->addWidget(label("&Left:", makeField(kLeft, "left")), 2, 0);
    positionGrid->addWidget(m_pFields[kLeft], 2, 1);
    positionGrid->addWidget(label("To&p:", makeField(kTop, "top")), 3, 0);
    positionGrid->addWidget(m_pFields[kTop], 3, 1);
    positionGrid->addWidget(new QLabel(unit, positionBox), 2, 2);

    auto* sizeBox = new QGroupBox("Size", controls);
    auto* sizeGrid = new QGridLayout(sizeBox);
    sizeGrid->addWidget(label("&Width:", makeField(kWidth, "width")), 0, 0);
    sizeGrid->addWidget(m_pFields[kWidth], 0, 1);
    sizeGrid->addWidget(new QLabel(unit, sizeBox), 0, 2);
    sizeGrid->addWidget(label("H&eight:", makeField(kHeight, "height")), 1, 0);
    sizeGrid->addWidget(m_pFields[kHeight], 1, 1);
    sizeGrid->addWidget(label("&%:", makeField(kPercent, "percent")), 2, 0);
    sizeGrid->addWidget(m_pFields[kPercent], 2, 1);
    sizeGrid->addWidget(label("Page(s) &across:", makeField(kAcross, "across")), 3, 0);
    sizeGrid->addWidget(m_pFields[kAcross], 3, 1);
    sizeGrid->addWidget(label("Page(s) &down:", makeField(kDown, "down")), 4, 0);
    sizeGrid->addWidget(m_pFields[kDown], 4, 1);

    grid->addWidget(layoutBox, 0, 0);
    grid->addWidget(positionBox, 1, 0);
    grid->addWidget(sizeBox, 0, 1, 2, 1);

    m_pLayout[std::clamp(m_work.m_nLayout, 0, 3)]->setChecked(true);
    m_pPosition[m_work.m_bCenter ? 0 : 1]->setChecked(true);
    connect(layoutGroup, &QButtonGroup::idClicked, this, [this](int nLayout) {
        if (!m_form) return;
        m_form->SetLayout(nLayout);
        Apply();
    });
    connect(positionGroup, &QButtonGroup::idClicked, this, [this](int bCenter) {
        if (!m_form) return;
        m_form->SetCenter(bCenter != 0);
        Apply();
    });
    Build(controls);
}

std::unique_ptr<CPrintJob> CImagePrintDlg::MakeJob() {
    return std::make_unique<CImagePrintJob>(m_work, m_pDib);
}

void CImagePrintDlg::Apply() {
    m_form->Store(m_work);
    Relayout();
}

void CImagePrintDlg::FillFields() {
    auto* pJob = static_cast<CImagePrintJob*>(m_pJob.get());
    m_form.emplace(*pJob, m_unit);
    m_bFilling = true;
    m_pFields[kLeft]->setText(QString::fromStdString(m_form->LeftText()));
    m_pFields[kTop]->setText(QString::fromStdString(m_form->TopText()));
    m_pFields[kWidth]->setText(QString::fromStdString(m_form->WidthText()));
    m_pFields[kHeight]->setText(QString::fromStdString(m_form->HeightText()));
    m_pFields[kPercent]->setText(QString::number(m_form->Percent()));
    m_pFields[kAcross]->setText(QString::number(m_form->PagesAcross()));
    m_pFields[kDown]->setText(QString::number(m_form->PagesDown()));
    for (EField f : {kLeft, kTop}) m_pFields[f]->setEnabled(m_form->PositionEnabled());
    for (EField f : {kWidth, kHeight, kPercent}) m_pFields[f]->setEnabled(m_form->SizeEnabled());
    for (EField f : {kAcross, kDown}) m_pFields[f]->setEnabled(m_form->PagesEnabled());
    m_bFilling = false;
}

bool CImagePrintDlg::Enter(EField f) {
    if (!m_form || !m_pFields[f]->isEnabled()) return true;
    const std::string text = m_pFields[f]->text().toStdString();
    const std::string shown[kFieldCount] = {m_form->LeftText(),
                                            m_form->TopText(),
                                            m_form->WidthText(),
                                            m_form->HeightText(),
                                            std::to_string(m_form->Percent()),
                                            std::to_string(m_form->PagesAcross()),
                                            std::to_string(m_form->PagesDown())};
    if (text == shown[f]) return true;
    std::string strError;
    bool bOk = false;
    switch (f) {
    case kLeft:
        bOk = m_form->EnterLeft(text, strError);
        break;
    case kTop:
        bOk = m_form->EnterTop(text, strError);
        break;
    case kWidth:
        bOk = m_form->EnterWidth(text, strError);
        break;
    case kHeight:
        bOk = m_form->EnterHeight(text, strError);
        break;
    case kPercent:
        bOk = m_form->EnterPercent(text, strError);
        break;
    case kAcross:
        bOk = m_form->EnterPagesAcross(text, strError);
        break;
    case kDown:
        bOk = m_form->EnterPagesDown(text, strError);
        break;
    default:
        break;
    }
    if (!bOk) {
        Refuse(m_pFields[f], strError);
        return false;
    }
    Apply();
    return true;
}

bool CImagePrintDlg::CommitFields() {
    for (int f = 0; f < kFieldCount; ++f)
        if (!Enter(static_cast<EField>(f))) return false;
    m_imageSettings.m_rcImage = m_work.m_rcImage;
    m_imageSettings.m_nLayout = m_work.m_nLayout;
    m_imageSettings.m_bCenter = m_work.m_bCenter;
    return true;
}
