#include "storage/photo/QlnPhotoFile.h"

#include "framework/CException.h"
#include "framework/CFile.h"
#include "framework/TextCase.h"
#include "framework/Trace.h"
#include "storage/ByteOrder.h"
#include "storage/photo/CQlnChunkFile.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

constexpr uint32_t kRollInfoChunk = 100;
constexpr uint32_t kText1Chunk = 200;
constexpr uint32_t kText2Chunk = 300;
constexpr uint32_t kImagePixelsChunk = 2000;
constexpr uint32_t kImageHdrChunk = 2010;
constexpr uint32_t kSourceNameChunk = 4700;
constexpr uint32_t kHolderNameChunk = 4710;
constexpr size_t kRollField1 = 16, kRollField2 = 8, kRollField3 = 16;

QLNIConfigType s_config = {false, false, false, QLNI_DefaultAllocMemory, QLNI_DefaultFreeMemory};

CQlnChunkFile& Cache() {
    static CQlnChunkFile s_file;
    return s_file;
}

void CloseCacheQuietly() {
    try {
        Cache().CloseChunkFile();
    } catch (...) {
    }
}

// The named file, opened in the cache unless it is the open one.
CQlnChunkFile& OpenCached(const std::string& fileName) {
    CQlnChunkFile& f = Cache();
    if (f.IsOpen() && f.GetFileName() == fileName) return f;
    if (f.IsOpen()) f.CloseChunkFile();
    f.OpenChunkFile(fileName);
    return f;
}

// Runs a call on the cache; any exception closes the cached file first.
template <typename Fn> auto Guarded(Fn fn) -> decltype(fn()) {
    try {
        return fn();
    } catch (...) {
        CloseCacheQuietly();
        throw;
    }
}

void CheckScale(uint16_t wScale) {
    if (wScale >= QLNI_SCALE_COUNT) {
        ZTRACE("CheckScale(): scale %u is not supported.\n", wScale);
        AfxThrowNotSupportedException();
    }
}

uint16_t ScaleArg(const void* p) {
    if (!p) AfxThrowNotSupportedException();
    uint16_t wScale = *static_cast<const uint16_t*>(p);
    CheckScale(wScale);
    return wScale;
}

template <typename T> T* Need(T* p) {
    if (!p) AfxThrowNotSupportedException();
    return p;
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::toupper(static_cast<unsigned char>(x)) ==
                      std::toupper(static_cast<unsigned char>(y));
           });
}

uint32_t TextChunkOf(unsigned nDataTag) {
    switch (nDataTag) {
    case QLNI_TAG_TEXT1:
        return kText1Chunk;
    case QLNI_TAG_TEXT2:
        return kText2Chunk;
    case QLNI_TAG_SOURCE_NAME:
        return kSourceNameChunk;
    case QLNI_TAG_HOLDER_NAME:
        return kHolderNameChunk;
    default:
        return 0;
    }
}

// A stored text as a string: up to its first zero, never past the data.
bool ReadText(CQlnChunkFile& f, uint32_t dwChunkID, std::string& text) {
    void* p = nullptr;
    uint32_t n = 0;
    if (!f.GetChunk(dwChunkID, &p, &n, s_config.bTagDiscardable)) return false;
    const char* s = static_cast<const char*>(p);
    text.assign(s, strnlen(s, n));
    CQlnChunkFile::FreeChunkMemory(p);
    return true;
}

long WriteText(CQlnChunkFile& f, uint32_t dwChunkID, const char* pszText, uint32_t dwGranularity) {
    const size_t len = std::strlen(Need(pszText));
    if (len >= 0xFFFFFFFFu) AfxThrowNotSupportedException();
    return f.SaveChunk(dwChunkID, pszText, static_cast<uint32_t>(len + 1), dwGranularity, 0, 0) ? 1 : 0;
}

long WriteRollInfo(CQlnChunkFile& f, const RollInfoType& roll) {
    const size_t n1 = strnlen(roll.szRollInfo1, kRollField1);
    const size_t n2 = strnlen(roll.szRollInfo2, kRollField2);
    const size_t n3 = strnlen(roll.szRollInfo3, kRollField3);
    if (n1 >= kRollField1 || n2 >= kRollField2 || n3 >= kRollField3) {
        ZTRACE("SetTag(): roll information does not fit its fields.\n");
        AfxThrowNotSupportedException();
    }
    std::vector<uint8_t> data(4);
    PutU32(data.data(), roll.dwStructSize);
    data.insert(data.end(), roll.szRollInfo1, roll.szRollInfo1 + n1 + 1);
    data.insert(data.end(), roll.szRollInfo2, roll.szRollInfo2 + n2 + 1);
    data.insert(data.end(), roll.szRollInfo3, roll.szRollInfo3 + n3 + 1);
    return f.SaveChunk(kRollInfoChunk, data.data(), static_cast<uint32_t>(data.size()), 0, 0, 0) ? 1 : 0;
}

