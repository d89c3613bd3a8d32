#pragma once
// The commands of the enhancer's menu bar (menu 1020): per command its id,
// menu text, enable and check rules, whether it asks a dialog first, its
// typed arguments and the call that runs it. The enhancer's menus and
// `zozi-tool apply` both read this table.

#include "imaging/ops/OpArgs.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

class CDib;

// The view's state that the enable rules look at.
enum class EEnhancerTool { Default, Zoom, Crop };

struct CEnhancerViewState {
    int m_nZoom = 1; // n ≥ 2 magnified, 1 actual size, −n reduced
    bool m_bFitToWindow = false;
    EEnhancerTool m_tool = EEnhancerTool::Default;
    bool m_bCanUndo = false;
    bool m_bCanRedo = false;
    bool m_bClipboardHasPicture = false;
};

enum class EEnableRule {
    Always,
    Image,        // the document has an image
    CanUndo,      // image and something to undo
    CanRedo,      // image and something to redo
    Clipboard,    // the clipboard holds a picture
    ZoomCommand,  // image and the crop tool not active
    ActualSize,   // image, zoom 1, no fit (the crop tool)
    BitsAtLeast4, // bits ≥ 4
    BitsAtLeast8, // bits ≥ 8
    BitsOver8,    // bits > 8
    Bits8,        // bits = 8
    Bits24,       // bits = 24
    BitsNot24,    // bits ≠ 24
    CropCommand,  // bits > 8, zoom 1, no fit
    Histogram,    // bits > 8, or an 8-bit grey image of 256 levels
    FullGrey,     // an 8-bit grey image of 256 levels (false colour)
};

enum class ECheckRule { None, ActualSize, Zoom, Fit, ZoomTool, CropTool };

enum class EOpResult {
    ViewHandled, // the view runs it itself (zoom, clipboard, windows, information)
    InPlace,     // the call changes the image
    NewImage,    // the call replaces the image with a new one
    NewWindow,   // the result goes into a new untitled window
};

// What a call gets: the image (a NewImage call replaces it), the argument
// values, and a way to read a second picture named by a Picture argument.
struct COpContext {
    std::unique_ptr<CDib>& m_image;
    const COpValues& m_values;
    std::function<std::unique_ptr<CDib>(const std::string&)> m_loadPicture;
};

using OpCall = void (*)(COpContext& ctx);

struct COperation {
    unsigned m_nCommandId = 0;
    const char* m_pszMenuText = nullptr; // null for commands without a menu item
    EEnableRule m_enable = EEnableRule::Always;
    ECheckRule m_check = ECheckRule::None;
    int m_nZoom = 0;        // the factor of a zoom command
    bool m_bDialog = false; // a dialog asks for the arguments first
    EOpResult m_result = EOpResult::ViewHandled;
    const char* m_pszToolName = nullptr; // its name in `zozi-tool apply`, if any
    const char* m_pszToolWord = nullptr; // picks one of several commands sharing a name
    std::vector<COpArg> m_args;
    OpCall m_call = nullptr;
};

class COperationTable {
public:
    // Every command of menu 1020, in menu order.
    static const std::vector<COperation>& All();
    static const COperation* FindById(unsigned nCommandId);
    // The commands that `zozi-tool apply` knows by this name (several for a
    // name with words, such as false-color).
    static std::vector<const COperation*> FindByToolName(const std::string& name);

    // The enable rule for the document's image (null when there is none).
    static bool IsEnabled(const COperation& op, const CDib* pImage, const CEnhancerViewState& view);
    static bool IsChecked(const COperation& op, const CDib* pImage, const CEnhancerViewState& view);

    // Runs the call; CNotSupportedException when the rule disables the command
    // for this image at zoom 1 without fit (the tool's and the batch view).
    static void Run(const COperation& op, COpContext& ctx);
};
