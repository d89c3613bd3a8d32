#pragma once
// The album wizard's tasks as data: which pages each task shows, in which
// order, with which caption and texts, and the finish steps that need no
// window.

#include <cstdint>
#include <string>
#include <vector>

enum class EWizTask { Floppy, HardDisk, Package, Empty, AddImages, Open };

enum class EWizPage { Intro, Title, Size, Files, Floppy, Package, AlbumChoice, Finish };

struct SWizPageSpec {
    EWizPage m_nPage;
    uint32_t m_nDialog;            // the page's dialog id
    uint32_t m_nTitle;             // caption string ("Album Wizard - Step 1 of 5" ...)
    uint32_t m_nBitmap = 0;        // picture of the introduction and finish pages
    std::vector<uint32_t> m_texts; // string ids shown beside the picture
};

// The pages of a task in order; none for the open task.
std::vector<SWizPageSpec> GetWizardPages(EWizTask task);
// The chooser's description of a task.
uint32_t GetTaskDescriptionId(EWizTask task);
// The instruction text of the file page in that task (0: the task has none).
uint32_t GetFilesInstructionId(EWizTask task);

// A directory and a file name joined with "/" (none added when the directory ends with one).
std::string JoinWizardPath(const std::string& strDir, const std::string& strName);
// The full paths of the files extracted from a package into the directory.
std::vector<std::string> ExtractedPhotoPaths(const std::string& strDir,
                                             const std::vector<std::string>& names);
// The package task's work on Finish: checks the package, the free space of
// the destination drive, makes the directory and extracts into it (deleting
// the package when asked). Every failure is reported; false then and no paths.
bool ExtractPackageForAlbum(const std::string& strPackage, const std::string& strDestDir,
                            bool bDeleteWhenThrough, std::vector<std::string>& paths);
