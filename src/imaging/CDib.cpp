#include "imaging/CDib.h"

#include "framework/CAppException.h"
#include "framework/CDC.h"
#include "framework/CPalette.h"
#include "framework/DisplayCaps.h"
#include "framework/StringTable.h"
#include "framework/Trace.h"
#include "imaging/CColorDiffusionDither8.h"
#include "imaging/CColorOrderDither4.h"
#include "imaging/DitherTables.h"
#include "imaging/FixedPalettes.h"
#include "imaging/ImageMemory.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <new>

IMPLEMENT_DYNAMIC(CDib, CObject)

namespace {

constexpr int kMaxBlitRows = 480;
constexpr int64_t kBandBytes = 0x20000;

uint16_t Get16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t Get32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}
void Put16(uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
}
void Put32(uint8_t* p, uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<uint8_t>(v >> (8 * i));
}

BITMAPINFOHEADER ParseInfoHeader(const uint8_t* p) {
    BITMAPINFOHEADER h;
    h.biSize = Get32(p);
    h.biWidth = static_cast<int32_t>(Get32(p + 4));
    h.biHeight = static_cast<int32_t>(Get32(p + 8));
    h.biPlanes = Get16(p + 12);
    h.biBitCount = Get16(p + 14);
    h.biCompression = Get32(p + 16);
    h.biSizeImage = Get32(p + 20);
    h.biXPelsPerMeter = static_cast<int32_t>(Get32(p + 24));
    h.biYPelsPerMeter = static_cast<int32_t>(Get32(p + 28));
    h.biClrUsed = Get32(p + 32);
    h.biClrImportant = Get32(p + 36);
    return h;
}

void WriteInfoHeader(uint8_t* p, const BITMAPINFOHEADER& h) {
    Put32(p, h.biSize);
    Put32(p + 4, static_cast<uint32_t>(h.biWidth));
    Put32(p + 8, static_cast<uint32_t>(h.biHeight));
    Put16(p + 12, h.biPlanes);
    Put16(p + 14, h.biBitCount);
    Put32(p + 16, h.biCompression);
    Put32(p + 20, h.biSizeImage);
    Put32(p + 24, static_cast<uint32_t>(h.biXPelsPerMeter));
    Put32(p + 28, static_cast<uint32_t>(h.biYPelsPerMeter));
    Put32(p + 32, h.biClrUsed);
    Put32(p + 36, h.biClrImportant);
}

void WriteColorTable(uint8_t* p, const RGBQUAD* pTable, int nEntries) {
    for (int i = 0; i < nEntries; ++i) {
        p[4 * i] = pTable[i].rgbBlue;
        p[4 * i + 1] = pTable[i].rgbGreen;
        p[4 * i + 2] = pTable[i].rgbRed;
        p[4 * i + 3] = pTable[i].rgbReserved;
    }
}

int ClampResolution(int32_t n) {
    return n < 0 || n > kMaxResolution ? 0 : n;
}

bool ValidBitCount(int n) {
    return n == 1 || n == 4 || n == 8 || n == 16 || n == 24 || n == 32;
}

int64_t StrideOf(int64_t nWidth, int nBitCount) {
    return ((nWidth * nBitCount + 31) / 32) * 4;
}

// 16-bit 5-6-5 pixels become 5-5-5 (the one 16-bit layout the image keeps).
void Convert565Row(uint8_t* p, int nWidth) {
    for (int x = 0; x < nWidth; ++x) {
        unsigned v = Get16(p + 2 * x);
        unsigned r = (v >> 11) & 31, g = (v >> 6) & 31, b = v & 31;
        Put16(p + 2 * x, (r << 10) | (g << 5) | b);
    }
}

// Decodes run-length compressed pixels (RLE8 or RLE4) into zeroed bottom-up
// rows. A run or move that leaves the image is refused.
void DecodeRle(const uint8_t* p, size_t n, bool b4, int nWidth, int nHeight, int64_t nStride,
               uint8_t* pBits) {
    int64_t x = 0, y = 0;
    size_t i = 0;
    auto put = [&](unsigned v) {
        if (x >= nWidth || y >= nHeight) AfxThrowUserException();
        uint8_t* row = pBits + y * nStride;
        if (b4) {
            uint8_t& byte = row[x >> 1];
            byte = (x & 1) ? static_cast<uint8_t>((byte & 0xF0) | (v & 0x0F))
                           : static_cast<uint8_t>((byte & 0x0F) | ((v & 0x0F) << 4));
        } else {
            row[x] = static_cast<uint8_t>(v);
        }
        ++x;
    };
    while (i + 1 < n) {
        unsigned nCount = p[i], nValue = p[i + 1];
        i += 2;
        if (nCount > 0) {
            for (unsigned k = 0; k < nCount; ++k) put(b4 ? ((k & 1) ? nValue & 0x0F : nValue >> 4) : nValue);
            continue;
        }
        if (nValue == 0) { // end of line
            x = 0;
            ++y;
        } else if (nValue == 1) { // end of bitmap
            return;
        } else if (nValue == 2) { // move
            if (i + 1 >= n) AfxThrowUserException();
            x += p[i];
            y += p[i + 1];
            i += 2;
            if (y > nHeight || (y == nHeight && x > 0) || x > nWidth) AfxThrowUserException();
        } else { // literal run of nValue pixels, padded to a 16-bit boundary
            size_t nBytes = b4 ? (nValue + 1) / 2 : nValue;
            if (i + nBytes > n) AfxThrowUserException();
            for (unsigned k = 0; k < nValue; ++k) {
                unsigned v = b4 ? ((k & 1) ? p[i + k / 2] & 0x0F : p[i + k / 2] >> 4) : p[i + k];
                put(v);
            }
            i += (nBytes + 1) & ~size_t(1);
        }
    }
}

} // namespace

