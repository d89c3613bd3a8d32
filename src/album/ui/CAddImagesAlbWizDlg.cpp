#include "album/ui/CAddImagesAlbWizDlg.h"

#include "album/ui/CAlbumDoc.h"
#include "album/ui/CAlbumWizardHost.h"
#include "framework/StringTable.h"
#include "framework/UserPrompt.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

CAddImagesAlbWizDlg::CAddImagesAlbWizDlg(uint32_t nTitle, CAlbumWizardHost& host, QWidget* parent)
    : CBaseWizardPropertyPage(1286, nTitle, parent), m_host(host) {
    m_pAlbums = new QComboBox(this);
    m_pAlbums->setObjectName("combo3201");
    m_pBrowse = new QPushButton("Browse...", this);
    m_pBrowse->setObjectName("button3202");
    if (m_host.openAlbums)
        for (CAlbumDoc* d : m_host.openAlbums()) AddAlbum(d);
    m_pAlbums->setCurrentIndex(m_albums.empty() ? -1 : 0);
    auto* row = new QHBoxLayout;
    row->addWidget(m_pAlbums, 1);
    row->addWidget(m_pBrowse);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel("Choose the album to add the images to:", this));
    layout->addLayout(row);
    layout->addStretch(1);
    connect(m_pBrowse, &QPushButton::clicked, this, [this] {
        CAlbumDoc* pDoc = m_host.openAlbum ? m_host.openAlbum() : nullptr;
        if (!pDoc) return;
        auto it = std::find(m_albums.begin(), m_albums.end(), pDoc);
        if (it == m_albums.end()) {
            AddAlbum(pDoc);
            it = m_albums.end() - 1;
        }
        m_pAlbums->setCurrentIndex(static_cast<int>(it - m_albums.begin()));
    });
}

void CAddImagesAlbWizDlg::AddAlbum(CAlbumDoc* pDoc) {
    m_albums.push_back(pDoc);
    m_pAlbums->addItem(QString::fromStdString(pDoc->GetTitle()));
}

CAlbumDoc* CAddImagesAlbWizDlg::GetAlbum() const {
    const int i = m_pAlbums->currentIndex();
    return i >= 0 && i < static_cast<int>(m_albums.size()) ? m_albums[static_cast<size_t>(i)] : nullptr;
}

bool CAddImagesAlbWizDlg::OnWizardNext() {
    if (GetAlbum()) return true;
    GetUserPrompt().MessageBox(LoadResString(1326), MB_OK | MB_ICONEXCLAMATION);
    return false;
}
