#include "view/dialogs/CToneCurveDlg.h"

#include "framework/CException.h"
#include "framework/ReportException.h"
#include "framework/StringTable.h"
#include "framework/UserPrompt.h"
#include "imaging/ApplyToneCurve.h"
#include "imaging/CDib.h"
#include "imaging/EffectsDirectory.h"
#include "imaging/ops/OpArgs.h"
#include "view/CBaseDoc.h"
#include "view/dialogs/CCurveEditWnd.h"
#include "view/dialogs/DialogFields.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <filesystem>

namespace {

constexpr int kPreviewWidth = 160, kPreviewHeight = 120;

// A grey ramp, dark to light from left to right or from bottom to top.
QLabel* Ramp(bool bVertical, const char* pszId) {
    QImage ramp(bVertical ? 1 : 256, bVertical ? 256 : 1, QImage::Format_RGB32);
    for (int i = 0; i < 256; ++i) {
        if (bVertical)
            ramp.setPixel(0, 255 - i, qRgb(i, i, i));
        else
            ramp.setPixel(i, 0, qRgb(i, i, i));
    }
    auto* p = new QLabel;
    p->setObjectName(pszId);
    p->setPixmap(QPixmap::fromImage(ramp.scaled(bVertical ? 16 : 256, bVertical ? 256 : 16)));
    return p;
}

// Where the curve given to the operation is written; it lasts for the run.
QString ResultFolder() {
    static QTemporaryDir s_dir;
    return s_dir.path();
}

QString CurveFilter() {
    // "Tonal Adj Curve(*.tac)|*.tac|" in Qt's form.
    const QString s = QString::fromStdString(LoadResString(1380));
    return s.section('|', 0, 0);
}

} // namespace

CToneCurveDlg::CToneCurveDlg(QWidget* pParent, const CDib& image, const std::string& strUtilitiesDir)
    : QDialog(pParent), m_strDir(GetEffectsDirectory(strUtilitiesDir)) {
    setWindowTitle(QString::fromStdString(LoadResString(1376)));
    auto* pLayout = new QGridLayout(this);

    auto* pCurveBox = new QGridLayout;
    pCurveBox->addWidget(Ramp(true, "3294"), 0, 0);
    m_pWnd = new CCurveEditWnd;
    pCurveBox->addWidget(m_pWnd, 0, 1);
    pCurveBox->addWidget(Ramp(false, "3293"), 1, 1);
    auto* pCoords = new QHBoxLayout;
    m_pInput = new QLabel;
    m_pOutput = new QLabel;
    m_pInput->setObjectName("3291");
    m_pOutput->setObjectName("3292");
    pCoords->addWidget(new QLabel(tr("Input:")));
    pCoords->addWidget(m_pInput);
    pCoords->addWidget(new QLabel(tr("Output:")));
    pCoords->addWidget(m_pOutput);
    pCoords->addStretch();
    pCurveBox->addLayout(pCoords, 2, 1);
    pCurveBox->setRowStretch(3, 1);
    pLayout->addLayout(pCurveBox, 0, 0, 2, 1);

    auto* pRight = new QVBoxLayout;
    auto* pListLabel = new QLabel(tr("&Predefine Enhancment Curves:"));
    m_pList = new QListWidget;
    m_pList->setObjectName("3280");
    pListLabel->setBuddy(m_pList);
    pRight->addWidget(pListLabel);
    pRight->addWidget(m_pList);
    auto* pChannel = new QGroupBox(tr("Channel"));
    auto* pChLayout = new QGridLayout(pChannel);
    auto* pGroup = new QButtonGroup(this);
    const char* names[] = {"&Red", "&Green", "&Blue", "&All Channels"};
    for (int i = 0; i < 4; ++i) {
        m_pChannels[i] = new QRadioButton(tr(names[i]));
        m_pChannels[i]->setObjectName(QString::number(3286 + i));
        pGroup->addButton(m_pChannels[i], i);
        pChLayout->addWidget(m_pChannels[i], i / 2, i % 2);
    }
    m_pChannels[3]->setChecked(true);
    connect(pGroup, &QButtonGroup::idClicked, this, [this](int) { UpdatePreview(); });
    pRight->addWidget(pChannel);
    m_pSmooth = new QCheckBox(tr("S&mooth"));
    m_pSmooth->setObjectName("3285");
    pRight->addWidget(m_pSmooth);
    auto* pFiles = new QHBoxLayout;
    auto* pSave = new QPushButton(tr("&Save..."));
    auto* pLoad = new QPushButton(tr("&Load..."));
    pSave->setAutoDefault(false);
    pLoad->setAutoDefault(false);
    pFiles->addWidget(pSave);
    pFiles->addWidget(pLoad);
    pRight->addLayout(pFiles);
    m_pPreview = new QLabel;
    m_pPreview->setObjectName("3290");
    m_pPreview->setFixedSize(kPreviewWidth + 4, kPreviewHeight + 4);
    m_pPreview->setAlignment(Qt::AlignCenter);
    m_pPreview->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    pRight->addWidget(m_pPreview);
    pLayout->addLayout(pRight, 0, 1);
    pLayout->addWidget(MakeOkCancel(this), 1, 1, Qt::AlignBottom);

    m_pReduced = ReducedCopy(image, kPreviewWidth, kPreviewHeight);

    // The predefined curves; a folder without them leaves the list empty.
    const CPredefinedCurves::EResult result = m_list.Load(m_strDir);
    if (result == CPredefinedCurves::NoDirectory || result == CPredefinedCurves::NoCurves)
        GetUserPrompt().MessageBox(CPredefinedCurves::Message(result), MB_OK | MB_ICONSTOP);
    else if (result == CPredefinedCurves::BadFile)
        ReportException(CArchiveException(CArchiveException::badIndex));
    for (const CTonalAdjustCurve& curve : m_list.Curves())
        m_pList->addItem(QString::fromStdString(curve.m_strName));
    connect(m_pList, &QListWidget::currentRowChanged, this, [this](int nRow) {
        if (nRow >= 0 && nRow < int(m_list.Curves().size())) TakeCurve(m_list.Curves()[nRow]);
    });
    const int nDefault = m_list.DefaultIndex();
    if (nDefault >= 0) m_pList->setCurrentRow(nDefault);
    m_pSmooth->setChecked(m_pWnd->Curve().IsSmooth());

    connect(m_pSmooth, &QCheckBox::toggled, this, [this](bool bOn) {
        m_pWnd->Curve().SetSmoothing(bOn);
        m_pWnd->update();
        UpdatePreview();
    });
    connect(m_pWnd, &CCurveEditWnd::curveChanged, this, [this] { UpdatePreview(); });
    connect(m_pWnd, &CCurveEditWnd::pointerMoved, this, [this](int x, int y) {
        m_pInput->setText(QString::number(x));
        m_pOutput->setText(QString::number(y));
    });
    connect(pSave, &QPushButton::clicked, this, &CToneCurveDlg::OnSave);
    connect(pLoad, &QPushButton::clicked, this, &CToneCurveDlg::OnLoad);
    UpdatePreview();
}

