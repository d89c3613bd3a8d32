#include "storage/photo/QlnImage.h"

#include "framework/CException.h"
#include "framework/Trace.h"
#include "storage/ByteOrder.h"
#include "storage/formats/PixelLimit.h"
#include "storage/photo/CJpegDecoder.h"
#include "storage/photo/CJpegEncoder.h"
#include "storage/photo/CQlnChunkFile.h"

#include <cstring>

namespace {

[[noreturn]] void Refuse(const char* what) {
    ZTRACE("ValidateImageHeaderData(): %s\n", what);
    AfxThrowNotSupportedException();
}

bool IsJpeg(uint16_t wCompression) {
    return wCompression >= 1 && wCompression <= 3;
}

// View origin 0 or 1 stores the last row of the buffer first.
bool LastRowFirst(const ImageHdrType& hdr) {
    return hdr.ViewOrigin < 2;
}

uint32_t CheckedImageSize(ImageHdrType& hdr) {
    const uint64_t size = GetImageByteSize(hdr);
    if (size > 0xFFFFFFFFull) {
        ZTRACE("GetImageByteSize(): %lux%lu at %lu bits is too large.\n",
               static_cast<unsigned long>(hdr.dwWidth), static_cast<unsigned long>(hdr.dwHeight),
               static_cast<unsigned long>(hdr.BitsPerPixel));
        AfxThrowNotSupportedException();
    }
    hdr.dwImageSize = static_cast<uint32_t>(size);
    return hdr.dwImageSize;
}

} // namespace

uint64_t GetImageByteSize(const ImageHdrType& hdr) {
    return (uint64_t{hdr.dwWidth} * hdr.BitsPerPixel + 31) / 32 * 4 * hdr.dwHeight;
}

uint32_t GetImageStride(const ImageHdrType& hdr) {
    return static_cast<uint32_t>((uint64_t{hdr.dwWidth} * hdr.BitsPerPixel + 31) / 32 * 4);
}

void InitImageHeader(ImageHdrType* pHdr, uint32_t dwWidth, uint32_t dwHeight, uint32_t dwBitsPerPixel) {
    const uint32_t structSize = pHdr->dwStructSize;
    *pHdr = ImageHdrType{};
    pHdr->dwStructSize = structSize;
    pHdr->dwWidth = dwWidth;
    pHdr->dwHeight = dwHeight;
    pHdr->BitsPerPixel = dwBitsPerPixel;
    pHdr->dwXpelsPerMeter = 2756;
    pHdr->dwYpelsPerMeter = 2756;
    pHdr->ColorOrder = 1;
    pHdr->ViewOrigin = 2;
    pHdr->DataCompression = 3;
    pHdr->CompressQFactor = 65;
}

void VerifyStructureSize(const ImageHdrType& hdr) {
    if (hdr.dwStructSize != kImageHdrSize) {
        ZTRACE("VerifyStructureSize(): ImageHdrType sizeof is wrong!\n");
        AfxThrowNotSupportedException();
    }
}

void ValidateImageHeaderData(const ImageHdrType& hdr) {
    if (hdr.dwStructSize != kImageHdrSize) Refuse("struct size");
    if (hdr.BitsPerPixel != 8 && hdr.BitsPerPixel != 16 && hdr.BitsPerPixel != 24) Refuse("bits per pixel");
    if (hdr.dwYpelsPerMeter > kMaxYpelsPerMeter) Refuse("vertical resolution");
    if (hdr.ColorOrder != 1) Refuse("colour order");
    if (hdr.ViewOrigin != 2) Refuse("view origin");
    if (hdr.Alignment != 0) Refuse("alignment");
    if (hdr.FileFormat != 0) Refuse("file format");
    if (hdr.DataCompression == 3 && (hdr.CompressQFactor < 1 || hdr.CompressQFactor > 100))
        Refuse("Q factor");
}

