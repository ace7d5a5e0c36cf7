// SPDX-License-Identifier: GPL-3.0-or-later
// Every shipped language shows each text of every dialog and page whole: each label, button,
// check box, radio button, group title, tab, column header and list entry is measured with
// its font against the room its control gives it. HALVEX_FIT_LANGUAGES names another folder
// of language files to measure; HALVEX_FIT_SCREENSHOTS a folder for a picture of each dialog.
#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QTabBar>
#include <QtTest>

#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "common/dialog_builder.h"
#include "common/main_view_page.h"
#include "common/relabel.h"
#include "config/app_globals.h"
#include "grid/grid_ctrl.h"
#include "resources/dialog_template.h"
#include "support/shell_fixture.h"
#include "view/main_view.h"
#include "view/page_tab_control.h"

namespace {

QString LanguageFolder() {
    QByteArray other = qgetenv("HALVEX_FIT_LANGUAGES");
    return other.isEmpty() ? QStringLiteral(HALVEX_BIN_DIR) : QString::fromLocal8Bit(other);
}

// The text as drawn: "&&" is one ampersand, a single "&" marks the accelerator.
QString Drawn(const QString& text) {
    QString drawn;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] == '&' && i + 1 < text.size()) {
            ++i;
        }
        drawn += text[i];
    }
    return drawn;
}

class FitCheck {
public:
    explicit FitCheck(QString language) : m_Language(std::move(language)) {}

    void Line(const QString& where, const QWidget* control, const QString& text, int needed,
              int room, const char* unit = "px") {
        if (needed > room) {
            m_Misfits << QStringLiteral("%1, %2, control %3: \"%4\" needs %5 %7, has %6")
                             .arg(m_Language, where)
                             .arg(ControlId(control))
                             .arg(text)
                             .arg(needed)
                             .arg(room)
                             .arg(QLatin1String(unit));
        }
    }

    // Word-wrapped text must fit in width and in lines: a word wider than the room cannot
    // wrap, and a line below the bottom is cut. A control shows at least its one line.
    void Wrapped(const QString& where, const QWidget* control, const QString& text,
                 const QFont& font, const QRect& room, int flags) {
        QFontMetrics metrics(font);
        QRect needed =
            metrics.boundingRect(QRect(0, 0, room.width(), 100000), flags | Qt::TextWordWrap, text);
        Line(where, control, text, needed.width(), room.width());
        int lines = (needed.height() + metrics.lineSpacing() / 2) / metrics.lineSpacing();
        Line(where, control, text, lines, std::max(1, room.height() / metrics.height()), "lines");
    }

    void Children(const QString& where, QWidget* parent) {
        for (QObject* child : parent->children()) {
            // What the program never shows cannot be cut.
            auto* widget = qobject_cast<QWidget*>(child);
            if (widget != nullptr && !widget->isHidden()) {
                Control(where, widget);
            }
        }
    }

