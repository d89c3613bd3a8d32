#include "framework/SystemInfo.h"

#include <cstdio>
#include <cstring>
#include <sys/statvfs.h>
#include <unistd.h>

namespace {

class CLinuxSystemInfo : public ISystemInfo {
public:
    uint64_t GetAvailableMemory() override {
        if (FILE* f = std::fopen("/proc/meminfo", "r")) {
            char line[256];
            unsigned long long kb = 0;
            bool bFound = false;
            while (std::fgets(line, sizeof line, f)) {
                if (std::sscanf(line, "MemAvailable: %llu kB", &kb) == 1) {
                    bFound = true;
                    break;
                }
            }
            std::fclose(f);
            if (bFound) return kb * 1024ull;
        }
        long pages = ::sysconf(_SC_AVPHYS_PAGES), size = ::sysconf(_SC_PAGESIZE);
        return pages > 0 && size > 0 ? static_cast<uint64_t>(pages) * static_cast<uint64_t>(size) : 0;
    }

    uint64_t GetFreeDiskSpace(const std::string& path) override {
        struct statvfs st {};
        if (::statvfs(path.c_str(), &st) != 0) return 0;
        return static_cast<uint64_t>(st.f_bavail) * st.f_frsize;
    }
};

CLinuxSystemInfo g_linux;
ISystemInfo* g_pInfo = &g_linux;

} // namespace

ISystemInfo& GetSystemInfo() {
    return *g_pInfo;
}

void SetSystemInfo(ISystemInfo* pInfo) {
    g_pInfo = pInfo ? pInfo : &g_linux;
}
