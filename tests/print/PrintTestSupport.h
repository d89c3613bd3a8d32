#pragma once
// Shared pieces of the print tests: a 300 dpi page, pictures of one colour
// and an album held in memory.

#include "framework/CImageDC.h"
#include "imaging/CDib.h"
#include "print/IAlbumPrintSource.h"

#include <cstring>
#include <memory>
#include <string>
#include <vector>

// A printer page of w × h dots at 300 dpi.
inline std::unique_ptr<CImageDC> MakePrinter(int w, int h, int nDpi = 300) {
    auto dc = std::make_unique<CImageDC>(w, h);
    dc->m_nLogPixels = nDpi;
    dc->m_bPrinting = true;
    return dc;
}

inline std::unique_ptr<CDib> SolidDib(int w, int h, uint8_t r, uint8_t g, uint8_t b) {
    auto dib = std::make_unique<CDib>(24, w, h, nullptr);
    for (int y = 0; y < h; ++y) {
        uint8_t* p = dib->GetRow(y);
        for (int x = 0; x < w; ++x) {
            p[3 * x] = b;
            p[3 * x + 1] = g;
            p[3 * x + 2] = r;
        }
    }
    return dib;
}

class CMemoryAlbum : public IAlbumPrintSource {
public:
    struct Item {
        std::string title, description;
        int w = 40, h = 30;
    };
    std::vector<Item> m_items;
    int m_nThumbLoads = 0, m_nImageLoads = 0;

    explicit CMemoryAlbum(int n = 0) {
        for (int i = 0; i < n; ++i) m_items.push_back({"Photo " + std::to_string(i + 1), "", 40, 30});
    }
    int GetCount() const override { return static_cast<int>(m_items.size()); }
    std::string GetTitle(int i) const override { return m_items.at(i).title; }
    std::string GetDescription(int i) const override { return m_items.at(i).description; }
    std::unique_ptr<CDib> LoadThumbnail(int i) override {
        ++m_nThumbLoads;
        return SolidDib(m_items.at(i).w, m_items.at(i).h, 0, 0, 255);
    }
    std::unique_ptr<CDib> LoadImage(int i) override {
        ++m_nImageLoads;
        return SolidDib(m_items.at(i).w * 4, m_items.at(i).h * 4, 255, 0, 0);
    }
};