bool WriteImageHeaderAndColorTable(CQlnChunkFile& file, uint32_t dwChunkID, const ImageHdrType& hdr,
                                   const uint8_t (*pPalette)[4]) {
    const bool bPalette = hdr.BitsPerPixel <= 8;
    uint8_t buf[kImageHdrChunkSize + kPaletteSize] = {};
    PutU32(buf + 0, hdr.dwStructSize);
    PutU32(buf + 4, hdr.dwWidth);
    PutU32(buf + 8, hdr.dwHeight);
    PutU32(buf + 12, hdr.BitsPerPixel);
    PutU32(buf + 16, hdr.dwXpelsPerMeter);
    PutU32(buf + 20, hdr.dwYpelsPerMeter);
    PutU16(buf + 24, hdr.ColorOrder);
    PutU16(buf + 26, hdr.ViewOrigin);
    PutU16(buf + 28, hdr.Alignment);
    PutU16(buf + 30, hdr.FileFormat);
    PutU16(buf + 32, hdr.DataCompression);
    PutU16(buf + 34, hdr.CompressQFactor);
    if (bPalette && pPalette) std::memcpy(buf + kImageHdrChunkSize, pPalette, kPaletteSize);
    return file.SaveChunk(dwChunkID, buf, bPalette ? kImageHdrChunkSize + kPaletteSize : kImageHdrChunkSize);
}

uint32_t ReadImageHeaderAndColorTable(CQlnChunkFile& file, uint32_t dwChunkID, ImageHdrType* pHdr,
                                      uint8_t (*pPalette)[4], bool bDiscardable) {
    void* pData = nullptr;
    uint32_t size = 0;
    if (!file.GetChunk(dwChunkID, &pData, &size, bDiscardable)) return 0;
    const auto* p = static_cast<const uint8_t*>(pData);
    if (size == 0) {
        CQlnChunkFile::FreeChunkMemory(pData);
        return 0;
    }
    if (size < 4 || GetU32(p) != pHdr->dwStructSize) {
        CQlnChunkFile::FreeChunkMemory(pData);
        ZTRACE("ReadImageHeaderAndColorTable(): file and memory struct size mis-match!\n");
        AfxThrowNotSupportedException();
    }
    const uint32_t bits = size >= 16 ? GetU32(p + 12) : 0;
    if (size < kImageHdrChunkSize || (pPalette && bits <= 8 && size < kImageHdrChunkSize + kPaletteSize)) {
        CQlnChunkFile::FreeChunkMemory(pData);
        ZTRACE("ReadImageHeaderAndColorTable(): header chunk of %lu bytes is too short!\n",
               static_cast<unsigned long>(size));
        AfxThrowNotSupportedException();
    }
    ImageHdrType& hdr = *pHdr;
    hdr.dwWidth = GetU32(p + 4);
    hdr.dwHeight = GetU32(p + 8);
    hdr.BitsPerPixel = bits;
    hdr.dwXpelsPerMeter = GetU32(p + 16);
    hdr.dwYpelsPerMeter = GetU32(p + 20);
    hdr.dwStoredDataSize = 0;
    hdr.dwImageSize = 0;
    hdr.ColorOrder = GetU16(p + 24);
    hdr.ViewOrigin = GetU16(p + 26);
    hdr.Alignment = GetU16(p + 28);
    hdr.FileFormat = GetU16(p + 30);
    hdr.DataCompression = GetU16(p + 32);
    hdr.CompressQFactor = GetU16(p + 34);
    if (pPalette) {
        if (bits <= 8)
            std::memcpy(pPalette, p + kImageHdrChunkSize, kPaletteSize);
        else
            std::memset(pPalette, 0, kPaletteSize);
    }
    CQlnChunkFile::FreeChunkMemory(pData);
    return size;
}

