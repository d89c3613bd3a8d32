#include "view/CImageInfoDlg.h"

#include "album/AlbumPhotos.h"
#include "imaging/CDib.h"
#include "storage/formats/ImpExpTables.h"
#include "storage/photo/QlnPhotoFile.h"
#include "view/CImageEnhancerDoc.h"

#include <QDateTime>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QVBoxLayout>

CImageInformation CImageInformation::Of(const CImageEnhancerDoc& doc) {
    CImageInformation info;
    if (const CDib* pDib = doc.GetDib()) {
        info.m_nWidth = pDib->GetWidth();
        info.m_nHeight = pDib->GetHeight();
        info.m_nBitCount = pDib->GetBitCount();
    }
    const std::string& path = doc.GetPathName();
    if (path.empty()) return info;
    const QFileInfo file(QString::fromStdString(path));
    info.m_bHasFile = file.exists();
    info.m_strFileName = file.fileName().toStdString();
    info.m_strFormat =
        doc.GetFileFormat() == kFormatPhoto ? std::string("Photo File") : FormatName(doc.GetFileFormat());
    if (info.m_bHasFile) {
        info.m_nFileSize = file.size();
        const QDateTime when = file.lastModified();
        info.m_strDate = when.date().toString("yyyy-MM-dd").toStdString();
        info.m_strTime = when.time().toString("HH:mm:ss").toStdString();
        info.m_bReadOnly = !file.isWritable();
    }
    // A photo file is an album entry: it carries the entry's title and description.
    if (doc.GetFileFormat() == kFormatPhoto && info.m_bHasFile) {
        info.m_bInAlbum = true;
        info.m_strTitle = GetPhotoText(path, QLNI_TAG_TEXT1);
        info.m_strDescription = GetPhotoText(path, QLNI_TAG_TEXT2);
    }
    return info;
}

namespace {
QLabel* Value(const QString& text, const char* pszName) {
    auto* pLabel = new QLabel(text);
    pLabel->setObjectName(pszName);
    pLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
    return pLabel;
}
} // namespace

CImageInfoDlg::CImageInfoDlg(QWidget* pParent, const CImageInformation& info) : QDialog(pParent) {
    setWindowTitle(tr("Image Information"));
    auto* pLayout = new QVBoxLayout(this);

    auto* pImage = new QGroupBox(tr("Image"));
    auto* pImageForm = new QFormLayout(pImage);
    pImageForm->addRow(tr("Width:"), Value(QString::number(info.m_nWidth), "width"));
    pImageForm->addRow(tr("Height:"), Value(QString::number(info.m_nHeight), "height"));
    pImageForm->addRow(tr("Bits per pixel:"), Value(QString::number(info.m_nBitCount), "bits"));
    pLayout->addWidget(pImage);

    if (info.m_bInAlbum) {
        auto* pAlbum = new QGroupBox(tr("Album"));
        auto* pAlbumForm = new QFormLayout(pAlbum);
        pAlbumForm->addRow(tr("Title:"), Value(QString::fromStdString(info.m_strTitle), "title"));
        QLabel* pDesc = Value(QString::fromStdString(info.m_strDescription), "description");
        pDesc->setWordWrap(true);
        pAlbumForm->addRow(tr("Description:"), pDesc);
        pLayout->addWidget(pAlbum);
    }

    if (info.m_bHasFile) {
        auto* pFile = new QGroupBox(tr("File"));
        auto* pFileForm = new QFormLayout(pFile);
        pFileForm->addRow(tr("Name:"), Value(QString::fromStdString(info.m_strFileName), "file"));
        pFileForm->addRow(tr("Format:"), Value(QString::fromStdString(info.m_strFormat), "format"));
        pFileForm->addRow(tr("Size:"), Value(tr("%1 bytes").arg(info.m_nFileSize), "size"));
        pFileForm->addRow(tr("Date:"), Value(QString::fromStdString(info.m_strDate), "date"));
        pFileForm->addRow(tr("Time:"), Value(QString::fromStdString(info.m_strTime), "time"));
        pFileForm->addRow(tr("Read only:"), Value(info.m_bReadOnly ? tr("Yes") : tr("No"), "readonly"));
        pLayout->addWidget(pFile);
    }

    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok);
    connect(pButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    pLayout->addWidget(pButtons);
}
