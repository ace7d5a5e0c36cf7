// SPDX-License-Identifier: GPL-3.0-or-later
// Many channels at once in the running main window: the find bar and its keys, and Set for
// Selected Channels through its dialog as one named undo step with the skipped channels told.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QtTest>

#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "common/message_box.h"
#include "common/step_names.h"
#include "editors/channel_bulk_dialogs.h"
#include "editors/channel_commit.h"
#include "editors/channel_find_bar.h"
#include "editors/channel_page.h"
#include "grid/grid_ctrl.h"
#include "resources/command_ids.h"
#include "support/next_modal.h"
#include "support/page_test_support.h"
#include "support/shell_fixture.h"
#include "view/main_view.h"

class ChannelBulkUiTest : public QObject {
    Q_OBJECT
private slots:
    void init() {
        m_Shell.NewFolder().CopyFromBin({"setting.ini", "english.lang"});
        QVERIFY(m_Shell.Start());
        m_Page = Frame()->View()->ChannelPage();
        QVERIFY(m_Page != nullptr);
        QVERIFY(ShowActive(Frame()));
        for (auto [n, frequency, name] :
             {std::tuple{3, "146.52", "ALPHA"}, std::tuple{4, "147.00", "BRAVO"},
              std::tuple{5, "147.50", "CHARL"}, std::tuple{90, "151.00", "BRAV2"}}) {
            CommitReceiveFrequency(Document(), n, frequency);
            CommitChannelName(Document(), n, name);
        }
        Document().SetModifiedFlag(false);
        Document().ClearEditHistory();
        Document().UpdateAllViews();
        MessageBox::ClearShown();
    }

    void cleanup() {
        Document().SetModifiedFlag(false);
        QVERIFY(m_Shell.Finish());
    }

    // What Find finds is the selection: the next channel command acts on it, not on the rows
    // chosen before.
    void findBarFollowsTheTextAndItsKeys() {
        CChannelFindBar* bar = m_Page->FindBar();
        m_Page->SelectChannels({1, 2});
        Grid()->setFocus();
        QTest::keyClick(Grid(), Qt::Key_F, Qt::ControlModifier);
        QVERIFY(bar->isVisible());
        QVERIFY(bar->Edit()->hasFocus());
        const struct {
            const char* typed;  // nullptr: the key instead
            Qt::Key key;
            Qt::KeyboardModifiers modifiers;
            int row;
            const char* status;
        } steps[] = {
            {"bra", Qt::Key_unknown, {}, 4, "Channel 4: 147.00000 BRAVO (1 of 2)"},
            {nullptr, Qt::Key_F3, {}, 90, "Channel 90: 151.00000 BRAV2 (2 of 2)"},
            {nullptr, Qt::Key_F3, {}, 4, "Channel 4: 147.00000 BRAVO (1 of 2)"},
            {nullptr, Qt::Key_F3, Qt::ShiftModifier, 90, "Channel 90: 151.00000 BRAV2 (2 of 2)"},
            {"147.5", Qt::Key_unknown, {}, 5, "Channel 5: 147.50000 CHARL (1 of 1)"},
            {"zz", Qt::Key_unknown, {}, 5, "No match"},
        };
        for (const auto& step : steps) {
            if (step.typed != nullptr) {
                TypeInto(bar->Edit(), QString::fromLatin1(step.typed));
            } else {
                QTest::keyClick(bar->Edit(), step.key, step.modifiers);
            }
            QCOMPARE(Grid()->GetFocusCell().row, step.row);
            QCOMPARE(m_Page->SelectedChannels(), std::vector<int>{step.row});
            QCOMPARE(bar->StatusText(), QString::fromLatin1(step.status));
            // The field being typed in is what a screen reader follows.
            QVERIFY(bar->Edit()->accessibleName().endsWith(bar->StatusText()));
        }
        QTest::keyClick(bar->Edit(), Qt::Key_Escape);
        QVERIFY(!bar->isVisible());
        QVERIFY(Grid()->hasFocus());
        QVERIFY(!Document().IsModified());
        Command(kCommandDeleteChannel);
        QCOMPARE(Grid()->GetCellText(3, kColumnName), QStringLiteral("ALPHA"));
        QCOMPARE(Grid()->GetCellText(4, kColumnName), QStringLiteral("BRAVO"));
        QVERIFY(Grid()->GetCellText(5, kColumnName) != QStringLiteral("CHARL"));
    }

    void setForSelectedIsOneNamedStepAndTellsWhatItSkipped() {
        const auto before = Document().Image().bytes;
        m_Page->SelectChannels({3, 4, 5, 6});
        halvex::test::NextModal<CSetColumnDlg> power([](CSetColumnDlg& dialog) {
            ChooseWithKeys(dialog.ColumnList(), dialog.ColumnList()->findText("Power"));
            ChooseWithKeys(dialog.ValueList(), 0);
            dialog.accept();
        });
        Command(kCommandSetForSelected);
        QVERIFY(power.Shown());
        for (int n : {3, 4, 5}) {
            QVERIFY(!Document().Image().GetPowerHigh(n));
            QCOMPARE(Grid()->GetCellText(n, kColumnPower), QStringLiteral("Low"));
        }
        QCOMPARE(StepText(Document().UndoName()), QStringLiteral("Set Power of Channels 3-5"));
        QCOMPARE(MessageBox::Shown().size(), size_t(1));
        QVERIFY(MessageBox::Shown().front().text.find("left as they were: 6") != std::string::npos);
        QCOMPARE(m_Page->SelectedChannels(), (std::vector<int>{3, 4, 5, 6}));
        Command(kCommandUndo);
        QVERIFY(Document().Image().bytes == before);
        QCOMPARE(Grid()->GetCellText(4, kColumnPower), QStringLiteral("High"));

        // A transmit offset that is no number keeps the dialog open and changes nothing.
        m_Page->SelectChannels({3, 4});
        halvex::test::NextModal<CSetColumnDlg> offset([](CSetColumnDlg& dialog) {
            ChooseWithKeys(dialog.ColumnList(), dialog.ColumnList()->findData(kColumnTransmit));
            QVERIFY(dialog.OffsetEdit()->isVisibleTo(&dialog));
            TypeInto(dialog.OffsetEdit(), "+0.6MHz");
            dialog.accept();
            QVERIFY(dialog.isVisible());
            dialog.reject();
        });
        Command(kCommandSetForSelected);
        QVERIFY(offset.Shown());
        QVERIFY(Document().Image().bytes == before);
    }

private:
    CMainFrame* Frame() const { return m_Shell.App().MainFrame(); }
    CHalvexDoc& Document() const { return m_Shell.App().Document(); }
    CGridCtrl* Grid() const { return m_Page->Grid(); }
    void Command(int command) {
        QAction* action = Frame()->MenuAction(command);
        emit qobject_cast<QMenu*>(action->parent())->aboutToShow();
        QVERIFY2(action->isEnabled(), QByteArray::number(command));
        action->trigger();
    }

    halvex::test::ShellFixture m_Shell;
    CChannelPage* m_Page = nullptr;
};

QTEST_MAIN(ChannelBulkUiTest)
#include "channel_bulk_ui_test.moc"
