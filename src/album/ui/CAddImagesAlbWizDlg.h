#pragma once
// The wizard page that picks the open album the pictures go to, or opens
// another one.

#include "album/ui/CBaseWizardPropertyPage.h"

#include <vector>

class CAlbumDoc;
class QComboBox;
class QPushButton;
struct CAlbumWizardHost;

class CAddImagesAlbWizDlg : public CBaseWizardPropertyPage {
public:
    CAddImagesAlbWizDlg(uint32_t nTitle, CAlbumWizardHost& host, QWidget* parent = nullptr);
    bool OnWizardNext() override;
    CAlbumDoc* GetAlbum() const;
    QComboBox* AlbumBox() const { return m_pAlbums; }
    QPushButton* BrowseButton() const { return m_pBrowse; }

private:
    void AddAlbum(CAlbumDoc* pDoc);

    CAlbumWizardHost& m_host;
    std::vector<CAlbumDoc*> m_albums;
    QComboBox* m_pAlbums;
    QPushButton* m_pBrowse;
};
