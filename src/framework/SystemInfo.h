#pragma once
// System information: available memory and free disk space, behind a provider
// that tests replace.

#include <cstdint>
#include <string>

class ISystemInfo {
public:
    virtual ~ISystemInfo() = default;
    // Bytes of memory available to the program (Linux: MemAvailable).
    virtual uint64_t GetAvailableMemory() = 0;
    // Bytes free on the file system that holds the path; 0 when unknown.
    virtual uint64_t GetFreeDiskSpace(const std::string& path) = 0;
};

ISystemInfo& GetSystemInfo();
// Installs a provider (not owned); nullptr restores the real one.
void SetSystemInfo(ISystemInfo* pInfo);

inline uint64_t GetAvailableMemory() {
    return GetSystemInfo().GetAvailableMemory();
}
