#include "app/CHelpWnd.h"

#include "framework/CommandIds.h"
#include "framework/StringTable.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QUrl>
#include <QVBoxLayout>

CHelpWnd::CHelpWnd(QWidget* pParent) : QWidget(pParent, Qt::Window), m_pBrowser(new QTextBrowser(this)) {
    setObjectName("helpWindow");
    setWindowTitle(QString::fromStdString(LoadResString(IDS_APP_TITLE) + " Help"));
    m_pBrowser->setOpenExternalLinks(true);
    auto* pLayout = new QVBoxLayout(this);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(m_pBrowser);
    resize(760, 640);
}

std::string CHelpWnd::FindUserGuide() {
    const QString bin = QCoreApplication::applicationDirPath();
    const QString candidates[] = {
        bin + "/../share/pictavo-zozi/doc/user-guide.md",
        bin + "/../../docs/user-guide.md",
        QStringLiteral(ZOZI_DOCS_DIR "/user-guide.md"),
    };
    for (const QString& c : candidates)
        if (QFileInfo(c).isFile()) return QFileInfo(c).canonicalFilePath().toStdString();
    return {};
}

bool CHelpWnd::Load(const std::string& path) {
    QFileInfo fi(QString::fromStdString(path));
    if (!fi.isFile() || !fi.isReadable()) return false;
    // Pictures in the guide are named relative to it.
    m_pBrowser->setSearchPaths({fi.absolutePath()});
    m_pBrowser->setSource(QUrl::fromLocalFile(fi.absoluteFilePath()), QTextDocument::MarkdownResource);
    FitPictures();
    return !m_pBrowser->document()->isEmpty();
}

void CHelpWnd::FitPictures() {
    // Screenshots wider than the reading column are shown smaller.
    QTextDocument* pDoc = m_pBrowser->document();
    for (QTextBlock b = pDoc->begin(); b.isValid(); b = b.next()) {
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextFragment frag = it.fragment();
            if (!frag.isValid() || !frag.charFormat().isImageFormat()) continue;
            QTextImageFormat fmt = frag.charFormat().toImageFormat();
            const QVariant res = pDoc->resource(QTextDocument::ImageResource, QUrl(fmt.name()));
            QImage img;
            if (res.typeId() == QMetaType::QImage)
                img = res.value<QImage>();
            else if (res.typeId() == QMetaType::QPixmap)
                img = res.value<QPixmap>().toImage();
            else if (res.typeId() == QMetaType::QByteArray)
                img = QImage::fromData(res.toByteArray());
            if (img.isNull() || img.width() <= kMaxPictureWidth) continue;
            fmt.setWidth(kMaxPictureWidth);
            fmt.setHeight(img.height() * kMaxPictureWidth / img.width());
            QTextCursor c(pDoc);
            c.setPosition(frag.position());
            c.setPosition(frag.position() + frag.length(), QTextCursor::KeepAnchor);
            c.setCharFormat(fmt);
        }
    }
}

bool CHelpWnd::ShowSection(const QString& heading) {
    if (heading.isEmpty()) {
        m_pBrowser->verticalScrollBar()->setValue(0);
        return true;
    }
    for (QTextBlock b = m_pBrowser->document()->begin(); b.isValid(); b = b.next()) {
        if (b.blockFormat().headingLevel() > 0 && b.text().trimmed() == heading) {
            QTextCursor c(b);
            m_pBrowser->verticalScrollBar()->setValue(m_pBrowser->verticalScrollBar()->maximum());
            m_pBrowser->setTextCursor(c);
            m_pBrowser->ensureCursorVisible();
            return true;
        }
    }
    return false;
}

QString CHelpWnd::SectionFor(uint32_t nContext) {
    switch (nContext) {
    case ID_HELP_USING:
        return "Help";
    case 0x10862: // the memory help
        return "When memory runs short";
    case 1249: // the album wizard's pages
    case 1250:
    case 1251:
    case 1272:
    case 1281:
    case 1286:
    case 1289:
    case 1406:
        return "The album wizard";
    default:
        return {};
    }
}
