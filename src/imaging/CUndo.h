#pragma once
// One level of undo and redo for the whole program: a single saved copy of
// an image, owned by the enhancer view in which the last capture was made.

#include "framework/CObject.h"

#include <memory>

class CDib;

// The enhancer view as the undo buffer sees it. A view passes itself when it
// has a current tool, and null when it has none.
class IUndoOwner {
public:
    virtual ~IUndoOwner() = default;
    // The document's current image, or null.
    virtual CDib* GetUndoDib() = 0;
    // Replaces the document's image pointer; nothing is deleted.
    virtual void SetUndoDib(CDib* pDib) = 0;
};

enum : int {
    kUndoNothing = 0,
    kUndoWholeImage = 8, // the only kind ever recorded
    kUndoUndone = 9,     // the record has just been undone
};

// Constructing a CUndo captures the image; destroying it leaves the buffer alone.
class CUndo : public CObject {
    DECLARE_DYNAMIC(CUndo)
public:
    // Capture (only while the buffer is enabled). A null image empties the
    // record; otherwise the image is copied (CMemoryException leaves the
    // buffer empty) and pOwner becomes the owner.
    CUndo(IUndoOwner* pOwner, const CDib* pImage);

    static bool CanUndo(const IUndoOwner* pOwner);
    static bool CanRedo(const IUndoOwner* pOwner);
    // Undo and Redo both: exchanges the owner's image with the saved one as
    // the state requires.
    static void SwapUndo(IUndoOwner* pOwner);

    static bool InitUndo(bool bEnabled);
    static void ShutdownUndo();
    static void ResetUndo();

    // Where the "Undo Redo"/"Buffer" preference is read when the buffer is
    // shut down or reset; without one the value given to InitUndo is kept.
    static void SetPreferenceSource(bool (*pfnBufferPreference)());

    static bool s_bUndoEnabled;
    static int s_nUndoKind;
    static int s_nRedoKind;
    static IUndoOwner* s_pUndoOwner;
    static std::unique_ptr<CDib> s_pSavedDib;
};
