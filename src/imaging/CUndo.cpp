#include "imaging/CUndo.h"

#include "framework/StringTable.h"
#include "framework/UserPrompt.h"
#include "imaging/CDib.h"

IMPLEMENT_DYNAMIC(CUndo, CObject)

bool CUndo::s_bUndoEnabled = false;
int CUndo::s_nUndoKind = kUndoNothing;
int CUndo::s_nRedoKind = kUndoNothing;
IUndoOwner* CUndo::s_pUndoOwner = nullptr;
std::unique_ptr<CDib> CUndo::s_pSavedDib;

namespace {

constexpr uint32_t IDS_SAVING_UNDO = 1024;

bool s_bInitPreference = false;
bool (*s_pfnPreference)() = nullptr;

bool BufferPreference() {
    return s_pfnPreference ? s_pfnPreference() : s_bInitPreference;
}

// Hourglass (and a status message) for as long as the object lives.
class CUndoBusy {
public:
    explicit CUndoBusy(uint32_t nStatusId = 0) : m_bStatus(nStatusId != 0) {
        GetUserPrompt().BeginWaitCursor();
        if (m_bStatus) GetUserPrompt().SetStatusText(LoadResString(nStatusId));
    }
    ~CUndoBusy() {
        if (m_bStatus) GetUserPrompt().SetStatusText({});
        GetUserPrompt().EndWaitCursor();
    }
    CUndoBusy(const CUndoBusy&) = delete;
    CUndoBusy& operator=(const CUndoBusy&) = delete;

private:
    bool m_bStatus;
};

void ExchangeImages(IUndoOwner* pOwner) {
    CDib* pCurrent = pOwner->GetUndoDib();
    pOwner->SetUndoDib(CUndo::s_pSavedDib.release());
    CUndo::s_pSavedDib.reset(pCurrent);
}

} // namespace

CUndo::CUndo(IUndoOwner* pOwner, const CDib* pImage) {
    if (!s_bUndoEnabled) return;
    if (!pImage) {
        s_nUndoKind = kUndoNothing;
        s_nRedoKind = kUndoNothing;
        s_pUndoOwner = pOwner;
        s_pSavedDib.reset();
        return;
    }
    CUndoBusy busy(IDS_SAVING_UNDO);
    // The old copy goes first to make room; until the new one exists the
    // buffer is empty, so a failed copy never leaves a record without image.
    s_pSavedDib.reset();
    s_nUndoKind = kUndoNothing;
    s_nRedoKind = kUndoNothing;
    s_pUndoOwner = nullptr;
    s_pSavedDib = std::make_unique<CDib>(*pImage);
    s_nUndoKind = kUndoWholeImage;
    s_pUndoOwner = pOwner;
}

bool CUndo::CanUndo(const IUndoOwner* pOwner) {
    return s_nUndoKind != kUndoNothing && s_nUndoKind != kUndoUndone && pOwner && pOwner == s_pUndoOwner;
}

bool CUndo::CanRedo(const IUndoOwner* pOwner) {
    return s_nRedoKind != kUndoNothing && pOwner && pOwner == s_pUndoOwner;
}

void CUndo::SwapUndo(IUndoOwner* pOwner) {
    // Only the owner's window offers Undo and Redo; a call from elsewhere
    // must not hand it another window's image.
    if (!s_bUndoEnabled || !pOwner || pOwner != s_pUndoOwner) return;
    CUndoBusy busy;
    const int nPrevious = s_nRedoKind;
    s_nRedoKind = s_nUndoKind;
    s_nUndoKind = kUndoUndone;
    if (s_nRedoKind == kUndoWholeImage) {
        ExchangeImages(pOwner);
    } else if (s_nRedoKind == kUndoUndone) {
        s_nRedoKind = kUndoNothing;
        s_nUndoKind = nPrevious;
        if (nPrevious == kUndoWholeImage) ExchangeImages(pOwner);
    }
}

bool CUndo::InitUndo(bool bEnabled) {
    s_nUndoKind = kUndoNothing;
    s_nRedoKind = kUndoNothing;
    s_bUndoEnabled = bEnabled;
    s_bInitPreference = bEnabled;
    return true;
}

void CUndo::ShutdownUndo() {
    if (!s_bUndoEnabled) return;
    s_pSavedDib.reset();
    s_bUndoEnabled = BufferPreference();
    s_nUndoKind = kUndoNothing;
    s_nRedoKind = kUndoNothing;
    s_pUndoOwner = nullptr;
}

void CUndo::ResetUndo() {
    s_pSavedDib.reset();
    s_bUndoEnabled = BufferPreference();
    s_nUndoKind = kUndoNothing;
    s_nRedoKind = kUndoNothing;
    s_pUndoOwner = nullptr;
}

void CUndo::SetPreferenceSource(bool (*pfnBufferPreference)()) {
    s_pfnPreference = pfnBufferPreference;
}
