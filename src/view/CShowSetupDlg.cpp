#include "view/CShowSetupDlg.h"

#include "framework/StringTable.h"
#include "framework/UserPrompt.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

template <class T> T* Named(T* p, int nId) {
    p->setObjectName(QString::number(nId));
    return p;
}

} // namespace

CShowSetupDlg::CShowSetupDlg(QWidget* pParent, int nPhotos, int nCurrent)
    : QDialog(pParent), m_data(nPhotos, nCurrent) {
    setWindowTitle(QStringLiteral("Photo Show Setup"));
    auto* pMain = new QVBoxLayout(this);

    // The photos with their transition and delay.
    auto* pPhotoBox = new QGroupBox(QStringLiteral("Photo"), this);
    auto* pPhotoGrid = new QGridLayout(pPhotoBox);
    m_pPhotos = Named(new QListWidget(pPhotoBox), kPhotoList);
    pPhotoGrid->addWidget(m_pPhotos, 0, 0, 4, 1);
    auto* pEffectLabel = new QLabel(QStringLiteral("Special &Effect:"), pPhotoBox);
    m_pEffects = Named(new QListWidget(pPhotoBox), kEffectList);
    pEffectLabel->setBuddy(m_pEffects);
    pPhotoGrid->addWidget(pEffectLabel, 0, 1);
    pPhotoGrid->addWidget(m_pEffects, 1, 1);
    auto* pDelayRow = new QHBoxLayout;
    auto* pDelayLabel = new QLabel(QStringLiteral("&Delay"), pPhotoBox);
    m_pDelay = Named(new QLineEdit(pPhotoBox), kDelay);
    pDelayLabel->setBuddy(m_pDelay);
    pDelayRow->addWidget(pDelayLabel);
    pDelayRow->addWidget(m_pDelay);
    pDelayRow->addWidget(new QLabel(QStringLiteral("seconds"), pPhotoBox));
    pPhotoGrid->addLayout(pDelayRow, 2, 1);
    m_pApplyToAll = Named(new QPushButton(QStringLiteral("App&ly to All Photos"), pPhotoBox), kApplyToAll);
    pPhotoGrid->addWidget(m_pApplyToAll, 3, 1);
    pMain->addWidget(pPhotoBox);

    // Advancing and order.
    auto* pAdvanceBox = new QGroupBox(this);
    auto* pAdvanceLayout = new QVBoxLayout(pAdvanceBox);
    m_pAdvance = new QButtonGroup(this);
    m_pAdvance->addButton(
        Named(new QRadioButton(QStringLiteral("&Manual, using the mouse or the keyboard"), pAdvanceBox),
              kManual),
        0);
    m_pAdvance->addButton(
        Named(new QRadioButton(QStringLiteral("&Automatic, after a given delay"), pAdvanceBox), kAutomatic),
        1);
    m_pRepeat = Named(new QCheckBox(QStringLiteral("Repeat the sho&w indefinitely"), pAdvanceBox), kRepeat);
    m_pOrder = new QButtonGroup(this);
    m_pOrder->addButton(
        Named(new QRadioButton(QStringLiteral("Show photos in &order"), pAdvanceBox), kInOrder), 0);
    m_pOrder->addButton(
        Named(new QRadioButton(QStringLiteral("Show photos in &random sequence"), pAdvanceBox), kRandom), 1);
    for (QAbstractButton* b : m_pAdvance->buttons()) pAdvanceLayout->addWidget(b);
    pAdvanceLayout->addWidget(m_pRepeat);
    for (QAbstractButton* b : m_pOrder->buttons()) pAdvanceLayout->addWidget(b);
    pMain->addWidget(pAdvanceBox);

    // What the show displays.
    auto* pShowBox = new QGroupBox(this);
    auto* pShowLayout = new QGridLayout(pShowBox);
    m_pTitles = Named(new QCheckBox(QStringLiteral("&Titles"), pShowBox), kTitles);
    m_pTitlesIndex = Named(new QCheckBox(QStringLiteral("Titles &Index"), pShowBox), kTitlesIndex);
    m_pCursor = Named(new QCheckBox(QStringLiteral("Show &Cursor"), pShowBox), kCursor);
    m_pPanel = Named(new QCheckBox(QStringLiteral("Show &Panel"), pShowBox), kPanel);
    m_pFullScreen = Named(new QCheckBox(QStringLiteral("&Full Screen"), pShowBox), kFullScreen);
    pShowLayout->addWidget(m_pTitles, 0, 0);
    pShowLayout->addWidget(m_pTitlesIndex, 0, 1);
    pShowLayout->addWidget(m_pCursor, 1, 0);
    pShowLayout->addWidget(m_pPanel, 1, 1);
    pShowLayout->addWidget(m_pFullScreen, 2, 0);
    pMain->addWidget(pShowBox);

    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    pMain->addWidget(pButtons);
    connect(pButtons, &QDialogButtonBox::accepted, this, &CShowSetupDlg::accept);
    connect(pButtons, &QDialogButtonBox::rejected, this, &CShowSetupDlg::reject);

    connect(m_pPhotos, &QListWidget::currentRowChanged, this, &CShowSetupDlg::OnPhotoChanged);
    connect(m_pApplyToAll, &QPushButton::clicked, this, [this] {
        if (TakeShownValues()) m_data.ApplyToAll();
    });
    connect(m_pAdvance, &QButtonGroup::idClicked, this, [this](int nId) {
        m_data.m_showProps.m_bAutoAdvance = nId;
        UpdateEnables();
    });
    connect(m_pOrder, &QButtonGroup::idClicked, this, [this](int nId) {
        m_data.m_showProps.m_bRandomOrder = nId;
        UpdateEnables();
    });
    connect(m_pTitles, &QCheckBox::clicked, this, [this] { UpdateEnables(); });
}

