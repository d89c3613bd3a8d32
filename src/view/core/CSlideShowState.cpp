#include "view/core/CSlideShowState.h"

#include <cstdlib>

unsigned CSlideShowState::Random() const {
    return m_random ? m_random() : static_cast<unsigned>(std::rand());
}

void CSlideShowState::InitialUpdate(const CShowProps& albumProps, int nCurrent, bool bScreenSaver,
                                    int nTitlesIndex, int nRandomOrder, int nTitles) {
    m_nCurrent = nCurrent >= 0 && nCurrent < m_nCount ? nCurrent : -1;
    m_showProps = albumProps;
    if (bScreenSaver) {
        m_showProps.m_bAutoAdvance = 1;
        m_showProps.m_bRepeat = 1;
        m_showProps.m_bFullScreen = 1;
        m_showProps.m_bPanel = 0;
        m_showProps.m_bCursor = 0;
        if (nTitlesIndex >= 0) m_showProps.m_bTitlesIndex = nTitlesIndex;
        if (nRandomOrder >= 0) m_showProps.m_bRandomOrder = nRandomOrder;
        if (nTitles >= 0) m_showProps.m_bTitles = nTitles;
    }
    if (m_nCurrent == -1 && m_nCount > 0) GoToPhoto(0);
    if (m_showProps.m_bAutoAdvance && !m_bPlaying) Play();
}

int CSlideShowState::GetNextIndex() {
    if (m_nCount <= 0) return -1;
    if (m_nCurrent == -1) return 0;
    if (m_showProps.m_bRandomOrder) return static_cast<int>(Random() % static_cast<unsigned>(m_nCount));
    if (m_nCurrent < m_nCount - 1) return m_nCurrent + 1;
    return m_showProps.m_bRepeat ? 0 : -1;
}

bool CSlideShowState::HasNext() const {
    if (m_nCount <= 0) return false;
    return m_nCurrent == -1 || m_showProps.m_bRandomOrder || m_nCurrent < m_nCount - 1 ||
           m_showProps.m_bRepeat;
}

void CSlideShowState::GoToPhoto(int i) {
    m_nCurrent = i;
    m_bNewSlide = true;
}

void CSlideShowState::OnSlideShown() {
    m_nElapsed = 0;
    m_bNewSlide = false;
}

int CSlideShowState::OnTimer(uint32_t dwCurrentDelay) {
    m_nElapsed += kTimerPeriod;
    if (!m_bPlaying || m_nCount <= 0 || static_cast<uint32_t>(m_nElapsed) < dwCurrentDelay) return -1;
    const int nNext = GetNextIndex();
    if (nNext == -1) {
        m_bPlaying = false;
        return -1;
    }
    GoToPhoto(nNext);
    return nNext;
}

void CSlideShowState::Play() {
    if (!m_bPlaying && HasNext()) m_bPlaying = true;
}

int CSlideShowState::OnCommand(unsigned nCmd) {
    if (!IsEnabled(nCmd)) return -1;
    auto toggle = [](int32_t& b) { b = !b; };
    switch (nCmd) {
    case kCmdPrevious:
        return m_nCurrent - 1;
    case kCmdNext:
        return m_nCurrent + 1;
    case kCmdFirst:
        return GetFirst();
    case kCmdLast:
        return m_nCount - 1;
    case kCmdPlay:
        Play();
        break;
    case kCmdStop:
        Stop();
        break;
    case kCmdPause:
        if (m_bPlaying)
            Stop();
        else
            Play();
        break;
    case kCmdTitles:
        toggle(m_showProps.m_bTitles);
        break;
    case kCmdTitlesIndex:
        toggle(m_showProps.m_bTitlesIndex);
        break;
    case kCmdRepeat:
        toggle(m_showProps.m_bRepeat);
        break;
    case kCmdShuffle:
        toggle(m_showProps.m_bRandomOrder);
        break;
    case kCmdFullScreen:
        toggle(m_showProps.m_bFullScreen);
        break;
    case kCmdCursor:
        toggle(m_showProps.m_bCursor);
        break;
    default:
        break;
    }
    return -1;
}

bool CSlideShowState::IsEnabled(unsigned nCmd) const {
    switch (nCmd) {
    case kCmdPrevious:
    case kCmdFirst:
        return m_nCurrent > GetFirst();
    case kCmdNext:
    case kCmdLast:
        return m_nCurrent < m_nCount - 1;
    case kCmdPlay:
        return !m_bPlaying && HasNext();
    case kCmdStop:
        return m_bPlaying;
    case kCmdTitlesIndex:
        return m_showProps.m_bTitles != 0;
    default:
        return true;
    }
}

bool CSlideShowState::IsChecked(unsigned nCmd, bool bPanelVisible) const {
    switch (nCmd) {
    case kCmdTitles:
        return m_showProps.m_bTitles != 0;
    case kCmdTitlesIndex:
        return m_showProps.m_bTitlesIndex != 0;
    case kCmdRepeat:
        return m_showProps.m_bRepeat != 0;
    case kCmdShuffle:
        return m_showProps.m_bRandomOrder != 0;
    case kCmdFullScreen:
        return m_showProps.m_bFullScreen != 0;
    case kCmdCursor:
        return m_showProps.m_bCursor != 0;
    case kCmdPanel:
        return bPanelVisible;
    default:
        return false;
    }
}
