// Parses an album response file from arbitrary text.

#include "album/CAlbumResponseFile.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    CAlbumResponseFile response;
    response.Parse(std::string(reinterpret_cast<const char*>(data), size));
    if (response.m_photoPaths.size() != response.m_photoTitles.size() ||
        response.m_photoPaths.size() != response.m_photoExtra.size())
        __builtin_trap();
    if (response.m_strAlbumPath.size() > CAlbumResponseFile::kMaxLine) __builtin_trap();
    return 0;
}
