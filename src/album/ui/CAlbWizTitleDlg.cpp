#include "album/ui/CAlbWizTitleDlg.h"

#include "framework/StringTable.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>

CAlbWizTitleDlg::CAlbWizTitleDlg(uint32_t nTitle, QWidget* parent)
    : CBaseWizardPropertyPage(1250, nTitle, parent) {
    m_pTitle = new QLineEdit(QString::fromStdString(LoadResString(1025)), this);
    m_pTitle->setObjectName("edit3176");
    m_pTitle->setMaxLength(kMaxTitle);
    m_pDescription = new QPlainTextEdit(QString::fromStdString(LoadResString(1038)), this);
    m_pDescription->setObjectName("edit3177");
    // The description is held to its limit as it is typed or pasted.
    connect(m_pDescription, &QPlainTextEdit::textChanged, this, [this] {
        const QString text = m_pDescription->toPlainText();
        if (text.size() <= kMaxDescription) return;
        QSignalBlocker block(m_pDescription);
        m_pDescription->setPlainText(text.left(kMaxDescription));
        m_pDescription->moveCursor(QTextCursor::End);
    });
    auto* layout = new QVBoxLayout(this);
    auto* titleLabel = new QLabel("Type a &title for your new album:", this);
    titleLabel->setBuddy(m_pTitle);
    auto* descLabel = new QLabel("Type a &description for your new album:", this);
    descLabel->setBuddy(m_pDescription);
    layout->addWidget(titleLabel);
    layout->addWidget(m_pTitle);
    layout->addSpacing(8);
    layout->addWidget(descLabel);
    layout->addWidget(m_pDescription, 1);
}

std::string CAlbWizTitleDlg::GetAlbumTitle() const {
    return m_pTitle->text().toStdString();
}

std::string CAlbWizTitleDlg::GetAlbumDescription() const {
    return m_pDescription->toPlainText().left(kMaxDescription).toStdString();
}
