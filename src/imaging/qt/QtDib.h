#pragma once
// Conversion between Qt images and CDib: what the device-dependent bitmap
// constructor and CreateBitmap do on the original platform (clipboard
// bitmaps, screen grabs, drawing on today's screens).

#include "imaging/CDib.h"

#include <memory>

class QImage;

// A CDib of the image's size and colour depth: 1- and 8-bit indexed images keep
// their colour table, 16-bit images become 5-5-5, 32-bit images keep 32 bits
// (24 with bForce24, which also turns 16 into 24); other formats become 24
// bits. CResourceException for a null image.
std::unique_ptr<CDib> CreateDibFromImage(const QImage& image, bool bForce24);
// The picture as a 32-bit Qt image.
QImage CreateImageFromDib(CDib& dib);
