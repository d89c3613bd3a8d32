#pragma once
// The common document base of albums and pictures: the save that asks for a
// name (proposed from the title, checked before the dialog closes, a failed
// new file removed), and what the shared view base asks of any document.

#include "framework/qt/CDocument.h"

#include <functional>
#include <string>

class CBaseDoc : public CDocument {
    DECLARE_DYNAMIC(CBaseDoc)
public:
    bool DoSave(const std::string& path, bool bReplace = true) override;

    // Album documents answer these; a picture document has no photo list.
    virtual bool IsAlbum() const { return false; }
    virtual int GetPhotoCount() const { return 0; }
    virtual int GetCurrentPhoto() const { return -1; }
    virtual void SetCurrentPhoto(int) {}
    // The file that opens in the enhancer for the photo (empty: none).
    virtual std::string GetPictureToOpen(int) const { return {}; }
    // A photo file was written anew: an album holding it drops the
    // thumbnails it shows and repaints.
    virtual void OnPhotoFileChanged(const std::string& /*path*/) {}

    // Asks for the file name of a save: the proposal is shown, a typed name
    // that is not acceptable gives 1023 and the dialog stays open. Empty:
    // cancelled. Tests replace it.
    static std::function<std::string(const std::string& proposal, const std::string& filter)> s_askSaveName;

protected:
    bool m_bAskingName = false; // a save is asking for a name
    bool m_bSaving = false;     // a save runs
};