// A header read from outside, checked before anything is allocated.
struct CDib::CSourceHeader {
    BITMAPINFOHEADER hdr;
    uint32_t nTableOffset = 0; // from the start of the header
    int nTableEntries = 0;     // entries stored (at most 2^bit count)
    bool b565 = false;
    int64_t nStride = 0;

    // Checks the fields; CUserException for what cannot be read.
    void Check(const uint8_t* p, size_t nAvail, bool bAllowRle) {
        if (nAvail < 40) AfxThrowUserException();
        hdr = ParseInfoHeader(p);
        if (hdr.biSize < 40 || hdr.biSize > 4096) AfxThrowUserException();
        if (hdr.biWidth <= 0 || hdr.biHeight <= 0) AfxThrowUserException();
        if (!ValidBitCount(hdr.biBitCount)) AfxThrowUserException();
        nTableOffset = hdr.biSize;
        switch (hdr.biCompression) {
        case BI_RGB:
            break;
        case BI_RLE8:
        case BI_RLE4:
            if (!bAllowRle || hdr.biBitCount != (hdr.biCompression == BI_RLE8 ? 8 : 4))
                AfxThrowUserException();
            break;
        case BI_BITFIELDS: {
            if (hdr.biBitCount != 16 && hdr.biBitCount != 32) AfxThrowUserException();
            if (nAvail < 52) AfxThrowUserException();
            uint32_t r = Get32(p + 40), g = Get32(p + 44), b = Get32(p + 48);
            if (hdr.biBitCount == 16 && r == 0xF800 && g == 0x07E0 && b == 0x001F)
                b565 = true;
            else if (!(hdr.biBitCount == 16 && r == 0x7C00 && g == 0x03E0 && b == 0x001F) &&
                     !(hdr.biBitCount == 32 && r == 0xFF0000 && g == 0xFF00 && b == 0xFF))
                AfxThrowUserException();
            if (hdr.biSize == 40) nTableOffset += 12;
            break;
        }
        default:
            AfxThrowUserException();
        }
        nStride = StrideOf(hdr.biWidth, hdr.biBitCount);
        if (nStride > INT_MAX) AfxThrowUserException();
        if (hdr.biBitCount <= 8) {
            uint32_t nMax = 1u << hdr.biBitCount;
            nTableEntries = static_cast<int>(hdr.biClrUsed && hdr.biClrUsed < nMax ? hdr.biClrUsed : nMax);
        }
    }
    uint64_t TableBytes() const { return 4ull * nTableEntries; }
    uint64_t PixelBytes() const {
        return static_cast<uint64_t>(nStride) * static_cast<uint64_t>(hdr.biHeight);
    }
};

// --- construction -----------------------------------------------------------

CDib::CDib(int nBitCount, int nWidth, int nHeight, const RGBQUAD* pColorTable) {
    ResetTone();
    InitHeader(nBitCount, nWidth, nHeight, BI_RGB, kDefaultResolution, kDefaultResolution);
    if (pColorTable && m_pColorTable) std::copy_n(pColorTable, m_nColorTableEntries, m_pColorTable);
    AllocBits(false);
}

CDib::CDib(int nWidth, int nHeight, int nBitCount, int nGrayLevels, const RGBQUAD* pColorTable) {
    ResetTone();
    InitHeader(nBitCount, nWidth, nHeight, BI_RGB, kDefaultResolution, kDefaultResolution);
    m_bGray = true;
    m_nGrayLevels = nGrayLevels;
    if (m_pColorTable) {
        if (pColorTable)
            std::copy_n(pColorTable, m_nColorTableEntries, m_pColorTable);
        else
            for (int i = 0; i < std::min(nGrayLevels, m_nColorTableEntries); ++i)
                m_pColorTable[i] =
                    RGBQUAD{static_cast<uint8_t>(i), static_cast<uint8_t>(i), static_cast<uint8_t>(i), 0};
    }
    AllocBits(false);
}

CDib::CDib(const CDib& src) : CObject() {
    if (!src.m_pInfo || !src.m_pBits) AfxThrowUserException();
    m_size = src.m_size;
    m_bGray = src.m_bGray;
    m_nGrayLevels = src.m_nGrayLevels;
    m_nInfoSize = src.m_nInfoSize;
    m_nColorTableEntries = src.m_nColorTableEntries;
    m_nBitsOffset = src.m_nBitsOffset;
    m_nStride = src.m_nStride;
    m_pInfo.Reset(AllocImageMemory(m_nInfoSize));
    std::memcpy(static_cast<void*>(m_pInfo), src.m_pInfo, m_nInfoSize);
    m_pColorTable = m_nColorTableEntries ? reinterpret_cast<RGBQUAD*>(m_pInfo + 1) : nullptr;
    if (src.m_pPalIndexInfo) {
        m_pPalIndexInfo.Reset(AllocImageMemory(552));
        std::memcpy(static_cast<void*>(m_pPalIndexInfo), src.m_pPalIndexInfo, 552);
    }
    uint64_t nSize = static_cast<uint64_t>(m_nStride) * (src.m_bFileBacked ? 1 : m_size.cy);
    m_pBits.Reset(AllocImageMemory(nSize));
    if (src.m_bFileBacked) {
        // A file being written is copied as an image in memory.
        m_pBits.Reset();
        AllocBits(false);
        for (int y = 0; y < m_size.cy; ++y)
            std::memcpy(GetRow(y), const_cast<CDib&>(src).GetRow(y), m_nStride);
    } else {
        std::memcpy(m_pBits, src.m_pBits, nSize);
    }
    m_nBrightness = src.m_nBrightness;
    m_nContrast = src.m_nContrast;
    m_nGammaStep = src.m_nGammaStep;
    m_bToneApplied = src.m_bToneApplied;
    std::memcpy(m_gammaTable, src.m_gammaTable, 256);
    std::memcpy(m_contrastTable, src.m_contrastTable, 256);
    std::memcpy(m_toneTable, src.m_toneTable, 256);
    m_nChannelMask = src.m_nChannelMask;
}