long ReadRollInfo(CQlnChunkFile& f, RollInfoType& roll) {
    void* p = nullptr;
    uint32_t n = 0;
    if (!f.GetChunk(kRollInfoChunk, &p, &n, s_config.bTagDiscardable)) return 0;
    const char* s = static_cast<const char*>(p);
    bool bOk = n >= 4 && GetU32(static_cast<const uint8_t*>(p)) == roll.dwStructSize;
    char* fields[3] = {roll.szRollInfo1, roll.szRollInfo2, roll.szRollInfo3};
    const size_t sizes[3] = {kRollField1, kRollField2, kRollField3};
    uint32_t pos = 4;
    char parsed[3][16] = {};
    for (int i = 0; i < 3 && bOk; ++i) {
        const size_t len = pos < n ? strnlen(s + pos, n - pos) : 0;
        // Each string ends inside the data and is shorter than its field.
        if (pos >= n || pos + len >= n || len >= sizes[i]) {
            bOk = false;
            break;
        }
        std::memcpy(parsed[i], s + pos, len);
        pos += static_cast<uint32_t>(len + 1);
    }
    CQlnChunkFile::FreeChunkMemory(p);
    if (!bOk) {
        ZTRACE("GetTag(): roll information does not fit its fields.\n");
        AfxThrowNotSupportedException();
    }
    for (int i = 0; i < 3; ++i) std::memcpy(fields[i], parsed[i], sizes[i]);
    return 1;
}

// Header and palette to the header chunk, then the pixels.
long WriteImage(CQlnChunkFile& f, uint32_t dwHdrChunk, uint32_t dwPixelChunk, ImageRecType& rec) {
    VerifyStructureSize(rec.Hdr);
    ValidateImageHeaderData(rec.Hdr);
    if (!WriteImageHeaderAndColorTable(f, dwHdrChunk, rec.Hdr, rec.Palette)) return 0;
    return WriteImagePixels(f, dwPixelChunk, &rec);
}

long ReadImage(CQlnChunkFile& f, uint32_t dwHdrChunk, uint32_t dwPixelChunk, ImageRecType& rec,
               bool bDiscardable) {
    rec.pPixels = nullptr;
    if (ReadImageHeaderAndColorTable(f, dwHdrChunk, &rec.Hdr, rec.Palette, s_config.bTagDiscardable) == 0)
        return 0;
    ValidateImageHeaderData(rec.Hdr);
    return ReadImagePixels(f, dwPixelChunk, &rec, bDiscardable);
}

long ReadHeaderOnly(CQlnChunkFile& f, uint32_t dwHdrChunk, ImageHdrType& hdr) {
    const uint32_t n = ReadImageHeaderAndColorTable(f, dwHdrChunk, &hdr, nullptr, s_config.bTagDiscardable);
    if (n) ValidateImageHeaderData(hdr);
    return n;
}

long WriteThumbnail(CQlnChunkFile& f, TnImageRecType& tn, const char* pszAlbumPath) {
    CheckScale(tn.wScale);
    long result = WriteImage(f, GetTNImageHdrTagFromScale(tn.wScale), GetTNImageTagFromScale(tn.wScale), tn);
    if (result > 0 && pszAlbumPath && *pszAlbumPath) {
        CStringList list;
        result = QLNI_AddBackwardPath(f, list, pszAlbumPath, tn.wScale);
    }
    return result;
}

uint32_t TagLength(CQlnChunkFile& f, unsigned nDataTag, uint16_t wScale) {
    uint32_t id = 0;
    switch (nDataTag) {
    case QLNI_TAG_ROLLINFO:
        id = kRollInfoChunk;
        break;
    case QLNI_TAG_THUMBNAIL:
        id = GetTNImageTagFromScale(wScale);
        break;
    case QLNI_TAG_THUMBNAIL_HDR:
        id = GetTNImageHdrTagFromScale(wScale);
        break;
    case QLNI_TAG_IMAGE:
        id = kImagePixelsChunk;
        break;
    case QLNI_TAG_IMAGE_HDR:
        id = kImageHdrChunk;
        break;
    case QLNI_TAG_ALBUM_PATH:
        id = GetAlbumPathTagFromScale(wScale);
        break;
    default:
        id = TextChunkOf(nDataTag);
        break;
    }
    CChunkIndex rec;
    if (id == 0 || !f.QueryChunk(id, rec)) return 0;
    return rec.m_dwDataSize;
}

