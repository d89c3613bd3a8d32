#pragma once
// The photo-file interface: free functions on photo files named by path. One
// chunk file object serves as a one-file cache: the most recently used photo
// file stays open between calls until another file is named, an error occurs
// or QLNI_CloseFile is called (closing saves it).
//
// Data tags and their chunks:
//   0 roll information (100)          5 main image (2010 header, 2000 pixels)
//   1 text item 1, title (200)        6 main image header only (2010)
//   2 text item 2, description (300)  7 name of the picture this file stands for (4700)
//   3 thumbnail (1110 + 100 x scale header, 1100 + 100 x scale pixels)
//   4 thumbnail header only           8 name of the file that holds the picture (4710)
//   9 backward paths: the albums using a thumbnail scale (3000 + 100 x scale)
//
// The untyped arguments: for tags 3 and 5 data is a TnImageRecType* /
// ImageRecType*; for 4 and 6 an ImageHdrType*; for 0 a RollInfoType*; for texts
// a const char* (SetTag) or a char** receiving a copy (GetTag, release with
// QLNI_FreeTagData). A scale is passed as a const uint16_t*: extra of GetTag 4,
// data of SetTag / DeleteTag 9 and DeleteTag 3; the album path of tags 3 and 9
// is a const char* in extra.

#include "storage/photo/QlnImage.h"
#include "storage/photo/QlnMemory.h"
#include "storage/photo/QlnStringList.h"

#include <cstdint>
#include <string>

class CQlnChunkFile;

enum : unsigned {
    QLNI_TAG_ROLLINFO = 0,
    QLNI_TAG_TEXT1 = 1,
    QLNI_TAG_TEXT2 = 2,
    QLNI_TAG_THUMBNAIL = 3,
    QLNI_TAG_THUMBNAIL_HDR = 4,
    QLNI_TAG_IMAGE = 5,
    QLNI_TAG_IMAGE_HDR = 6,
    QLNI_TAG_SOURCE_NAME = 7,
    QLNI_TAG_HOLDER_NAME = 8,
    QLNI_TAG_ALBUM_PATH = 9,
};

inline constexpr uint16_t QLNI_SCALE_COUNT = 6;  // thumbnail scales 0 ... 5
inline constexpr uint16_t QLNI_NO_SCALE = 65535; // withdraws an album from every scale
inline constexpr size_t QLNI_MAX_NAME = 260;     // longest name returned by the name queries
inline constexpr uint32_t QLNI_TEXT_GRANULARITY = 10;

struct RollInfoType {
    uint32_t dwStructSize; // 44
    char szRollInfo1[16];
    char szRollInfo2[8];
    char szRollInfo3[16];
};
static_assert(sizeof(RollInfoType) == 44);

struct QLNIConfigType {
    bool bTnDiscardable;    // thumbnail pixels
    bool bImageDiscardable; // main-image pixels
    bool bTagDiscardable;   // all other tag data
    QlnAllocHook pfnAlloc;  // null: the default hooks
    QlnFreeHook pfnFree;
};

inline uint32_t GetTNImageTagFromScale(uint16_t wScale) {
    return 1100u + 100u * wScale;
}
inline uint32_t GetTNImageHdrTagFromScale(uint16_t wScale) {
    return 1110u + 100u * wScale;
}
inline uint32_t GetAlbumPathTagFromScale(uint16_t wScale) {
    return 3000u + 100u * wScale;
}
// "TINY", "SMALL", "MEDIUM", "LARGE", "XLARGE", "USER DEFINED"
const char* GetThumbnailScaleName(uint16_t wScale);

// Set-up. A null configuration means all flags false and the default hooks.
void QLNI_Initialize(const QLNIConfigType* pConfig);
void QLNI_CloseFile();
void QLNI_Terminate();
// The process-wide chunk file behind the cache.
CQlnChunkFile& QLNI_GetCacheFile();

int QLNI_IsValidFile(const std::string& fileName);
long QLNI_CreateFile(const std::string& fileName, ImageRecType* pImage, TnImageRecType* pThumbnail,
                     const char* pszAlbumPath, bool bOverwrite);
void QLNI_DeleteFile(const std::string& fileName);
int QLNI_CommitFile(const std::string& fileName, int nCleanupMode, int nCommit);
int QLNI_NeedsCommit(const std::string& fileName);
int QLNI_IsImageInFile(const std::string& fileName);
void QLNI_FreeTagData(void* pData);

long SetTag(const std::string& fileName, unsigned nDataTag, bool bOverwrite, const void* pData,
            const void* pExtra);
long GetTag(const std::string& fileName, unsigned nDataTag, void* pData, const void* pExtra);
long DeleteTag(const std::string& fileName, unsigned nDataTag, const void* pData, const void* pExtra);
// The data size of the tag's chunk (tag 3: the pixel chunk), 0 when absent; also the result.
long GetTagLength(const std::string& fileName, unsigned nDataTag, uint32_t* pdwLength, uint16_t wScale);

// Backward paths, on an open chunk file. Add returns the bytes written, or the
// bytes loaded when the path was already there; Remove the number of entries removed.
uint32_t QLNI_AddBackwardPath(CQlnChunkFile& file, CStringList& list, const std::string& path,
                              uint16_t wScale);
uint32_t QLNI_RemoveBackwardPath(CQlnChunkFile& file, CStringList& list, const std::string& path,
                                 uint16_t wScale);
bool QLNI_DeleteThumbnail(CQlnChunkFile& file, uint16_t wScale);
int DeleteUnusedThumbnails(CQlnChunkFile& file, CStringList& list);

int QLNI_GetTnUsageCount(const std::string& fileName, uint16_t wScale);
// Fills up to QLNI_SCALE_COUNT scales in ascending order.
void QLNI_GetThumbnailScales(const std::string& fileName, int* pnCount, uint16_t* pScales);
int QLNI_ChangeThumbnailScale(const std::string& fileName, uint16_t wNewScale, const std::string& albumPath);

// Companion photo files for foreign pictures: the picture's name with the extension "KDX".
std::string QLNI_GetCompanionName(const std::string& pictureName);
void QLNI_CreateCompanionFile(const std::string& pictureName, bool bOverwrite);
size_t QLNI_GetSourceName(const std::string& photoName, std::string& sourceName);
size_t QLNI_GetHolderName(std::string& holderName, const std::string& fileName);
