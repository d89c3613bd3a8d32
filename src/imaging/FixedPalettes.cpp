#include "imaging/FixedPalettes.h"

#include "imaging/DitherTables.h"

namespace {

constexpr RGBQUAD Q(int r, int g, int b) {
    return RGBQUAD{static_cast<uint8_t>(b), static_cast<uint8_t>(g), static_cast<uint8_t>(r), 0};
}

struct CFalseColorTables {
    RGBQUAD pseudo[256], spectrum[256], fire[256];
    CFalseColorTables() {
        for (int i = 0; i < 256; ++i) {
            if (i <= 51)
                pseudo[i] = Q(0, 0, 5 * i);
            else if (i <= 102)
                pseudo[i] = Q(0, 3 * (i - 51), 255 - 5 * (i - 51));
            else if (i <= 153)
                pseudo[i] = Q(5 * (i - 102), 153 - 3 * (i - 102), 0);
            else if (i <= 204)
                pseudo[i] = Q(255, 5 * (i - 153), 0);
            else
                pseudo[i] = Q(255, 255, 5 * (i - 204));

            if (i <= 51)
                spectrum[i] = Q(255 - 5 * i, 0, 255);
            else if (i <= 102)
                spectrum[i] = Q(0, i == 101 ? 251 : 5 * (i - 51), 255);
            else if (i <= 153)
                spectrum[i] = Q(0, 255, 255 - 5 * (i - 102));
            else if (i <= 204)
                spectrum[i] = Q(5 * (i - 153), 255, 0);
            else
                spectrum[i] = Q(255, 255 - 5 * (i - 204), 0);

            if (i <= 85)
                fire[i] = Q(3 * i, 0, 0);
            else if (i <= 170)
                fire[i] = Q(255, 3 * (i - 85), 0);
            else
                fire[i] = Q(255, 255, 3 * (i - 170));
        }
    }
};

} // namespace

const RGBQUAD* GetEightColorPalette() {
    static const RGBQUAD t[16] = {Q(0, 0, 0),   Q(255, 0, 0),   Q(0, 255, 0),   Q(255, 255, 0),
                                  Q(0, 0, 255), Q(255, 0, 255), Q(0, 255, 255), Q(255, 255, 255),
                                  Q(0, 0, 0),   Q(0, 0, 0),     Q(0, 0, 0),     Q(0, 0, 0),
                                  Q(0, 0, 0),   Q(0, 0, 0),     Q(0, 0, 0),     Q(0, 0, 0)};
    return t;
}

const RGBQUAD* GetSixteenColorPalette() {
    static const RGBQUAD t[16] = {Q(0, 0, 0),       Q(128, 128, 0), Q(128, 0, 128), Q(255, 0, 0),
                                  Q(0, 128, 128),   Q(0, 255, 0),   Q(0, 0, 255),   Q(128, 128, 128),
                                  Q(192, 192, 192), Q(255, 255, 0), Q(255, 0, 255), Q(255, 0, 0),
                                  Q(0, 255, 255),   Q(0, 255, 0),   Q(0, 0, 255),   Q(255, 255, 255)};
    return t;
}

const RGBQUAD* GetBWPalette() {
    static const RGBQUAD t[2] = {Q(0, 0, 0), Q(255, 255, 255)};
    return t;
}

const RGBQUAD* GetGrayPalette() {
    static const auto* t = [] {
        static RGBQUAD g[256];
        for (int i = 0; i < 256; ++i) g[i] = Q(i, i, i);
        return g;
    }();
    return t;
}

const RGBQUAD* GetDisplayPalette() {
    return GetDitherTables().displayPalette;
}

const RGBQUAD* GetFalseColorPalette(EFalseColor which) {
    static const CFalseColorTables t;
    switch (which) {
    case EFalseColor::PseudoColor:
        return t.pseudo;
    case EFalseColor::Spectrum:
        return t.spectrum;
    default:
        return t.fire;
    }
}