int WriteImagePixels(CQlnChunkFile& file, uint32_t dwChunkID, ImageRecType* pRec) {
    ImageHdrType& hdr = pRec->Hdr;
    const uint32_t imageSize = CheckedImageSize(hdr);
    if (hdr.DataCompression == 0) {
        if (!pRec->pPixels && imageSize) {
            ZTRACE("WriteImagePixels(): no pixels!\n");
            return 0;
        }
        file.SaveChunk(dwChunkID, pRec->pPixels, imageSize, 0, 0, 0);
        return 1;
    }
    if (!IsJpeg(hdr.DataCompression)) return 0;
    if (hdr.BitsPerPixel != 24) {
        ZTRACE("WriteImagePixels(): BitsPerPixel of %lu is unsupported!\n",
               static_cast<unsigned long>(hdr.BitsPerPixel));
        return 0;
    }
    if (!pRec->pPixels) {
        ZTRACE("WriteImagePixels(): compression failed\n");
        return 0;
    }
    const uint32_t offset = file.StartIncompleteSave(dwChunkID);
    CFile& out = file.GetCFileHandle();
    const uint64_t start = out.GetPosition();
    int status;
    try {
        status =
            CJpegEncoder::Compress(out, static_cast<const uint8_t*>(pRec->pPixels), hdr.dwWidth, hdr.dwHeight,
                                   GetImageStride(hdr), LastRowFirst(hdr), hdr.CompressQFactor);
    } catch (...) {
        try {
            file.CancelIncompleteSave(offset);
        } catch (const CException&) {
        }
        throw;
    }
    if (status < 0) {
        ZTRACE("WriteImagePixels(): compression failed\n");
        file.CancelIncompleteSave(offset);
        return 0;
    }
    const uint64_t end = out.GetPosition();
    // The byte after the stream belongs to the chunk; it is written as zero.
    const uint8_t zero = 0;
    out.Write(&zero, 1);
    file.FinishIncompleteSave(dwChunkID, offset, static_cast<uint32_t>(end - start + 1), 0, 0, 0);
    return 1;
}

int ReadImagePixels(CQlnChunkFile& file, uint32_t dwChunkID, ImageRecType* pRec, bool bDiscardable) {
    ImageHdrType& hdr = pRec->Hdr;
    pRec->pPixels = nullptr;
    const uint32_t imageSize = CheckedImageSize(hdr);
    if (!CheckPixelLimit(hdr.dwWidth, hdr.dwHeight)) {
        ZTRACE("ReadImagePixels(): %lux%lu is over the pixel limit\n",
               static_cast<unsigned long>(hdr.dwWidth), static_cast<unsigned long>(hdr.dwHeight));
        return 0;
    }

    if (hdr.DataCompression == 0) {
        void* pData = nullptr;
        uint32_t size = 0;
        if (!file.GetChunk(dwChunkID, &pData, &size, bDiscardable)) return 0;
        if (size < imageSize) {
            // Fewer bytes than the header promises: the pixels cannot be used.
            CQlnChunkFile::FreeChunkMemory(pData);
            ZTRACE("ReadImagePixels(): %lu bytes of pixels, %lu expected!\n",
                   static_cast<unsigned long>(size), static_cast<unsigned long>(imageSize));
            AfxThrowNotSupportedException();
        }
        hdr.dwStoredDataSize = size;
        pRec->pPixels = pData;
        return 1;
    }
    if (!IsJpeg(hdr.DataCompression)) return 0;
    if (hdr.BitsPerPixel != 24) {
        ZTRACE("ReadImagePixels(): BitsPerPixel of %lu is unsupported!\n",
               static_cast<unsigned long>(hdr.BitsPerPixel));
        return 0;
    }
    void* pStream = nullptr;
    uint32_t streamSize = 0;
    if (!file.GetChunk(dwChunkID, &pStream, &streamSize, bDiscardable)) return 0;
    hdr.dwStoredDataSize = streamSize;
    void* pPixels = nullptr;
    int status = -1;
    try {
        CJpegDecoder decoder(static_cast<const uint8_t*>(pStream), streamSize);
        uint32_t width = 0, height = 0;
        // The stream must describe the header's picture, or its rows would not fit the buffer.
        if (decoder.ReadHeader(width, height) && width == hdr.dwWidth && height == hdr.dwHeight) {
            pPixels = CQlnChunkFile::AllocChunkMemory(imageSize, bDiscardable);
            status = decoder.Decode(static_cast<uint8_t*>(pPixels), GetImageStride(hdr), LastRowFirst(hdr));
        } else {
            ZTRACE("ReadImagePixels(): stream of %lux%lu for a %lux%lu image!\n",
                   static_cast<unsigned long>(width), static_cast<unsigned long>(height),
                   static_cast<unsigned long>(hdr.dwWidth), static_cast<unsigned long>(hdr.dwHeight));
        }
    } catch (...) {
        CQlnChunkFile::FreeChunkMemory(pStream);
        CQlnChunkFile::FreeChunkMemory(pPixels);
        throw;
    }
    CQlnChunkFile::FreeChunkMemory(pStream);
    if (status < 0) {
        ZTRACE("ReadImagePixels(): decompression failed\n");
        CQlnChunkFile::FreeChunkMemory(pPixels);
        return 0;
    }
    pRec->pPixels = pPixels;
    return 1;
}
