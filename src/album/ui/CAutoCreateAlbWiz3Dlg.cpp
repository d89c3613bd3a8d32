#include "album/ui/CAutoCreateAlbWiz3Dlg.h"

#include "framework/StringTable.h"

#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

CAutoCreateAlbWiz3Dlg::AskFiles CAutoCreateAlbWiz3Dlg::s_askFiles =
    &CAutoCreateAlbWiz3Dlg::AskFilesWithDialog;

std::vector<std::string> CAutoCreateAlbWiz3Dlg::AskFilesWithDialog(QWidget* parent) {
    const QStringList names = QFileDialog::getOpenFileNames(
        parent, QString::fromStdString(LoadResString(1199)), QString(),
        "Pictures (*.qln *.QLN *.bmp *.BMP *.jpg *.JPG *.jpeg *.png *.PNG *.tif *.TIF *.tiff *.gif *.GIF "
        "*.pcx *.PCX *.tga *.TGA);;All Files (*)");
    std::vector<std::string> paths;
    for (const QString& n : names) paths.push_back(n.toStdString());
    return paths;
}

CAutoCreateAlbWiz3Dlg::CAutoCreateAlbWiz3Dlg(uint32_t nTitle, uint32_t nInstruction, QWidget* parent)
    : CBaseWizardPropertyPage(1272, nTitle, parent) {
    auto* instruction = new QLabel(QString::fromStdString(LoadResString(nInstruction)), this);
    instruction->setObjectName("text3271");
    instruction->setWordWrap(true);
    m_pList = new QListWidget(this);
    m_pList->setObjectName("list3185");
    m_pList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_pAdd = new QPushButton("&Add...", this);
    m_pAdd->setObjectName("button3183");
    m_pRemove = new QPushButton("&Remove", this);
    m_pRemove->setObjectName("button3184");
    m_pRemove->setEnabled(false);
    auto* layout = new QGridLayout(this);
    layout->addWidget(instruction, 0, 0, 1, 2);
    layout->addWidget(new QLabel("Add these files to the album:", this), 1, 0);
    layout->addWidget(m_pList, 2, 0, 3, 1);
    layout->addWidget(m_pAdd, 2, 1);
    layout->addWidget(m_pRemove, 3, 1);
    layout->setRowStretch(4, 1);

    connect(m_pAdd, &QPushButton::clicked, this, [this] {
        for (const std::string& p : s_askFiles(this)) m_pList->addItem(QString::fromStdString(p));
    });
    connect(m_pRemove, &QPushButton::clicked, this, [this] { qDeleteAll(m_pList->selectedItems()); });
    connect(m_pList, &QListWidget::itemSelectionChanged, this,
            [this] { m_pRemove->setEnabled(!m_pList->selectedItems().isEmpty()); });
}

std::vector<std::string> CAutoCreateAlbWiz3Dlg::GetFiles() const {
    std::vector<std::string> files;
    for (int i = 0; i < m_pList->count(); ++i) files.push_back(m_pList->item(i)->text().toStdString());
    return files;
}
