// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/vfo_page.h"

#include <QComboBox>
#include <QEvent>
#include <QGroupBox>
#include <QLineEdit>

#include "codeplug/document.h"
#include "common/accessible_names.h"
#include "common/relabel.h"
#include "editors/page_controls.h"
#include "editors/page_words.h"
#include "editors/vfo_fields.h"
#include "resources/ids/vfo_page_ids.h"

namespace {

constexpr int kFrequencyLength = 9;

}  // namespace

CVfoPage::CVfoPage(QWidget* parent, CHalvexDoc& document) : QWidget(parent), m_Document(document) {
    BuildPage(this, kVfoPageTemplate);
    for (size_t vfo = 0; vfo < m_Vfos.size(); ++vfo) {
        const VfoControlIds& ids = VfoControls()[vfo];
        VfoWidgets& widgets = m_Vfos[vfo];
        widgets.ids = &ids;
        widgets.receive = RequireControl<QLineEdit>(this, ids.receive);
        widgets.transmit = RequireControl<QLineEdit>(this, ids.transmit);
        for (QLineEdit* box : {widgets.receive, widgets.transmit}) {
            box->setMaxLength(kFrequencyLength);
            box->installEventFilter(this);
        }
        for (const VfoChoice& choice : VfoChoices()) {
            auto* list = RequireControl<QComboBox>(this, ids.*choice.control);
            connect(list, &QComboBox::activated, this, [this, &ids, &choice](int index) {
                ChooseVfoEntry(m_Document, ids, choice, index);
            });
            widgets.lists.push_back({list, &choice});
        }
    }
    FillFromImage();
}

CVfoPage::VfoWidgets& CVfoPage::WidgetsOf(int record) {
    return record == m_Vfos[1].ids->record ? m_Vfos[1] : m_Vfos[0];
}

void CVfoPage::FillFromImage() {
    RelabelDialog(this, kVfoPageTemplate);
    NameFieldsByGroup();
    // The step lists last, after the frequencies, as the page has always filled them.
    auto fill = [this](bool steps) {
        for (const VfoWidgets& widgets : m_Vfos) {
            for (const auto& [list, choice] : widgets.lists) {
                if ((choice->control == &VfoControlIds::step) == steps) {
                    FillChoiceList(list, choice->entries(),
                                   choice->read(m_Document, widgets.ids->record));
                }
            }
        }
    };
    fill(false);
    for (const VfoWidgets& widgets : m_Vfos) {
        ShowFrequencies(widgets.ids->record);
    }
    fill(true);
}

// F1 and F2 have the same fields; their group box sits beside them, not around them, so
// without its title both would sound alike.
void CVfoPage::NameFieldsByGroup() {
    for (const VfoWidgets& widgets : m_Vfos) {
        const QString title = ControlText(RequireControl<QGroupBox>(this, widgets.ids->group));
        std::vector<QWidget*> fields{widgets.receive, widgets.transmit};
        for (const auto& [list, choice] : widgets.lists) {
            fields.push_back(list);
        }
        for (QWidget* field : fields) {
            NameControlByGroup(field, title);
        }
    }
}

void CVfoPage::ShowFrequencies(int record) {
    VfoWidgets& widgets = WidgetsOf(record);
    widgets.receive->setText(
        QString::fromStdString(m_Document.Image().GetFrequencyText(record, kDecodeSide)));
    widgets.transmit->setText(QString::fromStdString(VfoTransmitBoxText(m_Document, *widgets.ids)));
}

void CVfoPage::StoreFrequencies(int record) {
    VfoWidgets& widgets = WidgetsOf(record);
    // Only typing changes bytes: a value the page could not decode stays as the file has it.
    if (!widgets.receive->isModified() && !widgets.transmit->isModified()) {
        return;
    }
    const VfoFrequencyStore stored =
        StoreVfoFrequencies(m_Document, *widgets.ids, widgets.receive->text().toStdString(),
                            widgets.transmit->text().toStdString());
    ShowStatusNote(QString::fromStdString(
        ClampNoteText(stored.receiveClamp ? stored.receiveClamp : stored.transmitClamp)));
}

void CVfoPage::CommitEdit() {
    for (const VfoWidgets& widgets : m_Vfos) {
        const QWidget* focus = window()->focusWidget();
        if (focus == widgets.receive || focus == widgets.transmit) {
            StoreFrequencies(widgets.ids->record);
            ShowFrequencies(widgets.ids->record);
        }
    }
}

// Whichever box of a VFO loses the focus, both are stored and shown in their stored form.
bool CVfoPage::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::FocusOut) {
        for (const VfoWidgets& widgets : m_Vfos) {
            if (watched == widgets.receive || watched == widgets.transmit) {
                StoreFrequencies(widgets.ids->record);
                ShowFrequencies(widgets.ids->record);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
