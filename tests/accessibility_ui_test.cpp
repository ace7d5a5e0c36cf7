// SPDX-License-Identifier: GPL-3.0-or-later
// What a screen reader learns from the running main window: the channel table as a table of
// what the page shows, a name for every control in both languages, the events that make it
// speak as the user moves and edits, and the keys that reach every page without a mouse.
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QToolButton>
#include <QtTest>
#include <vector>

#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "common/dialog_builder.h"
#include "common/relabel.h"
#include "config/language.h"
#include "editors/channel_page.h"
#include "editors/radiogram_dialog.h"
#include "grid/grid_accessible.h"
#include "grid/grid_ctrl.h"
#include "resources/command_ids.h"
#include "resources/dialog_template.h"
#include "support/page_test_support.h"
#include "support/program_globals.h"
#include "support/shell_fixture.h"
#include "view/main_view.h"
#include "view/page_tab_control.h"

namespace {

struct HeardEvent {
    QAccessible::Event type;
    QObject* object;
    int child;
};

std::vector<HeardEvent> g_Heard;

void Hear(QAccessibleEvent* event) {
    g_Heard.push_back({event->type(), event->object(), event->child()});
}

bool WasHeard(QAccessible::Event type, QObject* object, int child = -1) {
    for (const HeardEvent& event : g_Heard) {
        if (event.type == type && event.object == object && event.child == child) {
            return true;
        }
    }
    return false;
}

QString Name(QObject* object) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(object);
    return accessible != nullptr ? accessible->text(QAccessible::Name) : QString();
}

// What a screen reader calls a control by: its name, or for a drop-down list (whose name on
// this desktop is the entry it shows) the label that points at it.
QString SpokenName(QWidget* control) {
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(control);
    if (accessible == nullptr) {
        return QString();
    }
    if (accessible->role() != QAccessible::ComboBox) {
        return accessible->text(QAccessible::Name);
    }
    QStringList labels;
    for (const auto& [label, relation] : accessible->relations(QAccessible::Label)) {
        labels.push_back(label->text(QAccessible::Name));
    }
    return labels.join(QLatin1Char(' '));
}

}  // namespace

class AccessibilityUiTest : public QObject {
    Q_OBJECT

    halvex::test::ShellFixture m_Shell;
    CChannelPage* m_Channels = nullptr;

    CGridCtrl* Grid() const { return m_Channels->Grid(); }
    QAccessibleTableInterface* Table() const {
        return QAccessible::queryAccessibleInterface(Grid())->tableInterface();
    }
    void SwitchLanguage() { m_Shell.App().MainFrame()->OnCommand(kCommandNextLanguage); }

private slots:
    void initTestCase() {
        InstallGridAccessibility();
        QAccessible::installUpdateHandler(Hear);
        // The accessibility bus answers a moment after the program asks for it.
        QTRY_VERIFY2_WITH_TIMEOUT(QAccessible::isActive(), "run beside an accessibility bus",
                                  10000);
    }

    void init() {
        m_Shell.NewFolder().CopyFromBin({"setting.ini", "english.lang", "chinese.lang"});
        QVERIFY(m_Shell.Start());
        for (MainViewPage* page : m_Shell.App().MainFrame()->View()->Pages()) {
            if (auto* channels = dynamic_cast<CChannelPage*>(page)) {
                m_Channels = channels;
            }
        }
        QVERIFY(m_Channels != nullptr);
        g_Heard.clear();
    }

    void cleanup() {
        m_Shell.App().Document().SetModifiedFlag(false);
        QVERIFY(m_Shell.Finish());
    }

    void channelTableReadsWhatThePageShows() {
        m_Shell.App().Document().SetFrequencyText(5, kDecodeSide, "146.12500");
        m_Shell.App().Document().SetFrequencyText(5, kEncodeSide, "000.00000");
        m_Shell.App().ApplyLanguage();
        QAccessibleTableInterface* table = Table();
        QVERIFY(table != nullptr);
        QCOMPARE(table->rowCount(), g_ChannelCount);
        QCOMPARE(table->columnCount(), 13);
        QCOMPARE(Name(Grid()), QStringLiteral("Channel table"));
        for (int row = 0; row < table->rowCount(); row += 9) {
            for (int column = 0; column < 13; ++column) {
                QCOMPARE(table->cellAt(row, column)->text(QAccessible::Name),
                         Grid()->GetCellText(row + 1, column));
            }
        }
        QAccessibleInterface* receive = table->cellAt(4, 1);
        QCOMPARE(receive->text(QAccessible::Name), QStringLiteral("146.12500"));
        QCOMPARE(receive->text(QAccessible::Description),
                 QStringLiteral("Channel 5, ") + Grid()->GetCellText(0, 1));
        QAccessibleTableCellInterface* cell = receive->tableCellInterface();
        QCOMPARE(cell->columnHeaderCells().first()->text(QAccessible::Name),
                 Grid()->GetCellText(0, 1));
        QCOMPARE(cell->rowHeaderCells().first()->text(QAccessible::Name), QStringLiteral("5"));
        QCOMPARE(cell->rowIndex(), 4);
        QVERIFY(receive->state().editable);
        QVERIFY2(table->cellAt(5, 2)->state().readOnly, "an empty channel's tone is locked");
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(Grid());
        QCOMPARE(accessible->indexOfChild(receive), 4 * 13 + 1);
        QCOMPARE(accessible->child(4 * 13 + 1), receive);
        QCOMPARE(table->cellAt(g_ChannelCount, 0), nullptr);
        QCOMPARE(accessible->child(g_ChannelCount * 13), nullptr);

        // Names and places come from the language file, so they follow the switch.
        SwitchLanguage();
        QCOMPARE(Name(Grid()), QStringLiteral("信道表"));
        QCOMPARE(table->cellAt(4, 1)->text(QAccessible::Description),
                 QStringLiteral("信道 5, ") + Grid()->GetCellText(0, 1));
        QCOMPARE(table->cellAt(4, 1)->tableCellInterface()->columnHeaderCells().first()->text(
                     QAccessible::Name),
                 Grid()->GetCellText(0, 1));
    }

