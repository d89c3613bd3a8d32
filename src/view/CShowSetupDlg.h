#pragma once
// "Photo Show Setup" (dialog 1053): the album's show settings and every
// photo's transition and delay. The album document fills Data() before the
// dialog runs and, after OK, copies it back with CShowSetupData::CopyBack.

#include "view/core/CShowSetupData.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QPushButton;

class CShowSetupDlg : public QDialog {
public:
    CShowSetupDlg(QWidget* pParent, int nPhotos, int nCurrent);

    CShowSetupData& Data() { return m_data; }

    // Control ids of the dialog's template, also the controls' object names.
    enum : int {
        kManual = 3078,
        kAutomatic = 3079,
        kPhotoList = 3080,
        kDelay = 3082,
        kEffectList = 3083,
        kRepeat = 3085,
        kTitles = 3086,
        kApplyToAll = 3089,
        kTitlesIndex = 3092,
        kInOrder = 3093,
        kRandom = 3094,
        kCursor = 3095,
        kPanel = 3096,
        kFullScreen = 3097,
    };

    void accept() override;

protected:
    void showEvent(QShowEvent* pEvent) override;

private:
    void InitDialog();
    // The effect and delay on display into the data; false (after a message)
    // when the delay is not a number of seconds from 0 to 60000.
    bool TakeShownValues();
    void ShowPhotoValues();
    void OnPhotoChanged(int nRow);
    void UpdateEnables();

    CShowSetupData m_data;
    bool m_bInitialised = false;
    bool m_bChanging = false;
    QListWidget* m_pPhotos;
    QListWidget* m_pEffects;
    QLineEdit* m_pDelay;
    QButtonGroup* m_pAdvance;
    QButtonGroup* m_pOrder;
    QCheckBox* m_pTitles;
    QCheckBox* m_pTitlesIndex;
    QCheckBox* m_pRepeat;
    QCheckBox* m_pCursor;
    QCheckBox* m_pPanel;
    QCheckBox* m_pFullScreen;
    QPushButton* m_pApplyToAll;
};
