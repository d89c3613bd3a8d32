#pragma once
// Two open pictures combined (add, subtract, difference, multiply, blend):
// Image1 and Image2 with their previews, the scale or percent, wrapping, and
// a preview of the result.

#include "view/COperationDialogs.h"

#include <QDialog>

#include <memory>

class CDib;
class COpValues;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;

class CArithmeticDlg : public QDialog {
    Q_OBJECT
public:
    static constexpr int kPreviewSize = 120;
    static constexpr const char* kMsgSameSize = "Both Image1 and Image2 images must be the same size.";

    CArithmeticDlg(QWidget* pParent, unsigned nCommandId, std::vector<COpenPicture> pictures, int nCurrent);
    ~CArithmeticDlg() override;

    void GetValues(COpValues& values) const;
    std::string Image1Title() const;
    void accept() override;

    QComboBox* Image1() const { return m_pImage1; }
    QComboBox* Image2() const { return m_pImage2; }
    QLineEdit* ScaleField() const { return m_pScale; }
    const CDib* TargetPreview() const { return m_pTarget.get(); }

private:
    bool IsBlend() const { return m_nCommandId == 2180; }
    bool HasScale() const { return m_nCommandId == 2176 || m_nCommandId == 2177; }
    bool SameSize() const;
    void UpdatePreviews();

    unsigned m_nCommandId;
    std::vector<COpenPicture> m_pictures;
    std::vector<std::unique_ptr<CDib>> m_reduced; // one small copy per picture
    std::unique_ptr<CDib> m_pTarget;
    QComboBox* m_pImage1;
    QComboBox* m_pImage2;
    QLabel* m_pPreview1;
    QLabel* m_pPreview2;
    QLabel* m_pPreviewTarget;
    QLineEdit* m_pScale;
    QCheckBox* m_pWrap;
    int m_nScale = 1;
};
