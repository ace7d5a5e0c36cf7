// SPDX-License-Identifier: GPL-3.0-or-later
// Every dialog template builds into widgets that carry their ids and fit their dialog, and
// relabelling from the language file reaches exactly the direct children it should.
#include <QComboBox>
#include <QFontDatabase>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QtTest>
#include <set>

#include "common/dialog_builder.h"
#include "common/relabel.h"
#include "config/app_globals.h"
#include "resources/dialog_template.h"
#include "resources/ids/channel_page_ids.h"
#include "resources/ids/function_page_ids.h"
#include "resources/ids/language_ids.h"
#include "resources/ids/password_ids.h"
#include "resources/ids/port_ids.h"
#include "support/module_folder.h"
#include "support/program_globals.h"

namespace {

// Numbers on purpose: the language files title each dialog by its template's number, so a
// renumbered template must fail here rather than lose its title in every language.
const int kAllTemplates[] = {100, 101, 130, 131, 132, 134, 135, 136, 138,
                             150, 151, 155, 156, 160, 165, 170, 171, 172};

}  // namespace

class DialogTemplatesTest : public QObject {
    Q_OBJECT
private slots:
    void everyTemplateBuildsInsideItsDialog_data() {
        QTest::addColumn<int>("templateId");
        for (int id : kAllTemplates) {
            QTest::addRow("%d", id) << id;
        }
    }
    void everyTemplateBuildsInsideItsDialog() {
        QFETCH(int, templateId);
        const DialogTemplate* dialog = FindDialogTemplate(templateId);
        QVERIFY(dialog != nullptr);
        QWidget window;
        QVERIFY(BuildFromTemplate(&window, templateId));
        QCOMPARE(window.children().size(), qsizetype(dialog->controls.size()));
        QRect inside = window.rect();
        for (QObject* child : window.children()) {
            auto* widget = qobject_cast<QWidget*>(child);
            QVERIFY(ControlId(widget) > 0);
            QCOMPARE(widget->objectName(), QStringLiteral("control%1").arg(ControlId(widget)));
            QVERIFY2(inside.contains(widget->geometry()),
                     qPrintable(QStringLiteral("control %1 at %2,%3 %4x%5 outside %6x%7")
                                    .arg(ControlId(widget))
                                    .arg(widget->x())
                                    .arg(widget->y())
                                    .arg(widget->width())
                                    .arg(widget->height())
                                    .arg(inside.width())
                                    .arg(inside.height())));
        }
    }

    void facesShrinkToTheTemplateCell_data() {
        QTest::addColumn<QString>("family");
        QTest::addColumn<int>("pixelSize");
        QTest::newRow("wider face") << "DejaVu Sans" << 11;
        QTest::newRow("face of the template's metrics") << "Liberation Sans" << 11;
        QTest::newRow("already small") << "DejaVu Sans" << 8;
    }
    void facesShrinkToTheTemplateCell() {
        QFETCH(QString, family);
        QFETCH(int, pixelSize);
        if (!QFontDatabase::hasFamily(family)) {
            QSKIP("face not installed");
        }
        QFont font(family);
        font.setPixelSize(pixelSize);
        QFont shrunk = ShrinkToTemplateCell(font);
        DialogUnits units = DialogUnitsOf(shrunk);
        QVERIFY(units.averageWidth <= kTemplateCell.averageWidth);
        QVERIFY(units.height <= kTemplateCell.height);
        // No smaller than it must be: one pixel more would no longer fit, or it kept its size.
        if (shrunk.pixelSize() < pixelSize) {
            QFont larger = shrunk;
            larger.setPixelSize(shrunk.pixelSize() + 1);
            DialogUnits largerUnits = DialogUnitsOf(larger);
            QVERIFY(largerUnits.averageWidth > kTemplateCell.averageWidth ||
                    largerUnits.height > kTemplateCell.height);
        } else {
            QCOMPARE(shrunk.pixelSize(), pixelSize);
        }
    }

    void unknownTemplateBuildsNothing() {
        QWidget window;
        QVERIFY(!BuildFromTemplate(&window, 999));
        QVERIFY(window.children().isEmpty());
    }

