#pragma once
// Where the preview dialogs draw their reduced copy of the image.

#include "framework/CRect.h"

// Frame drawn around the preview, in pixels.
constexpr int kPreviewFrameWidth = 2;

// The preview control less twice the frame width on each side.
CRect ShrinkPreviewControl(const CRect& rcControl, int nFrameWidth = kPreviewFrameWidth);

// An image of nWidth x nHeight fitted into rcControl keeping its aspect ratio
// (integer multiply-divide), centred. Empty for an empty image or control.
CRect FitPreviewRect(const CRect& rcControl, int nWidth, int nHeight);
