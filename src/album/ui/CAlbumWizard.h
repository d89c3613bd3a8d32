#pragma once
// The album wizard: the chooser, then the chosen task's pages, then on
// Finish the task's work. Nothing changes before Finish except the chooser's
// start-up check box and the files the floppy page copies.

#include "album/AlbumWizardTasks.h"
#include "album/ui/CAlbumWizardHost.h"

#include <string>
#include <vector>

class CAlbumDoc;
class QWidget;

class CAlbumWizard {
public:
    CAlbumWizard(CAlbumWizardHost& host, QWidget* parent);
    // The chooser and the chosen task; 1 when a task was finished.
    int Run();
    // One task's sheet and, when finished, its work; 1 when finished.
    int RunTask(EWizTask task);

private:
    // A new album with the scale, title and description; null on failure.
    CAlbumDoc* MakeAlbum(int nScale, const std::string& strTitle, const std::string& strDescription);
    // A new album holding the pictures (nothing made for none).
    void MakeAlbumWithFiles(std::vector<std::string> files, int nScale, const std::string& strTitle,
                            const std::string& strDescription);
    static void AddToAlbum(CAlbumDoc* pDoc, const std::vector<std::string>& files);

    CAlbumWizardHost& m_host;
    QWidget* m_pParent;
};