    void stylesReachTheWidgets() {
        QWidget channelPage;
        BuildFromTemplate(&channelPage, kChannelPageTemplate);
        QVERIFY(FindControl<QLineEdit>(&channelPage, kFrequencyEditorId)->isHidden());
        QVERIFY(!FindControl<QLineEdit>(&channelPage, kFrequencyEditorId)->isEnabled());
        QVERIFY(!FindControl<QComboBox>(&channelPage, kRangeSelectorId)->isHidden());
        QCOMPARE(FindControl<QLabel>(&channelPage, kModelNameId)->text(), QStringLiteral("RQ860"));
        QWidget password;
        BuildFromTemplate(&password, kPasswordTemplate);
        QCOMPARE(FindControl<QLineEdit>(&password, kPasswordEditId)->echoMode(),
                 QLineEdit::Password);
        QWidget functions;
        BuildFromTemplate(&functions, kFunctionPageTemplate);
        // A label and its control share the id.
        QCOMPARE(FindControl<QLabel>(&functions, kSquelchId)->text(), QStringLiteral("静噪等级"));
        QVERIFY(FindControl<QComboBox>(&functions, kSquelchId) != nullptr);
        QLineEdit* code = FindControl<QLineEdit>(&functions, kPttIdCodeId);
        QTest::keyClicks(code, "12ab");
        QCOMPARE(code->text(), QStringLiteral("12AB"));
    }

    void sortedListsKeepTheirOrder() {
        TemplateDialog dialog(kLanguageTemplate, nullptr);
        auto* list = FindControl<QComboBox>(&dialog, kLanguageListId);
        for (const char* name : {"English", "Deutsch", "中文", "Français"}) {
            AddListEntry(list, QString::fromUtf8(name));
        }
        QStringList shown;
        for (int index = 0; index < list->count(); ++index) {
            shown << list->itemText(index);
        }
        QStringList sorted = shown;
        sorted.sort();
        QCOMPARE(shown, sorted);
    }

    void okAndCancelCloseTheDialog() {
        TemplateDialog dialog(kLanguageTemplate, nullptr);
        FindControl<QPushButton>(&dialog, kIdCancel)->click();
        QCOMPARE(dialog.result(), int(QDialog::Rejected));
        FindControl<QPushButton>(&dialog, kIdOk)->click();
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
    }

    // Language files relabel by template and control id: an id moved in its template would
    // leave its text behind.
    void everyShippedResourceTextFindsItsDialogOrControl_data() {
        QTest::addColumn<QString>("language");
        QTest::newRow("english") << "english.lang";
        QTest::newRow("chinese") << "chinese.lang";
    }
    void everyShippedResourceTextFindsItsDialogOrControl() {
        QFETCH(QString, language);
        QFile file(QStringLiteral(HALVEX_BIN_DIR "/") + language);
        QVERIFY(file.open(QIODevice::ReadOnly));
        std::set<int> ids;
        for (auto group : {ShellDialogTemplates(), PageDialogTemplates(), ToolDialogTemplates(),
                           EditDialogTemplates()}) {
            for (const DialogTemplate& dialog : group) {
                ids.insert(dialog.id);
                for (const ControlTemplate& control : dialog.controls) {
                    ids.insert(control.id);
                }
            }
        }
        bool inResources = false;
        int checked = 0;
        for (const QByteArray& line : file.readAll().split('\n')) {
            const QByteArray text = line.trimmed();
            if (text.startsWith('[')) {
                inResources = text == "[Resource]";
            } else if (inResources && text.contains('=')) {
                const QByteArray key = text.left(text.indexOf('='));
                QVERIFY2(ids.count(key.toInt()) == 1, key.constData());
                ++checked;
            }
        }
        QVERIFY(checked > 0);
    }

    void relabellingReachesDirectChildrenOnly() {
        halvex::test::TempFolder dir;
        dir.Write("test.lang", halvex::test::LanguageFile("Test", "Title", "",
                                                          "2=Abort\n130=Serial Port\n1011=Ports\n"
                                                          "1001=\n1150=list text\n"));
        halvex::test::UseLanguagePath language(dir.File("test.lang"));
        for (int id : kAllTemplates) {
            QWidget window;
            BuildFromTemplate(&window, id);
            RelabelDialog(&window, id);
            if (auto* cancel = FindControl<QPushButton>(&window, kIdCancel)) {
                QCOMPARE(cancel->text(), QStringLiteral("Abort"));
            }
        }
        QWidget port;
        BuildFromTemplate(&port, kPortTemplate);
        auto* grandchild =
            new QPushButton(QStringLiteral("inner"), FindControl<QWidget>(&port, kPortGroupId));
        grandchild->setProperty(kControlIdProperty, 2);
        RelabelDialog(&port, kPortTemplate);
        QCOMPARE(port.windowTitle(), QStringLiteral("Serial Port"));
        QCOMPARE(FindControl<QGroupBox>(&port, kPortGroupId)->title(), QStringLiteral("Ports"));
        QCOMPARE(ControlText(FindControl<QWidget>(&port, kFirstPortButtonId)),
                 QStringLiteral("COM1"));
        QCOMPARE(grandchild->text(), QStringLiteral("inner"));
    }
};

QTEST_MAIN(DialogTemplatesTest)
#include "dialog_templates_ui_test.moc"