CDib::CDib(const uint8_t* pPacked, size_t nSize) {
    ResetTone();
    if (!pPacked) AfxThrowMemoryException();
    FromPacked(pPacked, nSize);
}

CDib::CDib(void* pHeaderBlock, void* pPixelBlock) {
    ResetTone();
    if (!pHeaderBlock || !pPixelBlock) AfxThrowUserException();
    BITMAPINFOHEADER h;
    std::memcpy(&h, pHeaderBlock, sizeof h);
    InitHeader(h.biBitCount, h.biWidth, h.biHeight, h.biCompression, h.biXPelsPerMeter, h.biYPelsPerMeter);
    if (m_pColorTable)
        std::memcpy(static_cast<void*>(m_pColorTable), static_cast<uint8_t*>(pHeaderBlock) + 40,
                    4ull * m_nColorTableEntries);
    m_pBits.Reset(pPixelBlock);
    FreeImageMemory(pHeaderBlock);
    CheckGray();
}

CDib::CDib(const std::string& path) {
    ResetTone();
    CFile file;
    if (!file.Open(path, CFile::modeRead | CFile::shareDenyWrite | CFile::typeBinary))
        AfxThrowUserException();
    ReadBMP(file);
}

CDib::CDib(CFile& file) {
    ResetTone();
    ReadBMP(file);
}

CDib::CDib(const std::string& path, int nBitCount, int nWidth, int nHeight, int nGrayLevels,
           const RGBQUAD* pColorTable, int nXRes, int nYRes) {
    ResetTone();
    InitHeader(nBitCount, nWidth, nHeight, BI_RGB, nXRes, nYRes);
    if (pColorTable && m_pColorTable) std::copy_n(pColorTable, m_nColorTableEntries, m_pColorTable);
    m_bGray = nGrayLevels > 0;
    m_nGrayLevels = nGrayLevels;
    m_bFileBacked = true;
    AllocBits(true);
    m_pFile = std::make_unique<CAtomicFile>(path);
    CFile& f = m_pFile->File();
    uint64_t nImage = GetImageSize();
    f.SetLength(14 + m_nInfoSize + nImage);
    std::vector<uint8_t> head(14 + m_nInfoSize);
    head[0] = 'B';
    head[1] = 'M';
    Put32(&head[2], static_cast<uint32_t>(14 + m_nInfoSize + nImage));
    Put32(&head[10], static_cast<uint32_t>(14 + m_nInfoSize));
    WriteInfoHeader(&head[14], *m_pInfo);
    if (m_pColorTable) WriteColorTable(&head[54], m_pColorTable, m_nColorTableEntries);
    f.SeekToBegin();
    f.Write(head.data(), static_cast<uint32_t>(head.size()));
}

CDib::~CDib() {
    FreeAll();
}

void CDib::FreeAll() {
    m_pInfo.Reset();
    m_pPalIndexInfo.Reset();
    m_pBits.Reset();
    m_pColorTable = nullptr;
    m_pFile.reset(); // an uncommitted file goes away
}

void CDib::InitHeader(int nBitCount, int nWidth, int nHeight, uint32_t nCompression, int nXRes, int nYRes) {
    if (nWidth < 0 || nHeight < 0 || !ValidBitCount(nBitCount)) AfxThrowUserException();
    int64_t nStride = StrideOf(nWidth, nBitCount);
    if (nStride > INT_MAX) AfxThrowMemoryException();
    m_size = CSize(nWidth, nHeight);
    m_nColorTableEntries = nBitCount <= 8 ? (1 << nBitCount) : 0;
    m_nInfoSize = 40 + 4 * m_nColorTableEntries;
    void* p = AllocImageMemory(m_nInfoSize);
    std::memset(p, 0, m_nInfoSize);
    m_pInfo.Reset(new (p) BITMAPINFOHEADER);
    m_pInfo->biSize = 40;
    m_pInfo->biWidth = nWidth;
    m_pInfo->biHeight = nHeight;
    m_pInfo->biPlanes = 1;
    m_pInfo->biBitCount = static_cast<uint16_t>(nBitCount);
    m_pInfo->biCompression = nCompression;
    m_pInfo->biXPelsPerMeter = ClampResolution(nXRes);
    m_pInfo->biYPelsPerMeter = ClampResolution(nYRes);
    m_pColorTable = m_nColorTableEntries ? reinterpret_cast<RGBQUAD*>(m_pInfo + 1) : nullptr;
    m_nStride = static_cast<int>(nStride);
    m_nBitsOffset = m_nInfoSize + 14;

    const CDisplayCaps& caps = GetDisplayCaps();
    if (caps.bIdentityPalette && caps.nBitsPixel == 8 && nBitCount >= 8) {
        void* q = AllocImageMemory(552);
        m_pPalIndexInfo.Reset(new (q) BITMAPINFOHEADER(*m_pInfo));
        m_pPalIndexInfo->biBitCount = 8;
        uint8_t* pIdx = static_cast<uint8_t*>(q) + 40;
        for (int i = 0; i < 256; ++i) Put16(pIdx + 2 * i, static_cast<uint32_t>(i));
    }
}

void CDib::AllocBits(bool bOneRow) {
    uint64_t nRows = bOneRow ? 1 : static_cast<uint64_t>(m_size.cy);
    m_pBits.Reset(AllocImageMemory(static_cast<uint64_t>(m_nStride) * nRows));
    // The pixels are left as they are; only the row padding is cleared, so
    // files written from the image hold no stray bytes.
    int64_t nUsed = (static_cast<int64_t>(m_size.cx) * GetBitCount() + 7) / 8;
    if (nUsed < m_nStride)
        for (uint64_t y = 0; y < nRows; ++y)
            std::memset(m_pBits + y * m_nStride + nUsed, 0, m_nStride - nUsed);
}

