#pragma once
// Copies pictures from removable drives (Diskfolio floppy disks) to the hard
// disk under the program's naming rule, asking before replacing files.
// Pictures on other drives are used where they are.

#include <string>
#include <vector>

// What the album wizard knows about where the pictures go.
struct CInstallWizardData {
    bool m_bNewAlbum = true;
    std::string m_strImageDir;             // the "Images" directory of the preferences
    std::string m_strProgramDir;           // the program's own directory
    std::string m_strAlbumPath;            // the existing album pictures are added to
    std::vector<std::string> m_albumFiles; // that album's photo files, in element order
};

class CImageInstaller {
public:
    // Results of CopyImage.
    enum : int { kCancelled = 2, kCopied = 3111, kSkipped = 3112 };

    // The photo-file layer keeps one photo file open between calls; it is
    // closed before copying so that no file is held (QLNI_CloseFile unless
    // replaced, for example by a test; null restores it).
    using ClosePhotoFileHook = void (*)();
    static void SetClosePhotoFileHook(ClosePhotoFileHook pHook);

    // Copies the listed files that lie on removable drives; afterwards the list
    // holds the installed paths, the files used in place first. False (with
    // an empty list) when the user cancelled or no destination could be made.
    // A copy failure throws the file exception, the list then empty.
    bool InstallImages(std::vector<std::string>& files, const CInstallWizardData& data);
    // Copies every listed file into the directory with the progress text,
    // replacing each path by its installed one; files the user did not want
    // to replace leave the list. False (list emptied) on Cancel.
    bool CopyImages(std::vector<std::string>& files, const std::string& strDestDir,
                    bool bOverwriteAll = false);
    // Copies one file; nResult is kCopied (path replaced by the target),
    // kSkipped or kCancelled. Other failures throw CFileException.
    void CopyImage(std::string& strPath, const std::string& strDestDir, bool& bOverwriteAll, int& nResult);

    // The installed name of a file: B.#nn becomes B_nn.QLN (only the last
    // eight characters of the base name without long file names).
    static std::string MakeTargetName(const std::string& strSource, const std::string& strDestDir,
                                      bool bLongNames = true);
    // The directory the pictures are copied to; reports and returns false
    // when it cannot be made.
    static bool ChooseDestination(const CInstallWizardData& data, std::string& strDir);
    // Whether a directory name can be created at all.
    static bool IsLexicallyValidPath(const std::string& strPath);
};
