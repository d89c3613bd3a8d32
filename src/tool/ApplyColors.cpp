// apply: the colour operations of the enhancer's "Colors" menu.

#include "imaging/FalseColor.h"
#include "tool/ToolApply.h"
#include "tool/ToolCommand.h"

namespace {

void FalseColor(std::unique_ptr<CDib>& image, const std::vector<std::string>& args) {
    CToolArgs a(args, {});
    a.Expect(1, 1);
    EFalseColor which;
    if (a[0] == "pseudo")
        which = EFalseColor::PseudoColor;
    else if (a[0] == "spectrum")
        which = EFalseColor::Spectrum;
    else if (a[0] == "fire-sky")
        which = EFalseColor::FireSky;
    else
        throw CToolUsageError("false-color takes pseudo, spectrum or fire-sky");
    ApplyFalseColor(*image, which);
}

} // namespace

ZOZI_APPLY_OPERATION("false-color", 2123, "pseudo|spectrum|fire-sky", FalseColor)
