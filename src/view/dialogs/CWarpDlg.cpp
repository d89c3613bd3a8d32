#include "view/dialogs/CWarpDlg.h"

#include "framework/CException.h"
#include "framework/ReportException.h"
#include "framework/StringTable.h"
#include "framework/UserPrompt.h"
#include "imaging/C2DPointArray.h"
#include "imaging/CDib.h"
#include "imaging/CWarp.h"
#include "imaging/EffectsDirectory.h"
#include "imaging/ops/OpArgs.h"
#include "view/dialogs/CMeshEditWnd.h"
#include "view/dialogs/DialogFields.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <filesystem>

namespace {

QString ResultFolder() {
    static QTemporaryDir s_dir;
    return s_dir.path();
}

QString MeshFilter() {
    return QString::fromStdString(LoadResString(1391)).section('|', 0, 0);
}

QPushButton* Button(const QString& text, const char* pszId) {
    auto* p = new QPushButton(text);
    p->setObjectName(pszId);
    p->setAutoDefault(false);
    return p;
}

} // namespace

CWarpDlg::CWarpDlg(QWidget* pParent, const CDib& image, const std::string& strUtilitiesDir)
    : QDialog(pParent), m_strDir(GetEffectsDirectory(strUtilitiesDir)) {
    setWindowTitle(QString::fromStdString(LoadResString(1388)));
    m_pCopy = ReducedCopy(image, kCopyWidth, kCopyHeight);
    const QImage copy = m_pCopy ? DibToImage(*m_pCopy) : QImage(2, 2, QImage::Format_RGB32);
    auto* pLayout = new QGridLayout(this);
    m_pEditor = new CMeshEditWnd(copy);
    pLayout->addWidget(m_pEditor, 0, 0, Qt::AlignCenter);
    m_pPreview = new QLabel;
    m_pPreview->setObjectName("3295");
    m_pPreview->setFixedSize(copy.size() + QSize(4, 4));
    m_pPreview->setAlignment(Qt::AlignCenter);
    m_pPreview->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_pPreview->setPixmap(QPixmap::fromImage(copy));
    pLayout->addWidget(m_pPreview, 0, 1, Qt::AlignCenter);

    auto* pControls = new QHBoxLayout;
    auto* pSizeBox = new QGroupBox(tr("Mesh Size"));
    auto* pSizeLayout = new QVBoxLayout(pSizeBox);
    auto* pGroup = new QButtonGroup(this);
    const char* names[] = {"&Small", "&Medium", "&Large"};
    for (int i = 0; i < 3; ++i) {
        m_pSizes[i] = new QRadioButton(tr(names[i]));
        m_pSizes[i]->setObjectName(QString::number(3296 + i));
        pGroup->addButton(m_pSizes[i], i);
        pSizeLayout->addWidget(m_pSizes[i]);
    }
    connect(pGroup, &QButtonGroup::idClicked, this, [this](int n) {
        m_pEditor->Mesh().SetGridSize(CWarpMesh::EGridSize(n));
        m_pEditor->update();
    });
    pControls->addWidget(pSizeBox);
    auto* pOptions = new QVBoxLayout;
    auto* pShow = new QCheckBox(tr("S&how Control Points"));
    pShow->setObjectName("3301");
    pShow->setChecked(true);
    connect(pShow, &QCheckBox::toggled, m_pEditor, &CMeshEditWnd::SetShowPoints);
    m_pHighQuality = new QCheckBox(tr("High &Quality"));
    m_pHighQuality->setObjectName("3110");
    pOptions->addWidget(pShow);
    pOptions->addWidget(m_pHighQuality);
    pControls->addLayout(pOptions);
    auto* pButtons = new QGridLayout;
    QPushButton* pReset = Button(tr("&Reset"), "3299");
    QPushButton* pPreview = Button(tr("&Preview"), "3300");
    QPushButton* pSave = Button(tr("&Save..."), "3303");
    QPushButton* pLoad = Button(tr("&Load..."), "3304");
    pButtons->addWidget(pPreview, 0, 0);
    pButtons->addWidget(pReset, 0, 1);
    pButtons->addWidget(pSave, 1, 0);
    pButtons->addWidget(pLoad, 1, 1);
    pControls->addLayout(pButtons);
    pControls->addWidget(MakeOkCancel(this));
    pLayout->addLayout(pControls, 1, 0, 1, 2);

    connect(pReset, &QPushButton::clicked, this, [this] {
        m_pEditor->Mesh().Reset();
        m_pEditor->update();
    });
    connect(pPreview, &QPushButton::clicked, this, &CWarpDlg::Preview);
    connect(pSave, &QPushButton::clicked, this, [this] {
        const QString path =
            QFileDialog::getSaveFileName(this, tr("Save"), QString::fromStdString(m_strDir), MeshFilter());
        if (!path.isEmpty()) SaveMeshFile(path.toStdString());
    });
    connect(pLoad, &QPushButton::clicked, this, [this] {
        const QString path =
            QFileDialog::getOpenFileName(this, tr("Load"), QString::fromStdString(m_strDir), MeshFilter());
        if (!path.isEmpty()) LoadMeshFile(path.toStdString());
    });
    ShowGridSize();
}

