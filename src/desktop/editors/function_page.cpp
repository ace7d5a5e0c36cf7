// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/function_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <cstdlib>
#include <string_view>

#include "codeplug/document.h"
#include "codeplug/radio_options.h"
#include "common/relabel.h"
#include "config/language.h"
#include "editors/function_options.h"
#include "editors/page_controls.h"
#include "editors/ptt_id_edit.h"
#include "resources/ids/function_page_ids.h"

namespace {

// A name missing from the option table is a slip in the core's control table, which every
// page test meets at once.
const RadioOptionDefinition& OptionOf(const FunctionControl& control) {
    const RadioOptionDefinition* option = OptionOfControl(control.controlId);
    if (option == nullptr) {
        std::abort();
    }
    return *option;
}

}  // namespace

CFunctionPage::CFunctionPage(QWidget* parent, CHalvexDoc& document)
    : QWidget(parent), m_Document(document) {
    BuildPage(this, kFunctionPageTemplate);
    for (const FunctionControl& control : FunctionControls()) {
        const RadioOptionDefinition& option = OptionOf(control);
        if (option.kind == OptionChoices::Switch) {
            auto* box = RequireControl<QCheckBox>(this, control.controlId);
            m_CheckBoxes.push_back({box, &option});
            connect(box, &QCheckBox::clicked, this, [this, id = control.controlId](bool checked) {
                ChooseOptionEntry(m_Document, id, checked ? 1 : 0);
            });
            continue;
        }
        auto* list = RequireControl<QComboBox>(this, control.controlId);
        m_Lists.push_back({list, &option});
        connect(list, &QComboBox::activated, this, [this, id = control.controlId](int index) {
            ChooseOptionEntry(m_Document, id, index);
        });
    }
    m_PttIdEdit = new CPttIdEdit(RequireControl<QLineEdit>(this, kPttIdCodeId));
    connect(m_PttIdEdit, &CPttIdEdit::focusLost, this, &CFunctionPage::OnPttIdFocusLost);
    FillFromImage();
}

// The code box may lose the focus while the page's children are destroyed; by then this
// page must no longer hear of it.
CFunctionPage::~CFunctionPage() {
    disconnect(m_PttIdEdit, nullptr, this, nullptr);
}

void CFunctionPage::FillFromImage() {
    RelabelDialog(this, kFunctionPageTemplate);
    for (const auto& [list, option] : m_Lists) {
        FillChoiceList(list, OptionEntries(*option), option->value(m_Document.Image()));
    }
    m_PttIdEdit->SetCode(m_Document.Image().GetPttIdCode());
    for (const auto& [box, option] : m_CheckBoxes) {
        box->setChecked(option->value(m_Document.Image()) != 0);
    }
}

// Only a code that differs from the stored one is a change: tabbing through the page must
// not make the document ask to be saved.
void CFunctionPage::OnPttIdFocusLost() {
    // Stored bytes the box cannot show must survive a visit that types nothing.
    if (!m_PttIdEdit->Edited()) {
        return;
    }
    m_PttIdEdit->TakeEdit();
    StorePttIdCode(m_Document, m_PttIdEdit->GetCode());
}
