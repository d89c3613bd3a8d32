#include "print/CAlbumPrintJob.h"

#include "print/IAlbumPrintSource.h"

CAlbumPrintJob::CAlbumPrintJob(CAlbumPrintSettings& settings, IAlbumPrintSource& source,
                               std::vector<int> selection)
    : CPrintJob(settings), m_albumSettings(settings), m_source(source) {
    const int n = source.GetCount();
    for (int i : selection)
        if (i >= 0 && i < n) m_selection.push_back(i);
}

int CAlbumPrintJob::ItemCount() const {
    return m_albumSettings.m_bAllThumbnails ? m_source.GetCount() : static_cast<int>(m_selection.size());
}

int CAlbumPrintJob::ItemIndex(int k) const {
    return m_albumSettings.m_bAllThumbnails ? k : m_selection.at(static_cast<size_t>(k));
}

std::string CAlbumPrintJob::ItemCaption(int k, bool bIndex, bool bTitle) const {
    std::string s;
    const int i = ItemIndex(k);
    if (bIndex) s = std::to_string(i + 1);
    if (bIndex && bTitle) s += ": ";
    if (bTitle) s += m_source.GetTitle(i);
    return s;
}
