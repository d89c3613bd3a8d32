#include "album/ui/CAlbumInfoDlg.h"

#include "album/AlbumViewRules.h"
#include "album/CAlbum.h"
#include "album/CTnLayout.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QVBoxLayout>
#include <ctime>

namespace {

std::tm ToTm(const QDateTime& dt) {
    std::tm t{};
    const QDate d = dt.date();
    const QTime tm = dt.time();
    t.tm_year = d.year() - 1900;
    t.tm_mon = d.month() - 1;
    t.tm_mday = d.day();
    t.tm_hour = tm.hour();
    t.tm_min = tm.minute();
    t.tm_sec = tm.second();
    return t;
}

} // namespace

CAlbumInfoDlg::CAlbumInfoDlg(CAlbum& album, const std::string& albumPath, QWidget* pParent)
    : QDialog(pParent), m_album(album), m_pTitle(new QLineEdit), m_pDescription(new QPlainTextEdit) {
    setWindowTitle("Album Information");
    auto* form = new QFormLayout;
    m_pTitle->setText(QString::fromStdString(album.m_strTitle));
    form->addRow("&Title:", m_pTitle);
    auto addField = [&](const QString& label, const QString& value) {
        auto* l = new QLabel(value);
        l->setObjectName(label);
        l->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(label, l);
    };
    addField("Images:", QString::number(album.GetCount()));
    const CTnLayout layout(album.m_nScale, 1, 0);
    addField("Thumbnail Size:", QString("%1 (%2 x %3)")
                                    .arg(QString::fromStdString(ScaleName(album.m_nScale)))
                                    .arg(layout.m_thumb.cx)
                                    .arg(layout.m_thumb.cy));
    const QFileInfo fi(QString::fromStdString(albumPath));
    const bool bFile = !albumPath.empty() && fi.exists();
    addField("File Name:", bFile ? fi.fileName() : QString());
    addField("File Size:", bFile ? QString::number(fi.size()) : QString());
    const std::tm t = bFile ? ToTm(fi.lastModified()) : std::tm{};
    addField("Date:", bFile ? QString::fromStdString(InfoDateText(t)) : QString());
    addField("Time:", bFile ? QString::fromStdString(InfoTimeText(t)) : QString());
    addField("Read Only:", bFile ? (fi.isWritable() ? "No" : "Yes") : QString());
    m_pDescription->setPlainText(QString::fromStdString(album.m_strDescription));
    form->addRow("&Description:", m_pDescription);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* v = new QVBoxLayout(this);
    v->addLayout(form);
    v->addWidget(buttons);
}

QString CAlbumInfoDlg::Field(const QString& label) const {
    auto* l = findChild<QLabel*>(label);
    return l ? l->text() : QString();
}

void CAlbumInfoDlg::accept() {
    const std::string title = m_pTitle->text().toStdString();
    const std::string description = m_pDescription->toPlainText().toStdString();
    if (title != m_album.m_strTitle || description != m_album.m_strDescription) {
        m_album.m_strTitle = title;
        m_album.m_strDescription = description;
        m_bChanged = true;
    }
    QDialog::accept();
}
