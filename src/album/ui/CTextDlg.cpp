#include "album/ui/CTextDlg.h"

#include "album/CAlbum.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

CTextDlg::CTextDlg(CAlbum& album, int nCurrent, QWidget* pParent)
    : QDialog(pParent), m_album(album), m_pNumber(new QComboBox), m_pCaption(new QLineEdit),
      m_pDescription(new QPlainTextEdit) {
    setWindowTitle("Text");
    for (int i = 0; i < album.GetCount(); ++i) m_pNumber->addItem(QString::number(i + 1));
    m_pCaption->setMaxLength(kMaxCaption);
    auto* form = new QFormLayout;
    form->addRow("&Image Number:", m_pNumber);
    form->addRow("&Caption:", m_pCaption);
    form->addRow("&Description:", m_pDescription);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QPushButton* all = buttons->addButton("Apply To All Images in Album", QDialogButtonBox::ActionRole);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(all, &QPushButton::clicked, this, &CTextDlg::ApplyToAll);
    connect(m_pNumber, &QComboBox::currentIndexChanged, this, [this](int i) {
        Store(m_nShown);
        Load(i);
    });
    // The description keeps to its length as it is typed.
    connect(m_pDescription, &QPlainTextEdit::textChanged, this, [this] {
        const QString t = m_pDescription->toPlainText();
        if (t.size() > kMaxDescription) m_pDescription->setPlainText(t.left(kMaxDescription));
    });
    if (album.GetCount() > 0) {
        nCurrent = std::clamp(nCurrent, 0, album.GetCount() - 1);
        QSignalBlocker block(m_pNumber);
        m_pNumber->setCurrentIndex(nCurrent);
        Load(nCurrent);
    }
}

std::string CTextDlg::DescriptionText() const {
    return m_pDescription->toPlainText().left(kMaxDescription).toStdString();
}

void CTextDlg::Load(int nIndex) {
    m_nShown = nIndex;
    if (nIndex < 0 || nIndex >= m_album.GetCount()) return;
    m_pCaption->setText(QString::fromStdString(m_album.GetPhotoTitle(nIndex)));
    m_pDescription->setPlainText(QString::fromStdString(m_album.GetPhotoDescription(nIndex)));
}

void CTextDlg::Store(int nIndex) {
    if (nIndex < 0 || nIndex >= m_album.GetCount()) return;
    const std::string caption = m_pCaption->text().toStdString();
    const std::string description = DescriptionText();
    if (caption != m_album.GetPhotoTitle(nIndex)) {
        m_album.SetPhotoTitle(nIndex, caption);
        m_bChanged = true;
    }
    if (description != m_album.GetPhotoDescription(nIndex)) {
        m_album.SetPhotoDescription(nIndex, description);
        m_bChanged = true;
    }
}

void CTextDlg::ApplyToAll() {
    for (int i = 0; i < m_album.GetCount(); ++i) Store(i);
}

void CTextDlg::accept() {
    Store(m_nShown);
    QDialog::accept();
}
