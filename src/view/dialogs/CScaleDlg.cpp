#include "view/dialogs/CScaleDlg.h"

#include "imaging/ops/OpArgs.h"
#include "view/dialogs/DialogFields.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QVBoxLayout>

CScaleDlg::CScaleDlg(QWidget* pParent, int nWidth, int nHeight, int nBitCount)
    : QDialog(pParent), m_fields(nWidth, nHeight), m_nNewWidth(nWidth), m_nNewHeight(nHeight) {
    setWindowTitle(tr("Scale"));
    auto* pLayout = new QVBoxLayout(this);

    auto* pOriginal = new QGroupBox(tr("Original Image Information"));
    auto* pOrigForm = new QFormLayout(pOriginal);
    auto* pW = new QLabel(QString::number(nWidth));
    auto* pH = new QLabel(QString::number(nHeight));
    pW->setObjectName("3030");
    pH->setObjectName("3031");
    pOrigForm->addRow(tr("Width:"), pW);
    pOrigForm->addRow(tr("Height:"), pH);
    pLayout->addWidget(pOriginal);

    auto* pNew = new QGroupBox(tr("New Image Information"));
    auto* pNewForm = new QFormLayout(pNew);
    static const char* s_ids[] = {"3032", "3033", "3039", "3040"};
    static const char* s_labels[] = {"&Width:", "&Height:", "Width &Percent:", "Height P&ercent:"};
    for (int f = 0; f < CScaleFields::FieldCount; ++f) {
        auto field = CScaleFields::EField(f);
        m_pEdits[f] = new QLineEdit(QString::number(m_fields.Value(field)));
        m_pEdits[f]->setObjectName(s_ids[f]);
        pNewForm->addRow(tr(s_labels[f]), m_pEdits[f]);
        // Every change of the text, typed or written by an update.
        connect(m_pEdits[f], &QLineEdit::textChanged, this,
                [this, field](const QString& text) { m_fields.OnEdited(field, text.trimmed().toInt()); });
    }
    m_fields.m_write = [this](CScaleFields::EField f, int n) { m_pEdits[f]->setText(QString::number(n)); };
    auto* pFixed = new QRadioButton(tr("&Fixed"));
    auto* pArbitrary = new QRadioButton(tr("&Arbitrary"));
    pFixed->setObjectName("3034");
    pArbitrary->setObjectName("3035");
    pFixed->setChecked(true);
    connect(pFixed, &QRadioButton::toggled, this, [this](bool bOn) { m_fields.SetFixed(bOn); });
    auto* pLink = new QHBoxLayout;
    pLink->addWidget(pFixed);
    pLink->addWidget(pArbitrary);
    pNewForm->addRow(pLink);
    pLayout->addWidget(pNew);

    auto* pQuality = new QGroupBox(tr("Quality"));
    auto* pQLayout = new QHBoxLayout(pQuality);
    auto* pGroup = new QButtonGroup(this);
    static const char* s_quality[] = {"&Low", "&Medium", "H&igh"};
    static const char* s_qids[] = {"3108", "3109", "3110"};
    for (int i = 0; i < 3; ++i) {
        m_pQuality[i] = new QRadioButton(tr(s_quality[i]));
        m_pQuality[i]->setObjectName(s_qids[i]);
        pGroup->addButton(m_pQuality[i]);
        pQLayout->addWidget(m_pQuality[i]);
    }
    m_pQuality[0]->setChecked(true);
    if (nBitCount < 9) {
        m_pQuality[1]->setEnabled(false);
        m_pQuality[2]->setEnabled(false);
    }
    pLayout->addWidget(pQuality);
    pLayout->addWidget(MakeOkCancel(this));
}

void CScaleDlg::accept() {
    int nWidthPercent = 0, nHeightPercent = 0;
    if (!CheckIntegerField(m_pEdits[CScaleFields::Width], CScaleFields::kMinSize, CScaleFields::kMaxSize,
                           m_nNewWidth))
        return;
    if (!CheckIntegerField(m_pEdits[CScaleFields::Height], CScaleFields::kMinSize, CScaleFields::kMaxSize,
                           m_nNewHeight))
        return;
    if (!CheckIntegerField(m_pEdits[CScaleFields::WidthPercent], CScaleFields::kMinPercent,
                           CScaleFields::kMaxPercent, nWidthPercent))
        return;
    if (!CheckIntegerField(m_pEdits[CScaleFields::HeightPercent], CScaleFields::kMinPercent,
                           CScaleFields::kMaxPercent, nHeightPercent))
        return;
    QDialog::accept();
}

void CScaleDlg::GetValues(COpValues& values) const {
    values.Set("W", m_nNewWidth);
    values.Set("H", m_nNewHeight);
    static const char* s_words[] = {"low", "medium", "high"};
    int nQuality = 0;
    for (int i = 0; i < 3; ++i)
        if (m_pQuality[i]->isChecked()) nQuality = i;
    values.Set("--quality", nQuality, s_words[nQuality]);
}
