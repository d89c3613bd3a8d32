#pragma once
// The fuzz targets pretend 256 MB are available, so that a header claiming a
// huge picture is refused by the image memory reserve instead of exhausting
// the fuzzer's memory.

#include "framework/SystemInfo.h"

class CFuzzMemory : public ISystemInfo {
public:
    CFuzzMemory() { SetSystemInfo(this); }
    uint64_t GetAvailableMemory() override { return 256ull << 20; }
    uint64_t GetFreeDiskSpace(const std::string&) override { return 0; }
};