bool UsesScale(unsigned nDataTag) {
    return nDataTag == QLNI_TAG_THUMBNAIL || nDataTag == QLNI_TAG_THUMBNAIL_HDR ||
           nDataTag == QLNI_TAG_ALBUM_PATH;
}

} // namespace

const char* GetThumbnailScaleName(uint16_t wScale) {
    static const char* const kNames[QLNI_SCALE_COUNT] = {"TINY",  "SMALL",  "MEDIUM",
                                                         "LARGE", "XLARGE", "USER DEFINED"};
    return wScale < QLNI_SCALE_COUNT ? kNames[wScale] : "UNKNOWN";
}

// --- set-up ------------------------------------------------------------------------

void QLNI_Initialize(const QLNIConfigType* pConfig) {
    s_config = pConfig ? *pConfig : QLNIConfigType{};
    if (!s_config.pfnAlloc) s_config.pfnAlloc = QLNI_DefaultAllocMemory;
    if (!s_config.pfnFree) s_config.pfnFree = QLNI_DefaultFreeMemory;
    CQlnChunkFile::SetMemoryHooks(s_config.pfnAlloc, s_config.pfnFree);
}

void QLNI_CloseFile() {
    Cache().CloseChunkFile();
}

void QLNI_Terminate() {
    Cache().CloseChunkFile();
}

CQlnChunkFile& QLNI_GetCacheFile() {
    return Cache();
}

int QLNI_IsValidFile(const std::string& fileName) {
    try {
        OpenCached(fileName);
        return 1;
    } catch (...) {
        CloseCacheQuietly();
        return 0;
    }
}

long QLNI_CreateFile(const std::string& fileName, ImageRecType* pImage, TnImageRecType* pThumbnail,
                     const char* pszAlbumPath, bool bOverwrite) {
    return Guarded([&]() -> long {
        CQlnChunkFile& f = Cache();
        f.CloseChunkFile();
        f.CreateOpenChunkFile(fileName, bOverwrite);
        long result = 0;
        if (pImage) result = WriteImage(f, kImageHdrChunk, kImagePixelsChunk, *pImage);
        if (pThumbnail) result = WriteThumbnail(f, *pThumbnail, pszAlbumPath);
        return result;
    });
}

void QLNI_DeleteFile(const std::string& fileName) {
    Guarded([&] {
        Cache().CloseChunkFile();
        Cache().RemoveChunkFile(fileName);
    });
}

int QLNI_CommitFile(const std::string& fileName, int nCleanupMode, int nCommit) {
    if (nCleanupMode != 0 && nCleanupMode != 1) return 0;
    return Guarded([&] {
        CQlnChunkFile& f = OpenCached(fileName);
        if (nCleanupMode == 1 && f.IsFileDirty()) {
            CStringList list;
            DeleteUnusedThumbnails(f, list);
        }
        if (nCommit == 1) f.SetFileAsCommitted();
        if (f.IsFileDirty()) f.RefreshChunkFile();
        f.CloseChunkFile();
        return 1;
    });
}

int QLNI_NeedsCommit(const std::string& fileName) {
    CQlnChunkFile* pFile = nullptr;
    try {
        pFile = &OpenCached(fileName);
    } catch (...) {
        CloseCacheQuietly();
        return -1;
    }
    try {
        return pFile->IsFileCommitted() ? 0 : 1;
    } catch (...) {
        CloseCacheQuietly();
        return 0;
    }
}

int QLNI_IsImageInFile(const std::string& fileName) {
    CQlnChunkFile* pFile = nullptr;
    try {
        pFile = &OpenCached(fileName);
    } catch (...) {
        CloseCacheQuietly();
        return -1;
    }
    return Guarded([&] { return pFile->DoesChunkExist(kImageHdrChunk) ? 1 : 0; });
}

void QLNI_FreeTagData(void* pData) {
    CQlnChunkFile::FreeChunkMemory(pData);
}

