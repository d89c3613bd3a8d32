#include "framework/CDC.h"

#include "framework/CPalette.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CDC, CObject)

int CDC::SetStretchBltMode(int nMode) {
    int nOld = m_nStretchMode;
    m_nStretchMode = nMode;
    return nOld;
}

std::unique_ptr<CDC> CDC::CreateCompatibleDC(int, int) {
    return nullptr;
}

void CDC::MoveTo(int x, int y) {
    m_ptCurrent = CPoint(x, y);
}

void CDC::SelectFont(const LOGFONT* pFont) {
    m_bFont = pFont != nullptr;
    m_font = pFont ? *pFont : LOGFONT{};
}

bool CDC::GetFont(LOGFONT& font) const {
    font = m_font;
    return m_bFont;
}

CSize CDC::TextCell() const {
    if (!m_bFont || m_font.lfHeight == 0) return {8, 16};
    int h = m_font.lfHeight < 0 ? -m_font.lfHeight : m_font.lfHeight;
    return {std::max(h / 2, 1), h};
}

void CDC::GetTextMetrics(TEXTMETRIC& tm) const {
    CSize cell = TextCell();
    tm = TEXTMETRIC{};
    tm.tmHeight = cell.cy;
    tm.tmAscent = cell.cy - cell.cy / 4;
    tm.tmDescent = cell.cy / 4;
    tm.tmAveCharWidth = cell.cx;
}

COLORREF CDC::SetPenColor(COLORREF color) {
    COLORREF old = m_penColor;
    m_penColor = color;
    return old;
}

COLORREF CDC::SetBrushColor(COLORREF color) {
    COLORREF old = m_brushColor;
    m_brushColor = color;
    m_bHollowBrush = false;
    return old;
}

COLORREF CDC::SetTextColor(COLORREF color) {
    COLORREF old = m_textColor;
    m_textColor = color;
    return old;
}

CPalette* CDC::SelectPalette(CPalette* pPalette, bool) {
    CPalette* pOld = m_pPalette;
    m_pPalette = pPalette;
    return pOld;
}

unsigned CDC::RealizePalette() {
    return m_pPalette ? static_cast<unsigned>(m_pPalette->GetEntryCount()) : 0;
}

int64_t CDC::DibStride(const BITMAPINFOHEADER& info) {
    return ((static_cast<int64_t>(info.biWidth) * info.biBitCount + 31) / 32) * 4;
}

uint32_t CDC::DibPixel(const BITMAPINFOHEADER* pInfo, const uint8_t* pRow, int x, unsigned nColorUse,
                       const CPalette* pPalette) {
    int nBits = pInfo->biBitCount;
    const uint8_t* pTable = reinterpret_cast<const uint8_t*>(pInfo) + pInfo->biSize;
    unsigned nIndex;
    switch (nBits) {
    case 1:
        nIndex = (pRow[x >> 3] >> (7 - (x & 7))) & 1;
        break;
    case 4:
        nIndex = (x & 1) ? (pRow[x >> 1] & 0x0F) : (pRow[x >> 1] >> 4);
        break;
    case 8:
        nIndex = pRow[x];
        break;
    case 16: {
        unsigned v = pRow[2 * x] | (pRow[2 * x + 1] << 8);
        return (((v >> 10) & 31) << 19) | (((v >> 5) & 31) << 11) | ((v & 31) << 3);
    }
    case 24:
        return (pRow[3 * x + 2] << 16) | (pRow[3 * x + 1] << 8) | pRow[3 * x];
    case 32:
        return (pRow[4 * x + 2] << 16) | (pRow[4 * x + 1] << 8) | pRow[4 * x];
    default:
        return 0;
    }
    if (nColorUse == DIB_PAL_COLORS) {
        unsigned nPal = pTable[2 * nIndex] | (pTable[2 * nIndex + 1] << 8);
        if (!pPalette || nPal >= static_cast<unsigned>(pPalette->GetEntryCount())) return 0;
        const PALETTEENTRY& e = pPalette->Entries()[nPal];
        return (e.peRed << 16) | (e.peGreen << 8) | e.peBlue;
    }
    const uint8_t* q = pTable + 4 * nIndex;
    return (q[2] << 16) | (q[1] << 8) | q[0];
}