void CDib::FromPacked(const uint8_t* p, size_t n) {
    if (n >= 12 && static_cast<int32_t>(Get32(p + 8)) < 0) AfxThrowUserException(); // top-down
    CSourceHeader src;
    src.Check(p, n, false);
    uint64_t nBitsAt = src.nTableOffset + src.TableBytes();
    if (nBitsAt > n || src.PixelBytes() > n - nBitsAt) AfxThrowUserException();
    const BITMAPINFOHEADER& h = src.hdr;
    InitHeader(h.biBitCount, h.biWidth, h.biHeight, BI_RGB, h.biXPelsPerMeter, h.biYPelsPerMeter);
    for (int i = 0; i < src.nTableEntries; ++i) {
        const uint8_t* q = p + src.nTableOffset + 4 * i;
        m_pColorTable[i] = RGBQUAD{q[0], q[1], q[2], 0};
    }
    AllocBits(false);
    std::memcpy(m_pBits, p + nBitsAt, src.PixelBytes());
    if (src.b565)
        for (int y = 0; y < m_size.cy; ++y)
            Convert565Row(m_pBits + static_cast<int64_t>(y) * m_nStride, m_size.cx);
    CheckGray();
}

void CDib::ReadBMP(CFile& file) {
    file.SeekToBegin();
    uint64_t nLength = file.GetLength();
    uint8_t fileHeader[14];
    if (file.Read(fileHeader, 14) != 14 || fileHeader[0] != 'B' || fileHeader[1] != 'M')
        AfxThrowUserException();
    uint32_t nOffBits = Get32(fileHeader + 10);
    // Header, bit fields and colour table: at most a few kilobytes.
    uint8_t head[4096 + 12 + 1024];
    uint32_t nHead = file.Read(head, static_cast<uint32_t>(std::min<uint64_t>(sizeof head, nLength - 14)));
    if (nHead >= 12 && static_cast<int32_t>(Get32(head + 8)) < 0) AfxThrowUserException(); // top-down
    CSourceHeader src;
    src.Check(head, nHead, true);
    if (src.nTableOffset + src.TableBytes() > nHead) AfxThrowUserException(); // table cut short
    if (nOffBits > nLength) AfxThrowUserException();
    const BITMAPINFOHEADER& h = src.hdr;
    bool bRle = h.biCompression == BI_RLE8 || h.biCompression == BI_RLE4;
    if (!bRle && src.PixelBytes() > nLength - nOffBits) AfxThrowUserException(); // rows cut short

    InitHeader(h.biBitCount, h.biWidth, h.biHeight, BI_RGB, h.biXPelsPerMeter, h.biYPelsPerMeter);
    for (int i = 0; i < src.nTableEntries; ++i) {
        const uint8_t* q = head + src.nTableOffset + 4 * i;
        m_pColorTable[i] = RGBQUAD{q[0], q[1], q[2], 0};
    }
    AllocBits(false);
    file.Seek(nOffBits, CFile::begin);
    if (bRle) {
        uint64_t nData = nLength - nOffBits;
        if (h.biSizeImage && h.biSizeImage < nData) nData = h.biSizeImage;
        const auto pData = CImageBlock<uint8_t>::Alloc(nData);
        if (file.Read(pData, static_cast<uint32_t>(nData)) != nData) AfxThrowUserException();
        std::memset(m_pBits, 0, src.PixelBytes());
        DecodeRle(pData, nData, h.biCompression == BI_RLE4, h.biWidth, h.biHeight, src.nStride, m_pBits);
    } else {
        uint64_t nLeft = src.PixelBytes();
        uint8_t* pDst = m_pBits;
        while (nLeft > 0) {
            uint32_t nChunk = static_cast<uint32_t>(std::min<uint64_t>(nLeft, 1u << 30));
            if (file.Read(pDst, nChunk) != nChunk) AfxThrowUserException();
            pDst += nChunk;
            nLeft -= nChunk;
        }
        if (src.b565)
            for (int y = 0; y < m_size.cy; ++y)
                Convert565Row(m_pBits + static_cast<int64_t>(y) * m_nStride, m_size.cx);
    }
    CheckGray();
}

void CDib::CheckGray() {
    if (!m_pColorTable) return;
    for (int i = 0; i < m_nColorTableEntries; ++i) {
        const RGBQUAD& q = m_pColorTable[i];
        if (q.rgbRed != q.rgbGreen || q.rgbGreen != q.rgbBlue) return;
    }
    m_bGray = true;
    m_nGrayLevels = m_nColorTableEntries;
}

uint64_t CDib::GetImageSize() const {
    if (m_pInfo->biCompression == BI_RLE8 || m_pInfo->biCompression == BI_RLE4) return m_pInfo->biSizeImage;
    return static_cast<uint64_t>(m_size.cy) * static_cast<uint64_t>(m_nStride);
}

// --- rows -------------------------------------------------------------------

// Checks the row number and finds the row: bottom-up in memory, or at its
// place in the file in file-backed mode (the file is positioned there).
void CDib::LocateRow(int y, const char* pszCaller) {
    if (y < 0 || y >= m_size.cy) {
        ZTRACE("%s(): row %d outside 0..%d\n", pszCaller, y, m_size.cy - 1);
        ThrowAppException(IDS_INTERNAL_ERROR);
    }
    m_nRowIndex = m_size.cy - y - 1;
    if (m_bFileBacked) {
        if (!m_pFile) ThrowAppException(IDS_INTERNAL_ERROR);
        m_nRowPos = m_nBitsOffset + static_cast<int64_t>(m_nStride) * m_nRowIndex;
        m_pFile->File().Seek(m_nRowPos, CFile::begin);
    } else {
        m_nRowPos = static_cast<int64_t>(m_nStride) * m_nRowIndex;
    }
}

