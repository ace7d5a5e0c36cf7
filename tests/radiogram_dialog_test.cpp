// SPDX-License-Identifier: GPL-3.0-or-later
// The FM presets dialog driven by mouse and key events, checked against the image bytes.
#include "editors/radiogram_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QScrollBar>
#include <QTest>
#include <memory>

#include "codeplug/document.h"
#include "config/app_globals.h"
#include "config/settings.h"
#include "grid/grid_ctrl.h"
#include "support/channel_fixture.h"
#include "support/page_test_support.h"

class RadiogramDialogTest : public QObject {
    Q_OBJECT

    halvex::test::ChannelFixture m_Channels;
    std::unique_ptr<CHalvexDoc> m_Doc;
    std::unique_ptr<CRadiogramDlg> m_Dialog;

    void Open() {
        m_Dialog = std::make_unique<CRadiogramDlg>(*m_Doc);
        QVERIFY(ShowActive(m_Dialog.get()));
    }

    QByteArray Bytes(size_t offset, int count) const {
        return QByteArray(reinterpret_cast<const char*>(m_Doc->Image().bytes.data() + offset),
                          count);
    }

    void ClickPreset(int n) {
        CGridCtrl* grid = m_Dialog->Grid();
        grid->MakeVisible(n, 1);
        QRect rect;
        QVERIFY(grid->CellRect(n, 1, &rect));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, rect.center());
    }

