#include "view/core/CShowSetupData.h"

#include "framework/StringTable.h"
#include "view/core/CBlockEffects.h"

#include <algorithm>
#include <cstdio>

CShowSetupData::CShowSetupData(int nPhotos, int nCurrent)
    : m_elems(static_cast<size_t>(std::max(nPhotos, 0))), m_titles(static_cast<size_t>(std::max(nPhotos, 0))),
      m_nCurrent(nCurrent) {}

std::vector<int> CShowSetupData::GetEffectIds() {
    std::vector<int> ids;
    for (int id = CBlockEffects::kFirstEffect; id <= CBlockEffects::kLastEffect; ++id) ids.push_back(id);
    return ids;
}

std::string CShowSetupData::GetEffectName(int nEffectId) {
    return LoadResString(static_cast<uint32_t>(nEffectId));
}

int CShowSetupData::FindEffect(int nEffectId) {
    const std::vector<int> ids = GetEffectIds();
    for (int i = static_cast<int>(ids.size()) - 1; i >= 0; --i)
        if (ids[i] == nEffectId) return i;
    return -1;
}

std::string CShowSetupData::GetPhotoLine(int i) const {
    std::string title = i >= 0 && i < static_cast<int>(m_titles.size()) ? m_titles[i] : std::string();
    const size_t nCr = title.find('\r');
    if (nCr != std::string::npos) title.resize(nCr);
    char number[16];
    std::snprintf(number, sizeof number, "%3d: ", i + 1);
    return number + title;
}

bool CShowSetupData::ParseDelay(const std::string& text, uint32_t& nSeconds) {
    // Blanks around the number, as the dialog's number fields accept.
    const size_t b = text.find_first_not_of(" \t"), e = text.find_last_not_of(" \t");
    if (b == std::string::npos) return false;
    uint32_t n = 0;
    for (size_t i = b; i <= e; ++i) {
        if (text[i] < '0' || text[i] > '9') return false;
        n = n * 10 + static_cast<uint32_t>(text[i] - '0');
        if (n > kMaxDelaySeconds) return false;
    }
    nSeconds = n;
    return true;
}

void CShowSetupData::Init() {
    m_bTitles = m_showProps.m_bTitles != 0;
    m_bTitlesIndex = m_showProps.m_bTitlesIndex != 0;
    m_bRepeat = m_showProps.m_bRepeat != 0;
    m_bCursor = m_showProps.m_bCursor != 0;
    m_bPanel = m_showProps.m_bPanel != 0;
    m_bFullScreen = m_showProps.m_bFullScreen != 0;
    const int nCount = static_cast<int>(m_elems.size());
    Show(std::clamp(m_nCurrent, -1, nCount - 1));
}

void CShowSetupData::Show(int i) {
    m_nShown = i;
    if (i < 0 || i >= static_cast<int>(m_elems.size())) {
        m_nShown = -1;
        return;
    }
    m_nEffectEntry = FindEffect(m_elems[i].m_nEffect);
    m_nDelaySeconds = m_elems[i].m_dwDelay / 1000;
}

void CShowSetupData::StoreShown() {
    if (m_nShown < 0 || m_nShown >= static_cast<int>(m_elems.size())) return;
    CShowElemProps& e = m_elems[m_nShown];
    // Without a selected effect (an id the list does not know) the photo keeps
    // its own; an unchanged number of seconds keeps a delay that is not whole.
    if (m_nEffectEntry >= 0) e.m_nEffect = static_cast<uint16_t>(GetEffectIds()[m_nEffectEntry]);
    if (m_nDelaySeconds != e.m_dwDelay / 1000) e.m_dwDelay = m_nDelaySeconds * 1000;
}

void CShowSetupData::SelectPhoto(int i) {
    StoreShown();
    Show(i);
}

void CShowSetupData::ApplyToAll() {
    for (CShowElemProps& e : m_elems) {
        if (m_nEffectEntry >= 0) e.m_nEffect = static_cast<uint16_t>(GetEffectIds()[m_nEffectEntry]);
        e.m_dwDelay = m_nDelaySeconds * 1000;
    }
}

void CShowSetupData::OnOK() {
    m_showProps.m_bTitles = m_bTitles;
    m_showProps.m_bTitlesIndex = m_bTitlesIndex;
    m_showProps.m_bRepeat = m_bRepeat;
    m_showProps.m_bCursor = m_bCursor;
    m_showProps.m_bPanel = m_bPanel;
    m_showProps.m_bFullScreen = m_bFullScreen;
    StoreShown();
}

bool CShowSetupData::CopyBack(CShowProps& albumProps, const std::vector<CShowElemProps*>& albumElems) const {
    bool bModified = albumProps != m_showProps;
    albumProps = m_showProps;
    for (size_t i = 0; i < albumElems.size() && i < m_elems.size(); ++i) {
        if (!albumElems[i]) continue;
        if (*albumElems[i] != m_elems[i]) bModified = true;
        *albumElems[i] = m_elems[i];
    }
    return bModified;
}