    void Control(const QString& where, QWidget* widget) {
        QFontMetrics metrics(widget->font());
        QStyle* style = widget->style();
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            if (label->pixmap().isNull() && !label->text().isEmpty()) {
                Wrapped(where, label, label->text(), label->font(), label->contentsRect(),
                        int(label->alignment()));
            }
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            QStyleOptionButton option;
            option.initFrom(button);
            option.text = button->text();
            QStyle::SubElement contents =
                qobject_cast<QCheckBox*>(button)      ? QStyle::SE_CheckBoxContents
                : qobject_cast<QRadioButton*>(button) ? QStyle::SE_RadioButtonContents
                                                      : QStyle::SE_PushButtonContents;
            int room = style->subElementRect(contents, &option, button).width();
            QString text = Drawn(button->text());
            Line(where, button, button->text(), metrics.horizontalAdvance(text), room);
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            // The title starts a few pixels in and needs as many at its end.
            int room = group->width() - 2 * metrics.averageCharWidth();
            Line(where, group, group->title(), metrics.horizontalAdvance(Drawn(group->title())),
                 room);
        } else if (auto* list = qobject_cast<QComboBox*>(widget)) {
            QStyleOptionComboBox option;
            option.initFrom(list);
            option.editable = list->isEditable();
            int room = style
                           ->subControlRect(QStyle::CC_ComboBox, &option,
                                            QStyle::SC_ComboBoxEditField, list)
                           .width();
            for (int k = 0; k < list->count(); ++k) {
                Line(where, list, list->itemText(k), metrics.horizontalAdvance(list->itemText(k)),
                     room);
            }
        } else if (auto* grid = qobject_cast<CGridCtrl*>(widget)) {
            Headers(where, grid);
        }
    }

    // The heading row as the grid draws it: inside the cell, a space's width from each side.
    void Headers(const QString& where, CGridCtrl* grid) {
        // A column past the right edge is cut until the user scrolls to it.
        int view = grid->width() - 2 * grid->frameWidth() -
                   grid->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, grid);
        Line(where, grid, QStringLiteral("all columns"), grid->GetTotalWidth(), view);
        int margin = QFontMetrics(grid->font()).horizontalAdvance(QLatin1Char(' '));
        for (int column = 0; column < grid->GetColumnCount(); ++column) {
            const int format = grid->GetCellFormat(0, column);
            QRect room(0, 0, grid->GetColumnWidth(column) - 2 * margin - 1,
                       grid->GetRowHeight(0) - 1);
            QString text = grid->GetCellText(0, column);
            QString place = where + QStringLiteral(" column %1").arg(column);
            if (format & Qt::TextWordWrap) {
                Wrapped(place, grid, text, grid->font(), room, format);
            } else {
                Line(place, grid, text, QFontMetrics(grid->font()).horizontalAdvance(text),
                     room.width());
            }
        }
    }

    void Tabs(const QString& where, QTabWidget* tabs) {
        // Tabs wider than the window together would hide some behind scroll buttons.
        Line(where, tabs, QStringLiteral("all tabs"), tabs->tabBar()->sizeHint().width(),
             tabs->width());
    }

    const QStringList& Misfits() const { return m_Misfits; }

private:
    QString m_Language;
    QStringList m_Misfits;
};

void Picture(QWidget* widget, const QString& language, const QString& name) {
    QByteArray folder = qgetenv("HALVEX_FIT_SCREENSHOTS");
    if (!folder.isEmpty()) {
        QDir().mkpath(QString::fromLocal8Bit(folder));
        widget->grab().save(QString::fromLocal8Bit(folder) + "/" + language + "-" + name + ".png");
    }
}

}  // namespace

class LanguageFitTest : public QObject {
    Q_OBJECT
private slots:
    void everyTextFitsItsControl_data() {
        QTest::addColumn<QString>("file");
        const QStringList files =
            QDir(LanguageFolder()).entryList({QStringLiteral("*.lang")}, QDir::Files);
        QVERIFY2(files.size() >= 2, qPrintable(LanguageFolder()));
        for (const QString& file : files) {
            QTest::newRow(qPrintable(file)) << file;
        }
    }

    void everyTextFitsItsControl() {
        QFETCH(QString, file);
        m_Shell.NewFolder();
        m_Shell.Folder().CopyFromBin({"setting.ini"});
        QFile::copy(LanguageFolder() + "/" + file, m_Shell.FilePath(file.toStdString()));
        QVERIFY(m_Shell.Start());
        QVERIFY(m_Shell.UseLanguage(file.toStdString()));
        QString language = QFileInfo(file).completeBaseName();
        FitCheck check(language);

        for (auto group : {ShellDialogTemplates(), PageDialogTemplates(), ToolDialogTemplates(),
                           EditDialogTemplates()}) {
            for (const DialogTemplate& dialog : group) {
                QWidget window;
                BuildFromTemplate(&window, dialog.id);
                RelabelDialog(&window, dialog.id);
                QString name = QStringLiteral("dialog %1").arg(dialog.id);
                check.Children(name, &window);
                Picture(&window, language, name);
            }
        }

        // The pages as the user meets them: lists filled, grids with their headings.
        CMainFrame* frame = m_Shell.App().MainFrame();
        check.Tabs(QStringLiteral("main view tabs"), frame->View()->TabControl());
        int index = 0;
        for (MainViewPage* page : frame->View()->Pages()) {
            QString name = QStringLiteral("page %1").arg(index++);
            check.Children(name, page->Widget());
            Picture(page->Widget(), language, name);
        }
        m_Shell.App().Document().SetModifiedFlag(false);
        QVERIFY(m_Shell.Finish());
        QVERIFY2(check.Misfits().isEmpty(), qPrintable(check.Misfits().join('\n')));
    }

private:
    halvex::test::ShellFixture m_Shell;
};

QTEST_MAIN(LanguageFitTest)
#include "language_fit_ui_test.moc"
