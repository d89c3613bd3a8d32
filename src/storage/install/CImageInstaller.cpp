#include "storage/install/CImageInstaller.h"

#include "storage/photo/QlnPhotoFile.h"

#include "framework/CException.h"
#include "framework/CFile.h"
#include "framework/StringTable.h"
#include "framework/TextCase.h"
#include "framework/Trace.h"
#include "framework/UserPrompt.h"
#include "storage/install/IDriveList.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

constexpr char kInvalidPathText[] = "Lexically invalid path name";
constexpr char kConfirmReplaceText[] = "Confirm File Replace\n\nReplace File:\n%1\n\nWith File:\n%2";
constexpr size_t kMaxShownName = 64;

// Copying must not find a photo file held open by the photo-file layer's cache.
void ClosePhotoFileCache() {
    QLNI_CloseFile();
}
CImageInstaller::ClosePhotoFileHook g_pClosePhotoFile = &ClosePhotoFileCache;

std::string Join(const std::string& dir, const std::string& name) {
    return dir.empty() || dir.back() == '/' ? dir + name : dir + "/" + name;
}

// The directory part of a path; "." for a bare name.
std::string DirOf(const std::string& strPath) {
    fs::path dir = fs::path(strPath).parent_path();
    return (dir.empty() ? fs::path(".") : dir).string();
}