// --- tags ------------------------------------------------------------------------------

long SetTag(const std::string& fileName, unsigned nDataTag, bool bOverwrite, const void* pData,
            const void* pExtra) {
    return Guarded([&]() -> long {
        uint16_t wScale = 0;
        if (nDataTag == QLNI_TAG_THUMBNAIL) wScale = Need(static_cast<const TnImageRecType*>(pData))->wScale;
        if (nDataTag == QLNI_TAG_ALBUM_PATH) wScale = ScaleArg(pData);
        CheckScale(wScale);
        CQlnChunkFile& f = OpenCached(fileName);
        if (!bOverwrite) {
            const uint32_t length = TagLength(f, nDataTag, wScale);
            if (length > 0) {
                ZTRACE("SetTag(): DataTag=%u Length=%lu NOT overwritten.\n", nDataTag,
                       static_cast<unsigned long>(length));
                return 0;
            }
        }
        switch (nDataTag) {
        case QLNI_TAG_ROLLINFO:
            return WriteRollInfo(f, *Need(static_cast<const RollInfoType*>(pData)));
        case QLNI_TAG_TEXT1:
        case QLNI_TAG_TEXT2:
            return WriteText(f, TextChunkOf(nDataTag), static_cast<const char*>(pData),
                             QLNI_TEXT_GRANULARITY);
        case QLNI_TAG_THUMBNAIL:
            return WriteThumbnail(f, *const_cast<TnImageRecType*>(static_cast<const TnImageRecType*>(pData)),
                                  static_cast<const char*>(pExtra));
        case QLNI_TAG_IMAGE:
            return WriteImage(f, kImageHdrChunk, kImagePixelsChunk,
                              *const_cast<ImageRecType*>(Need(static_cast<const ImageRecType*>(pData))));
        case QLNI_TAG_SOURCE_NAME:
        case QLNI_TAG_HOLDER_NAME:
            return WriteText(f, TextChunkOf(nDataTag), static_cast<const char*>(pData), 0);
        case QLNI_TAG_ALBUM_PATH: {
            CStringList list;
            return QLNI_AddBackwardPath(f, list, Need(static_cast<const char*>(pExtra)), wScale);
        }
        default:
            return 0;
        }
    });
}

long GetTag(const std::string& fileName, unsigned nDataTag, void* pData, const void* pExtra) {
    return Guarded([&]() -> long {
        switch (nDataTag) {
        case QLNI_TAG_ROLLINFO:
            return ReadRollInfo(OpenCached(fileName), *Need(static_cast<RollInfoType*>(pData)));
        case QLNI_TAG_TEXT1:
        case QLNI_TAG_TEXT2:
        case QLNI_TAG_SOURCE_NAME:
        case QLNI_TAG_HOLDER_NAME: {
            char** ppText = Need(static_cast<char**>(pData));
            *ppText = nullptr;
            void* p = nullptr;
            uint32_t n = 0;
            if (!OpenCached(fileName).GetChunk(TextChunkOf(nDataTag), &p, &n, s_config.bTagDiscardable))
                return 0;
            // The copy always ends with a zero, whatever the file holds.
            if (n == 0 || static_cast<char*>(p)[n - 1] != '\0') {
                void* q = nullptr;
                try {
                    q = CQlnChunkFile::AllocChunkMemory(n + 1, s_config.bTagDiscardable);
                } catch (...) {
                    CQlnChunkFile::FreeChunkMemory(p);
                    throw;
                }
                std::memcpy(q, p, n);
                static_cast<char*>(q)[n] = '\0';
                CQlnChunkFile::FreeChunkMemory(p);
                p = q;
            }
            *ppText = static_cast<char*>(p);
            return 1;
        }
        case QLNI_TAG_THUMBNAIL: {
            auto& tn = *Need(static_cast<TnImageRecType*>(pData));
            tn.pPixels = nullptr;
            CheckScale(tn.wScale);
            return ReadImage(OpenCached(fileName), GetTNImageHdrTagFromScale(tn.wScale),
                             GetTNImageTagFromScale(tn.wScale), tn, s_config.bTnDiscardable);
        }
        case QLNI_TAG_THUMBNAIL_HDR: {
            const uint16_t wScale = ScaleArg(pExtra);
            return ReadHeaderOnly(OpenCached(fileName), GetTNImageHdrTagFromScale(wScale),
                                  *Need(static_cast<ImageHdrType*>(pData)));
        }
        case QLNI_TAG_IMAGE: {
            auto& rec = *Need(static_cast<ImageRecType*>(pData));
            rec.pPixels = nullptr;
            return ReadImage(OpenCached(fileName), kImageHdrChunk, kImagePixelsChunk, rec,
                             s_config.bImageDiscardable);
        }
        case QLNI_TAG_IMAGE_HDR:
            return ReadHeaderOnly(OpenCached(fileName), kImageHdrChunk,
                                  *Need(static_cast<ImageHdrType*>(pData)));
        default:
            return 0;
        }
    });
}

