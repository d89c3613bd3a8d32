#include "storage/formats/CPostScriptCodec.h"

#include "framework/Trace.h"
#include "storage/formats/CMagickCodec.h"
#include "storage/formats/ImpExpTables.h"
#include "storage/formats/PixelLimit.h"

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include <csignal>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

namespace {

std::atomic<int> g_nTimeLimit{30};

constexpr int kLetterWidth = 612;
constexpr int kLetterHeight = 792;

uint32_t U32(const uint8_t* p) {
    return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24);
}

// The PostScript part of the file: all of it, or the section a binary EPS
// header (C5 D0 D3 C6) names.
bool PostScriptPart(const uint8_t* p, size_t n, const uint8_t*& ps, size_t& size) {
    if (n >= 30 && p[0] == 0xC5 && p[1] == 0xD0 && p[2] == 0xD3 && p[3] == 0xC6) {
        const uint32_t start = U32(p + 4), length = U32(p + 8);
        if (start > n || length > n - start) return false;
        ps = p + start, size = length;
        return true;
    }
    ps = p, size = n;
    return true;
}

// The last "%%BoundingBox: llx lly urx ury" of the comments (an "(atend)"
// one is followed by the real one later).
bool BoundingBox(const uint8_t* p, size_t n, long box[4]) {
    static const char kKey[] = "%%BoundingBox:";
    const size_t k = sizeof kKey - 1;
    bool bFound = false;
    for (size_t i = 0; i + k <= n; ++i) {
        if ((i && p[i - 1] != '\n' && p[i - 1] != '\r') || std::memcmp(p + i, kKey, k) != 0) continue;
        std::string line;
        for (size_t j = i + k; j < n && j < i + k + 200 && p[j] != '\n' && p[j] != '\r'; ++j)
            line += static_cast<char>(p[j]);
        long v[4];
        const char* s = line.c_str();
        char* end = nullptr;
        int got = 0;
        for (; got < 4; ++got) {
            v[got] = std::strtol(s, &end, 10);
            if (end == s) break;
            s = end;
        }
        if (got == 4) {
            std::memcpy(box, v, sizeof v);
            bFound = true;
        }
    }
    return bFound;
}

bool PageSize(const uint8_t* p, size_t n, long& llx, long& lly, long& w, long& h) {
    const uint8_t* ps = nullptr;
    size_t size = 0;
    if (!PostScriptPart(p, n, ps, size)) return false;
    long box[4];
    if (BoundingBox(ps, size, box)) {
        llx = box[0], lly = box[1];
        w = box[2] - box[0], h = box[3] - box[1];
        return w > 0 && h > 0;
    }
    llx = lly = 0, w = kLetterWidth, h = kLetterHeight;
    return true;
}

std::string FindGhostscript() {
    const char* path = std::getenv("PATH");
    std::string dirs = path ? path : "/usr/bin:/bin";
    size_t start = 0;
    while (start <= dirs.size()) {
        size_t end = dirs.find(':', start);
        if (end == std::string::npos) end = dirs.size();
        std::string exe = dirs.substr(start, end - start) + "/gs";
        if (::access(exe.c_str(), X_OK) == 0) return exe;
        start = end + 1;
    }
    return {};
}

// Removes the private folder however the run ended.
class CPrivateFolder {
public:
    CPrivateFolder() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zozi-gs-XXXXXX").string();
        if (::mkdtemp(pattern.data())) m_path = pattern;
    }
    ~CPrivateFolder() {
        std::error_code ec;
        if (!m_path.empty()) std::filesystem::remove_all(m_path, ec);
    }
    CPrivateFolder(const CPrivateFolder&) = delete;
    CPrivateFolder& operator=(const CPrivateFolder&) = delete;
    const std::string& Path() const { return m_path; }

private:
    std::string m_path;
};

