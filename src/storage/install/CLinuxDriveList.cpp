#include "storage/install/CLinuxDriveList.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace fs = std::filesystem;

namespace {

bool ReadsOne(const fs::path& file) {
    std::ifstream in(file);
    std::string s;
    return in >> s && s == "1";
}

} // namespace

std::string CLinuxDriveList::UnescapeMountField(const std::string& field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && field[i + 1] >= '0' && field[i + 1] <= '3' &&
            field[i + 2] >= '0' && field[i + 2] <= '7' && field[i + 3] >= '0' && field[i + 3] <= '7') {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

std::vector<std::string> CLinuxDriveList::GetRemovableDevices() const {
    std::vector<std::string> devices;
    std::error_code ec;
    for (const auto& disk : fs::directory_iterator(m_strSysBlock, ec)) {
        const std::string name = disk.path().filename().string();
        bool bRemovable = ReadsOne(disk.path() / "removable");
        if (!bRemovable) {
            // USB disks often say they are fixed; their place on the bus tells.
            std::error_code ec2;
            fs::path real = fs::canonical(disk.path(), ec2);
            bRemovable = !ec2 && real.string().find("/usb") != std::string::npos;
        }
        if (!bRemovable) continue;
        devices.push_back(name);
        // Partitions are subfolders with a "partition" file.
        std::error_code ec3;
        for (const auto& part : fs::directory_iterator(disk.path(), ec3)) {
            std::error_code ec4;
            if (fs::exists(part.path() / "partition", ec4))
                devices.push_back(part.path().filename().string());
        }
    }
    return devices;
}

std::vector<std::string> CLinuxDriveList::GetRemovableDrives() {
    const std::vector<std::string> devices = GetRemovableDevices();
    std::vector<std::string> roots;
    if (devices.empty()) return roots;
    std::ifstream in(m_strMounts);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string dev, dir;
        if (!(fields >> dev >> dir)) continue;
        dev = UnescapeMountField(dev);
        dir = UnescapeMountField(dir);
        if (dev.rfind("/dev/", 0) != 0) continue;
        std::string name = dev.substr(5);
        if (std::find(devices.begin(), devices.end(), name) == devices.end()) continue;
        if (std::find(roots.begin(), roots.end(), dir) == roots.end()) roots.push_back(dir);
    }
    return roots;
}
