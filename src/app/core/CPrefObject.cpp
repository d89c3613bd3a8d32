#include "app/core/CPrefObject.h"

#include "framework/CIniProfileStore.h"

#include <algorithm>
#include <cctype>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <map>

namespace {

constexpr size_t kMaxDirectory = 260;
constexpr size_t kMaxVersion = 4;

// The C library's atoi, without its undefined behaviour on overflow.
int AtoI(const char* p) {
    while (std::isspace(static_cast<unsigned char>(*p))) ++p;
    bool bNeg = false;
    if (*p == '+' || *p == '-') bNeg = *p++ == '-';
    long long v = 0;
    for (; *p >= '0' && *p <= '9'; ++p)
        if (v <= INT_MAX) v = v * 10 + (*p - '0');
    v = bNeg ? -v : v;
    return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX));
}

std::string Cut(std::string s, size_t n) {
    if (s.size() > n) s.resize(n);
    return s;
}

} // namespace

CPrefObject::CPrefObject()
    : m_names{"View",
              "Tool",
              "Status",
              "Show Alb Wizard",
              "Rect",
              "Icon",
              "Max",
              "Print",
              "Extra Margins",
              "Footer",
              "Header",
              "Show Header",
              "Show Footer",
              "Image Rect",
              "Image Layout",
              "Image Center",
              "Album Entire",
              "Album Show Title",
              "Album Show Index",
              "Album Do Text",
              "Album Contact Prev Src",
              "Album Contact Cols",
              "Album Contact Rows",
              "Album Textual Show Des",
              "Undo Redo",
              "Buffer",
              "Paint Option",
              "Identity Palette",
              "Use Windows Stretch",
              "Tn Stretch Method",
              "Directory",
              "Utilities",
              "Albums",
              "Images",
              "Slide Show Panel",
              "Left",
              "Top",
              "Modify Album Path",
              "Count",
              "Thumbnails",
              "Size",
              "ZELK",
              "Version",
              "Parcelgram",
              "Download Directory",
              "Delete When Through"} {}

CRect CPrefObject::ParseRect(const std::string& text, int nStep) {
    int v[4];
    for (int i = 0; i < 4; ++i) {
        size_t pos = static_cast<size_t>(i * nStep);
        v[i] = pos < text.size() ? AtoI(text.c_str() + pos) : 0;
    }
    return CRect(v[0], v[1], v[2], v[3]);
}

std::string CPrefObject::FormatWindowRect(const CRect& rc) {
    auto c = [](int n) { return std::clamp(n, -999, 9999); };
    char buf[64];
    std::snprintf(buf, sizeof buf, "%04d %04d %04d %04d", c(rc.left), c(rc.top), c(rc.right), c(rc.bottom));
    return buf;
}

std::string CPrefObject::FormatPrintRect(const CRect& rc) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%07d %07d %07d %07d", rc.left, rc.top, rc.right, rc.bottom);
    return buf;
}

