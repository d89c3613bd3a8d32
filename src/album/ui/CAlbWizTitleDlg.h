#pragma once
// The wizard page for the new album's title and description.

#include "album/ui/CBaseWizardPropertyPage.h"

#include <string>

class QLineEdit;
class QPlainTextEdit;

class CAlbWizTitleDlg : public CBaseWizardPropertyPage {
public:
    static constexpr int kMaxTitle = 256;
    static constexpr int kMaxDescription = 2048;

    explicit CAlbWizTitleDlg(uint32_t nTitle, QWidget* parent = nullptr);
    std::string GetAlbumTitle() const;
    std::string GetAlbumDescription() const;
    QLineEdit* TitleEdit() const { return m_pTitle; }
    QPlainTextEdit* DescriptionEdit() const { return m_pDescription; }

private:
    QLineEdit* m_pTitle;
    QPlainTextEdit* m_pDescription;
};
