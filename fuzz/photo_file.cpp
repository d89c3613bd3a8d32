// Reads every data tag of arbitrary bytes opened as a photo file: headers,
// palettes, raw and JPEG pixels, texts, roll information and backward paths;
// then writes a text and a backward path and commits (compacts) the file.
// A corrupt stream or header is a result or an exception, never a crash, and
// every buffer handed out comes back.

#include "framework/CException.h"
#include "storage/photo/CQlnChunkFile.h"
#include "storage/photo/QlnPhotoFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <unistd.h>

namespace {

long s_nLive = 0;

// Pixel buffers of a bounded size keep each run short.
void* BoundedAlloc(uint32_t n, bool) {
    if (n > (16u << 20)) AfxThrowMemoryException();
    void* p = std::malloc(n ? n : 1);
    if (!p) AfxThrowMemoryException();
    ++s_nLive;
    return p;
}

void CountedFree(void* p) {
    --s_nLive;
    std::free(p);
}

const std::string& ScratchPath() {
    static const std::string s_path = "/tmp/fuzz_photo_file." + std::to_string(::getpid()) + ".qln";
    return s_path;
}

template <typename Fn> void Try(Fn fn) {
    try {
        fn();
    } catch (const CException&) {
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool s_bInit = [] {
        QLNIConfigType config{false, false, false, BoundedAlloc, CountedFree};
        QLNI_Initialize(&config);
        return true;
    }();
    (void)s_bInit;
    if (FILE* f = std::fopen(ScratchPath().c_str(), "wb")) {
        std::fwrite(data, 1, size, f);
        std::fclose(f);
    } else {
        return 0;
    }
    const std::string& file = ScratchPath();
    Try([&] {
        RollInfoType roll{};
        roll.dwStructSize = sizeof roll;
        GetTag(file, QLNI_TAG_ROLLINFO, &roll, nullptr);
    });
    for (unsigned tag : {QLNI_TAG_TEXT1, QLNI_TAG_TEXT2, QLNI_TAG_SOURCE_NAME, QLNI_TAG_HOLDER_NAME})
        Try([&] {
            char* p = nullptr;
            GetTag(file, tag, &p, nullptr);
            QLNI_FreeTagData(p);
        });
    for (uint16_t s = 0; s < QLNI_SCALE_COUNT; ++s) {
        Try([&] {
            ImageHdrType hdr{};
            hdr.dwStructSize = kImageHdrSize;
            GetTag(file, QLNI_TAG_THUMBNAIL_HDR, &hdr, &s);
        });
        Try([&] {
            TnImageRecType tn{};
            tn.Hdr.dwStructSize = kImageHdrSize;
            tn.wScale = s;
            GetTag(file, QLNI_TAG_THUMBNAIL, &tn, nullptr);
            QLNI_FreeTagData(tn.pPixels);
        });
        Try([&] { QLNI_GetTnUsageCount(file, s); });
    }
    Try([&] {
        ImageHdrType hdr{};
        hdr.dwStructSize = kImageHdrSize;
        GetTag(file, QLNI_TAG_IMAGE_HDR, &hdr, nullptr);
    });
    Try([&] {
        ImageRecType rec{};
        rec.Hdr.dwStructSize = kImageHdrSize;
        GetTag(file, QLNI_TAG_IMAGE, &rec, nullptr);
        QLNI_FreeTagData(rec.pPixels);
    });
    Try([&] {
        int n = 0;
        uint16_t scales[QLNI_SCALE_COUNT];
        QLNI_GetThumbnailScales(file, &n, scales);
    });
    Try([&] {
        std::string name;
        QLNI_GetSourceName(file, name);
        QLNI_GetHolderName(name, file);
    });
    // Writes on whatever the file holds: bounded, and never past a damaged index.
    const uint16_t scale = static_cast<uint16_t>(size % QLNI_SCALE_COUNT);
    Try([&] { SetTag(file, QLNI_TAG_TEXT1, true, "fuzz", nullptr); });
    Try([&] { SetTag(file, QLNI_TAG_ALBUM_PATH, true, &scale, "/fuzz/album.alb"); });
    Try([&] { DeleteTag(file, QLNI_TAG_ALBUM_PATH, &scale, "/fuzz/album.alb"); });
    Try([&] { QLNI_CommitFile(file, 1, 1); });
    Try([] { QLNI_CloseFile(); });
    ::unlink(ScratchPath().c_str());
    if (s_nLive != 0) std::abort(); // a buffer was lost
    return 0;
}
