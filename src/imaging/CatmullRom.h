#pragma once
// Catmull-Rom interpolation through knots (xKnots[i], yKnots[i]) evaluated at
// the output positions. The knots run strictly monotonically, increasing or
// decreasing as their first two positions show, and cover the first and last
// output position; otherwise the application exception with message 1389.
// Values are single precision; each value is evaluated in double precision so
// that a straight run of whole-numbered knots gives whole numbers exactly.

void CatmullRom(const float* xKnots, const float* yKnots, int nKnots, const float* xOut, float* yOut,
                int nOut);

// The same at the positions 0, 1, …, nOut − 1, as the warp uses it.
void CatmullRomSteps(const float* xKnots, const float* yKnots, int nKnots, float* yOut, int nOut);
