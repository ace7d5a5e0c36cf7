// SPDX-License-Identifier: GPL-3.0-or-later
// The in-cell drop-down lists of the channel table and the FM presets on a real X server,
// where opening a pop-up really moves the keyboard focus: the list opens with the mouse,
// F4 and Alt+Down, a click on an entry commits it, Escape keeps the old value, and typing
// searches without committing.
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QScrollBar>
#include <QStyleOptionComboBox>
#include <QTest>
#include <functional>
#include <memory>

#include "codeplug/document.h"
#include "codeplug/radiogram_codes.h"
#include "common/dialog_builder.h"
#include "config/app_globals.h"
#include "config/settings.h"
#include "editors/channel_commit.h"
#include "editors/channel_page.h"
#include "editors/radiogram_dialog.h"
#include "grid/grid_ctrl.h"
#include "resources/ids/channel_page_ids.h"
#include "support/channel_fixture.h"
#include "support/page_test_support.h"
#include "support/program_globals.h"

namespace {

enum class Opening { ArrowClick, F4, AltDown };

// Long enough for the window system to deliver the focus changes a pop-up causes, and for
// the pop-up to take clicks (it ignores a release within a double-click time of opening).
int SettleMs() {
    return QApplication::doubleClickInterval() + 200;
}

void ClickArrow(QComboBox* list) {
    QStyleOptionComboBox option;
    option.initFrom(list);
    option.editable = false;
    option.subControls = QStyle::SC_All;
    const QRect arrow =
        list->style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxArrow, list);
    QTest::mouseClick(list, Qt::LeftButton, Qt::NoModifier, arrow.center());
}

void OpenList(QComboBox* list, Opening opening) {
    switch (opening) {
        case Opening::ArrowClick:
            ClickArrow(list);
            break;
        case Opening::F4:
            QTest::keyClick(list, Qt::Key_F4);
            break;
        case Opening::AltDown:
            QTest::keyClick(list, Qt::Key_Down, Qt::AltModifier);
            break;
    }
}

void ClickEntry(QComboBox* list, int index) {
    QAbstractItemView* view = list->view();
    view->scrollTo(view->model()->index(index, 0));
    const QRect rect = view->visualRect(view->model()->index(index, 0));
    // An entry may be wider than the pop-up, which sits over a narrow cell.
    const QPoint at(view->viewport()->width() / 2, rect.center().y());
    QTest::mouseClick(view->viewport(), Qt::LeftButton, Qt::NoModifier, at);
}

}  // namespace

class CellListsTest : public QObject {
    Q_OBJECT

    halvex::test::ChannelFixture m_Channels;
    std::unique_ptr<CHalvexDoc> m_Doc;
    std::unique_ptr<QWidget> m_Window;
    std::unique_ptr<CRadiogramDlg> m_Dialog;
    CChannelPage* m_Page = nullptr;

    // One in-cell list: the cell that opens it and what the cell stores.
    struct ListCase {
        CGridCtrl* grid;
        int row, column;
        QComboBox* list;
        std::function<int()> stored;
        int chosenIndex;  // an entry other than the stored one
        int chosenValue;  // what choosing it stores
        QString search;   // typed keys that select another entry
    };

    QByteArray Image() const {
        return QByteArray(reinterpret_cast<const char*>(m_Doc->Image().bytes.data()),
                          static_cast<qsizetype>(m_Doc->Image().bytes.size()));
    }

    void OpenChannelPage() {
        m_Doc = m_Channels.NewDocument();
        QVERIFY(m_Doc != nullptr);
        CommitReceiveFrequency(*m_Doc, 1, "146.12500");
        m_Doc->SetModifiedFlag(false);
        m_Window = std::make_unique<QWidget>();
        m_Page = new CChannelPage(*m_Doc, m_Channels.Folder().SettingsPath(), m_Window.get());
        m_Window->resize(m_Page->size());
        QVERIFY(ShowActive(m_Window.get()));
    }

    void OpenPresets() {
        m_Doc = m_Channels.NewDocument();
        QVERIFY(m_Doc != nullptr);
        m_Dialog = std::make_unique<CRadiogramDlg>(*m_Doc);
        QVERIFY(ShowActive(m_Dialog.get()));
    }

    ListCase Case(const QByteArray& name) {
        if (name == "presets") {
            OpenPresets();
            return {m_Dialog->Grid(),
                    1,
                    1,
                    m_Dialog->PresetList(),
                    [this] { return m_Doc->Image().GetWord(kFmPresetBase, 1); },
                    225,
                    225,
                    QStringLiteral("9")};
        }
        OpenChannelPage();
        if (name == "decode") {
            return {m_Page->Grid(),
                    1,
                    kColumnDecode,
                    FindControl<QComboBox>(m_Page, kDecodeListId),
                    [this] { return m_Doc->Image().GetTone(1, kDecodeSide); },
                    5,
                    5,
                    QStringLiteral("D")};
        }
        if (name == "encode") {
            return {m_Page->Grid(),
                    1,
                    kColumnEncode,
                    FindControl<QComboBox>(m_Page, kEncodeListId),
                    [this] { return m_Doc->Image().GetTone(1, kEncodeSide); },
                    7,
                    7,
                    QStringLiteral("D")};
        }
        return {m_Page->Grid(),
                1,
                kColumnBandwidth,
                FindControl<QComboBox>(m_Page, kChoiceListId),
                [this] { return m_Doc->Image().GetBandwidth(1); },
                2,
                2,
                QStringLiteral("M")};
    }

