#pragma once
// The wizard page that collects the picture files for an album.

#include "album/ui/CBaseWizardPropertyPage.h"

#include <functional>
#include <string>
#include <vector>

class QListWidget;
class QPushButton;

class CAutoCreateAlbWiz3Dlg : public CBaseWizardPropertyPage {
public:
    // The add-images file dialog; tests replace it.
    using AskFiles = std::function<std::vector<std::string>(QWidget* parent)>;
    static AskFiles s_askFiles;
    static std::vector<std::string> AskFilesWithDialog(QWidget* parent);

    CAutoCreateAlbWiz3Dlg(uint32_t nTitle, uint32_t nInstruction, QWidget* parent = nullptr);
    std::vector<std::string> GetFiles() const;
    QListWidget* List() const { return m_pList; }
    QPushButton* AddButton() const { return m_pAdd; }
    QPushButton* RemoveButton() const { return m_pRemove; }

private:
    QListWidget* m_pList;
    QPushButton* m_pAdd;
    QPushButton* m_pRemove;
};