uint8_t* CDib::GetRow(int y) {
    LocateRow(y, "GetRow");
    if (m_bFileBacked) {
        m_pFile->File().ReadExact(m_pBits, static_cast<uint32_t>(m_nStride));
        return m_pBits;
    }
    return m_pBits + m_nRowPos;
}

bool CDib::PutRow(int y, const uint8_t* pSource) {
    LocateRow(y, "PutRow");
    if (m_bFileBacked) {
        m_pFile->File().Write(pSource, static_cast<uint32_t>(m_nStride));
        return true;
    }
    uint8_t* pRow = m_pBits + m_nRowPos;
    if (pRow != pSource) std::memcpy(pRow, pSource, m_nStride);
    return true;
}

uint8_t* CDib::GetRowRGB(int y, uint8_t* pDest) {
    uint8_t* pRow = GetRow(y);
    int nWidth = m_size.cx;
    int nBits = m_pInfo->biBitCount;
    if (nBits == 24) {
        if (!pDest) return pRow;
        std::memcpy(pDest, pRow, static_cast<size_t>(nWidth) * 3);
        return pDest;
    }
    if (!pDest) {
        m_rowRGB.resize(static_cast<size_t>(nWidth) * 3);
        pDest = m_rowRGB.data();
    }
    uint8_t* d = pDest;
    switch (nBits) {
    case 1:
        for (int x = 0; x < nWidth; ++x) {
            uint8_t v = ((pRow[x >> 3] >> (7 - (x & 7))) & 1) ? 255 : 0;
            d[0] = d[1] = d[2] = v;
            d += 3;
        }
        break;
    case 4: {
        const RGBQUAD* t = m_pColorTable;
        for (int x = 0; x < nWidth; ++x) {
            const RGBQUAD& q = t[(x & 1) ? (pRow[x >> 1] & 0x0F) : (pRow[x >> 1] >> 4)];
            d[0] = q.rgbBlue;
            d[1] = q.rgbGreen;
            d[2] = q.rgbRed;
            d += 3;
        }
        break;
    }
    case 8: {
        const RGBQUAD* t = m_pColorTable;
        for (int x = 0; x < nWidth; ++x) {
            const RGBQUAD& q = t[pRow[x]];
            d[0] = q.rgbBlue;
            d[1] = q.rgbGreen;
            d[2] = q.rgbRed;
            d += 3;
        }
        break;
    }
    case 16:
        for (int x = 0; x < nWidth; ++x) {
            unsigned v = pRow[2 * x] | (pRow[2 * x + 1] << 8);
            d[0] = static_cast<uint8_t>((v & 31) << 3);
            d[1] = static_cast<uint8_t>(((v >> 5) & 31) << 3);
            d[2] = static_cast<uint8_t>(((v >> 10) & 31) << 3);
            d += 3;
        }
        break;
    case 32:
        for (int x = 0; x < nWidth; ++x) {
            d[0] = pRow[4 * x];
            d[1] = pRow[4 * x + 1];
            d[2] = pRow[4 * x + 2];
            d += 3;
        }
        break;
    }
    return pDest;
}

// --- export -----------------------------------------------------------------

void CDib::SaveBMP(const std::string& path) const {
    CDib out(path, GetBitCount(), m_size.cx, m_size.cy, m_bGray ? m_nGrayLevels : 0, m_pColorTable,
             m_pInfo->biXPelsPerMeter, m_pInfo->biYPelsPerMeter);
    if (m_bFileBacked) {
        CDib& self = const_cast<CDib&>(*this);
        for (int y = 0; y < m_size.cy; ++y) out.PutRow(y, self.GetRow(y));
    } else {
        // The rows in memory are already in file order (bottom row first):
        // written in large pieces rather than row by row.
        CFile& f = out.m_pFile->File();
        f.Seek(out.m_nBitsOffset, CFile::begin);
        const uint8_t* p = m_pBits;
        for (uint64_t nLeft = GetImageSize(); nLeft > 0;) {
            uint32_t nChunk = static_cast<uint32_t>(std::min<uint64_t>(nLeft, 1u << 26));
            f.Write(p, nChunk);
            p += nChunk;
            nLeft -= nChunk;
        }
    }
    out.CommitFile();
}

void CDib::CommitFile() {
    if (!m_pFile) return;
    m_pFile->Commit();
    m_pFile.reset(); // rows can no longer be read or written
}

std::vector<uint8_t> CDib::CreatePackedDib() const {
    uint64_t nImage = GetImageSize();
    uint64_t nTotal = m_nInfoSize + nImage;
    if (!IsMemoryAvailable(nTotal) || m_bFileBacked) AfxThrowMemoryException();
    std::vector<uint8_t> block(nTotal, 0);
    WriteInfoHeader(block.data(), *m_pInfo);
    if (m_pColorTable) WriteColorTable(block.data() + 40, m_pColorTable, m_nColorTableEntries);
    std::memcpy(block.data() + m_nInfoSize, m_pBits, nImage);
    return block;
}

// --- palettes ---------------------------------------------------------------

std::unique_ptr<CPalette> CDib::CreatePalette(bool bUseDefault) const {
    const RGBQUAD* pTable = m_pColorTable;
    int nEntries = m_nColorTableEntries;
    const CDisplayCaps& caps = GetDisplayCaps();
    if (!pTable) {
        if (!bUseDefault) return nullptr;
        if (caps.nBitsPixel == 8) {
            pTable = GetDisplayPalette();
            nEntries = 256;
        } else {
            pTable = GetEightColorPalette();
            nEntries = 16;
        }
    }
    int nHalf = caps.nReserved / 2;
    std::vector<PALETTEENTRY> entries(nEntries);
    for (int i = 0; i < nEntries; ++i) {
        entries[i] = PALETTEENTRY{pTable[i].rgbRed, pTable[i].rgbGreen, pTable[i].rgbBlue, 0};
        if (caps.bIdentityPalette && i >= nHalf && i < 256 - nHalf) entries[i].peFlags = PC_NOCOLLAPSE;
    }
    auto pPal = std::make_unique<CPalette>();
    if (!pPal->CreatePalette(entries)) AfxThrowResourceException();
    return pPal;
}