// Holds the wait cursor for a scope.
class CWaitCursor {
public:
    CWaitCursor() { GetUserPrompt().BeginWaitCursor(); }
    ~CWaitCursor() { GetUserPrompt().EndWaitCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

// A failed system call: its errno value and the file it concerned.
struct CopyError {
    int nError = 0;
    std::string strFile;
};

// Copies the file beside the target and puts it into place (CAtomicFile), so
// that the target is never seen half-written. Without bReplace an existing
// target is left alone and EEXIST returned. Keeps the source's modification
// time, as the system's file copy does.
CopyError CopySystemFile(const std::string& strSource, const std::string& strTarget, bool bReplace) {
    struct stat st {};
    if (!bReplace && ::lstat(strTarget.c_str(), &st) == 0) return {EEXIST, strTarget};
    CFile in;
    CFileException error;
    if (!in.Open(strSource, CFile::modeRead | CFile::shareDenyNone, &error))
        return {error.m_lOsError ? int(error.m_lOsError) : EACCES, strSource};
    if (::fstat(in.GetHandle(), &st) != 0) return {errno, strSource};
    const std::string* pFailing = &strTarget;
    try {
        CAtomicFile out(strTarget);
        std::vector<char> buf(std::min<off_t>(std::max<off_t>(st.st_size, 1), 1 << 20));
        for (;;) {
            pFailing = &strSource;
            const uint32_t n = in.Read(buf.data(), static_cast<uint32_t>(buf.size()));
            pFailing = &strTarget;
            if (n == 0) break;
            out.File().Write(buf.data(), n);
        }
        const timespec times[2] = {st.st_atim, st.st_mtim};
        ::futimens(out.File().GetHandle(), times);
        out.Commit(bReplace);
    } catch (const CFileException& e) {
        return {e.m_lOsError ? int(e.m_lOsError) : EIO, *pFailing};
    }
    return {};
}

} // namespace

void CImageInstaller::SetClosePhotoFileHook(ClosePhotoFileHook pHook) {
    g_pClosePhotoFile = pHook ? pHook : &ClosePhotoFileCache;
}

std::string CImageInstaller::MakeTargetName(const std::string& strSource, const std::string& strDestDir,
                                            bool bLongNames) {
    size_t nSlash = strSource.find_last_of('/');
    std::string strFile = nSlash == std::string::npos ? strSource : strSource.substr(nSlash + 1);
    size_t nDot = strFile.find_last_of('.');
    std::string strBase = nDot == std::string::npos ? strFile : strFile.substr(0, nDot);
    std::string strExt = nDot == std::string::npos ? std::string() : strFile.substr(nDot);

    if (strExt.size() == 4 && strExt[1] == '#' && std::isdigit(static_cast<unsigned char>(strExt[2])) &&
        std::isdigit(static_cast<unsigned char>(strExt[3]))) {
        // B.#nn -> B_nn.QLN: for the eight-character names of the disks the
        // "_" is the ninth character; other lengths get the same form.
        strBase.push_back('_');
        strBase.append(strExt, 2, 2);
        if (!bLongNames && strBase.size() > 8) strBase = strBase.substr(strBase.size() - 8);
        strExt = ".QLN";
    }
    return Join(strDestDir, strBase + strExt);
}

bool CImageInstaller::IsLexicallyValidPath(const std::string& strPath) {
    if (strPath.empty()) return false;
    for (unsigned char c : strPath)
        if (c < 0x20 || std::string_view("<>\"|?*").find(static_cast<char>(c)) != std::string_view::npos)
            return false;
    return true;
}

bool CImageInstaller::ChooseDestination(const CInstallWizardData& data, std::string& strDir) {
    if (!data.m_bNewAlbum) {
        // Beside the album's photo files, or else beside the album.
        for (const auto& file : data.m_albumFiles) {
            if (ToLowerAscii(fs::path(file).extension().string()) == ".qln") {
                strDir = DirOf(file);
                return true;
            }
        }
        strDir = DirOf(data.m_strAlbumPath);
        return true;
    }
    strDir = !data.m_strImageDir.empty()     ? data.m_strImageDir
             : !data.m_strProgramDir.empty() ? data.m_strProgramDir
                                             : std::string(".");
    if (!IsLexicallyValidPath(strDir)) {
        GetUserPrompt().MessageBox(kInvalidPathText, MB_OK | MB_ICONSTOP);
        return false;
    }
    std::error_code ec;
    if (fs::is_directory(strDir, ec)) return true;
    fs::create_directories(strDir, ec);
    if (!ec && fs::is_directory(strDir, ec)) return true;
    GetUserPrompt().MessageBox(FormatResString1(IDS_CREATE_DIR_FAILED, strDir), MB_OK | MB_ICONSTOP);
    return false;
}

void CImageInstaller::CopyImage(std::string& strPath, const std::string& strDestDir, bool& bOverwriteAll,
                                int& nResult) {
    const std::string strTarget = MakeTargetName(strPath, strDestDir);
    CWaitCursor wait;
    g_pClosePhotoFile();

    CopyError err = CopySystemFile(strPath, strTarget, bOverwriteAll);
    if (err.nError == EEXIST && !bOverwriteAll) {
        int n = GetUserPrompt().AskButtons(FormatMessageText(kConfirmReplaceText, strTarget, strPath),
                                           {"&Yes", "Yes to &All", "&No", "Cancel"}, MB_ICONQUESTION, 3);
        if (n == 2) {
            nResult = kSkipped;
            return;
        }
        if (n != 0 && n != 1) {
            nResult = kCancelled;
            return;
        }
        if (n == 1) bOverwriteAll = true;
        err = CopySystemFile(strPath, strTarget, true);
    }
    if (err.nError) AfxThrowOsFileException(err.nError, err.strFile);
    strPath = strTarget;
    nResult = kCopied;
}

bool CImageInstaller::CopyImages(std::vector<std::string>& files, const std::string& strDestDir,
                                 bool bOverwriteAll) {
    const size_t n = files.size();
    size_t nAt = 0;
    try {
        for (size_t i = 0; i < n; ++i) {
            char text[128 + kMaxShownName];
            std::snprintf(
                text, sizeof text, "Copying file %zu out of %zu : %s", i + 1, n,
                ToLowerAscii(fs::path(files[nAt]).filename().string()).substr(0, kMaxShownName).c_str());
            GetUserPrompt().SetStatusText(text);
            GetUserPrompt().Progress(i, n);
            int nResult = kCopied;
            CopyImage(files[nAt], strDestDir, bOverwriteAll, nResult);
            if (nResult == kCancelled) {
                files.clear();
                GetUserPrompt().SetStatusText({});
                return false;
            }
            if (nResult == kSkipped)
                files.erase(files.begin() + static_cast<std::ptrdiff_t>(nAt));
            else
                ++nAt;
        }
    } catch (...) {
        files.clear();
        GetUserPrompt().SetStatusText({});
        throw;
    }
    GetUserPrompt().SetStatusText({});
    return true;
}

bool CImageInstaller::InstallImages(std::vector<std::string>& files, const CInstallWizardData& data) {
    // Files on fixed drives are used where they are.
    std::vector<std::string> kept, toCopy;
    const std::vector<std::string> roots = GetDriveList().GetRemovableDrives();
    for (auto& f : files) (IsOnRemovableDrive(f, roots) ? toCopy : kept).push_back(std::move(f));
    files.clear();
    if (!toCopy.empty()) {
        std::string strDir;
        if (!ChooseDestination(data, strDir)) return false;
        if (!CopyImages(toCopy, strDir)) return false;
    }
    files = std::move(kept);
    files.insert(files.end(), std::make_move_iterator(toCopy.begin()), std::make_move_iterator(toCopy.end()));
    return true;
}
