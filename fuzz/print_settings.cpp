// Print settings from an arbitrary settings text, then every job laid out and
// one page drawn with them; the length parsers of the dialogs on the same text.

#include "framework/CImageDC.h"
#include "framework/CIniProfileStore.h"
#include "framework/UserPrompt.h"
#include "imaging/CDib.h"
#include "print/CAlbumTextPrintJob.h"
#include "print/CAlbumThumbnailPrintJob.h"
#include "print/CImagePrintJob.h"
#include "print/CPrintInfo.h"
#include "print/IAlbumPrintSource.h"
#include "print/PrintUnits.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

class CFuzzAlbum : public IAlbumPrintSource {
public:
    int GetCount() const override { return 7; }
    std::string GetTitle(int i) const override { return m_text.substr(0, static_cast<size_t>(i) * 5); }
    std::string GetDescription(int) const override { return m_text; }
    std::unique_ptr<CDib> LoadThumbnail(int) override { return std::make_unique<CDib>(24, 5, 3, nullptr); }
    std::unique_ptr<CDib> LoadImage(int) override { return std::make_unique<CDib>(8, 3, 7, nullptr); }
    std::string m_text;
};

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > 4096) return 0;
    const std::string text(reinterpret_cast<const char*>(data), size);
    int v;
    std::string err;
    ValidateLength(CMeasureUnit(size % 2 == 0), text, kMinExtraMargin, kMaxExtraMargin, v, err);
    ValidateInteger(text, 1, kMaxAlbumGrid, v, err);

    CScriptedPrompt prompt;
    CUserPromptScope scope(&prompt);
    CIniProfileStore store;
    store.ParseText(text);
    CImageDC dc(64, 80);
    dc.m_nLogPixels = 24;
    dc.m_bPrinting = true;

    CImagePrintSettings imageSettings;
    imageSettings.Load(store);
    CDib picture(24, 13, 9, nullptr);
    CImagePrintJob imageJob(imageSettings, &picture);
    CPrintInfo info;
    info.m_bPreview = true;
    imageJob.BeginPrinting(dc, info);
    info.m_nCurPage = info.m_nMaxPage;
    imageJob.PrintPage(dc, info);
    imageJob.DrawMiniature(dc, CRect(0, 0, 30, 40));

    CAlbumPrintSettings albumSettings;
    albumSettings.Load(store);
    CFuzzAlbum album;
    album.m_text = text.substr(0, 200);
    CAlbumThumbnailPrintJob sheet(albumSettings, album, {6, 0, 3});
    CPrintInfo sheetInfo;
    sheet.BeginPrinting(dc, sheetInfo);
    sheet.PrintPage(dc, sheetInfo);
    CAlbumTextPrintJob listing(albumSettings, album);
    CPrintInfo listInfo;
    listing.BeginPrinting(dc, listInfo);
    listInfo.m_nCurPage = listInfo.m_nMaxPage;
    listing.PrintPage(dc, listInfo);
    listing.DrawMiniature(dc, CRect(0, 0, 30, 40));
    return 0;
}