bool CDib::MapToPalette(const CPalette* pPalette) {
    if (!pPalette || GetBitCount() != 8 || m_bFileBacked) return false;
    uint8_t map[256];
    for (int i = 0; i < 256; ++i) {
        const RGBQUAD& q = m_pColorTable[i];
        map[i] = static_cast<uint8_t>(pPalette->GetNearestPaletteIndex(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue)));
    }
    uint64_t nSize = GetImageSize();
    for (uint64_t i = 0; i < nSize; ++i) m_pBits[i] = map[m_pBits[i]];
    PALETTEENTRY pe[256];
    unsigned n = pPalette->GetPaletteEntries(0, 256, pe);
    for (unsigned i = 0; i < 256; ++i)
        m_pColorTable[i] = i < n ? RGBQUAD{pe[i].peBlue, pe[i].peGreen, pe[i].peRed, 0} : RGBQUAD{};
    return true;
}

bool CDib::NeedsDisplayDither() const {
    return GetDisplayCaps().nBitsPixel <= 8 && GetBitCount() > 8;
}

bool CDib::UsesPaletteIndices() const {
    return m_pPalIndexInfo && GetDisplayCaps().nBitsPixel == 8;
}

std::unique_ptr<CDib> CDib::CreateDisplayDib() const {
    CDib& self = const_cast<CDib&>(*this);
    if (GetDisplayCaps().nBitsPixel == 8) {
        auto pOut = std::make_unique<CDib>(8, m_size.cx, m_size.cy, GetDisplayPalette());
        CColorDiffusionDither8(&self, pOut.get()).Dither();
        return pOut;
    }
    auto pOut = std::make_unique<CDib>(4, m_size.cx, m_size.cy, GetEightColorPalette());
    CColorOrderDither4(&self, pOut.get()).Dither();
    return pOut;
}

// --- tone -------------------------------------------------------------------

void CDib::ResetTone() {
    for (int i = 0; i < 256; ++i)
        m_gammaTable[i] = m_contrastTable[i] = m_toneTable[i] = static_cast<uint8_t>(i);
    m_nBrightness = 50;
    m_nContrast = 45;
    m_nGammaStep = 20;
    m_bToneApplied = true;
    m_nChannelMask = 7;
}

void CDib::ComposeTone() {
    for (int i = 0; i < 256; ++i) m_toneTable[i] = m_gammaTable[m_contrastTable[i]];
    if (!m_pColorTable) return;
    for (int i = 0; i < m_nColorTableEntries; ++i) {
        RGBQUAD& q = m_pColorTable[i];
        if (m_nChannelMask & 1) q.rgbRed = m_toneTable[q.rgbRed];
        if (m_nChannelMask & 2) q.rgbGreen = m_toneTable[q.rgbGreen];
        if (m_nChannelMask & 4) q.rgbBlue = m_toneTable[q.rgbBlue];
    }
}

void CDib::ApplyTone() {
    if (m_bToneApplied) return;
    ComposeTone();
    if (!m_pColorTable && !m_bFileBacked) {
        const uint8_t* t = m_toneTable;
        int nBytesPixel = GetBitCount() / 8;
        // 24-bit rows: blue, green, red. (16- and 32-bit images are left as they are.)
        if (nBytesPixel == 3) {
            int nWidth = m_size.cx;
            uint8_t tb[256], tg[256], tr[256];
            for (int i = 0; i < 256; ++i) {
                tb[i] = (m_nChannelMask & 4) ? t[i] : static_cast<uint8_t>(i);
                tg[i] = (m_nChannelMask & 2) ? t[i] : static_cast<uint8_t>(i);
                tr[i] = (m_nChannelMask & 1) ? t[i] : static_cast<uint8_t>(i);
            }
            // All three channels: two bytes a look-up through a table of byte pairs.
            std::vector<uint16_t> pairs;
            if (m_nChannelMask == 7) {
                pairs.resize(65536);
                for (int i = 0; i < 65536; ++i)
                    pairs[i] = static_cast<uint16_t>(t[i & 0xFF] | (t[i >> 8] << 8));
            }
            for (int y = 0; y < m_size.cy; ++y) {
                uint8_t* p = GetRow(y);
                if (m_nChannelMask == 7) {
                    int n = nWidth * 3, i = 0;
                    const uint16_t* pr = pairs.data();
                    for (; i + 8 <= n; i += 8) {
                        uint64_t v;
                        std::memcpy(&v, p + i, 8);
                        v = uint64_t(pr[v & 0xFFFF]) | (uint64_t(pr[(v >> 16) & 0xFFFF]) << 16) |
                            (uint64_t(pr[(v >> 32) & 0xFFFF]) << 32) | (uint64_t(pr[v >> 48]) << 48);
                        std::memcpy(p + i, &v, 8);
                    }
                    for (; i < n; ++i) p[i] = t[p[i]];
                } else {
                    for (int x = 0; x < nWidth; ++x, p += 3) {
                        p[0] = tb[p[0]];
                        p[1] = tg[p[1]];
                        p[2] = tr[p[2]];
                    }
                }
            }
        }
    }
    m_bToneApplied = true;
    m_nChannelMask = 7;
}

// --- drawing ----------------------------------------------------------------

int CDib::BandHeight(int nRows, int64_t nStride) {
    int nBand = std::max(nRows, 1);
    while (nBand > 1 && nBand * nStride > kBandBytes) nBand /= 2;
    return nBand;
}

