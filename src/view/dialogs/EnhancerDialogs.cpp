#include "view/dialogs/EnhancerDialogs.h"

#include "imaging/CDib.h"
#include "view/COperationDialogs.h"
#include "view/dialogs/CAdaptiveColorsDlg.h"
#include "view/dialogs/CArithmeticDlg.h"
#include "view/dialogs/CBrightnessContrastDlg.h"
#include "view/dialogs/CCropMarginsDlg.h"
#include "view/dialogs/CGaussianDlg.h"
#include "view/dialogs/CHistogramDlg.h"
#include "view/dialogs/CHueSaturationDlg.h"
#include "view/dialogs/CNegativeDlg.h"
#include "view/dialogs/CPosterizeDlg.h"
#include "view/dialogs/CRotateDlg.h"
#include "view/dialogs/CScaleDlg.h"
#include "view/dialogs/CSolarizeDlg.h"
#include "view/dialogs/CToneCurveDlg.h"
#include "view/dialogs/CWarpDlg.h"

namespace {

// Runs the dialog modally; on OK its values become the request's.
template <class Dlg> bool RunDialog(Dlg& dlg, COperationDialogRequest& request) {
    if (dlg.exec() != QDialog::Accepted) return false;
    dlg.GetValues(request.m_values);
    return true;
}

template <class Dlg> OperationDialogFn PreviewDialog() {
    return [](COperationDialogRequest& r) {
        Dlg dlg(r.m_pParent, r.m_image);
        return RunDialog(dlg, r);
    };
}

} // namespace

void RegisterEnhancerDialogs() {
    COperationDialogs::Register(2027, PreviewDialog<CBrightnessContrastDlg>());
    COperationDialogs::Register(2085, PreviewDialog<CHueSaturationDlg>());
    COperationDialogs::Register(2029, PreviewDialog<CPosterizeDlg>());
    COperationDialogs::Register(2030, PreviewDialog<CSolarizeDlg>());
    COperationDialogs::Register(2196, PreviewDialog<CGaussianDlg>());
    COperationDialogs::Register(2028, [](COperationDialogRequest& r) {
        CNegativeDlg dlg(r.m_pParent);
        return RunDialog(dlg, r);
    });
    COperationDialogs::Register(2120, [](COperationDialogRequest& r) {
        CAdaptiveColorsDlg dlg(r.m_pParent);
        return RunDialog(dlg, r);
    });
    COperationDialogs::Register(2038, [](COperationDialogRequest& r) {
        CScaleDlg dlg(r.m_pParent, r.m_image.GetWidth(), r.m_image.GetHeight(), r.m_image.GetBitCount());
        return RunDialog(dlg, r);
    });
    COperationDialogs::Register(2037, [](COperationDialogRequest& r) {
        CRotateDlg dlg(r.m_pParent);
        return RunDialog(dlg, r);
    });
    COperationDialogs::Register(2058, [](COperationDialogRequest& r) {
        CCropMarginsDlg dlg(r.m_pParent, r.m_image.GetWidth(), r.m_image.GetHeight());
        return RunDialog(dlg, r);
    });
    COperationDialogs::Register(2197, [](COperationDialogRequest& r) {
        CToneCurveDlg dlg(r.m_pParent, r.m_image, r.m_strUtilitiesDir);
        dlg.m_onFolderChosen = r.m_setUtilitiesDir;
        return RunDialog(dlg, r);
    });
    COperationDialogs::Register(2201, [](COperationDialogRequest& r) {
        CWarpDlg dlg(r.m_pParent, r.m_image, r.m_strUtilitiesDir);
        return RunDialog(dlg, r);
    });
    for (unsigned id : {2176u, 2177u, 2178u, 2179u, 2180u})
        COperationDialogs::Register(id, [id](COperationDialogRequest& r) {
            // The current window is Image1 unless another is chosen.
            std::vector<COpenPicture> pictures = r.m_openPictures;
            int nCurrent = -1;
            for (size_t i = 0; i < pictures.size(); ++i)
                if (pictures[i].m_pImage == &r.m_image) nCurrent = int(i);
            if (nCurrent < 0) {
                pictures.insert(pictures.begin(), COpenPicture{r.m_strTitle, &r.m_image});
                nCurrent = 0;
            }
            CArithmeticDlg dlg(r.m_pParent, id, std::move(pictures), nCurrent);
            if (!RunDialog(dlg, r)) return false;
            r.m_strImage1 = dlg.Image1Title();
            return true;
        });
    // The histogram only shows information: there is nothing to run after it.
    COperationDialogs::Register(2173, [](COperationDialogRequest& r) {
        CHistogramDlg dlg(r.m_pParent, r.m_image);
        dlg.exec();
        return false;
    });
}
