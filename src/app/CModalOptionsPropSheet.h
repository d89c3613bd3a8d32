#pragma once
// The options sheet: pages "General" and "Directories".

#include "app/core/COptions.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QTabWidget;

class CModalOptionsPropSheet : public QDialog {
public:
    CModalOptionsPropSheet(const COptions& values, QWidget* pParent = nullptr);
    // The values as the controls hold them.
    COptions Values() const;

    QTabWidget* Tabs() const { return m_pTabs; }
    QButtonGroup* UndoGroup() const { return m_pUndo; }
    QButtonGroup* SizeGroup() const { return m_pSize; }
    QButtonGroup* QualityGroup() const { return m_pQuality; }
    QCheckBox* FastPaint() const { return m_pFastPaint; }
    QLineEdit* AlbumDir() const { return m_pAlbums; }

private:
    QTabWidget* m_pTabs;
    QButtonGroup* m_pUndo;
    QButtonGroup* m_pSize;
    QButtonGroup* m_pQuality;
    QCheckBox* m_pFastPaint;
    QLineEdit* m_pAlbums;
    QLineEdit* m_pImages;
    QLineEdit* m_pEffects;
    QLineEdit* m_pParcelgram;
};
