#pragma once
// The common part of album prints: which photos are printed, in what order.

#include "print/CAlbumPrintSettings.h"
#include "print/CPrintJob.h"

#include <vector>

class IAlbumPrintSource;

class CAlbumPrintJob : public CPrintJob {
public:
    // selection: the view's selected photos in selection order, printed when
    // the settings say "selected thumbnails" (indexes outside the album are
    // left out).
    CAlbumPrintJob(CAlbumPrintSettings& settings, IAlbumPrintSource& source, std::vector<int> selection = {});

    int ItemCount() const override;
    // The album index of printed item k.
    int ItemIndex(int k) const;
    // The caption of item k: "%d" of its album number, ": ", the title.
    std::string ItemCaption(int k, bool bIndex, bool bTitle) const;
    const CAlbumPrintSettings& GetAlbumSettings() const { return m_albumSettings; }

protected:
    CAlbumPrintSettings& m_albumSettings;
    IAlbumPrintSource& m_source;
    std::vector<int> m_selection;
};
