#include "view/dialogs/DialogFields.h"

#include "framework/UserPrompt.h"
#include "framework/qt/CQtDC.h"
#include "imaging/CDib.h"
#include "imaging/CResampleScale.h"
#include "imaging/PreviewFit.h"
#include "view/core/DialogRules.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QImage>
#include <QLineEdit>
#include <QPainter>

bool CheckIntegerField(QLineEdit* pEdit, int nMin, int nMax, int& nValue) {
    std::string strError;
    if (ValidateIntegerField(pEdit->text().toStdString(), nMin, nMax, nValue, strError)) return true;
    GetUserPrompt().MessageBox(strError, MB_OK | MB_ICONEXCLAMATION);
    pEdit->setFocus();
    pEdit->selectAll();
    return false;
}

QDialogButtonBox* MakeOkCancel(QDialog* pDlg) {
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(pButtons, &QDialogButtonBox::accepted, pDlg, &QDialog::accept);
    QObject::connect(pButtons, &QDialogButtonBox::rejected, pDlg, &QDialog::reject);
    return pButtons;
}

std::unique_ptr<CDib> ReducedCopy(const CDib& image, int nWidth, int nHeight) {
    const CRect rc = FitPreviewRect(CRect(0, 0, nWidth, nHeight), image.GetWidth(), image.GetHeight());
    if (rc.IsRectEmpty()) return nullptr;
    try {
        std::unique_ptr<CDib> p;
        if (image.IsGray())
            p = std::make_unique<CDib>(rc.Width(), rc.Height(), 8, 256, nullptr);
        else
            p = std::make_unique<CDib>(image.GetBitCount(), rc.Width(), rc.Height(), image.GetColorTable());
        // The scaler only reads its source.
        CResampleScale(const_cast<CDib*>(&image), p.get()).Scale();
        return p;
    } catch (...) {
        return nullptr;
    }
}

QImage DibToImage(CDib& image) {
    QImage out(image.GetWidth(), image.GetHeight(), QImage::Format_RGB32);
    out.fill(Qt::black);
    QPainter painter(&out);
    CQtDC dc(&painter);
    image.Draw(dc, 0, 0);
    return out;
}