// Runs the interpreter; true when it ended by itself with status 0.
bool RunSandboxed(const std::string& exe, const std::vector<std::string>& args, const std::string& dir,
                  uint64_t nMaxFileBytes, int nSeconds) {
    // Everything the child needs is made before fork: it only makes system calls.
    std::vector<char*> argv;
    for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    const std::string tmp = "TMPDIR=" + dir, temp = "TEMP=" + dir, home = "HOME=" + dir;
    const std::string gstmp = "TMP=" + dir, path = "PATH=/usr/bin:/bin";
    std::vector<char*> envp = {const_cast<char*>(tmp.c_str()),   const_cast<char*>(temp.c_str()),
                               const_cast<char*>(gstmp.c_str()), const_cast<char*>(home.c_str()),
                               const_cast<char*>(path.c_str()),  nullptr};
    const pid_t pid = ::fork();
    if (pid < 0) return false;
    if (pid == 0) {
        ::setpgid(0, 0);
        if (::chdir(dir.c_str()) != 0) ::_exit(126);
        struct rlimit fsize = {static_cast<rlim_t>(nMaxFileBytes), static_cast<rlim_t>(nMaxFileBytes)};
        ::setrlimit(RLIMIT_FSIZE, &fsize);
        struct rlimit cpu = {static_cast<rlim_t>(nSeconds + 1), static_cast<rlim_t>(nSeconds + 2)};
        ::setrlimit(RLIMIT_CPU, &cpu);
        const int null = ::open("/dev/null", O_RDWR);
        if (null >= 0) {
            ::dup2(null, 0), ::dup2(null, 1), ::dup2(null, 2);
            if (null > 2) ::close(null);
        }
        ::execve(exe.c_str(), argv.data(), envp.data());
        ::_exit(127);
    }
    ::setpgid(pid, pid); // also here, so the group exists whoever runs first
    timespec start{};
    ::clock_gettime(CLOCK_MONOTONIC, &start);
    int status = 0;
    for (;;) {
        const pid_t done = ::waitpid(pid, &status, WNOHANG);
        if (done == pid) break;
        if (done < 0 && errno != EINTR) return false;
        timespec now{};
        ::clock_gettime(CLOCK_MONOTONIC, &now);
        const double elapsed = double(now.tv_sec - start.tv_sec) + double(now.tv_nsec - start.tv_nsec) / 1e9;
        if (elapsed > nSeconds) {
            ZTRACE("CPostScriptCodec: Ghostscript ran over %d s, killed.\n", nSeconds);
            ::kill(-pid, SIGKILL);
            ::waitpid(pid, &status, 0);
            return false;
        }
        ::usleep(5000);
    }
    // Anything it started in its group goes with it.
    ::kill(-pid, SIGKILL);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        ZTRACE("CPostScriptCodec: Ghostscript failed (status %d).\n", status);
        return false;
    }
    return true;
}

} // namespace

void CPostScriptCodec::SetTimeLimit(int nSeconds) {
    g_nTimeLimit = nSeconds > 0 ? nSeconds : 30;
}

int CPostScriptCodec::GetTimeLimit() {
    return g_nTimeLimit;
}

int CPostScriptCodec::Info(const uint8_t* p, size_t n, int& nWidth, int& nHeight, int& nBits) {
    long llx, lly, w, h;
    if (!PageSize(p, n, llx, lly, w, h)) return IMPEXP_ERR_FILE_DAMAGED;
    if (w > CRaster::kMaxSide || h > CRaster::kMaxSide) {
        CheckPixelLimit(w, h); // remembered for the message
        return IMPEXP_ERR_TOO_MANY_PIXELS;
    }
    nWidth = static_cast<int>(w), nHeight = static_cast<int>(h), nBits = 24;
    return IMPEXP_SUCCESS;
}

int CPostScriptCodec::Read(const uint8_t* p, size_t n, CRaster& out) {
    long llx, lly, w, h;
    if (!PageSize(p, n, llx, lly, w, h)) return IMPEXP_ERR_FILE_DAMAGED;
    if (!CheckPixelLimit(w, h)) return IMPEXP_ERR_TOO_MANY_PIXELS;
    const std::string exe = FindGhostscript();
    if (exe.empty()) return IMPEXP_ERR_NO_POSTSCRIPT;
    const uint8_t* ps = nullptr;
    size_t size = 0;
    PostScriptPart(p, n, ps, size);

    CPrivateFolder dir;
    if (dir.Path().empty()) return IMPEXP_ERR_NO_POSTSCRIPT;
    const std::string in = dir.Path() + "/in.eps", result = dir.Path() + "/out.bmp";
    {
        std::ofstream f(in, std::ios::binary);
        f.write(reinterpret_cast<const char*>(ps), static_cast<std::streamsize>(size));
        if (!f) return IMPEXP_ERR_NO_POSTSCRIPT;
    }
    // The page is fixed at the bounding box: the file cannot enlarge it.
    const std::vector<std::string> args = {
        "gs",
        "-q",
        "-dSAFER",
        "-dBATCH",
        "-dNOPAUSE",
        "-dNOPROMPT",
        "-dNOINTERPOLATE",
        "-dFirstPage=1",
        "-dLastPage=1",
        "-sDEVICE=bmp16m",
        "-r72",
        "-g" + std::to_string(w) + "x" + std::to_string(h),
        "-dFIXEDMEDIA",
        "-sOutputFile=" + result,
        "-c",
        std::to_string(-llx) + " " + std::to_string(-lly) + " translate",
        "-f",
        in,
    };
    // The picture (3 bytes a pixel and a short header), and room for the input and fonts' caches.
    const uint64_t nMaxBytes = static_cast<uint64_t>(w) * h * 3 + 4096 + size;
    if (!RunSandboxed(exe, args, dir.Path(), std::max<uint64_t>(nMaxBytes, 1u << 20), g_nTimeLimit))
        return IMPEXP_ERR_NO_POSTSCRIPT;
    std::ifstream f(result, std::ios::binary);
    std::vector<uint8_t> page{std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
    if (page.empty()) return IMPEXP_ERR_NO_POSTSCRIPT;
    int rc = CMagickCodec::Read(page.data(), page.size(), "BMP", out);
    if (rc != IMPEXP_SUCCESS) return rc;
    // PostScript is laid out at 72 points per inch.
    out.m_nXRes = out.m_nYRes = 2835;
    return IMPEXP_SUCCESS;
}
