// SPDX-License-Identifier: GPL-3.0-or-later
// The module's names for the Optional Functions and VFO pages, the FM presets dialog and the
// settings dialog (web/src/wasm/pages.d.ts declares them). Only conversions live here.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <memory>
#include <string>
#include <vector>

#include "editors/fm_presets_edit.h"
#include "js_values.h"
#include "web_document.h"
#include "web_fm_presets.h"
#include "web_pages.h"
#include "web_setting_fields.h"

using emscripten::val;
using namespace js_values;

namespace {

const char* KindName(FieldKind kind) {
    switch (kind) {
        case FieldKind::Choice:
            return "choice";
        case FieldKind::Switch:
            return "switch";
        case FieldKind::Text:
            return "text";
    }
    return "text";
}

val FieldValue(const PageField& field) {
    val object = val::object();
    object.set("id", field.id);
    object.set("kind", std::string(KindName(field.kind)));
    object.set("label", field.label);
    object.set("choices", Array(field.choices));
    object.set("index", field.index);
    object.set("text", field.text);
    object.set("textLimit", static_cast<int>(field.textLimit));
    object.set("accepted", field.accepted);
    return object;
}

val Groups(const WebDocument& document, const std::string& page) {
    val groups = val::array();
    for (const PageGroup& group :
         PageGroups(document.Document(), page == "vfo" ? PageKind::Vfo : PageKind::Functions)) {
        val object = val::object();
        object.set("id", group.id);
        object.set("title", group.title);
        val fields = val::array();
        for (const PageField& field : group.fields) {
            fields.call<void>("push", FieldValue(field));
        }
        object.set("fields", fields);
        groups.call<void>("push", object);
    }
    return groups;
}

val SettingValue(const SettingField& field) {
    val object = val::object();
    object.set("key", field.key);
    object.set("label", field.label);
    object.set("values", Array(field.values));
    object.set("choices", Array(field.choices));
    object.set("value", field.value);
    return object;
}

val SettingValues() {
    val fields = val::array();
    for (const SettingField& field : SettingFields()) {
        fields.call<void>("push", SettingValue(field));
    }
    return fields;
}

val BandLineValues() {
    val rows = val::array();
    for (const BandLineField& row : BandLineFields()) {
        val object = val::object();
        object.set("name", SettingValue(row.name));
        object.set("line", SettingValue(row.line));
        rows.call<void>("push", object);
    }
    return rows;
}

val ApplySettings(const val& edits) {
    std::vector<SettingEdit> taken;
    const int count = edits["length"].as<int>();
    for (int k = 0; k < count; ++k) {
        taken.push_back({edits[k]["key"].as<std::string>(), edits[k]["value"].as<std::string>()});
    }
    bool used = false;
    const std::string message = ApplySettingEdits(taken, &used);
    val object = val::object();
    object.set("used", used);
    object.set("message", message);
    return object;
}

// The dialog lives while the page shows it; the page deletes it before the document.
class FmPresetsDialog {
public:
    explicit FmPresetsDialog(WebDocument& document) : m_Edit(document.EditedDocument()) {}

    val Words() const {
        val object = val::object();
        object.set("title", FmPresetsTitle());
        object.set("headers", Array(m_Edit.Headers()));
        object.set("rowNames", Array(FmPresetRowNames()));
        object.set("frequencyLabel", FmFrequencyLabel());
        object.set("presetChoices", Array(m_Edit.PresetChoices()));
        object.set("frequencyChoices", Array(m_Edit.FrequencyChoices()));
        return object;
    }
    int Preset(int preset) const { return m_Edit.Preset(preset); }
    int Frequency() const { return m_Edit.Frequency(); }
    bool ChoosePreset(int preset, int index) { return m_Edit.ChoosePreset(preset, index); }
    bool ChooseFrequency(int index) { return m_Edit.ChooseFrequency(index); }
    void Accept() { m_Edit.Accept(); }
    void Reject() { m_Edit.Reject(); }

private:
    FmPresetsEdit m_Edit;
};

}  // namespace

EMSCRIPTEN_BINDINGS(halvex_pages) {
    using emscripten::class_;
    using emscripten::function;

    function("pageGroups", &Groups);
    function(
        "commitPageChoice", +[](WebDocument& document, int id, int index) {
            return CommitValue(CommitPageChoice(document.EditedDocument(), id, index));
        });
    function(
        "commitPageText", +[](WebDocument& document, int id, const std::string& text) {
            return CommitValue(CommitPageText(document.EditedDocument(), id, text));
        });
    function("settingFields", &SettingValues);
    function("bandLineFields", &BandLineValues);
    function("applySettings", &ApplySettings);

    class_<FmPresetsDialog>("FmPresets")
        .constructor<WebDocument&>()
        .function("words", &FmPresetsDialog::Words)
        .function("preset", &FmPresetsDialog::Preset)
        .function("frequency", &FmPresetsDialog::Frequency)
        .function("choosePreset", &FmPresetsDialog::ChoosePreset)
        .function("chooseFrequency", &FmPresetsDialog::ChooseFrequency)
        .function("accept", &FmPresetsDialog::Accept)
        .function("reject", &FmPresetsDialog::Reject);
}
