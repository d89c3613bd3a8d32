#include "imaging/qt/QtDib.h"

#include "framework/CException.h"

#include <QImage>

#include <cstring>
#include <vector>

std::unique_ptr<CDib> CreateDibFromImage(const QImage& source, bool bForce24) {
    if (source.isNull()) AfxThrowResourceException();
    int w = source.width(), h = source.height();
    int nDepth = source.depth();
    if (source.format() == QImage::Format_Mono || source.format() == QImage::Format_MonoLSB) {
        QImage img = source.convertToFormat(QImage::Format_Mono);
        RGBQUAD table[2] = {};
        QList<QRgb> ct = img.colorTable();
        for (int i = 0; i < 2 && i < ct.size(); ++i)
            table[i] = RGBQUAD{uint8_t(qBlue(ct[i])), uint8_t(qGreen(ct[i])), uint8_t(qRed(ct[i])), 0};
        auto dib = std::make_unique<CDib>(1, w, h, table);
        for (int y = 0; y < h; ++y) std::memcpy(dib->GetRow(y), img.constScanLine(y), (w + 7) / 8);
        dib->CheckGray();
        return dib;
    }
    if (source.format() == QImage::Format_Indexed8 || source.format() == QImage::Format_Grayscale8) {
        RGBQUAD table[256] = {};
        if (source.format() == QImage::Format_Grayscale8) {
            for (int i = 0; i < 256; ++i) table[i] = RGBQUAD{uint8_t(i), uint8_t(i), uint8_t(i), 0};
        } else {
            QList<QRgb> ct = source.colorTable();
            for (int i = 0; i < 256 && i < ct.size(); ++i)
                table[i] = RGBQUAD{uint8_t(qBlue(ct[i])), uint8_t(qGreen(ct[i])), uint8_t(qRed(ct[i])), 0};
        }
        auto dib = std::make_unique<CDib>(8, w, h, table);
        for (int y = 0; y < h; ++y) std::memcpy(dib->GetRow(y), source.constScanLine(y), w);
        dib->CheckGray();
        return dib;
    }
    int nBits = 24;
    if (!bForce24 && nDepth == 32) nBits = 32;
    if (!bForce24 && nDepth == 16) nBits = 16;
    QImage img = source.convertToFormat(QImage::Format_RGB32);
    auto dib = std::make_unique<CDib>(nBits, w, h, nullptr);
    for (int y = 0; y < h; ++y) {
        const auto* s = reinterpret_cast<const QRgb*>(img.constScanLine(y));
        uint8_t* d = dib->GetRow(y);
        for (int x = 0; x < w; ++x) {
            QRgb c = s[x];
            if (nBits == 16) {
                unsigned v = ((qRed(c) >> 3) << 10) | ((qGreen(c) >> 3) << 5) | (qBlue(c) >> 3);
                d[2 * x] = static_cast<uint8_t>(v);
                d[2 * x + 1] = static_cast<uint8_t>(v >> 8);
            } else {
                uint8_t* p = d + x * (nBits / 8);
                p[0] = static_cast<uint8_t>(qBlue(c));
                p[1] = static_cast<uint8_t>(qGreen(c));
                p[2] = static_cast<uint8_t>(qRed(c));
                if (nBits == 32) p[3] = 0;
            }
        }
    }
    return dib;
}

QImage CreateImageFromDib(CDib& dib) {
    int w = dib.GetWidth(), h = dib.GetHeight();
    QImage img(w, h, QImage::Format_RGB32);
    std::vector<uint8_t> rgb(static_cast<size_t>(w) * 3);
    for (int y = 0; y < h; ++y) {
        const uint8_t* s = dib.GetRowRGB(y, rgb.data());
        auto* d = reinterpret_cast<QRgb*>(img.scanLine(y));
        for (int x = 0; x < w; ++x, s += 3) d[x] = qRgb(s[2], s[1], s[0]);
    }
    return img;
}
