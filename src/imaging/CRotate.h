#pragma once
// Fixed rotations and reflections of a 24-bit image, and rotation by any
// angle as three shears. Every operation returns a new 24-bit image that the
// caller owns; the source is never changed.

#include "framework/CObject.h"

#include <cstddef>
#include <cstdint>

class CDib;

class CRotate : public CObject {
    DECLARE_DYNAMIC(CRotate)
public:
    // The not-supported exception unless pSource is a 24-bit image.
    explicit CRotate(CDib* pSource);
    ~CRotate() override;

    CDib* Mirror();    // left-right
    CDib* Flip();      // top-bottom
    CDib* Transpose(); // about the top-left corner
    CDib* Rotate90CW();
    CDib* Rotate90CCW();
    CDib* Rotate180();
    // Counter-clockwise for a positive angle unless bClockwise.
    CDib* RotateArbitrary(float fAngle, bool bClockwise);

    // Sizes and shifts of the three-shear rotation of a W × H source.
    struct CShearPlan {
        int nCoarse = 0;  // 0 none, 1 turned 90° clockwise, 2 turned 180°, 3 turned 90° counter-clockwise
        float fAngle = 0; // the angle left for the shears
        float fTheta = 0; // in radians
        float fSin = 0;   // sin θ
        float fTan = 0;   // tan θ/2
        int nWidth = 0;   // W and H after the coarse step
        int nHeight = 0;
        int nW1 = 0;     // pass 1: W1 × H
        int nH2 = 0;     // pass 2: W1 × H2
        int nW3 = 0;     // pass 3: W3 × H2
        int nOffset = 0; // truncate((W − 1) × sin θ)
    };
    static CShearPlan PlanRotation(int nWidth, int nHeight, float fAngle, bool bClockwise);

    // Shears one line of n three-byte pixels into m output pixels with shift
    // d; pixels lie nInStep and nOutStep bytes apart. Output positions the
    // input does not cover are black.
    static void ShearLine(const uint8_t* pIn, ptrdiff_t nInStep, int n, uint8_t* pOut, ptrdiff_t nOutStep,
                          int m, float d);

    // The vertical shear of nCols columns (n rows in, m rows out) with shift
    // offset − x × fSin for column x: the same pixels as ShearLine on each
    // column, computed a block of columns at a time, row by row.
    static void ShearColumns(const uint8_t* pInTop, ptrdiff_t nInStep, int n, uint8_t* pOutTop,
                             ptrdiff_t nOutStep, int m, int nCols, float fOffset, float fSin);

private:
    enum ETurn { turnTranspose, turnCW, turnCCW };
    static CDib* Turn(CDib& src, ETurn nTurn);
    static CDib* Turn180(CDib& src);

    CDib* m_pSource;
    CDib* m_pSpare = nullptr; // the coarse-rotated source during an arbitrary rotation
};
