// photo info / create / export / set-text / add-path / remove-path / change-scale / commit

#include "album/AlbumPhotos.h"
#include "framework/CException.h"
#include "storage/formats/ImportExport.h"
#include "storage/photo/CQlnChunkFile.h"
#include "storage/photo/QlnPhotoFile.h"
#include "tool/ToolCommand.h"
#include "tool/ToolPictures.h"

#include <cstdio>
#include <memory>

namespace {

// The photo-file layer for one command: its cache is closed (and so saved) at the end.
class CPhotoSession {
public:
    CPhotoSession() { QLNI_Initialize(nullptr); }
    ~CPhotoSession() {
        try {
            QLNI_Terminate();
        } catch (...) {
        }
    }
    void Finish() { QLNI_Terminate(); }
};

uint16_t Scale(const std::string& text, long long nMax = QLNI_SCALE_COUNT - 1) {
    return static_cast<uint16_t>(CToolArgs::ToInteger(text, 0, nMax));
}

bool GetText(const std::string& file, unsigned tag, std::string& text) {
    char* p = nullptr;
    if (!GetTag(file, tag, &p, nullptr) || !p) return false;
    text = p;
    QLNI_FreeTagData(p);
    return true;
}

int PhotoInfo(const CToolArgs& a) {
    a.Expect(1, 1);
    const std::string& file = a[0];
    CPhotoSession session;
    ImageHdrType hdr{};
    hdr.dwStructSize = kImageHdrSize;
    if (GetTag(file, QLNI_TAG_IMAGE_HDR, &hdr, nullptr) > 0)
        std::printf("image: %ux%u %u bpp compression=%u q=%u\n", hdr.dwWidth, hdr.dwHeight, hdr.BitsPerPixel,
                    hdr.DataCompression, hdr.CompressQFactor);
    else
        std::printf("image: none\n");

    int count = 0;
    uint16_t scales[QLNI_SCALE_COUNT] = {};
    QLNI_GetThumbnailScales(file, &count, scales);
    for (int i = 0; i < count; ++i) {
        ImageHdrType tn{};
        tn.dwStructSize = kImageHdrSize;
        GetTag(file, QLNI_TAG_THUMBNAIL_HDR, &tn, &scales[i]);
        std::printf("thumbnail %u: %ux%u %u bpp albums=%d\n", scales[i], tn.dwWidth, tn.dwHeight,
                    tn.BitsPerPixel, QLNI_GetTnUsageCount(file, scales[i]));
    }
    for (uint16_t s = 0; s < QLNI_SCALE_COUNT; ++s) {
        CStringList list;
        QLNI_IsValidFile(file); // the file is open in the cache from here on
        LoadStringList(QLNI_GetCacheFile(), GetAlbumPathTagFromScale(s), list, false);
        for (const auto& path : list) std::printf("album %u: %s\n", s, EscapeText(path).c_str());
    }
    std::string text;
    if (GetText(file, QLNI_TAG_TEXT1, text)) std::printf("title: %s\n", EscapeText(text).c_str());
    if (GetText(file, QLNI_TAG_TEXT2, text)) std::printf("description: %s\n", EscapeText(text).c_str());
    if (GetText(file, QLNI_TAG_SOURCE_NAME, text)) std::printf("source: %s\n", EscapeText(text).c_str());
    if (GetText(file, QLNI_TAG_HOLDER_NAME, text)) std::printf("holder: %s\n", EscapeText(text).c_str());
    RollInfoType roll{};
    roll.dwStructSize = sizeof roll;
    if (GetTag(file, QLNI_TAG_ROLLINFO, &roll, nullptr))
        std::printf("roll: %s|%s|%s\n", EscapeText(roll.szRollInfo1, sizeof roll.szRollInfo1).c_str(),
                    EscapeText(roll.szRollInfo2, sizeof roll.szRollInfo2).c_str(),
                    EscapeText(roll.szRollInfo3, sizeof roll.szRollInfo3).c_str());
    std::printf("committed: %s\n", QLNI_NeedsCommit(file) == 0 ? "yes" : "no");
    session.Finish();
    return kExitOk;
}

int PhotoCreate(const CToolArgs& a) {
    a.Expect(2, 2);
    if (a.Has("--album") && !a.Has("--thumbnail")) throw CToolUsageError("--album goes with --thumbnail");
    CPhotoExportOptions options;
    options.m_nQuality = static_cast<int>(CToolArgs::ToInteger(a.Value("--quality", "65"), 1, 100));
    options.m_bRaw = a.Has("--raw");
    options.m_bKeepOtherChunks = false; // a new photo file
    const bool bThumbnail = a.Has("--thumbnail");
    const int nScale = bThumbnail ? Scale(a.Value("--thumbnail"), 3) : 0;
    const std::string album = a.Value("--album");

    // Decoded once, for the main image and the thumbnail.
    std::unique_ptr<CDib> picture = LoadPicture(a[0]);
    CPhotoSession session;
    // The thumbnail is made as albums make it (scale size, portrait swap, the
    // stretch method, 8-bit thumbnails stored raw).
    if (bThumbnail)
        options.m_addToFile = [&](const std::string& file) {
            CreateThumbnail(file, *picture, nScale, album);
        };
    SavePhotoFile(*picture, a[1], options);
    session.Finish();
    return kExitOk;
}

int PhotoExport(const CToolArgs& a) {
    a.Expect(2, 2);
    CPhotoSession session;
    std::unique_ptr<CDib> picture;
    if (a.Has("--thumbnail")) {
        TnImageRecType tn{};
        tn.Hdr.dwStructSize = kImageHdrSize;
        tn.wScale = Scale(a.Value("--thumbnail"));
        if (GetTag(a[0], QLNI_TAG_THUMBNAIL, &tn, nullptr) <= 0) {
            QLNI_FreeTagData(tn.pPixels);
            std::fprintf(stderr, "zozi-tool photo: no thumbnail of scale %u\n", tn.wScale);
            return kExitNegative;
        }
        picture = DibFromPhotoRecord(tn);
    } else {
        ImageRecType image{};
        image.Hdr.dwStructSize = kImageHdrSize;
        if (GetTag(a[0], QLNI_TAG_IMAGE, &image, nullptr) <= 0) {
            QLNI_FreeTagData(image.pPixels);
            std::fprintf(stderr, "zozi-tool photo: no main image\n");
            return kExitNegative;
        }
        picture = DibFromPhotoRecord(image);
    }
    session.Finish();
    SavePicture(*picture, a[1]);
    return kExitOk;
}

int PhotoSetText(const CToolArgs& a) {
    a.Expect(3, 3);
    const auto tag = static_cast<unsigned>(CToolArgs::ToInteger(a[1], 1, 8));
    if (tag != QLNI_TAG_TEXT1 && tag != QLNI_TAG_TEXT2 && tag != QLNI_TAG_SOURCE_NAME &&
        tag != QLNI_TAG_HOLDER_NAME)
        throw CToolUsageError("TAG is one of 1, 2, 7, 8");
    CPhotoSession session;
    SetTag(a[0], tag, !a.Has("--keep"), a[2].c_str(), nullptr);
    session.Finish();
    return kExitOk;
}

int PhotoAddPath(const CToolArgs& a) {
    a.Expect(3, 3);
    const uint16_t wScale = Scale(a[1], 0xFFFF);
    CPhotoSession session;
    SetTag(a[0], QLNI_TAG_ALBUM_PATH, true, &wScale, a[2].c_str());
    session.Finish();
    return kExitOk;
}

int PhotoRemovePath(const CToolArgs& a) {
    a.Expect(3, 3);
    const uint16_t wScale = Scale(a[1], 0xFFFF);
    CPhotoSession session;
    const long removed = DeleteTag(a[0], QLNI_TAG_ALBUM_PATH, &wScale, a[2].c_str());
    session.Finish();
    return removed > 0 ? kExitOk : kExitNegative;
}

int PhotoChangeScale(const CToolArgs& a) {
    a.Expect(3, 3);
    const uint16_t wScale = Scale(a[1], 0xFFFF);
    CPhotoSession session;
    QLNI_ChangeThumbnailScale(a[0], wScale, a[2]);
    session.Finish();
    return kExitOk;
}

int PhotoCommit(const CToolArgs& a) {
    a.Expect(1, 1);
    const int cleanup = static_cast<int>(CToolArgs::ToInteger(a.Value("--cleanup", "1"), 0, 1));
    const int commit = static_cast<int>(CToolArgs::ToInteger(a.Value("--commit", "1"), 0, 1));
    CPhotoSession session;
    QLNI_CommitFile(a[0], cleanup, commit);
    session.Finish();
    return kExitOk;
}

int Photo(const std::vector<std::string>& args) {
    if (args.empty()) throw CToolUsageError("photo needs a command");
    const std::string& cmd = args[0];
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (cmd == "info") return PhotoInfo(CToolArgs(rest, {}));
    if (cmd == "create")
        return PhotoCreate(CToolArgs(rest, {"--quality", "--thumbnail", "--album"}, {"--raw"}));
    if (cmd == "export") return PhotoExport(CToolArgs(rest, {"--thumbnail"}));
    if (cmd == "set-text") return PhotoSetText(CToolArgs(rest, {}, {"--keep"}));
    if (cmd == "add-path") return PhotoAddPath(CToolArgs(rest, {}));
    if (cmd == "remove-path") return PhotoRemovePath(CToolArgs(rest, {}));
    if (cmd == "change-scale") return PhotoChangeScale(CToolArgs(rest, {}));
    if (cmd == "commit") return PhotoCommit(CToolArgs(rest, {"--cleanup", "--commit"}));
    throw CToolUsageError("unknown photo command '" + cmd + "'");
}

} // namespace

ZOZI_TOOL_COMMAND("photo",
                  "zozi-tool photo info FILE\n"
                  "zozi-tool photo create PICTURE OUT [--raw] [--quality Q] [--thumbnail S --album PATH]\n"
                  "zozi-tool photo export FILE OUT [--thumbnail S]\n"
                  "zozi-tool photo set-text FILE TAG TEXT [--keep]\n"
                  "zozi-tool photo add-path FILE SCALE PATH\n"
                  "zozi-tool photo remove-path FILE SCALE PATH\n"
                  "zozi-tool photo change-scale FILE SCALE PATH\n"
                  "zozi-tool photo commit FILE [--cleanup 0|1] [--commit 0|1]",
                  Photo)
