// image info / convert

#include "tool/ToolCommand.h"
#include "tool/ToolPictures.h"

#include <cstdio>

namespace {

int Image(const std::vector<std::string>& args) {
    if (args.empty() || args[0] != "info") throw CToolUsageError("image needs info FILE");
    CToolArgs a(std::vector<std::string>(args.begin() + 1, args.end()), {});
    a.Expect(1, 1);
    CPictureInfo info = GetPictureInfo(a[0]);
    std::printf("format=%d name=%s width=%d height=%d bpp=%d\n", info.nFormat, info.name.c_str(), info.nWidth,
                info.nHeight, info.nBitCount);
    return kExitOk;
}

int Convert(const std::vector<std::string>& args) {
    CToolArgs a(args, {"--save-type"});
    a.Expect(2, 2);
    int nSaveType =
        a.Has("--save-type") ? static_cast<int>(CToolArgs::ToInteger(a.Value("--save-type"), 1, 666)) : -1;
    auto image = LoadPicture(a[0]);
    SavePicture(*image, a[1], nSaveType);
    return kExitOk;
}

} // namespace

ZOZI_TOOL_COMMAND("image", "zozi-tool image info FILE", Image)
ZOZI_TOOL_COMMAND(
    "convert",
    "zozi-tool convert IN OUT [--save-type N]   (without N: .qln photo file, .bmp the picture's\n"
    "                                           depth, others the extension's save type for that\n"
    "                                           depth, else the next greater, else the deepest)",
    Convert)
