#include "view/dialogs/CArithmeticDlg.h"

#include "framework/CException.h"
#include "framework/UserPrompt.h"
#include "imaging/CDib.h"
#include "imaging/ops/COperationTable.h"
#include "view/dialogs/DialogFields.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace {

const char* Formula(unsigned nId) {
    switch (nId) {
    case 2176:
        return "Target = (Image1 + Image2)/Scale (Where Scale is 1..2)";
    case 2177:
        return "Target = (Image1 - Image2)/Scale (Where Scale is 1..2)";
    case 2178:
        return "Target = Absolute(Image1 - Image2)";
    case 2179:
        return "Target = (Image1 * Image2) / 255";
    default:
        return "Target = Image1*Percent + Image2(100-Percent) (Where Percent is 0..100)";
    }
}

QLabel* PreviewLabel(const char* pszId) {
    auto* p = new QLabel;
    p->setObjectName(pszId);
    p->setFixedSize(CArithmeticDlg::kPreviewSize + 4, CArithmeticDlg::kPreviewSize + 4);
    p->setAlignment(Qt::AlignCenter);
    p->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    return p;
}

} // namespace

CArithmeticDlg::CArithmeticDlg(QWidget* pParent, unsigned nCommandId, std::vector<COpenPicture> pictures,
                               int nCurrent)
    : QDialog(pParent), m_nCommandId(nCommandId), m_pictures(std::move(pictures)) {
    setWindowTitle(tr("Arithmatic"));
    auto* pLayout = new QGridLayout(this);
    auto* pFormula = new QLabel(tr(Formula(nCommandId)));
    pFormula->setObjectName("3275");
    pLayout->addWidget(pFormula, 0, 0, 1, 3);
    m_pImage1 = new QComboBox;
    m_pImage2 = new QComboBox;
    m_pImage1->setObjectName("109");
    m_pImage2->setObjectName("110");
    for (const COpenPicture& p : m_pictures) {
        m_pImage1->addItem(QString::fromStdString(p.m_strTitle));
        m_pImage2->addItem(QString::fromStdString(p.m_strTitle));
        m_reduced.push_back(p.m_pImage ? ReducedCopy(*p.m_pImage, kPreviewSize, kPreviewSize) : nullptr);
    }
    pLayout->addWidget(new QLabel(tr("Image1:")), 1, 0);
    pLayout->addWidget(new QLabel(tr("Image2:")), 1, 1);
    pLayout->addWidget(new QLabel(tr("Target:")), 1, 2);
    pLayout->addWidget(m_pImage1, 2, 0);
    pLayout->addWidget(m_pImage2, 2, 1);
    m_pPreview1 = PreviewLabel("3277");
    m_pPreview2 = PreviewLabel("3278");
    m_pPreviewTarget = PreviewLabel("3279");
    pLayout->addWidget(m_pPreview1, 3, 0);
    pLayout->addWidget(m_pPreview2, 3, 1);
    pLayout->addWidget(m_pPreviewTarget, 3, 2);

    auto* pScaleLabel = new QLabel(IsBlend() ? tr("Percent:") : tr("Scale:"));
    m_pScale = new QLineEdit(IsBlend() ? "50" : "1");
    m_pScale->setObjectName("111");
    auto* pRange = new QLabel(IsBlend() ? tr("(0..100)") : tr("(1..2)"));
    m_pWrap = new QCheckBox(tr("Wrap"));
    m_pWrap->setObjectName("112");
    pLayout->addWidget(pScaleLabel, 4, 0);
    pLayout->addWidget(m_pScale, 4, 1);
    pLayout->addWidget(pRange, 4, 2);
    pLayout->addWidget(m_pWrap, 5, 0);
    const bool bScale = HasScale() || IsBlend();
    pScaleLabel->setVisible(bScale);
    m_pScale->setVisible(bScale);
    pRange->setVisible(bScale);
    m_pWrap->setVisible(HasScale());
    pLayout->addWidget(MakeOkCancel(this), 6, 0, 1, 3);

    // Image1 is the current window; Image2 the next one when there is one.
    const int n = int(m_pictures.size());
    if (n > 0) {
        const int nFirst = std::clamp(nCurrent, 0, n - 1);
        m_pImage1->setCurrentIndex(nFirst);
        m_pImage2->setCurrentIndex(n > 1 ? (nFirst + 1) % n : nFirst);
    }
    connect(m_pImage1, &QComboBox::currentIndexChanged, this, [this] { UpdatePreviews(); });
    connect(m_pImage2, &QComboBox::currentIndexChanged, this, [this] { UpdatePreviews(); });
    connect(m_pScale, &QLineEdit::editingFinished, this, [this] { UpdatePreviews(); });
    connect(m_pWrap, &QCheckBox::toggled, this, [this] { UpdatePreviews(); });
    UpdatePreviews();
}