int CDib::BlitBanded(CDC& dc, int xDest, int yDest, int nWidth, int nHeight, int xSrc, int ySrc) {
    bool bIndices = UsesPaletteIndices();
    const BITMAPINFOHEADER* pInfo = bIndices ? m_pPalIndexInfo : m_pInfo;
    unsigned nUse = bIndices ? DIB_PAL_COLORS : DIB_RGB_COLORS;
    if (GetDisplayCaps().bWin32s)
        return dc.SetDIBitsToDevice(xDest, yDest, nWidth, nHeight, xSrc, ySrc, 0, m_size.cy, m_pBits, pInfo,
                                    nUse);
    int nDone = 0, nDrawn = 0;
    while (nDone < nHeight) {
        int nBand = std::min(nHeight - nDone, kMaxBlitRows);
        nDrawn += dc.SetDIBitsToDevice(xDest, yDest + (nHeight - nDone - nBand), nWidth, nBand, xSrc,
                                       ySrc + nDone, 0, m_size.cy, m_pBits, pInfo, nUse);
        nDone += nBand;
    }
    return nDrawn;
}

int CDib::Draw(CDC& dc, int x, int y, const CRect& rcSource) {
    CRect rc;
    if (rcSource.IsRectEmpty() || m_bFileBacked) return 0;
    if (!rc.IntersectRect(rcSource, CRect(0, 0, m_size.cx, m_size.cy))) return 0;
    if (NeedsDisplayDither()) return DrawDithered(dc, x + rc.left, y + rc.top, rc);
    return BlitBanded(dc, x + rc.left, y + rc.top, rc.Width(), rc.Height(), rc.left, m_size.cy - rc.bottom);
}

int CDib::Draw(CDC& dc, int x, int y) {
    return Draw(dc, x, y, CRect(0, 0, m_size.cx, m_size.cy));
}

namespace {

// The display header for a band of the display dither, sized for the band.
struct CDisplayBand {
    std::vector<uint8_t> header;
    unsigned nUse = DIB_RGB_COLORS;
    int nBits = 8;
    BITMAPINFOHEADER* Info() { return reinterpret_cast<BITMAPINFOHEADER*>(header.data()); }
    CDisplayBand() {
        const CDisplayCaps& caps = GetDisplayCaps();
        const CDitherTables& t = GetDitherTables();
        if (caps.nBitsPixel == 8) {
            nBits = 8;
            if (caps.bIdentityPalette) {
                header = t.header8Indices;
                nUse = DIB_PAL_COLORS;
            } else {
                header = t.header8;
            }
        } else {
            nBits = 4;
            header = t.header4Eight;
        }
    }
};

// Per threshold (0..50) and channel value: the channel's level plus its step
// when the threshold is below the rest, so that a pixel takes three look-ups.
class CDisplayContribution {
public:
    explicit CDisplayContribution(const CDitherTables& t) : m_table(3 * 51 * 256) {
        for (int m = 0; m < 51; ++m)
            for (int v = 0; v < 256; ++v) {
                bool bUp = m < t.rest51[v];
                m_table[(0 * 51 + m) * 256 + v] = static_cast<uint8_t>(t.levelBlue51[v] + 36 * bUp);
                m_table[(1 * 51 + m) * 256 + v] = static_cast<uint8_t>(t.levelGreen51[v] + 6 * bUp);
                m_table[(2 * 51 + m) * 256 + v] = static_cast<uint8_t>(t.levelRed51[v] + bUp);
            }
    }
    uint8_t Index(const uint8_t* s, unsigned m) const {
        const uint8_t* c = m_table.data();
        return static_cast<uint8_t>(c[m * 256 + s[0]] + c[(51 + m) * 256 + s[1]] + c[(102 + m) * 256 + s[2]]);
    }

private:
    std::vector<uint8_t> m_table;
};

inline unsigned DitherPixel4(const CDitherTables& t, const uint8_t* s, unsigned m) {
    return t.levelRed255[s[2]] + (m < t.rest255[s[2]]) + t.levelGreen255[s[1]] + 2 * (m < t.rest255[s[1]]) +
           t.levelBlue255[s[0]] + 4 * (m < t.rest255[s[0]]);
}

} // namespace

int CDib::DrawDithered(CDC& dc, int xDest, int yDest, const CRect& rc) {
    CDisplayBand band;
    const CDitherTables& t = GetDitherTables();
    CDisplayContribution contrib(t);
    int nWidth = rc.Width(), nHeight = rc.Height();
    int64_t nOutStride = StrideOf(nWidth, band.nBits);
    int nBand = BandHeight(nHeight, nOutStride);
    std::vector<uint8_t> buf(static_cast<size_t>(nOutStride) * nBand);
    std::vector<uint8_t> rgb(static_cast<size_t>(m_size.cx) * 3);
    int nDrawn = 0;
    for (int r0 = 0; r0 < nHeight; r0 += nBand) {
        int nb = std::min(nBand, nHeight - r0);
        std::fill(buf.begin(), buf.end(), 0);
        for (int k = 0; k < nb; ++k) {
            int sy = rc.top + r0 + k;
            const uint8_t* s = GetRowRGB(sy, rgb.data()) + 3 * rc.left;
            uint8_t* d = buf.data() + (nb - 1 - k) * nOutStride;
            if (band.nBits == 8) {
                const uint8_t* m = t.magic51[sy & 15];
                for (int i = 0; i < nWidth; ++i, s += 3) d[i] = contrib.Index(s, m[(rc.left + i) & 15]);
            } else {
                const uint8_t* m4 = t.magic255[sy & 15];
                for (int i = 0; i < nWidth; ++i, s += 3)
                    d[i >> 1] |=
                        static_cast<uint8_t>(DitherPixel4(t, s, m4[(rc.left + i) & 15]) << ((i & 1) ? 0 : 4));
            }
        }
        band.Info()->biWidth = nWidth;
        band.Info()->biHeight = nb;
        nDrawn += dc.SetDIBitsToDevice(xDest, yDest + r0, nWidth, nb, 0, 0, 0, nb, buf.data(), band.Info(),
                                       band.nUse);
    }
    return nDrawn;
}

