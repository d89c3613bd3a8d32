#pragma once
// The album wizard's pictures, drawn in the look of the start-up splash: the
// introduction (1274) and finish (1254) pictures and the sample photo the
// thumbnail-size page previews.

#include <QImage>
#include <cstdint>

// The page picture for a bitmap id (an empty image for an unknown id).
QImage DrawWizardBitmap(uint32_t nBitmap);
// The sample photo at the thumbnail size of the scale (0 tiny ... 3 large).
QImage DrawSizeSample(int nScale);