    void ClickCell(const ListCase& list) {
        QRect rect;
        QVERIFY(list.grid->CellRect(list.row, list.column, &rect));
        QTest::mouseClick(list.grid->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
        QTRY_VERIFY(list.list->isVisible());
        QTRY_VERIFY(list.list->hasFocus());
    }

private slots:
    void initTestCase() {
        std::string error;
        QVERIFY2(m_Channels.Start(&error), error.c_str());
        halvex::test::SetChannelCount(16);
    }

    void cleanup() {
        m_Dialog.reset();
        m_Window.reset();
        m_Page = nullptr;
    }

    void opensAndCommitsAClickedEntry_data() {
        QTest::addColumn<QByteArray>("list");
        QTest::addColumn<Opening>("opening");
        for (const char* list : {"decode", "encode", "choice", "presets"}) {
            QTest::addRow("%s by the arrow", list) << QByteArray(list) << Opening::ArrowClick;
            QTest::addRow("%s by F4", list) << QByteArray(list) << Opening::F4;
            QTest::addRow("%s by Alt+Down", list) << QByteArray(list) << Opening::AltDown;
        }
    }

    void opensAndCommitsAClickedEntry() {
        QFETCH(QByteArray, list);
        QFETCH(Opening, opening);
        const ListCase under = Case(list);
        ClickCell(under);
        OpenList(under.list, opening);
        QTRY_VERIFY(under.list->view()->isVisible());
        QTest::qWait(SettleMs());
        QVERIFY2(under.list->view()->isVisible(), "the pop-up closed by itself");
        QVERIFY2(under.list->isVisible(), "the cell editor closed under its pop-up");
        QVERIFY(!m_Doc->IsModified());
        // A scrolling list as tall as the template asks, not one of every entry.
        QAbstractItemView* view = under.list->view();
        QVERIFY(under.list->maxVisibleItems() >= 8);
        QVERIFY(view->height() <= (under.list->maxVisibleItems() + 1) * view->sizeHintForRow(0));
        QCOMPARE(view->verticalScrollBar()->isVisible(),
                 under.list->count() > under.list->maxVisibleItems());

        ClickEntry(under.list, under.chosenIndex);
        QTRY_VERIFY(!under.list->view()->isVisible());
        QTRY_VERIFY(!under.list->isVisible());
        QCOMPARE(under.stored(), under.chosenValue);
        QCOMPARE(under.grid->GetCellText(under.row, under.column),
                 under.list->itemText(under.chosenIndex));
        QVERIFY(m_Doc->IsModified());
        QVERIFY(under.grid->hasFocus());
    }

    void escapeKeepsTheOldValue_data() {
        QTest::addColumn<QByteArray>("list");
        for (const char* list : {"decode", "choice", "presets"}) {
            QTest::addRow("%s", list) << QByteArray(list);
        }
    }

    void escapeKeepsTheOldValue() {
        QFETCH(QByteArray, list);
        const ListCase under = Case(list);
        const QByteArray before = Image();
        const QString shown = under.grid->GetCellText(under.row, under.column);
        ClickCell(under);
        OpenList(under.list, Opening::F4);
        QTRY_VERIFY(under.list->view()->isVisible());
        QTest::qWait(SettleMs());
        QTest::keyClick(under.list->view(), Qt::Key_Down);
        QTest::keyClick(under.list->view(), Qt::Key_Escape);
        QTRY_VERIFY(!under.list->view()->isVisible());
        QTest::qWait(SettleMs());
        QCOMPARE(Image(), before);
        QCOMPARE(under.grid->GetCellText(under.row, under.column), shown);

        // The second Escape closes the editor, still without a change.
        if (under.list->isVisible()) {
            QTest::keyClick(under.list, Qt::Key_Escape);
        }
        QTRY_VERIFY(!under.list->isVisible());
        QCOMPARE(Image(), before);
        QCOMPARE(under.grid->GetCellText(under.row, under.column), shown);
    }

    void typingSearchesWithoutCommitting_data() {
        QTest::addColumn<QByteArray>("list");
        for (const char* list : {"decode", "choice", "presets"}) {
            QTest::addRow("%s", list) << QByteArray(list);
        }
    }

    void typingSearchesWithoutCommitting() {
        QFETCH(QByteArray, list);
        const ListCase under = Case(list);
        const QByteArray before = Image();
        ClickCell(under);
        const int shownIndex = under.list->currentIndex();
        QTest::keyClicks(under.list, under.search);
        QTest::qWait(SettleMs());
        QVERIFY2(under.list->isVisible(), "the first key closed the editor");
        QVERIFY(under.list->currentIndex() != shownIndex);
        QCOMPARE(Image(), before);

        // Enter takes what the search found.
        const int found = under.list->currentIndex();
        QTest::keyClick(under.list, Qt::Key_Return);
        QTRY_VERIFY(!under.list->isVisible());
        QCOMPARE(under.grid->GetCellText(under.row, under.column), under.list->itemText(found));
        QVERIFY(m_Doc->IsModified());
    }
};

QTEST_MAIN(CellListsTest)
#include "cell_lists_test.moc"