long DeleteTag(const std::string& fileName, unsigned nDataTag, const void* pData, const void* pExtra) {
    return Guarded([&]() -> long {
        switch (nDataTag) {
        case QLNI_TAG_ROLLINFO:
            return OpenCached(fileName).RemoveChunk(kRollInfoChunk) ? 1 : 0;
        case QLNI_TAG_TEXT1:
        case QLNI_TAG_TEXT2:
        case QLNI_TAG_SOURCE_NAME:
        case QLNI_TAG_HOLDER_NAME:
            return OpenCached(fileName).RemoveChunk(TextChunkOf(nDataTag)) ? 1 : 0;
        case QLNI_TAG_THUMBNAIL: {
            const uint16_t wScale = ScaleArg(pData);
            return QLNI_DeleteThumbnail(OpenCached(fileName), wScale) ? 1 : 0;
        }
        case QLNI_TAG_IMAGE: {
            CQlnChunkFile& f = OpenCached(fileName);
            const bool bPixels = f.RemoveChunk(kImagePixelsChunk);
            const bool bHdr = f.RemoveChunk(kImageHdrChunk);
            return bPixels || bHdr ? 1 : 0;
        }
        case QLNI_TAG_ALBUM_PATH: {
            const uint16_t wScale = ScaleArg(pData);
            const char* pszPath = static_cast<const char*>(pExtra);
            if (!pszPath || !*pszPath) return 1;
            CStringList list;
            return QLNI_RemoveBackwardPath(OpenCached(fileName), list, pszPath, wScale);
        }
        default:
            return 0;
        }
    });
}

long GetTagLength(const std::string& fileName, unsigned nDataTag, uint32_t* pdwLength, uint16_t wScale) {
    return Guarded([&]() -> long {
        if (pdwLength) *pdwLength = 0;
        if (UsesScale(nDataTag)) CheckScale(wScale);
        const uint32_t length = TagLength(OpenCached(fileName), nDataTag, wScale);
        if (pdwLength) *pdwLength = length;
        return length;
    });
}

// --- thumbnails and backward paths ------------------------------------------------------------

uint32_t QLNI_AddBackwardPath(CQlnChunkFile& file, CStringList& list, const std::string& path,
                              uint16_t wScale) {
    CheckScale(wScale);
    list.clear();
    const uint32_t loaded =
        LoadStringList(file, GetAlbumPathTagFromScale(wScale), list, s_config.bTagDiscardable);
    const std::string upper = ToUpperAscii(path);
    for (const auto& entry : list)
        if (EqualNoCase(entry, upper)) return loaded;
    list.push_back(upper);
    return SaveStringList(file, GetAlbumPathTagFromScale(wScale), list);
}

uint32_t QLNI_RemoveBackwardPath(CQlnChunkFile& file, CStringList& list, const std::string& path,
                                 uint16_t wScale) {
    CheckScale(wScale);
    list.clear();
    if (LoadStringList(file, GetAlbumPathTagFromScale(wScale), list, s_config.bTagDiscardable) == 0) return 0;
    const std::string upper = ToUpperAscii(path);
    uint32_t removed = 0;
    for (size_t i = list.size(); i-- > 0;) {
        if (list[i] == upper) {
            list.erase(list.begin() + static_cast<long>(i));
            ++removed;
        }
    }
    if (removed == 0) return 0;
    SaveStringList(file, GetAlbumPathTagFromScale(wScale), list); // removes the chunk when empty
    return removed;
}

bool QLNI_DeleteThumbnail(CQlnChunkFile& file, uint16_t wScale) {
    CheckScale(wScale);
    ZTRACE("QLNI_DeleteThumbnail(): removing %s ThumbNail\n", GetThumbnailScaleName(wScale));
    const bool bPixels = file.RemoveChunk(GetTNImageTagFromScale(wScale));
    const bool bHdr = file.RemoveChunk(GetTNImageHdrTagFromScale(wScale));
    return bPixels || bHdr;
}

