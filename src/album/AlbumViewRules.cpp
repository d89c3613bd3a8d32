#include "album/AlbumViewRules.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <string_view>

std::vector<std::pair<int, int>> DropMoves(std::vector<int> s, int nDrop) {
    std::sort(s.begin(), s.end());
    s.erase(std::unique(s.begin(), s.end()), s.end());
    const size_t n = s.size();
    // Each photo moved from before the drop position shifts the later ones
    // (still before it) down by one.
    for (size_t j = 1; j < n; ++j)
        for (size_t k = j; k < n; ++k)
            if (s[k] < nDrop) --s[k];
    std::vector<std::pair<int, int>> moves;
    moves.reserve(n);
    for (size_t k = 0; k < n; ++k) moves.emplace_back(s[k], nDrop);
    return moves;
}

int SelectionAfterDelete(int nLowestRemoved, int nTopIndex, int nRemaining) {
    if (nRemaining <= 0) return -1;
    int sel = nLowestRemoved - 1;
    if (sel < nTopIndex) sel = nTopIndex;
    if (sel > nRemaining - 1) sel = nRemaining - 1;
    return std::max(sel, 0);
}

std::string ScaleName(int nScale) {
    static const char* const kNames[7] = {"Tiny",        "Small",         "Medium",   "Large",
                                          "Extra Large", "User  Defined", "Undefined"};
    return kNames[((nScale % 7) + 7) % 7];
}

std::string AlbumFrameTitle(const std::string& docTitle, int nScale) {
    return docTitle + " - " + ScaleName(nScale);
}

namespace {

bool EndsWithNoCase(const std::string& s, const std::string& end) {
    if (end.empty() || s.size() < end.size()) return false;
    return std::equal(end.rbegin(), end.rend(), s.rbegin(), [](char a, char b) {
        return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
    });
}

} // namespace

std::string ProposeSaveName(const std::string& title, const std::string& defaultExt) {
    std::string name = title;
    // A loaded document's title is its file name: its extension is not repeated.
    if (EndsWithNoCase(name, defaultExt)) name.resize(name.size() - defaultExt.size());
    if (name.size() > 8) name.resize(8);
    if (size_t cut = name.find_first_of("#%;/\\"); cut != std::string::npos) name.resize(cut);
    return name + defaultExt;
}

bool IsAcceptableFileName(const std::string& name) {
    const size_t slash = name.find_last_of('/');
    const std::string part = slash == std::string::npos ? name : name.substr(slash + 1);
    if (part.empty() || part == "." || part == "..") return false;
    for (char c : part)
        if (static_cast<unsigned char>(c) < 32 || std::string_view("*?\"<>|\\").find(c) != std::string::npos)
            return false;
    return part.back() != ' ' && part.back() != '.';
}

std::string InfoDateText(const std::tm& t) {
    const int year = t.tm_year < 100 ? t.tm_year : t.tm_year + 1900;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%d/%d/%d", t.tm_mon + 1, t.tm_mday, year);
    return buf;
}

std::string InfoTimeText(const std::tm& t) {
    int hour = t.tm_hour;
    const char* half = hour >= 12 ? "PM" : "AM";
    if (hour > 12) hour -= 12;
    if (hour == 0) hour = 12;
    char buf[48];
    std::snprintf(buf, sizeof buf, "%02d:%02d:%02d %s", hour, t.tm_min, t.tm_sec, half);
    return buf;
}
