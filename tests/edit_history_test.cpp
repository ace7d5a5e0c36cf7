// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/edit_history.h"

#include <gtest/gtest.h>

#include <string>

#include "codeplug/document.h"
#include "config/settings.h"
#include "support/quiet_prompts.h"
#include "support/temp_folder.h"

namespace {

const std::string kSettings = std::string(HALVEX_TEST_DATA_DIR) + "/settings/single_bands.ini";

class CountingView : public DocumentView {
public:
    void OnUpdate() override { ++updates; }
    int updates = 0;
};

class EditHistoryTest : public ::testing::Test {
protected:
    EditHistoryTest() {
        m_Document.OnNewDocument(true);
        m_Document.AddView(&m_View);
    }
    void EditReceive(int n, const char* text) {
        m_Document.SetFrequencyText(n, kDecodeSide, text);
        m_Document.CommitEdit("Edit Channel " + std::to_string(n) + " Receive");
    }
    std::string Receive(int n) const { return m_Document.Image().GetFrequencyText(n, kDecodeSide); }

    halvex::test::QuietPrompts m_Prompts;
    CHalvexDoc m_Document{m_Prompts, DocumentSettingsFor(kSettings, 16)};
    CountingView m_View;
    halvex::test::TempFolder m_Folder;
};

TEST_F(EditHistoryTest, UndoAndRedoWalkTheStepsByName) {
    EXPECT_FALSE(m_Document.CanUndo());
    EXPECT_FALSE(m_Document.CanRedo());
    EditReceive(3, "145.50000");
    EditReceive(5, "146.00000");

    EXPECT_EQ(m_Document.UndoName(), "Edit Channel 5 Receive");
    ASSERT_TRUE(m_Document.Undo());
    EXPECT_TRUE(m_Document.Image().IsChannelEmpty(5));
    EXPECT_EQ(Receive(3), "145.50000");
    EXPECT_EQ(m_Document.UndoName(), "Edit Channel 3 Receive");
    EXPECT_EQ(m_Document.RedoName(), "Edit Channel 5 Receive");
    // The view that undid it can find the changed record.
    ASSERT_FALSE(m_Document.LastUndoneRuns().empty());
    EXPECT_EQ(m_Document.LastUndoneRuns().front().offset, kChannelRecordBase + 5 * kRecordSize);

    ASSERT_TRUE(m_Document.Undo());
    EXPECT_TRUE(m_Document.Image().IsChannelEmpty(3));
    EXPECT_FALSE(m_Document.CanUndo());
    EXPECT_FALSE(m_Document.Undo());

    int updates = m_View.updates;
    ASSERT_TRUE(m_Document.Redo());
    EXPECT_GT(m_View.updates, updates);
    EXPECT_EQ(Receive(3), "145.50000");
    EXPECT_TRUE(m_Document.Image().IsChannelEmpty(5));
    EXPECT_EQ(m_Document.RedoName(), "Edit Channel 5 Receive");

    // A new edit after an undo drops what could be redone.
    EditReceive(7, "147.00000");
    EXPECT_FALSE(m_Document.CanRedo());
    EXPECT_FALSE(m_Document.Redo());
    EXPECT_TRUE(m_Document.Image().IsChannelEmpty(5));
    EXPECT_EQ(m_Document.UndoName(), "Edit Channel 7 Receive");
}

TEST_F(EditHistoryTest, NoStepWithoutAChange) {
    EditReceive(3, "145.50000");
    EditReceive(3, "145.50000");
    m_Document.CommitEdit("Nothing");
    ASSERT_TRUE(m_Document.Undo());
    EXPECT_FALSE(m_Document.CanUndo());
}

TEST_F(EditHistoryTest, AChangeWithoutACommitIsNeverLost) {
    m_Document.SetFrequencyText(2, kDecodeSide, "144.00000");
    EditReceive(4, "145.00000");
    ASSERT_TRUE(m_Document.Undo());
    EXPECT_TRUE(m_Document.Image().IsChannelEmpty(2));
    EXPECT_TRUE(m_Document.Image().IsChannelEmpty(4));
    ASSERT_TRUE(m_Document.Redo());
    EXPECT_EQ(Receive(2), "144.00000");
    EXPECT_EQ(Receive(4), "145.00000");

    // Uncommitted when the user undoes: that change is undone first, and can be redone.
    m_Document.SetFrequencyText(6, kDecodeSide, "146.00000");
    EXPECT_TRUE(m_Document.CanUndo());
    EXPECT_FALSE(m_Document.CanRedo());
    ASSERT_TRUE(m_Document.Undo());
    EXPECT_TRUE(m_Document.Image().IsChannelEmpty(6));
    EXPECT_EQ(Receive(4), "145.00000");
    ASSERT_TRUE(m_Document.Redo());
    EXPECT_EQ(Receive(6), "146.00000");
}

TEST_F(EditHistoryTest, TheOldestStepsGiveWayPastTheLimit) {
    const int edits = static_cast<int>(EditHistory::kDefaultStepLimit) + 20;
    for (int k = 0; k < edits; ++k) {
        m_Document.EditImage().SetTone(1, kDecodeSide, k % 2 == 0 ? 1 : 2);
        m_Document.EditImage().SetChannelNameBytes(
            1, {static_cast<uint8_t>(k), static_cast<uint8_t>(k >> 8), 0xFF, 0xFF, 0xFF});
        m_Document.CommitEdit("Step " + std::to_string(k));
    }
    int undone = 0;
    while (m_Document.Undo()) {
        ++undone;
    }
    EXPECT_GE(undone, 200);
    EXPECT_EQ(undone, static_cast<int>(EditHistory::kDefaultStepLimit));
    // The oldest surviving step's "before" is the state after the dropped ones.
    EXPECT_EQ(m_Document.Image().GetChannelNameBytes(1)[0],
              static_cast<uint8_t>(edits - undone - 1));
    EXPECT_EQ(m_Document.RedoName(), "Step " + std::to_string(edits - undone));
    EXPECT_TRUE(m_Document.IsModified());
}

TEST_F(EditHistoryTest, TheModifiedFlagFollowsTheSavedState) {
    std::string path = m_Folder.File("saved.pgm");
    EditReceive(3, "145.50000");
    EXPECT_TRUE(m_Document.IsModified());
    ASSERT_TRUE(m_Document.OnSaveDocument(path));
    EXPECT_FALSE(m_Document.IsModified());

    EditReceive(4, "146.00000");
    EXPECT_TRUE(m_Document.IsModified());
    ASSERT_TRUE(m_Document.Undo());
    EXPECT_FALSE(m_Document.IsModified());
    ASSERT_TRUE(m_Document.Undo());  // past the saved state
    EXPECT_TRUE(m_Document.IsModified());
    ASSERT_TRUE(m_Document.Redo());
    EXPECT_FALSE(m_Document.IsModified());

    // An edit made after undoing past the save drops the saved state for good.
    ASSERT_TRUE(m_Document.Undo());
    EditReceive(5, "147.00000");
    ASSERT_TRUE(m_Document.Undo());
    EXPECT_TRUE(m_Document.IsModified());
    EXPECT_FALSE(m_Document.CanUndo());
}

TEST_F(EditHistoryTest, SavingAddsNoStepOfItsOwn) {
    halvex::test::TempFolder folder;
    std::string path = folder.File("saved.pgm");
    ASSERT_TRUE(m_Document.OnSaveDocument(path));
    EditReceive(3, "145.50000");
    auto bitmapBefore = m_Document.Image().bytes[kEmptyChannelBitmapOffset];
    ASSERT_TRUE(m_Document.SaveWithConfirmation());
    // The derived bytes changed with the save, yet one undo goes back to before the edit.
    ASSERT_NE(m_Document.Image().bytes[kEmptyChannelBitmapOffset], bitmapBefore);
    EXPECT_EQ(m_Document.UndoName(), "Edit Channel 3 Receive");
    EXPECT_FALSE(m_Document.IsModified());
    ASSERT_TRUE(m_Document.Undo());
    EXPECT_TRUE(m_Document.Image().IsChannelEmpty(3));
    EXPECT_EQ(m_Document.Image().bytes[kEmptyChannelBitmapOffset], bitmapBefore);
    EXPECT_FALSE(m_Document.CanUndo());
    ASSERT_TRUE(m_Document.Redo());
    EXPECT_FALSE(m_Document.IsModified());
}

TEST_F(EditHistoryTest, NewOpenAndClearStartAfresh) {
    std::string path = m_Folder.File("saved.pgm");
    EditReceive(3, "145.50000");
    ASSERT_TRUE(m_Document.OnSaveDocument(path));
    EditReceive(4, "146.00000");
    ASSERT_TRUE(m_Document.OnOpenDocument(path));
    EXPECT_FALSE(m_Document.CanUndo());
    EXPECT_FALSE(m_Document.CanRedo());

    EditReceive(4, "146.00000");
    ASSERT_TRUE(m_Document.Undo());
    ASSERT_TRUE(m_Document.OnNewDocument(true));
    EXPECT_FALSE(m_Document.CanUndo());
    EXPECT_FALSE(m_Document.CanRedo());

    // A read leaves a modified document: no position counts as saved afterwards.
    m_Document.SetFrequencyText(2, kDecodeSide, "144.00000");
    m_Document.SetModifiedFlag();
    m_Document.ClearEditHistory();
    EXPECT_FALSE(m_Document.CanUndo());
    EditReceive(3, "145.50000");
    ASSERT_TRUE(m_Document.Undo());
    EXPECT_TRUE(m_Document.IsModified());
    EXPECT_EQ(Receive(2), "144.00000");
}

TEST_F(EditHistoryTest, ARangeChangeIsOneStepWithItsLimits) {
    m_Document.ChangeFrequencyRange(1);
    m_Document.CommitEdit("Frequency Range");
    EXPECT_EQ(m_Document.GetFrequencyLimits().m_FreqMin, 40000000);
    ASSERT_TRUE(m_Document.Undo());
    EXPECT_FALSE(m_Document.CanUndo());
    EXPECT_FALSE(m_Document.IsModified());
    EXPECT_EQ(m_Document.FindModelLine(), 0);
    EXPECT_EQ(m_Document.GetFrequencyLimits().m_FreqMin, 13600000);
}

TEST(EditHistoryRuns, NearbyChangesShareOneRun) {
    EditHistory history(4);
    std::vector<uint8_t> state(64, 0);
    history.Clear(state, true);
    state[1] = 1;
    state[3] = 3;
    state[40] = 9;
    ASSERT_TRUE(history.Commit("a", state));
    state.assign(64, 7);
    const std::vector<ByteRun>* runs = history.Undo(state);
    ASSERT_NE(runs, nullptr);
    ASSERT_EQ(runs->size(), 2u);
    EXPECT_EQ((*runs)[0].offset, 1u);
    EXPECT_EQ((*runs)[0].after, (std::vector<uint8_t>{1, 0, 3}));
    EXPECT_EQ(state, std::vector<uint8_t>(64, 0));
}

}  // namespace