    void movingAndEditingIsAnnounced() {
        CMainFrame* frame = m_Shell.App().MainFrame();
        QVERIFY(ShowActive(frame));
        m_Shell.App().Document().SetFrequencyText(2, kDecodeSide, "146.12500");
        m_Shell.App().Document().SetFrequencyText(2, kEncodeSide, "000.00000");
        m_Shell.App().ApplyLanguage();
        Grid()->setFocus(Qt::TabFocusReason);
        QCOMPARE(Grid()->GetFocusCell(), (GridCellId{1, 1}));
        QTRY_VERIFY(WasHeard(QAccessible::Focus, Grid(), 1));
        QTest::keyClick(Grid(), Qt::Key_Down);
        QVERIFY(WasHeard(QAccessible::Focus, Grid(), 13 + 1));
        QVERIFY(Table()->cellAt(1, 1)->state().focused);
        QVERIFY(!Table()->cellAt(0, 1)->state().focused);

        // The editor says which channel and column it edits before the user types.
        QTest::keyClick(Grid(), Qt::Key_Return);
        auto* editor = qobject_cast<QLineEdit*>(QApplication::focusWidget());
        QVERIFY(editor != nullptr);
        QCOMPARE(SpokenName(editor), QStringLiteral("Channel 2, ") + Grid()->GetCellText(0, 1));
        g_Heard.clear();
        QTest::keyClicks(editor, QStringLiteral("999"));
        QTest::keyClick(editor, Qt::Key_Return);
        QCOMPARE(Grid()->GetCellText(2, 1), QStringLiteral("173.99500"));
        QVERIFY2(WasHeard(QAccessible::NameChanged, Grid(), 13 + 1), "the new value is told");
        auto* note = frame->findChild<QLabel*>(QStringLiteral("statusNote"));
        QVERIFY(Name(note).contains(QStringLiteral("999")));
        QVERIFY2(WasHeard(QAccessible::NameChanged, note), "the clamp note is told");

        // A list editor is named through the label it points at, in the current language.
        QTest::keyClick(Grid(), Qt::Key_Right);
        QTest::keyClick(Grid(), Qt::Key_Return);
        auto* list = qobject_cast<QComboBox*>(QApplication::focusWidget());
        QVERIFY(list != nullptr);
        QCOMPARE(SpokenName(list), QStringLiteral("Channel 2, ") + Grid()->GetCellText(0, 2));
        QTest::keyClick(list, Qt::Key_Escape);
        QCOMPARE(QApplication::focusWidget(), Grid());
    }

    void fmPresetsReadAsATableOfPresets() {
        CRadiogramDlg dialog(m_Shell.App().Document(), m_Shell.App().MainFrame());
        QVERIFY(ShowActive(&dialog));
        QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(dialog.Grid());
        QAccessibleTableInterface* table = accessible->tableInterface();
        QCOMPARE(table->rowCount(), 16);
        QCOMPARE(table->columnCount(), 2);
        QCOMPARE(Name(dialog.Grid()), QStringLiteral("FM radio presets"));
        // A new document holds 65M0 in preset 1 and nothing in the others.
        QCOMPARE(table->cellAt(0, 1)->text(QAccessible::Name), QStringLiteral("65M0"));
        QCOMPARE(table->cellAt(2, 1)->text(QAccessible::Description),
                 QStringLiteral("Preset 3, ") + dialog.Grid()->GetCellText(0, 1));
        dialog.Grid()->setFocus(Qt::TabFocusReason);
        QTest::keyClick(dialog.Grid(), Qt::Key_Down);
        QTest::keyClick(dialog.Grid(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), dialog.PresetList());
        QCOMPARE(SpokenName(dialog.PresetList()),
                 QStringLiteral("Preset 2, ") + dialog.Grid()->GetCellText(0, 1));
        QTest::keyClick(dialog.PresetList(), Qt::Key_Escape);
        QCOMPARE(QApplication::focusWidget(), dialog.Grid());
    }

