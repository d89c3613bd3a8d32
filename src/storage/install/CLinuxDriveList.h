#pragma once
// Removable drives on Linux: block devices whose "removable" flag is set in
// sysfs (or that hang off a USB bus), matched with their partitions to the
// mount table. The two locations can be pointed elsewhere for tests.

#include "storage/install/IDriveList.h"

class CLinuxDriveList : public IDriveList {
public:
    explicit CLinuxDriveList(std::string strSysBlock = "/sys/block",
                             std::string strMounts = "/proc/self/mounts")
        : m_strSysBlock(std::move(strSysBlock)), m_strMounts(std::move(strMounts)) {}

    std::vector<std::string> GetRemovableDrives() override;

    // A field of the mount table with its octal escapes ("\040") decoded.
    static std::string UnescapeMountField(const std::string& field);

private:
    std::vector<std::string> GetRemovableDevices() const;

    std::string m_strSysBlock;
    std::string m_strMounts;
};
