// The "Photo Show Setup" dialog driven through its controls.

#include "framework/UserPrompt.h"
#include "view/CShowSetupDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

CShowElemProps Elem(uint16_t nEffect, uint32_t dwDelay) {
    CShowElemProps e;
    e.m_nEffect = nEffect;
    e.m_dwDelay = dwDelay;
    return e;
}

class ShowSetupDlg : public ::testing::Test {
protected:
    void SetUp() override {
        m_elems = {Elem(1003, 2000), Elem(1007, 1500), Elem(1001, 0)};
        m_pDlg = std::make_unique<CShowSetupDlg>(nullptr, 3, 0);
        CShowSetupData& d = m_pDlg->Data();
        d.m_showProps = m_props;
        d.m_elems = m_elems;
        d.m_titles = {"Beach", "Harbour\r\nat night", "Hills"};
        m_pDlg->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(m_pDlg.get()));
    }
    template <class T> T* Control(int nId) {
        T* p = m_pDlg->findChild<T*>(QString::number(nId));
        EXPECT_TRUE(p) << nId;
        return p;
    }
    void ClickOk() {
        QTest::mouseClick(m_pDlg->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok),
                          Qt::LeftButton);
    }
    bool CopyBack() {
        std::vector<CShowElemProps*> ptrs{&m_elems[0], &m_elems[1], &m_elems[2]};
        return m_pDlg->Data().CopyBack(m_props, ptrs);
    }

    CShowProps m_props;
    std::vector<CShowElemProps> m_elems;
    std::unique_ptr<CShowSetupDlg> m_pDlg;
};

// A click on a check box's or radio button's indicator, as a user makes it.
void ClickIndicator(QAbstractButton* p) {
    QTest::mouseClick(p, Qt::LeftButton, Qt::NoModifier, QPoint(6, p->height() / 2));
}

} // namespace

TEST_F(ShowSetupDlg, ShowsTheAlbumsValues) {
    auto* pPhotos = Control<QListWidget>(CShowSetupDlg::kPhotoList);
    ASSERT_EQ(pPhotos->count(), 3);
    EXPECT_EQ(pPhotos->item(1)->text(), QStringLiteral("  2: Harbour"));
    EXPECT_EQ(pPhotos->currentRow(), 0);
    auto* pEffects = Control<QListWidget>(CShowSetupDlg::kEffectList);
    ASSERT_EQ(pEffects->count(), 8);
    EXPECT_EQ(pEffects->item(7)->text(), QStringLiteral("Wipe NW to SE"));
    EXPECT_EQ(pEffects->currentItem()->text(), QStringLiteral("Puzzle"));
    EXPECT_EQ(Control<QLineEdit>(CShowSetupDlg::kDelay)->text(), QStringLiteral("2"));
    // Another photo shows its own values.
    pPhotos->setCurrentRow(1);
    EXPECT_EQ(pEffects->currentItem()->text(), QStringLiteral("Spiral In"));
    EXPECT_EQ(Control<QLineEdit>(CShowSetupDlg::kDelay)->text(), QStringLiteral("1"));
}

TEST_F(ShowSetupDlg, EnableRules) {
    auto* pDelay = Control<QLineEdit>(CShowSetupDlg::kDelay);
    EXPECT_TRUE(pDelay->isEnabled());
    ClickIndicator(Control<QRadioButton>(CShowSetupDlg::kManual));
    EXPECT_FALSE(pDelay->isEnabled());
    EXPECT_FALSE(Control<QCheckBox>(CShowSetupDlg::kRepeat)->isEnabled());
    EXPECT_FALSE(Control<QRadioButton>(CShowSetupDlg::kRandom)->isEnabled());
    EXPECT_EQ(m_pDlg->Data().m_showProps.m_bAutoAdvance, 0);
    ClickIndicator(Control<QRadioButton>(CShowSetupDlg::kAutomatic));
    EXPECT_TRUE(pDelay->isEnabled());
    auto* pIndex = Control<QCheckBox>(CShowSetupDlg::kTitlesIndex);
    EXPECT_TRUE(pIndex->isEnabled());
    ClickIndicator(Control<QCheckBox>(CShowSetupDlg::kTitles));
    EXPECT_FALSE(pIndex->isEnabled());
}

TEST_F(ShowSetupDlg, OkWithoutChangesLeavesTheAlbumUnmodified) {
    auto* pPhotos = Control<QListWidget>(CShowSetupDlg::kPhotoList);
    pPhotos->setCurrentRow(1);
    pPhotos->setCurrentRow(2);
    ClickOk();
    EXPECT_EQ(m_pDlg->result(), QDialog::Accepted);
    EXPECT_FALSE(CopyBack());
    EXPECT_EQ(m_elems[1].m_dwDelay, 1500u);
}

TEST_F(ShowSetupDlg, ChangesMarkTheAlbumModified) {
    ClickIndicator(Control<QCheckBox>(CShowSetupDlg::kCursor));
    ClickOk();
    EXPECT_TRUE(CopyBack());
    EXPECT_EQ(m_props.m_bCursor, 0);
}

TEST_F(ShowSetupDlg, ApplyToAllWithNoPhotoSelected) {
    auto* pPhotos = Control<QListWidget>(CShowSetupDlg::kPhotoList);
    pPhotos->setCurrentRow(-1);
    EXPECT_EQ(m_pDlg->Data().m_nShown, -1);
    Control<QListWidget>(CShowSetupDlg::kEffectList)->setCurrentRow(4);
    auto* pDelay = Control<QLineEdit>(CShowSetupDlg::kDelay);
    pDelay->clear();
    QTest::keyClicks(pDelay, "4");
    QTest::mouseClick(Control<QPushButton>(CShowSetupDlg::kApplyToAll), Qt::LeftButton);
    ClickOk();
    EXPECT_TRUE(CopyBack());
    for (const CShowElemProps& e : m_elems) EXPECT_EQ(e, Elem(1005, 4000));
}

TEST_F(ShowSetupDlg, DelayOutOfRangeIsRefused) {
    CScriptedPrompt prompt;
    CUserPromptScope scope(&prompt);
    auto* pDelay = Control<QLineEdit>(CShowSetupDlg::kDelay);
    pDelay->clear();
    QTest::keyClicks(pDelay, "60001");
    ClickOk();
    ASSERT_EQ(prompt.m_shown.size(), 1u);
    EXPECT_EQ(prompt.m_shown[0].text, "Please enter a number between 0 and 60000.");
    EXPECT_TRUE(m_pDlg->isVisible());
    // Moving to another photo is refused too, until the delay is mended.
    Control<QListWidget>(CShowSetupDlg::kPhotoList)->setCurrentRow(2);
    EXPECT_EQ(Control<QListWidget>(CShowSetupDlg::kPhotoList)->currentRow(), 0);
    pDelay->clear();
    QTest::keyClicks(pDelay, "60000");
    ClickOk();
    EXPECT_EQ(m_pDlg->result(), QDialog::Accepted);
    EXPECT_TRUE(CopyBack());
    EXPECT_EQ(m_elems[0].m_dwDelay, 60000000u);
}
