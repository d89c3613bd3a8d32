#include "album/AlbumWizardTasks.h"

#include "storage/install/ParcelgramExtraction.h"

namespace {

constexpr uint32_t kIntroDlg = 1249, kTitleDlg = 1250, kFinishDlg = 1251, kFilesDlg = 1272, kFloppyDlg = 1281,
                   kChoiceDlg = 1286, kSizeDlg = 1289, kPackageDlg = 1406;
constexpr uint32_t kIntroBmp = 1274, kFinishBmp = 1254;
constexpr uint32_t kFiveStepTitle = 1305, kFourStepTitle = 1310;

// The five-page tasks: intro, title, size, the task's own page, finish.
std::vector<SWizPageSpec> FiveSteps(EWizPage own, uint32_t nOwnDlg, std::vector<uint32_t> intro) {
    return {{EWizPage::Intro, kIntroDlg, kFiveStepTitle, kIntroBmp, std::move(intro)},
            {EWizPage::Title, kTitleDlg, kFiveStepTitle + 1, 0, {}},
            {EWizPage::Size, kSizeDlg, kFiveStepTitle + 2, 0, {}},
            {own, nOwnDlg, kFiveStepTitle + 3, 0, {}},
            {EWizPage::Finish, kFinishDlg, kFiveStepTitle + 4, kFinishBmp, {1293, 1294, 1398, 1295}}};
}

} // namespace

std::vector<SWizPageSpec> GetWizardPages(EWizTask task) {
    switch (task) {
    case EWizTask::Floppy:
        return FiveSteps(EWizPage::Floppy, kFloppyDlg, {1290, 1291, 1292});
    case EWizTask::HardDisk:
        return FiveSteps(EWizPage::Files, kFilesDlg, {1296, 1297, 1298});
    case EWizTask::Package:
        return FiveSteps(EWizPage::Package, kPackageDlg, {1272, 1321, 1292});
    case EWizTask::Empty:
        return {{EWizPage::Intro, kIntroDlg, kFourStepTitle, kIntroBmp, {1327, 1328, 1329}},
                {EWizPage::Title, kTitleDlg, kFourStepTitle + 1, 0, {}},
                {EWizPage::Size, kSizeDlg, kFourStepTitle + 2, 0, {}},
                {EWizPage::Finish, kFinishDlg, kFourStepTitle + 3, kFinishBmp, {1330, 1331, 1332}}};
    case EWizTask::AddImages:
        return {{EWizPage::Intro, kIntroDlg, kFourStepTitle, kIntroBmp, {1299, 1300, 1301}},
                {EWizPage::AlbumChoice, kChoiceDlg, kFourStepTitle + 1, 0, {}},
                {EWizPage::Files, kFilesDlg, kFourStepTitle + 2, 0, {}},
                {EWizPage::Finish, kFinishDlg, kFourStepTitle + 3, kFinishBmp, {1302, 1303, 1399, 1304}}};
    case EWizTask::Open:
        break;
    }
    return {};
}

uint32_t GetTaskDescriptionId(EWizTask task) {
    switch (task) {
    case EWizTask::HardDisk:
        return 1266;
    case EWizTask::Floppy:
        return 1267;
    case EWizTask::Empty:
        return 1268;
    case EWizTask::AddImages:
        return 1269;
    case EWizTask::Open:
        return 1270;
    case EWizTask::Package:
        return 1536;
    }
    return 0;
}

uint32_t GetFilesInstructionId(EWizTask task) {
    if (task == EWizTask::HardDisk) return 1335;
    if (task == EWizTask::AddImages) return 1336;
    return 0;
}

std::string JoinWizardPath(const std::string& strDir, const std::string& strName) {
    if (strDir.empty() || strDir.back() == '/') return strDir + strName;
    return strDir + "/" + strName;
}

std::vector<std::string> ExtractedPhotoPaths(const std::string& strDir,
                                             const std::vector<std::string>& names) {
    std::vector<std::string> paths;
    paths.reserve(names.size());
    for (const std::string& n : names) paths.push_back(JoinWizardPath(strDir, n));
    return paths;
}

bool ExtractPackageForAlbum(const std::string& strPackage, const std::string& strDestDir,
                            bool bDeleteWhenThrough, std::vector<std::string>& paths) {
    paths.clear();
    std::vector<std::string> names;
    if (!ExtractParcelgram(strPackage, strDestDir, bDeleteWhenThrough, names)) return false;
    paths = ExtractedPhotoPaths(strDestDir, names);
    return true;
}