    void everyTemplateControlIsNamed_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("english") << QStringLiteral("english.lang");
        QTest::newRow("chinese") << QStringLiteral("chinese.lang");
    }

    void everyTemplateControlIsNamed() {
        QFETCH(QString, language);
        halvex::test::UseLanguagePath chosen(m_Shell.Folder().File(language.toStdString()));
        std::vector<const DialogTemplate*> templates;
        for (auto list : {ShellDialogTemplates(), PageDialogTemplates(), ToolDialogTemplates()}) {
            for (const DialogTemplate& dialog : list) {
                templates.push_back(&dialog);
            }
        }
        for (const DialogTemplate* dialog : templates) {
            QWidget window;
            QVERIFY(BuildFromTemplate(&window, dialog->id));
            RelabelDialog(&window, dialog->id);
            for (const ControlTemplate& control : dialog->controls) {
                const bool operated =
                    control.kind != ControlKind::Static && control.kind != ControlKind::Icon &&
                    control.kind != ControlKind::GroupBox && control.kind != ControlKind::Grid &&
                    control.kind != ControlKind::TabControl;
                // Hidden ones are the in-cell editors, named when placed, and kept values.
                if (!operated || (control.style & kStyleHidden) != 0) {
                    continue;
                }
                QWidget* widget = nullptr;
                for (QWidget* candidate : window.findChildren<QWidget*>()) {
                    if (ControlId(candidate) == control.id &&
                        qobject_cast<QLabel*>(candidate) == nullptr) {
                        widget = candidate;
                    }
                }
                QVERIFY(widget != nullptr);
                QVERIFY2(!SpokenName(widget).trimmed().isEmpty(),
                         qPrintable(QStringLiteral("control %1 of template %2 has no name")
                                        .arg(control.id)
                                        .arg(dialog->id)));
            }
        }
    }

    void toolbarButtonsTakeTheirTipsInEachLanguage() {
        CMainFrame* frame = m_Shell.App().MainFrame();
        for (int round = 0; round < 2; ++round) {
            for (int command :
                 {kCommandNew, kCommandOpen, kCommandSave, kCommandReadRadio, kCommandWriteRadio,
                  kCommandPrint, kCommandNextLanguage, kCommandHelp}) {
                const std::string key = "IDS_TIP_" + std::to_string(command);
                QCOMPARE(Name(frame->ToolbarButton(command)),
                         QString::fromStdString(LoadLangString(key)));
                QVERIFY(!Name(frame->ToolbarButton(command)).isEmpty());
            }
            SwitchLanguage();
        }
    }

    void pageKeysStepThroughTheTabs_data() {
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        QTest::addColumn<int>("from");
        QTest::addColumn<int>("to");
        const int ctrl = Qt::ControlModifier;
        const int ctrlShift = Qt::ControlModifier | Qt::ShiftModifier;
        QTest::newRow("ctrl+tab") << int(Qt::Key_Tab) << ctrl << 0 << 1;
        QTest::newRow("ctrl+tab wraps") << int(Qt::Key_Tab) << ctrl << 2 << 0;
        QTest::newRow("ctrl+shift+tab") << int(Qt::Key_Backtab) << ctrlShift << 1 << 0;
        QTest::newRow("ctrl+shift+tab wraps") << int(Qt::Key_Backtab) << ctrlShift << 0 << 2;
        QTest::newRow("ctrl+page down") << int(Qt::Key_PageDown) << ctrl << 1 << 2;
        QTest::newRow("ctrl+page up") << int(Qt::Key_PageUp) << ctrl << 1 << 0;
    }

    void pageKeysStepThroughTheTabs() {
        QFETCH(int, key);
        QFETCH(int, modifiers);
        QFETCH(int, from);
        QFETCH(int, to);
        CMainFrame* frame = m_Shell.App().MainFrame();
        QVERIFY(ShowActive(frame));
        CPageTabCtrl* tabs = frame->View()->TabControl();
        tabs->setCurrentIndex(from);
        // From inside the channel table too: it keeps Tab but not Ctrl+Tab.
        if (from == 0) {
            Grid()->setFocus(Qt::TabFocusReason);
            QTRY_VERIFY(Grid()->hasFocus());
        }
        const GridCellId cell = Grid()->GetFocusCell();
        QWidget* target =
            QApplication::focusWidget() != nullptr ? QApplication::focusWidget() : frame;
        QTest::keyClick(target, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(tabs->currentIndex(), to);
        QCOMPARE(Grid()->GetFocusCell(), cell);
        QWidget* focus = QApplication::focusWidget();
        QVERIFY2(focus != nullptr && tabs->widget(to)->isAncestorOf(focus),
                 "the keyboard goes on inside the page shown");
    }
};

QTEST_MAIN(AccessibilityUiTest)
#include "accessibility_ui_test.moc"
