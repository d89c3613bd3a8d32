#pragma once
#include "imaging/CTArithmatic.h"

// The single-image operations: every channel through one of three tables.
class CTChannelMap : public CTArithmatic {
    DECLARE_DYNAMIC(CTChannelMap)
protected:
    CTChannelMap(CDib* pImage, CDib* pTarget) : CTArithmatic(pImage, nullptr, pTarget) {}
    bool UsesImage2() const override { return false; }
    void RunRow(const uint8_t* p1, const uint8_t* p2, uint8_t* pTarget, int nBytes) override;
    // Builds m_table and points the flagged channels at it, the others at
    // the identity.
    void SetChannels(bool bRed, bool bGreen, bool bBlue);

    uint8_t m_table[256];
    uint8_t m_identity[256];
    const uint8_t* m_pRed = m_identity;
    const uint8_t* m_pGreen = m_identity;
    const uint8_t* m_pBlue = m_identity;
};
