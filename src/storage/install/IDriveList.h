#pragma once
// The removable drives of the system (floppy disks, memory cards, USB sticks)
// as the mount points of their file systems, behind an interface that tests
// replace.

#include <string>
#include <vector>

class IDriveList {
public:
    virtual ~IDriveList() = default;
    // Mount points of the removable drives, in a stable order.
    virtual std::vector<std::string> GetRemovableDrives() = 0;
};

IDriveList& GetDriveList();
// Installs a list (not owned); nullptr restores the system's own.
void SetDriveList(IDriveList* pList);

// Whether the file lies on one of the removable drives of the list (or of
// the given drive roots).
bool IsOnRemovableDrive(const std::string& strPath);
bool IsOnRemovableDrive(const std::string& strPath, const std::vector<std::string>& roots);
// The mount point of the file system holding the path (or its nearest
// existing parent): what the program calls the path's drive.
std::string GetDriveRoot(const std::string& strPath);
// The path itself when it exists, else its nearest existing parent.
std::string GetExistingAncestor(const std::string& strPath);
