#pragma once
// The values and rules behind the "Photo Show Setup" dialog (1053), without
// the dialog: working copies of the album's show settings and of every
// photo's effect and delay, the photo on display, and the copy back that
// marks the album modified only when something really differs.

#include "album/CShowElemProps.h"
#include "album/CShowProps.h"

#include <cstdint>
#include <string>
#include <vector>

class CShowSetupData {
public:
    static constexpr uint32_t kMaxDelaySeconds = 60000;

    // The album document fills m_showProps, m_elems and m_titles (one per photo).
    CShowSetupData(int nPhotos, int nCurrent);

    // The effect list: ids 1001 … 1008 in this order, and their names.
    static std::vector<int> GetEffectIds();
    static std::string GetEffectName(int nEffectId);
    // The effect list's entry of an id (searched from the end), -1 when none.
    static int FindEffect(int nEffectId);
    // A line of the photo list: "%3d: %s", the title cut at its first carriage return.
    std::string GetPhotoLine(int i) const;
    // The delay field's text as whole seconds 0 … 60000; false when it is not.
    static bool ParseDelay(const std::string& text, uint32_t& nSeconds);

    // Shows the photo to select first (the current index, clamped to -1 … count - 1).
    void Init();
    // Another photo is selected: the values on display go to the photo shown
    // so far, then the new photo's values are shown (-1: none).
    void SelectPhoto(int i);
    // "App&ly to All Photos": the selected effect and the delay for every photo.
    void ApplyToAll();
    // OK: the check boxes and the shown photo's values into the working copies.
    void OnOK();

    // Enable rules of the controls.
    bool IsAutoControlEnabled() const { return m_showProps.m_bAutoAdvance != 0; } // delay, repeat, order
    bool IsTitlesIndexEnabled() const { return m_bTitles; }

    // The album's side after OK: copies the working values back; true when
    // any of them differs from what the album held.
    bool CopyBack(CShowProps& albumProps, const std::vector<CShowElemProps*>& albumElems) const;

    CShowProps m_showProps;
    std::vector<CShowElemProps> m_elems;
    std::vector<std::string> m_titles;

    int m_nShown = -1;       // the photo whose effect and delay are on display
    int m_nEffectEntry = -1; // the effect list's selected entry, -1 when none
    uint32_t m_nDelaySeconds = 0;
    // The check boxes.
    bool m_bTitles = false, m_bTitlesIndex = false, m_bRepeat = false;
    bool m_bCursor = false, m_bPanel = false, m_bFullScreen = false;

private:
    void StoreShown();
    void Show(int i);

    int m_nCurrent;
};
