#pragma once
// Helpers shared by the imaging tests.

#include "framework/SystemInfo.h"
#include "imaging/CDib.h"

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

// A scratch folder removed with the object.
struct CTempDir {
    std::filesystem::path path;
    CTempDir() {
        char tmpl[] = "/tmp/zozi-imaging-XXXXXX";
        path = mkdtemp(tmpl);
    }
    ~CTempDir() { std::filesystem::remove_all(path); }
    std::string File(const std::string& name) const { return (path / name).string(); }
};

inline std::vector<uint8_t> ReadAll(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

inline void WriteAll(const std::string& path, const std::vector<uint8_t>& data) {
    std::ofstream f(path, std::ios::binary);
    f.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

// A 24-bit image filled from a seed.
inline CDib* MakeRandom24(int w, int h, unsigned seed) {
    auto* p = new CDib(24, w, h, nullptr);
    std::mt19937 rng(seed);
    for (int y = 0; y < h; ++y) {
        uint8_t* r = p->GetRow(y);
        for (int i = 0; i < w * 3; ++i) r[i] = static_cast<uint8_t>(rng());
    }
    return p;
}

// A 24-bit image of one colour.
inline CDib* MakeUniform24(int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    auto* p = new CDib(24, w, h, nullptr);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = p->GetRow(y);
        for (int x = 0; x < w; ++x) {
            row[3 * x] = b;
            row[3 * x + 1] = g;
            row[3 * x + 2] = r;
        }
    }
    return p;
}

// An 8-bit grey image of one level.
inline CDib* MakeUniformGray(int w, int h, uint8_t v) {
    auto* p = new CDib(w, h, 8, 256, nullptr);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = p->GetRow(y);
        for (int x = 0; x < w; ++x) row[x] = v;
    }
    return p;
}

// Reports a fixed amount of available memory while it lives.
class CFakeMemory : public ISystemInfo {
public:
    explicit CFakeMemory(uint64_t n) : m_n(n) { SetSystemInfo(this); }
    ~CFakeMemory() override { SetSystemInfo(nullptr); }
    uint64_t GetAvailableMemory() override { return m_n; }
    uint64_t GetFreeDiskSpace(const std::string&) override { return 0; }

private:
    uint64_t m_n;
};