void CPrefObject::ReadPreferences(IProfileStore& st, CZelSettings& s, const CScreenMetrics& scr) const {
    const auto& n = m_names;
    // 1. Bars and the album wizard.
    s.m_bShowToolBar = st.GetProfileInt(n[View], n[Tool], 1);
    s.m_bShowStatusBar = st.GetProfileInt(n[View], n[Status], 1);
    s.m_bShowAlbWizard = st.GetProfileInt(n[View], n[ShowAlbWizard], 1);

    // 2. The normal rectangle, used only when it lies wholly inside the screen
    //    inset by one border; an empty one would give an invisible window.
    const CRect rcDefault(scr.cxBorder, scr.cyBorder, scr.cxScreen - scr.cxBorder,
                          scr.cyScreen - scr.cyBorder);
    CRect rcNormal = rcDefault;
    std::string strRect = st.GetProfileString(n[View], n[Rect], "");
    if (!strRect.empty()) {
        CRect rc = ParseRect(strRect, 5), rcInter;
        rcInter.IntersectRect(rc, rcDefault);
        if (!rc.IsRectEmpty() && rcInter == rc) rcNormal = rc;
    }

    // 3. Placement.
    s.m_nIcon = st.GetProfileInt(n[View], n[Icon], 0);
    s.m_nMax = st.GetProfileInt(n[View], n[Max], 0);
    CWindowPlacement& wp = s.m_placement;
    if (s.m_nIcon == 0 && s.m_nMax != 0) {
        wp.showCmd = SW_SHOWMAXIMIZED;
        wp.flags = WPF_RESTORETOMAXIMIZED;
    } else {
        wp.showCmd = SW_SHOWNORMAL;
        wp.flags = 0;
    }
    wp.ptMinPosition = CPoint(0, 0);
    wp.ptMaxPosition = CPoint(-scr.cxBorder, -scr.cyBorder);
    wp.rcNormalPosition = rcNormal;

    // 4. Undo buffer and paint options.
    s.m_nUndoBuffer = st.GetProfileInt(n[UndoRedo], n[Buffer], 0);
    if (s.m_nUndoBuffer == 2) s.m_nUndoBuffer = 0;
    s.m_bIdentityPalette = st.GetProfileInt(n[PaintOption], n[IdentityPalette], 1);
    s.m_bUseWindowsStretch = st.GetProfileInt(n[PaintOption], n[UseWindowsStretch], 1);
    s.m_nTnStretchMethod = st.GetProfileInt(n[PaintOption], n[TnStretchMethod], 0);
    s.m_nMaxMegapixels = st.GetProfileInt(n[PaintOption], kMaxMegapixelsKey, 179);
    if (s.m_nMaxMegapixels <= 0) s.m_nMaxMegapixels = 179;

    // 5. Directories.
    s.m_strUtilitiesDir = st.GetProfileString(n[Directory], n[Utilities], "");
    s.m_strAlbumsDir = st.GetProfileString(n[Directory], n[Albums], "");
    s.m_strImagesDir = st.GetProfileString(n[Directory], n[Images], "");

    // 6. Parcelgram.
    s.m_strDownloadDir = st.GetProfileString(n[Parcelgram], n[DownloadDirectory], "");
    s.m_bDeleteWhenThrough = st.GetProfileInt(n[Parcelgram], n[DeleteWhenThrough], 0);

    // 7. The slide-show panel stays on the screen.
    long long top = st.GetProfileInt(n[SlideShowPanel], n[Top], 0);
    long long left = st.GetProfileInt(n[SlideShowPanel], n[Left], 0);
    if (left < 0) left = 0;
    if (left + kPanelWidth > scr.cxScreen) left = scr.cxScreen - kPanelWidth;
    if (top < 0) top = 0;
    if (top + kPanelHeight > scr.cyScreen) top = scr.cyScreen - kPanelHeight;
    s.m_nPanelLeft = static_cast<int>(left);
    s.m_nPanelTop = static_cast<int>(top);

    // 8. Pending album moves.
    ReadModifyAlbumPaths(st, s);

    // 9. Thumbnail size.
    s.m_nThumbnailSize = st.GetProfileInt(n[Thumbnails], n[Size], 1);
    if (s.m_nThumbnailSize < 0 || s.m_nThumbnailSize > 3) s.m_nThumbnailSize = 1;

    // 10. Printing.
    s.m_rcExtraMargins = ParseRect(st.GetProfileString(n[Print], n[ExtraMargins], ""), 8);
    s.m_strFooter = st.GetProfileString(n[Print], n[Footer], "");
    s.m_strHeader = st.GetProfileString(n[Print], n[Header], "");
    s.m_bShowHeader = st.GetProfileInt(n[Print], n[ShowHeader], 0);
    s.m_bShowFooter = st.GetProfileInt(n[Print], n[ShowFooter], 0);
    s.m_rcImageRect = ParseRect(st.GetProfileString(n[Print], n[ImageRect], ""), 8);
    s.m_nImageLayout = st.GetProfileInt(n[Print], n[ImageLayout], 0);
    s.m_bImageCenter = st.GetProfileInt(n[Print], n[ImageCenter], 1);
    s.m_bAlbumEntire = st.GetProfileInt(n[Print], n[AlbumEntire], 1);
    s.m_bAlbumShowTitle = st.GetProfileInt(n[Print], n[AlbumShowTitle], 1);
    s.m_bAlbumShowIndex = st.GetProfileInt(n[Print], n[AlbumShowIndex], 1);
    s.m_bAlbumDoText = st.GetProfileInt(n[Print], n[AlbumDoText], 0);
    s.m_nAlbumContactPrevSrc = st.GetProfileInt(n[Print], n[AlbumContactPrevSrc], 0);
    s.m_nAlbumContactCols = st.GetProfileInt(n[Print], n[AlbumContactCols], 1);
    s.m_nAlbumContactRows = st.GetProfileInt(n[Print], n[AlbumContactRows], 1);
    s.m_bAlbumTextualShowDes = st.GetProfileInt(n[Print], n[AlbumTextualShowDes], 1);
}

