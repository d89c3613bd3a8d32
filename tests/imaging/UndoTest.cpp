#include "ImagingTestUtil.h"
#include "OperationTestUtil.h"

#include "framework/CException.h"
#include "framework/UserPrompt.h"
#include "imaging/CUndo.h"

#include <gtest/gtest.h>

namespace {

// An enhancer view with its document's image.
struct FakeView : IUndoOwner {
    std::unique_ptr<CDib> m_pDib;
    CDib* GetUndoDib() override { return m_pDib.get(); }
    void SetUndoDib(CDib* p) override {
        (void)m_pDib.release(); // the raw setter replaces the pointer only
        m_pDib.reset(p);
    }
    int Value() { return Px(*m_pDib, 0, 0, 0); }
    // A command: capture, then change the image.
    void Change(int v) {
        CUndo undo(this, m_pDib.get());
        m_pDib = MakeUniform(2, 2, v, v, v);
    }
};

bool s_bPreference = true;

class Undo : public ::testing::Test {
protected:
    void SetUp() override {
        s_bPreference = true;
        CUndo::SetPreferenceSource([] { return s_bPreference; });
        CUndo::InitUndo(true);
        a.m_pDib = MakeUniform(2, 2, 1, 1, 1);
        b.m_pDib = MakeUniform(2, 2, 50, 50, 50);
    }
    void TearDown() override {
        CUndo::ResetUndo();
        CUndo::SetPreferenceSource(nullptr);
    }
    FakeView a, b;
};

} // namespace

TEST_F(Undo, CaptureUndoRedoToggles) {
    EXPECT_FALSE(CUndo::CanUndo(&a));
    a.Change(2);
    EXPECT_EQ(CUndo::s_nUndoKind, 8);
    EXPECT_TRUE(CUndo::CanUndo(&a));
    EXPECT_FALSE(CUndo::CanRedo(&a));
    CUndo::SwapUndo(&a); // undo
    EXPECT_EQ(a.Value(), 1);
    EXPECT_EQ(CUndo::s_nUndoKind, 9);
    EXPECT_EQ(CUndo::s_nRedoKind, 8);
    EXPECT_FALSE(CUndo::CanUndo(&a));
    EXPECT_TRUE(CUndo::CanRedo(&a));
    CUndo::SwapUndo(&a); // redo
    EXPECT_EQ(a.Value(), 2);
    EXPECT_TRUE(CUndo::CanUndo(&a));
    EXPECT_FALSE(CUndo::CanRedo(&a));
    for (int i = 0; i < 5; ++i) {
        CUndo::SwapUndo(&a);
        EXPECT_EQ(a.Value(), 1);
        CUndo::SwapUndo(&a);
        EXPECT_EQ(a.Value(), 2);
    }
}

TEST_F(Undo, TwoChangesUndoTheSecondOnly) {
    a.Change(2);
    a.Change(3);
    CUndo::SwapUndo(&a);
    EXPECT_EQ(a.Value(), 2);
    // A new capture after undo discards the redo.
    a.Change(4);
    EXPECT_FALSE(CUndo::CanRedo(&a));
    CUndo::SwapUndo(&a);
    EXPECT_EQ(a.Value(), 2);
}

TEST_F(Undo, OnlyTheOwnerWindow) {
    a.Change(2);
    EXPECT_FALSE(CUndo::CanUndo(&b));
    EXPECT_FALSE(CUndo::CanUndo(nullptr)); // no tool
    CUndo::SwapUndo(&b);                   // not offered there, and harmless
    EXPECT_EQ(b.Value(), 50);
    EXPECT_EQ(a.Value(), 2);
    // A capture in the other window takes the buffer over.
    b.Change(51);
    EXPECT_FALSE(CUndo::CanUndo(&a));
    EXPECT_TRUE(CUndo::CanUndo(&b));
    CUndo::SwapUndo(&b);
    EXPECT_EQ(b.Value(), 50);
}

TEST_F(Undo, CaptureWithoutImageAndReset) {
    a.Change(2);
    CUndo noImage(&b, nullptr);
    EXPECT_EQ(CUndo::s_nUndoKind, 0);
    EXPECT_EQ(CUndo::s_pUndoOwner, &b);
    EXPECT_FALSE(CUndo::CanUndo(&b));
    EXPECT_FALSE(CUndo::CanRedo(&b));

    a.Change(3);
    CUndo::ResetUndo(); // any enhancer window closing
    EXPECT_FALSE(CUndo::CanUndo(&a));
    EXPECT_EQ(CUndo::s_pSavedDib, nullptr);
    EXPECT_EQ(CUndo::s_pUndoOwner, nullptr);
}

TEST_F(Undo, DisabledAndOptionChange) {
    // Buffer switched to None: shut down, then initialised disabled.
    a.Change(2);
    s_bPreference = false;
    CUndo::ShutdownUndo();
    CUndo::InitUndo(false);
    EXPECT_FALSE(CUndo::s_bUndoEnabled);
    EXPECT_EQ(CUndo::s_pSavedDib, nullptr);
    a.Change(3);
    EXPECT_FALSE(CUndo::CanUndo(&a));
    CUndo::SwapUndo(&a);
    EXPECT_EQ(a.Value(), 3);
    // And back: nothing from before survives.
    s_bPreference = true;
    CUndo::InitUndo(true);
    EXPECT_FALSE(CUndo::CanUndo(&a));
    a.Change(4);
    CUndo::SwapUndo(&a);
    EXPECT_EQ(a.Value(), 3);
}

TEST_F(Undo, CaptureShowsStatusAndEqualsImage) {
    CScriptedPrompt prompt;
    CUserPromptScope scope(&prompt);
    CUndo capture(&a, a.m_pDib.get()); // a cancelled command after its capture
    EXPECT_EQ(prompt.m_status, (std::vector<std::string>{"Saving undo buffer", ""}));
    EXPECT_EQ(prompt.m_nWaitDepth, 0);
    EXPECT_TRUE(SamePixels(*CUndo::s_pSavedDib, *a.m_pDib));
    CUndo::SwapUndo(&a);
    EXPECT_EQ(a.Value(), 1);
}

TEST_F(Undo, FailedCopyLeavesNothingToUndo) {
    a.Change(2);
    {
        CFakeMemory noMemory(0);
        EXPECT_THROW(CUndo(&a, a.m_pDib.get()), CMemoryException);
    }
    EXPECT_FALSE(CUndo::CanUndo(&a));
    EXPECT_FALSE(CUndo::CanRedo(&a));
    CUndo::SwapUndo(&a);
    ASSERT_NE(a.m_pDib, nullptr);
    EXPECT_EQ(a.Value(), 2);
}