CWarpDlg::~CWarpDlg() = default;

void CWarpDlg::ShowGridSize() {
    m_pSizes[m_pEditor->Mesh().GetGridSize()]->setChecked(true);
}

void CWarpDlg::Preview() {
    if (!m_pCopy) return;
    const CWarpMesh& mesh = m_pEditor->Mesh();
    try {
        const std::vector<CPoint> regular =
            CWarpMesh::RegularGrid(mesh.GetCopyWidth(), mesh.GetCopyHeight(), mesh.GetCols(), mesh.GetRows());
        CWarp warp(m_pCopy.get(), regular, mesh.GetPoints(), mesh.GetMeshWidth(), mesh.GetMeshHeight(),
                   nullptr, m_pHighQuality->isChecked());
        m_pShown.reset(warp.Run());
        m_pPreview->setPixmap(QPixmap::fromImage(DibToImage(*m_pShown)));
    } catch (const CException& e) {
        ReportException(e);
    }
}

bool CWarpDlg::LoadMeshFile(const std::string& path) {
    C2DPointArray mesh;
    try {
        if (!mesh.Load(path)) return false;
    } catch (const CException& e) {
        ReportException(e); // "Unexpected file format."
        return false;
    }
    if (!m_pEditor->Mesh().TakeLoaded(mesh)) {
        GetUserPrompt().MessageBox(CWarpMesh::kMsgDifferentSize, MB_OK | MB_ICONSTOP);
        return false;
    }
    ShowGridSize();
    m_pEditor->update();
    return true;
}

bool CWarpDlg::SaveMeshFile(const std::string& path) {
    C2DPointArray mesh = m_pEditor->Mesh().ToArray();
    if (mesh.Store(path)) return true;
    std::error_code ec;
    std::filesystem::remove(path, ec); // nothing is reported
    return false;
}

void CWarpDlg::accept() {
    static int s_nCount = 0;
    const std::string path = (ResultFolder() + QStringLiteral("/mesh%1.wms").arg(++s_nCount)).toStdString();
    C2DPointArray mesh = m_pEditor->Mesh().ToArray();
    if (!m_pCopy || !mesh.Store(path)) {
        GetUserPrompt().MessageBox(LoadResString(IDS_FILE_SAVE_ERROR) + "\n" + path, MB_OK | MB_ICONSTOP);
        return;
    }
    m_strResultFile = path;
    QDialog::accept();
}

void CWarpDlg::GetValues(COpValues& values) const {
    values.Set("MESH.wms", 0, m_strResultFile);
    if (m_pHighQuality->isChecked()) values.Set("--high-quality", 1);
}