void CPrefObject::ReadModifyAlbumPaths(IProfileStore& st, CZelSettings& s) const {
    const auto& sec = m_names[ModifyAlbumPath];
    s.m_nModifyAlbumCount = std::max(0, st.GetProfileInt(sec, m_names[Count], 0));
    s.m_oldAlbumPaths.clear();
    s.m_newAlbumPaths.clear();
    for (int i = 0; i < s.m_nModifyAlbumCount; ++i) {
        char key[32];
        std::snprintf(key, sizeof key, "%s%d", "Alb", i);
        std::string entry = Cut(st.GetProfileString(sec, key, ""), kMaxAlbumPathEntry);
        // Split at commas and blanks, as strtok does with ", ".
        int nPieces = 0;
        size_t pos = 0;
        while (true) {
            pos = entry.find_first_not_of(", ", pos);
            if (pos == std::string::npos) break;
            size_t end = entry.find_first_of(", ", pos);
            if (end == std::string::npos) end = entry.size();
            std::string piece = entry.substr(pos, end - pos);
            if (nPieces == 0)
                s.m_oldAlbumPaths.push_back(piece);
            else if (nPieces == 1)
                s.m_newAlbumPaths.push_back(piece);
            ++nPieces;
            pos = end;
        }
        if (nPieces != 2) {
            s.m_oldAlbumPaths.clear();
            s.m_newAlbumPaths.clear();
            s.m_nModifyAlbumCount = 0;
            break;
        }
    }
    st.DeleteProfileSection(sec);
}

void CPrefObject::WritePreferences(IProfileStore& st, const CZelSettings& s,
                                   const CMainWindowState& wnd) const {
    const auto& n = m_names;
    if (wnd.bToolBarExists) st.WriteProfileInt(n[View], n[Tool], wnd.bToolBarVisible ? 1 : 0);
    if (wnd.bStatusBarExists) st.WriteProfileInt(n[View], n[Status], wnd.bStatusBarVisible ? 1 : 0);
    st.WriteProfileInt(n[View], n[ShowAlbWizard], s.m_bShowAlbWizard);
    st.WriteProfileString(n[Parcelgram], n[DownloadDirectory], s.m_strDownloadDir);
    st.WriteProfileInt(n[Parcelgram], n[DeleteWhenThrough], s.m_bDeleteWhenThrough);

    st.WriteProfileString(n[View], n[Rect], FormatWindowRect(wnd.rcNormal));
    int nIcon = 0, nMax = 0;
    if (wnd.nShow == CMainWindowState::minimized) {
        nIcon = 1;
        nMax = wnd.bRestoreToMaximized ? 1 : 0;
    } else if (wnd.nShow == CMainWindowState::maximized) {
        nMax = 1;
    }
    st.WriteProfileInt(n[View], n[Icon], nIcon);
    st.WriteProfileInt(n[View], n[Max], nMax);

    st.WriteProfileInt(n[UndoRedo], n[Buffer], s.m_nUndoBuffer);
    st.WriteProfileInt(n[PaintOption], n[IdentityPalette], s.m_bIdentityPalette);
    st.WriteProfileInt(n[PaintOption], n[TnStretchMethod], s.m_nTnStretchMethod);
    st.WriteProfileString(n[Directory], n[Utilities], s.m_strUtilitiesDir);
    st.WriteProfileString(n[Directory], n[Albums], s.m_strAlbumsDir);
    st.WriteProfileString(n[Directory], n[Images], s.m_strImagesDir);
    st.WriteProfileInt(n[SlideShowPanel], n[Left], s.m_nPanelLeft);
    st.WriteProfileInt(n[SlideShowPanel], n[Top], s.m_nPanelTop);
    st.WriteProfileInt(n[Thumbnails], n[Size], s.m_nThumbnailSize);

    st.WriteProfileString(n[Print], n[ExtraMargins], FormatPrintRect(s.m_rcExtraMargins));
    st.WriteProfileString(n[Print], n[Footer], s.m_strFooter);
    st.WriteProfileString(n[Print], n[Header], s.m_strHeader);
    st.WriteProfileInt(n[Print], n[ShowHeader], s.m_bShowHeader);
    st.WriteProfileInt(n[Print], n[ShowFooter], s.m_bShowFooter);
    st.WriteProfileString(n[Print], n[ImageRect], FormatPrintRect(s.m_rcImageRect));
    st.WriteProfileInt(n[Print], n[ImageLayout], s.m_nImageLayout);
    st.WriteProfileInt(n[Print], n[ImageCenter], s.m_bImageCenter);
    st.WriteProfileInt(n[Print], n[AlbumEntire], s.m_bAlbumEntire);
    st.WriteProfileInt(n[Print], n[AlbumShowTitle], s.m_bAlbumShowTitle);
    st.WriteProfileInt(n[Print], n[AlbumShowIndex], s.m_bAlbumShowIndex);
    st.WriteProfileInt(n[Print], n[AlbumDoText], s.m_bAlbumDoText);
    st.WriteProfileInt(n[Print], n[AlbumContactPrevSrc], s.m_nAlbumContactPrevSrc);
    st.WriteProfileInt(n[Print], n[AlbumContactCols], s.m_nAlbumContactCols);
    st.WriteProfileInt(n[Print], n[AlbumContactRows], s.m_nAlbumContactRows);
    st.WriteProfileInt(n[Print], n[AlbumTextualShowDes], s.m_bAlbumTextualShowDes);
}