int DeleteUnusedThumbnails(CQlnChunkFile& file, CStringList& list) {
    int count = 0;
    for (uint16_t s = 0; s < QLNI_SCALE_COUNT; ++s) {
        if (!file.DoesChunkExist(GetTNImageHdrTagFromScale(s))) continue;
        list.clear();
        LoadStringList(file, GetAlbumPathTagFromScale(s), list, s_config.bTagDiscardable);
        ZTRACE("QLNI_GetTnUsageCount(): %lu album(s) are using %s ThumbNail\n",
               static_cast<unsigned long>(list.size()), GetThumbnailScaleName(s));
        if (!list.empty()) continue;
        QLNI_DeleteThumbnail(file, s);
        ++count;
    }
    return count;
}

int QLNI_GetTnUsageCount(const std::string& fileName, uint16_t wScale) {
    return Guarded([&] {
        CheckScale(wScale);
        CStringList list;
        LoadStringList(OpenCached(fileName), GetAlbumPathTagFromScale(wScale), list,
                       s_config.bTagDiscardable);
        ZTRACE("QLNI_GetTnUsageCount(): %lu album(s) are using %s ThumbNail\n",
               static_cast<unsigned long>(list.size()), GetThumbnailScaleName(wScale));
        return static_cast<int>(list.size());
    });
}

void QLNI_GetThumbnailScales(const std::string& fileName, int* pnCount, uint16_t* pScales) {
    Guarded([&] {
        CQlnChunkFile& f = OpenCached(fileName);
        int n = 0;
        for (uint16_t s = 0; s < QLNI_SCALE_COUNT; ++s)
            if (f.DoesChunkExist(GetTNImageHdrTagFromScale(s))) {
                if (pScales) pScales[n] = s;
                ++n;
            }
        if (pnCount) *pnCount = n;
    });
}

int QLNI_ChangeThumbnailScale(const std::string& fileName, uint16_t wNewScale, const std::string& albumPath) {
    return Guarded([&] {
        CQlnChunkFile& f = OpenCached(fileName);
        CStringList list;
        for (uint16_t s = 0; s < QLNI_SCALE_COUNT; ++s)
            if (s != wNewScale && f.DoesChunkExist(GetTNImageHdrTagFromScale(s)))
                QLNI_RemoveBackwardPath(f, list, albumPath, s);
        if (wNewScale < QLNI_SCALE_COUNT) QLNI_AddBackwardPath(f, list, albumPath, wNewScale);
        DeleteUnusedThumbnails(f, list);
        return 1;
    });
}

// --- companion files -------------------------------------------------------------------------

std::string QLNI_GetCompanionName(const std::string& pictureName) {
    const size_t slash = pictureName.find_last_of("/\\");
    const size_t dot = pictureName.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return pictureName + ".KDX";
    return pictureName.substr(0, dot + 1) + "KDX";
}

void QLNI_CreateCompanionFile(const std::string& pictureName, bool bOverwrite) {
    Guarded([&] {
        CQlnChunkFile& f = Cache();
        f.CloseChunkFile();
        f.CreateOpenChunkFile(QLNI_GetCompanionName(pictureName), bOverwrite);
        WriteText(f, kSourceNameChunk, pictureName.c_str(), 0);
    });
}

size_t QLNI_GetSourceName(const std::string& photoName, std::string& sourceName) {
    return Guarded([&] {
        if (!ReadText(OpenCached(photoName), kSourceNameChunk, sourceName)) sourceName = photoName;
        if (sourceName.size() > QLNI_MAX_NAME) sourceName.resize(QLNI_MAX_NAME);
        return sourceName.size();
    });
}

size_t QLNI_GetHolderName(std::string& holderName, const std::string& fileName) {
    if (!QLNI_IsValidFile(fileName)) {
        const std::string companion = QLNI_GetCompanionName(fileName);
        holderName = CFile::Exists(companion) ? companion : std::string();
        if (holderName.size() > QLNI_MAX_NAME) holderName.resize(QLNI_MAX_NAME);
        return holderName.size();
    }
    return Guarded([&] {
        if (!ReadText(OpenCached(fileName), kHolderNameChunk, holderName)) holderName = fileName;
        if (holderName.size() > QLNI_MAX_NAME) holderName.resize(QLNI_MAX_NAME);
        return holderName.size();
    });
}
