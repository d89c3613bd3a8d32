#pragma once
// Rules of the album window that need no window: where dragged photos go,
// which photo is selected after a delete, the frame title, the proposed
// file name of a save and the check of a typed one, and the information
// dialog's date and time texts.

#include <ctime>
#include <string>
#include <utility>
#include <vector>

// The moves (from, to) that drop the selected photos at position nDrop
// (0 ... count), each applied in turn with the album's move rule. The
// selection is sorted and its duplicates dropped first. Photos dragged
// forward keep their order; photos dragged backward end up reversed.
std::vector<std::pair<int, int>> DropMoves(std::vector<int> selection, int nDrop);

// The album's move rule on a plain list (what CAlbum::MovePhoto does).
template <class T> void ApplyMove(std::vector<T>& items, int nFrom, int nTo) {
    const int n = static_cast<int>(items.size());
    if (nFrom < 0 || nFrom >= n || nTo == nFrom) return;
    if (nTo > nFrom) --nTo;
    nTo = nTo < 0 ? 0 : (nTo > n - 1 ? n - 1 : nTo);
    T item = std::move(items[static_cast<size_t>(nFrom)]);
    items.erase(items.begin() + nFrom);
    items.insert(items.begin() + nTo, std::move(item));
}

// The item selected after deleting: the one before the lowest removed index,
// raised to the first visible item and lowered to the last one; -1 when
// nothing remains.
int SelectionAfterDelete(int nLowestRemoved, int nTopIndex, int nRemaining);

// The scale's display name: "Tiny" ... "Undefined" (scale modulo 7).
std::string ScaleName(int nScale);
// "%s - %s": the document title and the scale's name.
std::string AlbumFrameTitle(const std::string& docTitle, int nScale);

// The name a save proposes: the title without the default extension, cut to
// 8 characters and at the first of "#%;/\", then the default extension.
std::string ProposeSaveName(const std::string& title, const std::string& defaultExt);
// Whether a typed file name can be used: not empty, no wildcard, quote,
// angle bracket, bar or control character in its name part, and a name part
// that does not end in a blank or a dot.
bool IsAcceptableFileName(const std::string& name);

// The album file's date "month/day/year" (years before 2000 with two
// digits, as "95") and its time "hh:mm:ss AM" on the 12-hour clock.
std::string InfoDateText(const std::tm& t);
std::string InfoTimeText(const std::tm& t);