int CDib::StretchDraw(CDC& dc, const CRect& rcDest, const CRect& rcSource) {
    if (rcDest.IsRectEmpty() || rcSource.IsRectEmpty() || m_bFileBacked) return 0;
    int nMode = GetBitCount() > 2 ? COLORONCOLOR : BLACKONWHITE;
    if (dc.m_bPrinting) {
        dc.SetStretchBltMode(nMode);
        return dc.StretchDIBits(rcDest.left, rcDest.top, rcDest.Width(), rcDest.Height(), rcSource.left,
                                m_size.cy - rcSource.bottom, rcSource.Width(), rcSource.Height(), m_pBits,
                                m_pInfo, DIB_RGB_COLORS, SRCCOPY);
    }
    if (NeedsDisplayDither()) return StretchOwn(dc, rcDest, rcSource, true);
    if (GetDisplayCaps().bWindowsStretch) {
        bool bIndices = UsesPaletteIndices();
        dc.SetStretchBltMode(nMode);
        return dc.StretchDIBits(rcDest.left, rcDest.top, rcDest.Width(), rcDest.Height(), rcSource.left,
                                m_size.cy - rcSource.bottom, rcSource.Width(), rcSource.Height(), m_pBits,
                                bIndices ? m_pPalIndexInfo : m_pInfo,
                                bIndices ? DIB_PAL_COLORS : DIB_RGB_COLORS, SRCCOPY);
    }
    return StretchOwn(dc, rcDest, rcSource, false);
}

int CDib::StretchOwn(CDC& dc, const CRect& rcDest, const CRect& rcSource, bool bDither) {
    int nDstW = rcDest.Width(), nDstH = rcDest.Height();
    double xScale = static_cast<double>(rcSource.Width()) / nDstW;
    double yScale = static_cast<double>(rcSource.Height()) / nDstH;
    std::vector<int> cols(nDstW);
    for (int i = 0; i < nDstW; ++i)
        cols[i] = std::clamp(rcSource.left + static_cast<int>(i * xScale), 0, std::max(m_size.cx - 1, 0));

    CDisplayBand display;
    std::vector<uint8_t> header;
    unsigned nUse = DIB_RGB_COLORS;
    int nOutBits;
    if (bDither) {
        header = display.header;
        nUse = display.nUse;
        nOutBits = display.nBits;
    } else {
        bool bIndices = UsesPaletteIndices();
        const uint8_t* p = reinterpret_cast<const uint8_t*>(bIndices ? m_pPalIndexInfo.Get() : m_pInfo.Get());
        header.assign(p, p + (bIndices ? 552 : m_nInfoSize));
        nUse = bIndices ? DIB_PAL_COLORS : DIB_RGB_COLORS;
        nOutBits = GetBitCount();
    }
    auto* pHeader = reinterpret_cast<BITMAPINFOHEADER*>(header.data());
    int64_t nOutStride = StrideOf(nDstW, nOutBits);
    int nBand = BandHeight(nDstH, nOutStride);
    std::vector<uint8_t> buf(static_cast<size_t>(nOutStride) * nBand);
    std::vector<uint8_t> rgb(static_cast<size_t>(m_size.cx) * 3);
    const CDitherTables& t = GetDitherTables();
    std::unique_ptr<CDisplayContribution> pContrib;
    if (bDither && nOutBits == 8) pContrib = std::make_unique<CDisplayContribution>(t);
    int nBits = GetBitCount();
    int nBytesPixel = nBits / 8;
    int nDrawn = 0;
    for (int j0 = 0; j0 < nDstH; j0 += nBand) {
        int nb = std::min(nBand, nDstH - j0);
        std::fill(buf.begin(), buf.end(), 0);
        for (int k = 0; k < nb; ++k) {
            int j = j0 + k;
            int sy = std::clamp(rcSource.top + static_cast<int>(j * yScale), 0, m_size.cy - 1);
            uint8_t* d = buf.data() + (nb - 1 - k) * nOutStride;
            if (bDither) {
                const uint8_t* s = GetRowRGB(sy, rgb.data());
                for (int i = 0; i < nDstW; ++i) {
                    const uint8_t* px = s + 3 * cols[i];
                    if (nOutBits == 8)
                        d[i] = pContrib->Index(px, t.magic51[j & 15][i & 15]);
                    else
                        d[i >> 1] |= static_cast<uint8_t>(DitherPixel4(t, px, t.magic255[j & 15][i & 15])
                                                          << ((i & 1) ? 0 : 4));
                }
                continue;
            }
            const uint8_t* s = GetRow(sy);
            switch (nBits) {
            case 1:
                for (int i = 0; i < nDstW; ++i)
                    if ((s[cols[i] >> 3] >> (7 - (cols[i] & 7))) & 1)
                        d[i >> 3] |= static_cast<uint8_t>(0x80 >> (i & 7));
                break;
            case 4:
                for (int i = 0; i < nDstW; ++i) {
                    int c = cols[i];
                    unsigned v = (c & 1) ? (s[c >> 1] & 0x0F) : (s[c >> 1] >> 4);
                    d[i >> 1] |= static_cast<uint8_t>(v << ((i & 1) ? 0 : 4));
                }
                break;
            default:
                for (int i = 0; i < nDstW; ++i)
                    std::memcpy(d + i * nBytesPixel, s + cols[i] * nBytesPixel, nBytesPixel);
                break;
            }
        }
        pHeader->biWidth = nDstW;
        pHeader->biHeight = nb;
        pHeader->biSizeImage = 0;
        nDrawn += dc.SetDIBitsToDevice(rcDest.left, rcDest.top + j0, nDstW, nb, 0, 0, 0, nb, buf.data(),
                                       pHeader, nUse);
    }
    return nDrawn;
}
