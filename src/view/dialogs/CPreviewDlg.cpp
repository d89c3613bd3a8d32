#include "view/dialogs/CPreviewDlg.h"

#include "framework/qt/CQtDC.h"
#include "imaging/CDib.h"
#include "imaging/CResampleScale.h"
#include "imaging/PreviewFit.h"
#include "imaging/ops/COperationTable.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>

namespace {
bool s_bAutoPreview = true;
} // namespace

class CPreviewDlg::CPreviewBox : public QWidget {
public:
    explicit CPreviewBox(CPreviewDlg* pDlg) : QWidget(pDlg), m_pDlg(pDlg) {
        setObjectName("3076");
        setFixedSize(kPreviewWidth, kPreviewHeight);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        m_pDlg->Paint(painter);
    }

private:
    CPreviewDlg* m_pDlg;
};

CPreviewDlg::CPreviewDlg(QWidget* pParent, const CDib& image, unsigned nCommandId, const QString& strTitle)
    : QDialog(pParent), m_nCommandId(nCommandId) {
    setWindowTitle(strTitle);
    auto* pMain = new QHBoxLayout(this);
    auto* pLeft = new QVBoxLayout;
    m_pControls = new QGridLayout;
    pLeft->addLayout(m_pControls);
    pLeft->addStretch();
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    pLeft->addWidget(pButtons);
    pMain->addLayout(pLeft);

    auto* pRight = new QVBoxLayout;
    m_pBox = new CPreviewBox(this);
    pRight->addWidget(m_pBox);
    auto* pPreview = new QPushButton(tr("&Preview"));
    pPreview->setObjectName("preview");
    pPreview->setAutoDefault(false);
    connect(pPreview, &QPushButton::clicked, this, &CPreviewDlg::Preview);
    pRight->addWidget(pPreview);
    m_pAuto = new QCheckBox(tr("&Auto Preview"));
    m_pAuto->setObjectName("autoPreview");
    m_pAuto->setChecked(s_bAutoPreview);
    connect(m_pAuto, &QCheckBox::toggled, this, [](bool bOn) { s_bAutoPreview = bOn; });
    pRight->addWidget(m_pAuto);
    pRight->addStretch();
    pMain->addLayout(pRight);

    // The reduced copy, fitted into the control less the frame.
    m_rcControl = ShrinkPreviewControl(CRect(0, 0, kPreviewWidth, kPreviewHeight));
    m_rcPreview = FitPreviewRect(m_rcControl, image.GetWidth(), image.GetHeight());
    if (!m_rcPreview.IsRectEmpty()) {
        try {
            const int w = m_rcPreview.Width(), h = m_rcPreview.Height();
            if (image.IsGray())
                m_pReduced = std::make_unique<CDib>(w, h, 8, 256, nullptr);
            else
                m_pReduced = std::make_unique<CDib>(image.GetBitCount(), w, h, image.GetColorTable());
            // The scaler only reads its source.
            CResampleScale(const_cast<CDib*>(&image), m_pReduced.get()).Scale();
        } catch (...) {
            m_pReduced.reset(); // a depth the scaler does not take: no preview
        }
    }
}

CPreviewDlg::~CPreviewDlg() = default;

bool CPreviewDlg::IsAutoPreview() {
    return s_bAutoPreview;
}

void CPreviewDlg::SetAutoPreview(bool bOn) {
    s_bAutoPreview = bOn;
}

void CPreviewDlg::Changed() {
    if (s_bAutoPreview) Preview();
}

void CPreviewDlg::Preview() {
    ++m_nPreviews;
    m_pShown.reset();
    const COperation* pOp = COperationTable::FindById(m_nCommandId);
    if (m_pReduced && pOp && pOp->m_call) {
        try {
            COpValues values;
            GetValues(values);
            std::unique_ptr<CDib> pCopy = std::make_unique<CDib>(*m_pReduced);
            COpContext ctx{pCopy, values, {}};
            pOp->m_call(ctx);
            m_pShown = std::move(pCopy);
        } catch (...) {
            m_pShown.reset(); // nothing to show for values the operation refuses
        }
    }
    m_pBox->update();
}

void CPreviewDlg::Paint(QPainter& painter) {
    const QRect rc(0, 0, kPreviewWidth, kPreviewHeight);
    painter.fillRect(rc, palette().color(QPalette::Window));
    // Sunken bevel of the frame width: shadow above and left, highlight below and right.
    const QColor shadow = palette().color(QPalette::Dark), light = palette().color(QPalette::Light);
    for (int i = 0; i < kPreviewFrameWidth; ++i) {
        const QRect r = rc.adjusted(i, i, -i - 1, -i - 1);
        painter.setPen(shadow);
        painter.drawLine(r.topLeft(), r.topRight());
        painter.drawLine(r.topLeft(), r.bottomLeft());
        painter.setPen(light);
        painter.drawLine(r.bottomLeft(), r.bottomRight());
        painter.drawLine(r.topRight(), r.bottomRight());
    }
    if (m_pShown) {
        CQtDC dc(&painter);
        m_pShown->Draw(dc, m_rcPreview.left, m_rcPreview.top);
    }
}

QScrollBar* CPreviewDlg::AddScrollBar(const QString& strLabel, int nMin, int nMax, int nValue, int nPage,
                                      std::function<QString(int)> format) {
    const int nRow = m_pControls->rowCount();
    auto* pLabel = new QLabel(strLabel);
    auto* pBar = new QScrollBar(Qt::Horizontal);
    pBar->setRange(nMin, nMax);
    pBar->setSingleStep(1);
    pBar->setPageStep(nPage);
    pBar->setValue(nValue);
    pBar->setMinimumWidth(160);
    pLabel->setBuddy(pBar);
    if (!format) format = [](int n) { return QString::number(n); };
    auto* pValue = new QLabel(format(nValue));
    pValue->setMinimumWidth(36);
    connect(pBar, &QScrollBar::valueChanged, this, [this, pValue, format](int n) {
        pValue->setText(format(n));
        Changed();
    });
    m_pControls->addWidget(pLabel, nRow, 0);
    m_pControls->addWidget(pBar, nRow, 1);
    m_pControls->addWidget(pValue, nRow, 2);
    return pBar;
}

void CPreviewDlg::AddRow(QWidget* pWidget) {
    m_pControls->addWidget(pWidget, m_pControls->rowCount(), 0, 1, 3);
}