bool CPrefObject::ImportLegacySettings(CIniProfileStore& legacy, IProfileStore& st) const {
    const auto& n = m_names;
    const std::string fileVer = Cut(legacy.GetProfileString(n[ZELK], n[Version], ""), kMaxVersion);
    const std::string storeVer = st.GetProfileString(n[ZELK], n[Version], "");
    // A file without a version cannot be newer than anything; importing it
    // would reset the settings at every start.
    if (fileVer.empty()) return false;
    if (!storeVer.empty() && !(std::atof(storeVer.c_str()) < std::atof(fileVer.c_str()))) return false;

    st.WriteProfileString(n[ZELK], n[Version], fileVer);
    auto copyInt = [&](Name sec, Name key, int nDefault) {
        st.WriteProfileInt(n[sec], n[key], legacy.GetProfileInt(n[sec], n[key], nDefault));
    };
    auto copyDir = [&](Name sec, Name key) {
        st.WriteProfileString(n[sec], n[key],
                              Cut(legacy.GetProfileString(n[sec], n[key], ""), kMaxDirectory));
    };
    copyDir(Parcelgram, DownloadDirectory);
    copyInt(Parcelgram, DeleteWhenThrough, 0);
    copyInt(View, Tool, 1);
    copyInt(View, Status, 1);
    copyInt(View, ShowAlbWizard, 1);
    copyInt(View, Icon, 0);
    copyInt(View, Max, 0);
    copyInt(SlideShowPanel, Left, 0);
    copyInt(SlideShowPanel, Top, 0);
    copyInt(Thumbnails, Size, 1);
    copyInt(UndoRedo, Buffer, 1);
    copyInt(PaintOption, IdentityPalette, 0);
    copyInt(PaintOption, UseWindowsStretch, 0);
    copyInt(PaintOption, TnStretchMethod, 0);
    copyDir(Directory, Albums);
    copyDir(Directory, Images);
    copyDir(Directory, Utilities);

    // Recent files: the store's list is replaced by the file's, up to its first gap.
    for (int i = 1; i <= 8; ++i) st.DeleteProfileKey(kRecentFileSection, "File" + std::to_string(i));
    for (int i = 1;; ++i) {
        std::string key = "File" + std::to_string(i);
        std::string v = legacy.GetProfileString(kRecentFileSection, key, "");
        if (v.empty()) break;
        st.WriteProfileString(kRecentFileSection, key, v);
    }

    // Pending album moves.
    const int nCount = legacy.GetProfileInt(n[ModifyAlbumPath], n[Count], 0);
    if (nCount != 0) {
        st.WriteProfileInt(n[ModifyAlbumPath], n[Count], nCount);
        // A file can claim any count; visit only the entries it holds, in order.
        std::map<int, std::string> present;
        for (const auto& key : legacy.Keys(n[ModifyAlbumPath])) {
            if (key.size() < 4 || key.size() > 13 ||
                !std::equal(key.begin(), key.begin() + 3, "alb",
                            [](char a, char b) { return std::tolower(a) == b; }))
                continue;
            std::string digits = key.substr(3);
            if (!std::all_of(digits.begin(), digits.end(), ::isdigit) ||
                (digits.size() > 1 && digits[0] == '0'))
                continue;
            long long i = std::atoll(digits.c_str());
            if (i < nCount) present.emplace(static_cast<int>(i), "Alb" + digits);
        }
        for (const auto& [i, key] : present) {
            std::string v = legacy.GetProfileString(n[ModifyAlbumPath], key, "");
            if (!v.empty()) st.WriteProfileString(n[ModifyAlbumPath], key, v);
        }
    }

    st.WriteProfileInt(n[Print], n[AlbumContactCols], 4);
    st.WriteProfileInt(n[Print], n[AlbumContactRows], 5);
    return true;
}