CArithmeticDlg::~CArithmeticDlg() = default;

bool CArithmeticDlg::SameSize() const {
    const int a = m_pImage1->currentIndex(), b = m_pImage2->currentIndex();
    if (a < 0 || b < 0) return false;
    const CDib* p = m_pictures[a].m_pImage;
    const CDib* q = m_pictures[b].m_pImage;
    return p && q && p->GetWidth() == q->GetWidth() && p->GetHeight() == q->GetHeight();
}

void CArithmeticDlg::UpdatePreviews() {
    const int a = m_pImage1->currentIndex(), b = m_pImage2->currentIndex();
    auto show = [this](QLabel* pLabel, CDib* pImage) {
        pLabel->setPixmap(pImage ? QPixmap::fromImage(DibToImage(*pImage)) : QPixmap());
    };
    show(m_pPreview1, a >= 0 ? m_reduced[a].get() : nullptr);
    show(m_pPreview2, b >= 0 ? m_reduced[b].get() : nullptr);
    m_pTarget.reset();
    if (a < 0 || b < 0) return;
    if (!SameSize()) {
        show(m_pPreviewTarget, nullptr);
        GetUserPrompt().MessageBox(kMsgSameSize, MB_OK | MB_ICONSTOP);
        return;
    }
    const COperation* pOp = COperationTable::FindById(m_nCommandId);
    if (pOp && m_reduced[a] && m_reduced[b]) {
        try {
            COpValues values;
            GetValues(values);
            auto pTarget = std::make_unique<CDib>(*m_reduced[a]);
            COpContext ctx{pTarget, values,
                           [this, b](const std::string&) { return std::make_unique<CDib>(*m_reduced[b]); }};
            pOp->m_call(ctx);
            m_pTarget = std::move(pTarget);
        } catch (const CException&) {
            m_pTarget.reset(); // values the operation refuses: no preview
        }
    }
    show(m_pPreviewTarget, m_pTarget.get());
}

void CArithmeticDlg::accept() {
    if (m_pImage1->currentIndex() < 0 || m_pImage2->currentIndex() < 0) return;
    if (!SameSize()) {
        GetUserPrompt().MessageBox(kMsgSameSize, MB_OK | MB_ICONSTOP);
        return;
    }
    if (IsBlend() && !CheckIntegerField(m_pScale, 0, 100, m_nScale)) return;
    if (HasScale() && !CheckIntegerField(m_pScale, 1, 2, m_nScale)) return;
    QDialog::accept();
}

std::string CArithmeticDlg::Image1Title() const {
    const int a = m_pImage1->currentIndex();
    return a >= 0 ? m_pictures[a].m_strTitle : std::string();
}

void CArithmeticDlg::GetValues(COpValues& values) const {
    const int b = m_pImage2->currentIndex();
    values.Set("IN2", 0, b >= 0 ? m_pictures[b].m_strTitle : std::string());
    // The field's number (checked on OK; the preview takes the default for other text).
    bool bOk = false;
    int n = m_pScale->text().trimmed().toInt(&bOk);
    if (!bOk) n = IsBlend() ? 50 : 1;
    if (IsBlend()) values.Set("PERCENT", std::clamp(n, 0, 100));
    if (HasScale()) {
        values.Set("--scale", std::clamp(n, 1, 2));
        if (m_pWrap->isChecked()) values.Set("--wrap", 1);
    }
}
