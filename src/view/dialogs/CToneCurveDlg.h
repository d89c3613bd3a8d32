#pragma once
// "Color Contour - Tonal Adjustment": the tone curve edited with the mouse,
// the predefined curves of the effects folder, curve files, the channels it
// changes and a preview on a small copy of the picture.

#include "view/core/CPredefinedCurves.h"

#include <QDialog>

#include <functional>
#include <memory>

class CCurveEditWnd;
class CDib;
class COpValues;
class QCheckBox;
class QLabel;
class QListWidget;
class QRadioButton;

class CToneCurveDlg : public QDialog {
    Q_OBJECT
public:
    CToneCurveDlg(QWidget* pParent, const CDib& image, const std::string& strUtilitiesDir);
    ~CToneCurveDlg() override;

    // On OK: the curve as a file the operation reads, and the channel.
    void GetValues(COpValues& values) const;
    void accept() override;

    CCurveEditWnd* EditWindow() const { return m_pWnd; }
    QListWidget* List() const { return m_pList; }
    int ChannelMask() const;
    const uint8_t* Lut() const;
    const CDib* PreviewImage() const { return m_pShown.get(); }

    // The file dialogs' work once a file is chosen; false when nothing changed.
    bool LoadCurveFile(const std::string& path);
    bool SaveCurveFile(const std::string& path);

    // Told the folder of a curve file chosen in a file dialog.
    std::function<void(const std::string&)> m_onFolderChosen;

private:
    void TakeCurve(const CTonalAdjustCurve& curve);
    void UpdatePreview();
    void OnLoad();
    void OnSave();

    std::string m_strDir;
    CPredefinedCurves m_list;
    std::unique_ptr<CDib> m_pReduced, m_pShown;
    std::string m_strResultFile;
    CCurveEditWnd* m_pWnd;
    QListWidget* m_pList;
    QCheckBox* m_pSmooth;
    QRadioButton* m_pChannels[4];
    QLabel* m_pInput;
    QLabel* m_pOutput;
    QLabel* m_pPreview;
};
