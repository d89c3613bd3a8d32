#pragma once
// The dialogs that ask an enhancer command for its arguments, by command id.
// The enhancer enables a command that needs a dialog only while one is
// registered here, and runs the operation table's call with the values the
// dialog gives.

#include <functional>
#include <string>
#include <vector>

class CDib;
class COpValues;
class QWidget;

// An open enhancer window's picture, for the dialogs that combine two.
struct COpenPicture {
    std::string m_strTitle;
    const CDib* m_pImage = nullptr;
};

struct COperationDialogRequest {
    QWidget* m_pParent = nullptr;
    const CDib& m_image;    // the document's picture
    COpValues& m_values;    // filled on OK, as the operation table's arguments are named
    std::string m_strTitle; // the document's title, for captions
    // The "Directory"/"Utilities" preference: the curve dialog's effects
    // folder (empty: the default one), and how to change it after a curve
    // file was chosen (unset: the preference stays).
    std::string m_strUtilitiesDir = {};
    std::function<void(const std::string&)> m_setUtilitiesDir = {};
    // The two-picture commands: the open enhancer windows to choose from, and
    // on OK the title of the one chosen as Image1 (the operation then runs on
    // its picture; IN2 holds the title of Image2).
    std::vector<COpenPicture> m_openPictures = {};
    std::string m_strImage1 = {};
};

using OperationDialogFn = std::function<bool(COperationDialogRequest&)>;

class COperationDialogs {
public:
    static void Register(unsigned nCommandId, OperationDialogFn fn);
    static bool Has(unsigned nCommandId);
    // Runs the command's dialog: true on OK with the values filled, false on
    // Cancel or when no dialog is registered.
    static bool Run(unsigned nCommandId, COperationDialogRequest& request);
};
