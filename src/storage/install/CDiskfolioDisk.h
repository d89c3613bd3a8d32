#pragma once
// A Diskfolio floppy disk: a removable drive whose root holds a roll
// directory ("*.rol") with the customer's photo files. This is the engine of
// the wizard's drive page.

#include <string>
#include <vector>

class CDiskfolioDisk {
public:
    // Floppy drives may not be ready at once: directory changes are tried this often.
    static constexpr int kDirAttempts = 7;

    // The roots of the removable drives for the drive box; the first is selected.
    static std::vector<std::string> GetDriveRoots();
    // Lists every file of the roll directory under root into files (emptied
    // first). Throws CAppException with the message when the directory cannot
    // be changed or the disk is not a Diskfolio disk.
    static void ScanDisk(const std::string& strRoot, std::vector<std::string>& files);
    // The drive page's next step: scans, reports a failure or an empty disk,
    // and tells whether the wizard may go on.
    static bool ScanForNextStep(const std::string& strRoot, std::vector<std::string>& files);
};