std::vector<std::string> CPrefObject::ListSettings(const CZelSettings& s, IProfileStore& st) const {
    const auto& n = m_names;
    std::vector<std::string> out;
    auto line = [&](Name sec, Name key, const std::string& v) {
        out.push_back(n[sec] + "/" + n[key] + "=" + v);
    };
    auto num = [&](Name sec, Name key, int v) { line(sec, key, std::to_string(v)); };
    num(View, Tool, s.m_bShowToolBar);
    num(View, Status, s.m_bShowStatusBar);
    num(View, ShowAlbWizard, s.m_bShowAlbWizard);
    line(View, Rect, FormatWindowRect(s.m_placement.rcNormalPosition));
    num(View, Icon, s.m_nIcon);
    num(View, Max, s.m_nMax);
    line(Print, ExtraMargins, FormatPrintRect(s.m_rcExtraMargins));
    line(Print, Footer, s.m_strFooter);
    line(Print, Header, s.m_strHeader);
    num(Print, ShowHeader, s.m_bShowHeader);
    num(Print, ShowFooter, s.m_bShowFooter);
    line(Print, ImageRect, FormatPrintRect(s.m_rcImageRect));
    num(Print, ImageLayout, s.m_nImageLayout);
    num(Print, ImageCenter, s.m_bImageCenter);
    num(Print, AlbumEntire, s.m_bAlbumEntire);
    num(Print, AlbumShowTitle, s.m_bAlbumShowTitle);
    num(Print, AlbumShowIndex, s.m_bAlbumShowIndex);
    num(Print, AlbumDoText, s.m_bAlbumDoText);
    num(Print, AlbumContactPrevSrc, s.m_nAlbumContactPrevSrc);
    num(Print, AlbumContactCols, s.m_nAlbumContactCols);
    num(Print, AlbumContactRows, s.m_nAlbumContactRows);
    num(Print, AlbumTextualShowDes, s.m_bAlbumTextualShowDes);
    num(UndoRedo, Buffer, s.m_nUndoBuffer);
    num(PaintOption, IdentityPalette, s.m_bIdentityPalette);
    num(PaintOption, UseWindowsStretch, s.m_bUseWindowsStretch);
    num(PaintOption, TnStretchMethod, s.m_nTnStretchMethod);
    line(Directory, Utilities, s.m_strUtilitiesDir);
    line(Directory, Albums, s.m_strAlbumsDir);
    line(Directory, Images, s.m_strImagesDir);
    num(SlideShowPanel, Left, s.m_nPanelLeft);
    num(SlideShowPanel, Top, s.m_nPanelTop);
    num(Thumbnails, Size, s.m_nThumbnailSize);
    line(ZELK, Version, st.GetProfileString(n[ZELK], n[Version], ""));
    line(Parcelgram, DownloadDirectory, s.m_strDownloadDir);
    num(Parcelgram, DeleteWhenThrough, s.m_bDeleteWhenThrough);
    for (int i = 1; i <= 8; ++i) {
        std::string key = "File" + std::to_string(i);
        std::string v = st.GetProfileString(kRecentFileSection, key, "");
        if (!v.empty()) out.push_back(std::string(kRecentFileSection) + "/" + key + "=" + v);
    }
    num(ModifyAlbumPath, Count, s.m_nModifyAlbumCount);
    for (size_t i = 0; i < s.m_oldAlbumPaths.size(); ++i)
        out.push_back(n[ModifyAlbumPath] + "/Alb" + std::to_string(i) + "=" + s.m_oldAlbumPaths[i] + "," +
                      s.m_newAlbumPaths[i]);
    out.push_back(n[PaintOption] + "/" + kMaxMegapixelsKey + "=" + std::to_string(s.m_nMaxMegapixels));
    return out;
}
