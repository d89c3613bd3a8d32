#include "album/ui/CAlbWizChooserDlg.h"

#include "framework/CException.h"
#include "framework/StringTable.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

struct STaskButton {
    EWizTask task;
    int nControl;
    const char* text;
};

// In the order the dialog shows them.
constexpr STaskButton kTasks[] = {
    {EWizTask::Floppy, 3188, "...From a Diskfolio &floppy disk"},
    {EWizTask::Package, 3197, "...From a &Parcelgram Internet file"},
    {EWizTask::HardDisk, 3187, "...Using image files from the &hard disk"},
    {EWizTask::Empty, 3189, "...&With no images"},
    {EWizTask::Open, 3191, "&Open an Existing Album"},
    {EWizTask::AddImages, 3190, "&Add images to an Open Album"},
};

QString LoadDescription(EWizTask task) {
    const uint32_t id = GetTaskDescriptionId(task);
    if (!HasResString(id)) AfxThrowResourceException();
    return QString::fromStdString(LoadResString(id));
}

} // namespace

CAlbWizChooserDlg::CAlbWizChooserDlg(bool bShowWizard, bool bAlbumOpen, QWidget* parent) : QDialog(parent) {
    setObjectName("albumWizardChooser");
    setWindowTitle("Album Wizard");
    for (const STaskButton& t : kTasks) m_descriptions[t.task] = LoadDescription(t.task);

    m_pGroup = new QButtonGroup(this);
    auto* make = new QGroupBox("Make a new album", this);
    auto* makeLayout = new QVBoxLayout(make);
    auto* other = new QVBoxLayout;
    for (const STaskButton& t : kTasks) {
        auto* r = new QRadioButton(t.text, this);
        r->setObjectName(QString("radio%1").arg(t.nControl));
        m_pGroup->addButton(r, static_cast<int>(t.task));
        (t.task == EWizTask::Open || t.task == EWizTask::AddImages ? other : makeLayout)->addWidget(r);
    }
    TaskButton(EWizTask::AddImages)->setEnabled(bAlbumOpen);
    TaskButton(EWizTask::Floppy)->setChecked(true);

    m_pDescription = new QLabel(m_descriptions[EWizTask::Floppy], this);
    m_pDescription->setObjectName("text3195");
    m_pDescription->setWordWrap(true);
    m_pDescription->setFrameShape(QFrame::StyledPanel);
    m_pDescription->setMinimumSize(220, 80);
    m_pDescription->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    m_pDescription->setMargin(6);
    connect(m_pGroup, &QButtonGroup::idToggled, this, [this](int id, bool bOn) {
        if (bOn) m_pDescription->setText(m_descriptions[static_cast<EWizTask>(id)]);
    });

    m_pShow = new QCheckBox("&Show Album Wizard on startup", this);
    m_pShow->setObjectName("check3192");
    m_pShow->setChecked(bShowWizard);

    auto* what = new QPushButton("What's an Album?", this);
    what->setObjectName("button3196");
    what->setAutoDefault(false);
    connect(what, &QPushButton::clicked, this, [this] {
        QMessageBox box(QMessageBox::Information, QString::fromStdString(LoadResString(1285)),
                        QString::fromStdString(LoadResString(1253) + LoadResString(1252)), QMessageBox::Ok,
                        this);
        box.setObjectName("dialog1284");
        box.exec();
    });

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* right = new QVBoxLayout;
    right->addWidget(m_pDescription, 1);
    right->addWidget(what);
    auto* top = new QHBoxLayout;
    auto* left = new QVBoxLayout;
    left->addWidget(make);
    left->addLayout(other);
    top->addLayout(left);
    top->addLayout(right, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_pShow);
    layout->addWidget(buttons);
}

EWizTask CAlbWizChooserDlg::GetTask() const {
    return static_cast<EWizTask>(m_pGroup->checkedId());
}

bool CAlbWizChooserDlg::GetShowWizard() const {
    return m_pShow->isChecked();
}

QRadioButton* CAlbWizChooserDlg::TaskButton(EWizTask task) const {
    return static_cast<QRadioButton*>(m_pGroup->button(static_cast<int>(task)));
}