CToneCurveDlg::~CToneCurveDlg() = default;

void CToneCurveDlg::TakeCurve(const CTonalAdjustCurve& curve) {
    try {
        const bool bSmooth = curve.m_nSamples > CToneCurve::kAngularSamples;
        m_pWnd->Curve().SetCurve(curve.m_points, CToneCurve::kAngularSamples, curve.m_nParamMode);
        m_pWnd->Curve().SetSmoothing(bSmooth);
        const QSignalBlocker block(m_pSmooth);
        m_pSmooth->setChecked(bSmooth);
    } catch (const CException&) {
        return; // a record that makes no curve changes nothing
    }
    m_pWnd->update();
    UpdatePreview();
}

int CToneCurveDlg::ChannelMask() const {
    static const int s_masks[] = {1, 2, 4, 7};
    for (int i = 0; i < 4; ++i)
        if (m_pChannels[i]->isChecked()) return s_masks[i];
    return 7;
}

const uint8_t* CToneCurveDlg::Lut() const {
    return m_pWnd->Curve().GetLut();
}

void CToneCurveDlg::UpdatePreview() {
    if (!m_pReduced) return;
    m_pShown = std::make_unique<CDib>(*m_pReduced);
    try {
        ApplyToneCurve(*m_pShown, Lut(), ChannelMask());
    } catch (const CException&) {
    }
    m_pPreview->setPixmap(QPixmap::fromImage(DibToImage(*m_pShown)));
}

bool CToneCurveDlg::LoadCurveFile(const std::string& path) {
    CTonalAdjustCurve curve;
    try {
        if (!curve.Load(path)) return false;
    } catch (const CException& e) {
        ReportException(e); // "Unexpected file format."
        return false;
    }
    TakeCurve(curve);
    return true;
}

bool CToneCurveDlg::SaveCurveFile(const std::string& path) {
    CTonalAdjustCurve curve =
        CTonalAdjustCurve::ForSave(path, m_pWnd->Curve().GetPoints(), m_pSmooth->isChecked());
    if (curve.Store(path)) return true;
    std::error_code ec;
    std::filesystem::remove(path, ec); // nothing is reported
    return false;
}

void CToneCurveDlg::OnLoad() {
    const QString path =
        QFileDialog::getOpenFileName(this, tr("Load"), QString::fromStdString(m_strDir), CurveFilter());
    if (path.isEmpty()) return;
    m_strDir = std::filesystem::path(path.toStdString()).parent_path().string();
    if (m_onFolderChosen) m_onFolderChosen(m_strDir);
    LoadCurveFile(path.toStdString());
}

void CToneCurveDlg::OnSave() {
    // The save dialog asks before replacing a file and refuses an illegal name.
    const std::string path = CBaseDoc::s_askSaveName((std::filesystem::path(m_strDir) / "Curve.tac").string(),
                                                     CurveFilter().toStdString());
    if (path.empty()) return;
    m_strDir = std::filesystem::path(path).parent_path().string();
    if (m_onFolderChosen) m_onFolderChosen(m_strDir);
    SaveCurveFile(path);
}

void CToneCurveDlg::accept() {
    // The operation reads the curve from a file: the window's points, mode
    // and sample count give it the same table.
    CTonalAdjustCurve curve;
    curve.m_strName = "Curve";
    curve.m_nParamMode = m_pWnd->Curve().GetParamMode();
    curve.m_nSamples = m_pWnd->Curve().GetSamples();
    curve.m_points = m_pWnd->Curve().GetPoints();
    static int s_nCount = 0;
    const std::string path = (ResultFolder() + QStringLiteral("/curve%1.tac").arg(++s_nCount)).toStdString();
    if (!curve.Store(path)) {
        GetUserPrompt().MessageBox(LoadResString(IDS_FILE_SAVE_ERROR) + "\n" + path, MB_OK | MB_ICONSTOP);
        return;
    }
    m_strResultFile = path;
    QDialog::accept();
}

void CToneCurveDlg::GetValues(COpValues& values) const {
    values.Set("FILE.tac", 0, m_strResultFile);
    static const char* s_words[] = {"red", "green", "blue", "all"};
    int nChannel = 3;
    for (int i = 0; i < 4; ++i)
        if (m_pChannels[i]->isChecked()) nChannel = i;
    values.Set("--channel", nChannel, s_words[nChannel]);
}
