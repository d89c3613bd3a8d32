#pragma once
// The main tool bar's two button sets (albums and slide shows; the picture
// enhancer), their pictures and tips, and the window that shows them.

#include <QIcon>
#include <string>
#include <vector>

enum : int { kToolBarSetNone = 0, kToolBarSetAlbum = 1288, kToolBarSetEnhancer = 1287 };

// The command ids of the set in order; 0 stands for a separator.
const std::vector<unsigned>& ToolBarButtons(int nSet);
// The button's picture, drawn for every command of both sets.
QIcon ToolBarIcon(unsigned nID);
std::string ToolBarTip(unsigned nID);

// What the views ask of the main frame.
class IToolBarHost {
public:
    virtual ~IToolBarHost() = default;
    // Shows the set's buttons; nothing happens when the set is already shown.
    virtual void SetToolBarSet(int nSet) = 0;
    virtual void EnableToolBar(bool bEnable) = 0;
};