private slots:
    void initTestCase() {
        std::string error;
        QVERIFY2(m_Channels.Start(&error), error.c_str());
    }

    void init() {
        m_Doc = m_Channels.NewDocument();
        QVERIFY(m_Doc != nullptr);
    }

    void cleanup() { m_Dialog.reset(); }

    void showsTheStoredPresets() {
        m_Doc->EditImage().SetWord(kFmPresetBase, 2, 225);
        m_Doc->EditImage().SetWord(kFmPresetBase, 3, 432);
        m_Doc->EditImage().SetWord(kFmFrequencyOffset, 1, 430);
        Open();
        CGridCtrl* grid = m_Dialog->Grid();
        QCOMPARE(grid->GetRowCount(), 17);
        QCOMPARE(grid->GetColumnWidth(1), 100);
        QCOMPARE(grid->GetCellText(0, 1), QStringLiteral("Frequency"));
        QCOMPARE(grid->GetCellText(16, 0), QStringLiteral("16"));
        QCOMPARE(grid->GetCellText(1, 1), QStringLiteral("65M0"));
        QCOMPARE(grid->GetCellText(2, 1), QStringLiteral("87M5"));
        QVERIFY(grid->GetCellText(3, 1).isEmpty());
        QCOMPARE(grid->GetCellText(4, 1), QStringLiteral("OFF"));
        QCOMPARE(m_Dialog->FrequencyList()->currentText(), QStringLiteral("108M0"));
        QCOMPARE(m_Dialog->windowTitle(), QStringLiteral("FM Radio Presets"));
        // Wide enough for its title beside the title bar's buttons, the controls in the middle.
        QVERIFY(m_Dialog->width() >
                QFontMetrics(QApplication::font()).horizontalAdvance(m_Dialog->windowTitle()) +
                    100);
        QVERIFY(qAbs(grid->x() + grid->width() / 2 - m_Dialog->width() / 2) <= 4);
    }

    // Taller, the dialog shows every preset without scrolling and keeps its buttons below;
    // it never gets narrower or shorter than its template.
    void growsTallerToShowEveryPreset() {
        Open();
        CGridCtrl* grid = m_Dialog->Grid();
        QWidget* ok = m_Dialog->findChild<QWidget*>(QStringLiteral("control1"));
        const QSize dialog = m_Dialog->size();
        const int gridHeight = grid->height();
        const int okTop = ok->y();
        m_Dialog->resize(dialog.width() + 200, dialog.height() + 120);
        QCOMPARE(m_Dialog->size(), QSize(dialog.width(), dialog.height() + 120));
        QCOMPARE(grid->height(), gridHeight + 120);
        QCOMPARE(ok->y(), okTop + 120);
        QCOMPARE(grid->verticalScrollBar()->maximum(), 0);
        m_Dialog->resize(100, 100);
        QCOMPARE(m_Dialog->size(), dialog);
    }

    void allFfPresetsShowEmptyCells() {
        std::fill_n(m_Doc->EditImage().bytes.begin() + kFmPresetBase, 32, 0xFF);
        std::fill_n(m_Doc->EditImage().bytes.begin() + kFmFrequencyOffset, 2, 0xFF);
        Open();
        for (int n = 1; n <= 16; ++n) {
            QVERIFY(m_Dialog->Grid()->GetCellText(n, 1).isEmpty());
        }
        QCOMPARE(m_Dialog->FrequencyList()->currentIndex(), -1);
    }

    void offForPresetThree() {
        Open();
        ClickPreset(3);
        QComboBox* list = m_Dialog->PresetList();
        QVERIFY(list->isVisible());
        QVERIFY(list->hasFocus());
        QCOMPARE(list->count(), 432);
        QCOMPARE(list->currentText(), QStringLiteral("OFF"));
        QTest::keyClick(list, Qt::Key_Home);
        QTest::keyClick(list, Qt::Key_Return);
        QVERIFY(!list->isVisible());
        QCOMPARE(Bytes(0x08A4, 2), QByteArray::fromHex("0000"));
        QCOMPARE(m_Dialog->Grid()->GetCellText(3, 1), QStringLiteral("65M0"));

        m_Doc->SetModifiedFlag(false);
        ClickPreset(3);
        QTest::keyClick(list, Qt::Key_End);
        QTest::keyClick(list, Qt::Key_Return);
        QCOMPARE(Bytes(0x08A4, 2), QByteArray::fromHex("01af"));
        QCOMPARE(m_Dialog->Grid()->GetCellText(3, 1), QStringLiteral("OFF"));
        QVERIFY(m_Doc->IsModified());
        QVERIFY(m_Dialog->isVisible());
    }

    void escapeLeavesThePresetAndTheDialogOpen() {
        Open();
        ClickPreset(2);
        QComboBox* list = m_Dialog->PresetList();
        QVERIFY(list->isVisible());
        QTest::keyClick(list, Qt::Key_Escape);
        QVERIFY(!list->isVisible());
        QVERIFY(m_Dialog->isVisible());
        QVERIFY(m_Dialog->Grid()->hasFocus());
        QCOMPARE(Bytes(0x08A2, 2), QByteArray::fromHex("01af"));
        QVERIFY(!m_Doc->IsModified());
    }

    void receiveFrequencyAndCancel() {
        Open();
        QComboBox* frequency = m_Dialog->FrequencyList();
        frequency->setFocus();
        for (int step = 0; step < 225; ++step) {
            QTest::keyClick(frequency, Qt::Key_Down);
        }
        QCOMPARE(frequency->currentText(), QStringLiteral("87M5"));
        QCOMPARE(Bytes(0x0D0B, 2), QByteArray::fromHex("00e1"));
        QVERIFY(m_Doc->IsModified());

        ClickPreset(5);
        QTest::keyClick(m_Dialog->PresetList(), Qt::Key_Home);
        QTest::keyClick(m_Dialog->PresetList(), Qt::Key_Return);
        QCOMPARE(Bytes(0x08A8, 2), QByteArray::fromHex("0000"));

        // Cancel puts back what the dialog opened with, and leaves nothing to undo.
        const QByteArray presetsBefore = QByteArray::fromHex("01af");
        QTest::mouseClick(FindControl<QAbstractButton>(m_Dialog.get(), kIdCancel), Qt::LeftButton);
        QVERIFY(!m_Dialog->isVisible());
        QCOMPARE(m_Dialog->result(), int(QDialog::Rejected));
        QVERIFY(Bytes(0x0D0B, 2) != QByteArray::fromHex("00e1"));
        QCOMPARE(Bytes(0x08A8, 2), presetsBefore);
        QVERIFY(!m_Doc->IsModified());
        QVERIFY(!m_Doc->CanUndo());

        // OK keeps both edits as one step.
        Open();
        ClickPreset(5);
        QTest::keyClick(m_Dialog->PresetList(), Qt::Key_Home);
        QTest::keyClick(m_Dialog->PresetList(), Qt::Key_Return);
        m_Dialog->FrequencyList()->setFocus();
        QTest::keyClick(m_Dialog->FrequencyList(), Qt::Key_Down);
        QTest::mouseClick(FindControl<QAbstractButton>(m_Dialog.get(), kIdOk), Qt::LeftButton);
        QVERIFY(m_Doc->Undo());
        QCOMPARE(Bytes(0x08A8, 2), presetsBefore);
        QVERIFY(!m_Doc->CanUndo());
    }
};

QTEST_MAIN(RadiogramDialogTest)
#include "radiogram_dialog_test.moc"
