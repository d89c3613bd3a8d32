// album info / create / add / remove / move / scale / build / relocate / drag / copy

#include "album/AlbumPathChanges.h"
#include "album/AlbumScales.h"
#include "album/AlbumViewRules.h"
#include "album/CAlbum.h"
#include "album/CAlbumResponseFile.h"
#include "framework/CException.h"
#include "framework/CFile.h"
#include "storage/photo/QlnPhotoFile.h"
#include "tool/ToolCommand.h"

#include <algorithm>
#include <cstdio>

namespace {

// The photo-file layer for one command; its cache is closed at the end.
class CAlbumSession {
public:
    CAlbumSession() { QLNI_Initialize(nullptr); }
    ~CAlbumSession() {
        try {
            QLNI_Terminate();
        } catch (...) {
        }
    }
    void Finish() { QLNI_Terminate(); }
};

int ToIndex(const std::string& text, int nCount) {
    if (nCount == 0) throw CToolUsageError("the album has no photos");
    return static_cast<int>(CToolArgs::ToInteger(text, 0, nCount - 1));
}

int AlbumInfo(const CToolArgs& a) {
    a.Expect(1, 1);
    CAlbumSession session;
    CAlbum album;
    album.LoadFile(a[0], false);
    const CShowProps& s = album.m_showProps;
    std::printf("title: %s\ndescription: %s\nscale: %d\n", EscapeText(album.m_strTitle).c_str(),
                EscapeText(album.m_strDescription).c_str(), album.m_nScale);
    std::printf("show: auto=%d repeat=%d random=%d titles=%d index=%d cursor=%d panel=%d fullscreen=%d\n",
                s.m_bAutoAdvance, s.m_bRepeat, s.m_bRandomOrder, s.m_bTitles, s.m_bTitlesIndex, s.m_bCursor,
                s.m_bPanel, s.m_bFullScreen);
    for (int i = 0; i < album.GetCount(); ++i) {
        const CShowElemProps& e = album.GetShowElemProps(i);
        std::printf("photo %d: %s effect=%u delay=%u reserved=%u\n", i + 1,
                    EscapeText(album.GetPath(i)).c_str(), static_cast<unsigned>(e.m_nEffect),
                    static_cast<unsigned>(e.m_dwDelay), static_cast<unsigned>(e.m_dwReserved));
    }
    session.Finish();
    return kExitOk;
}

int AlbumCreate(const CToolArgs& a) {
    a.Expect(1, SIZE_MAX);
    const std::string& path = a[0];
    // A new album over an existing one would leave its photos naming it.
    if (CFile::Exists(path)) throw CToolUsageError("the album " + path + " exists");
    CAlbumSession session;
    CAlbum album;
    if (a.Has("--scale")) album.m_nScale = static_cast<int>(CToolArgs::ToInteger(a.Value("--scale"), 0, 3));
    if (a.Has("--title")) album.m_strTitle = a.Value("--title");
    if (a.Has("--description")) album.m_strDescription = a.Value("--description");
    album.m_strProvisionalPath = path;
    std::vector<std::string> pictures(a.Positional().begin() + 1, a.Positional().end());
    album.AddPhotos(pictures);
    album.SaveFile(path);
    session.Finish();
    return kExitOk;
}

// Loads the album (missing photos removed), runs the operation, saves it.
template <typename Fn> int EditAlbum(const std::string& path, Fn operation) {
    CAlbumSession session;
    CAlbum album;
    album.LoadFile(path);
    operation(album);
    album.SaveFile(path);
    session.Finish();
    return kExitOk;
}

int AlbumAdd(const CToolArgs& a) {
    a.Expect(2, SIZE_MAX);
    std::vector<std::string> pictures(a.Positional().begin() + 1, a.Positional().end());
    return EditAlbum(a[0], [&](CAlbum& album) { album.AddPhotos(pictures); });
}

int AlbumRemove(const CToolArgs& a) {
    a.Expect(2, 2);
    return EditAlbum(a[0], [&](CAlbum& album) { album.RemovePhoto(ToIndex(a[1], album.GetCount())); });
}

int AlbumMove(const CToolArgs& a) {
    a.Expect(3, 3);
    return EditAlbum(a[0], [&](CAlbum& album) {
        const int nFrom = ToIndex(a[1], album.GetCount());
        const int nTo = static_cast<int>(CToolArgs::ToInteger(a[2], 0, album.GetCount()));
        album.MovePhoto(nFrom, nTo);
    });
}

int AlbumScale(const CToolArgs& a) {
    a.Expect(2, 2);
    const int nScale = static_cast<int>(CToolArgs::ToInteger(a[1], 0, kAlbumScaleCount - 1));
    return EditAlbum(a[0], [&](CAlbum& album) { album.SetScale(nScale); });
}

int AlbumBuild(const CToolArgs& a) {
    a.Expect(1, 1);
    CAlbumSession session;
    CAlbumResponseFile response;
    response.Read(a[0]);
    BuildAlbumFromResponseFile(response);
    session.Finish();
    return kExitOk;
}

int AlbumRelocate(const CToolArgs& a) {
    a.Expect(2, 2);
    CAlbumSession session;
    if (!ApplyAlbumPathChanges({a[0]}, {a[1]})) AfxThrowFileException(CFileException::fileNotFound, -1, a[1]);
    session.Finish();
    return kExitOk;
}

// Indexes of the album's photos from the arguments, ascending, duplicates dropped.
std::vector<int> ToSelection(const CToolArgs& a, size_t nFirst, int nCount) {
    std::vector<int> sel;
    for (size_t i = nFirst; i < a.Positional().size(); ++i) sel.push_back(ToIndex(a[i], nCount));
    std::sort(sel.begin(), sel.end());
    sel.erase(std::unique(sel.begin(), sel.end()), sel.end());
    return sel;
}

// The thumbnail view's drop within the album.
int AlbumDrag(const CToolArgs& a) {
    a.Expect(3, SIZE_MAX);
    if (!CFile::Exists(a[0])) throw CToolUsageError("the album " + a[0] + " does not exist");
    return EditAlbum(a[0], [&](CAlbum& album) {
        const int nDrop = static_cast<int>(CToolArgs::ToInteger(a[1], 0, album.GetCount()));
        for (auto [from, to] : DropMoves(ToSelection(a, 2, album.GetCount()), nDrop))
            album.MovePhoto(from, to);
    });
}

// The drop between albums: copied last to first at the position, so they keep their order.
int AlbumCopy(const CToolArgs& a) {
    a.Expect(2, SIZE_MAX);
    if (!a.Has("--to") || !a.Has("--at")) throw CToolUsageError("album copy needs --to ALBUM and --at POS");
    const std::string target = a.Value("--to");
    if (!CFile::Exists(a[0])) throw CToolUsageError("the album " + a[0] + " does not exist");
    if (!CFile::Exists(target)) throw CToolUsageError("the album " + target + " does not exist");
    CAlbumSession session;
    CAlbum from;
    from.LoadFile(a[0], false);
    const std::vector<int> sel = ToSelection(a, 1, from.GetCount());
    CAlbum to;
    to.LoadFile(target);
    const int nPos = static_cast<int>(CToolArgs::ToInteger(a.Value("--at"), 0, to.GetCount()));
    for (auto it = sel.rbegin(); it != sel.rend(); ++it) to.CopyPhoto(from, *it, nPos);
    to.SaveFile(target);
    session.Finish();
    return kExitOk;
}

int Album(const std::vector<std::string>& args) {
    if (args.empty()) throw CToolUsageError("album needs a command");
    const std::string& cmd = args[0];
    std::vector<std::string> rest(args.begin() + 1, args.end());
    if (cmd == "info") return AlbumInfo(CToolArgs(rest, {}));
    if (cmd == "create") return AlbumCreate(CToolArgs(rest, {"--scale", "--title", "--description"}));
    if (cmd == "add") return AlbumAdd(CToolArgs(rest, {}));
    if (cmd == "remove") return AlbumRemove(CToolArgs(rest, {}));
    if (cmd == "move") return AlbumMove(CToolArgs(rest, {}));
    if (cmd == "scale") return AlbumScale(CToolArgs(rest, {}));
    if (cmd == "build") return AlbumBuild(CToolArgs(rest, {}));
    if (cmd == "relocate") return AlbumRelocate(CToolArgs(rest, {}));
    if (cmd == "drag") return AlbumDrag(CToolArgs(rest, {}));
    if (cmd == "copy") return AlbumCopy(CToolArgs(rest, {"--to", "--at"}));
    throw CToolUsageError("unknown album command '" + cmd + "'");
}

} // namespace

ZOZI_TOOL_COMMAND("album",
                  "zozi-tool album info FILE\n"
                  "zozi-tool album create FILE [--scale S] [--title T] [--description D] PICTURE...\n"
                  "zozi-tool album add FILE PICTURE...\n"
                  "zozi-tool album remove FILE INDEX\n"
                  "zozi-tool album move FILE FROM TO\n"
                  "zozi-tool album scale FILE S\n"
                  "zozi-tool album build RESPONSE\n"
                  "zozi-tool album relocate OLD NEW\n"
                  "zozi-tool album drag FILE TO INDEX...\n"
                  "zozi-tool album copy FROM INDEX... --to ALBUM --at POS",
                  Album)
