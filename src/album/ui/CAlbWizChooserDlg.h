#pragma once
// The album wizard's first dialog: which of the six tasks to do, whether the
// wizard comes up at start, and what an album is.

#include "album/AlbumWizardTasks.h"

#include <QDialog>
#include <map>

class QButtonGroup;
class QCheckBox;
class QLabel;
class QRadioButton;

class CAlbWizChooserDlg : public QDialog {
public:
    // The descriptions are loaded here: a missing one raises the resource exception.
    CAlbWizChooserDlg(bool bShowWizard, bool bAlbumOpen, QWidget* parent = nullptr);
    EWizTask GetTask() const;
    bool GetShowWizard() const;
    QRadioButton* TaskButton(EWizTask task) const;
    QCheckBox* ShowBox() const { return m_pShow; }
    QLabel* Description() const { return m_pDescription; }

private:
    std::map<EWizTask, QString> m_descriptions;
    QButtonGroup* m_pGroup;
    QCheckBox* m_pShow;
    QLabel* m_pDescription;
};