void CShowSetupDlg::showEvent(QShowEvent* pEvent) {
    if (!m_bInitialised) InitDialog();
    QDialog::showEvent(pEvent);
}

void CShowSetupDlg::InitDialog() {
    m_bInitialised = true;
    m_data.Init();
    m_pTitles->setChecked(m_data.m_bTitles);
    m_pTitlesIndex->setChecked(m_data.m_bTitlesIndex);
    m_pRepeat->setChecked(m_data.m_bRepeat);
    m_pCursor->setChecked(m_data.m_bCursor);
    m_pPanel->setChecked(m_data.m_bPanel);
    m_pFullScreen->setChecked(m_data.m_bFullScreen);
    m_pAdvance->button(m_data.m_showProps.m_bAutoAdvance ? 1 : 0)->setChecked(true);
    m_pOrder->button(m_data.m_showProps.m_bRandomOrder ? 1 : 0)->setChecked(true);
    for (int id : CShowSetupData::GetEffectIds()) {
        auto* pItem =
            new QListWidgetItem(QString::fromStdString(CShowSetupData::GetEffectName(id)), m_pEffects);
        pItem->setData(Qt::UserRole, id);
    }
    m_bChanging = true;
    for (int i = 0; i < static_cast<int>(m_data.m_elems.size()); ++i)
        new QListWidgetItem(QString::fromStdString(m_data.GetPhotoLine(i)), m_pPhotos);
    m_pPhotos->setCurrentRow(m_data.m_nShown);
    m_bChanging = false;
    ShowPhotoValues();
    UpdateEnables();
}

void CShowSetupDlg::ShowPhotoValues() {
    m_pEffects->setCurrentRow(m_data.m_nEffectEntry);
    if (m_data.m_nEffectEntry < 0) m_pEffects->clearSelection();
    m_pDelay->setText(QString::number(m_data.m_nDelaySeconds));
}

bool CShowSetupDlg::TakeShownValues() {
    uint32_t nSeconds = 0;
    if (!CShowSetupData::ParseDelay(m_pDelay->text().toStdString(), nSeconds)) {
        GetUserPrompt().MessageBox(
            FormatResString2(1317, "0", std::to_string(CShowSetupData::kMaxDelaySeconds)),
            MB_OK | MB_ICONEXCLAMATION);
        m_pDelay->setFocus();
        m_pDelay->selectAll();
        return false;
    }
    m_data.m_nDelaySeconds = nSeconds;
    QListWidgetItem* pItem = m_pEffects->currentItem();
    m_data.m_nEffectEntry = pItem && pItem->isSelected() ? m_pEffects->row(pItem) : -1;
    return true;
}

void CShowSetupDlg::OnPhotoChanged(int nRow) {
    if (m_bChanging) return;
    if (!TakeShownValues()) {
        // Back to the photo whose delay needs mending.
        m_bChanging = true;
        m_pPhotos->setCurrentRow(m_data.m_nShown);
        m_bChanging = false;
        return;
    }
    m_data.SelectPhoto(nRow);
    ShowPhotoValues();
}

void CShowSetupDlg::UpdateEnables() {
    const bool bAuto = m_data.IsAutoControlEnabled();
    m_pDelay->setEnabled(bAuto);
    m_pRepeat->setEnabled(bAuto);
    for (QAbstractButton* b : m_pOrder->buttons()) b->setEnabled(bAuto);
    m_pTitlesIndex->setEnabled(m_pTitles->isChecked());
}

void CShowSetupDlg::accept() {
    if (!m_bInitialised) InitDialog();
    if (!TakeShownValues()) return;
    m_data.m_bTitles = m_pTitles->isChecked();
    m_data.m_bTitlesIndex = m_pTitlesIndex->isChecked();
    m_data.m_bRepeat = m_pRepeat->isChecked();
    m_data.m_bCursor = m_pCursor->isChecked();
    m_data.m_bPanel = m_pPanel->isChecked();
    m_data.m_bFullScreen = m_pFullScreen->isChecked();
    m_data.OnOK();
    QDialog::accept();
}
