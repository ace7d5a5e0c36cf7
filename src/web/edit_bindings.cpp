// SPDX-License-Identifier: GPL-3.0-or-later
// The module's names for the channel table's Edit commands (web/src/wasm/channel_edits.d.ts
// declares them). Only conversions between JavaScript values and the core's types live here.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "channel_edits.h"
#include "js_values.h"

using emscripten::val;
using namespace js_values;

namespace {

val EditValue(const RowEdit& edit) {
    val object = val::object();
    object.set("changed", edit.changed);
    object.set("note", edit.note);
    object.set("selected", Array(edit.selected));
    object.set("message", edit.message);
    object.set("refused", edit.refused);
    object.set("refusedField", edit.refusedField);
    object.set("question", edit.question);
    return object;
}

val States(const WebDocument& document, const val& selection, int target) {
    const RowCommandStates states = RowStatesFor(document, IntsOf(selection), target);
    val object = val::object();
    object.set("onSelection", states.onSelection);
    object.set("onTarget", states.onTarget);
    object.set("moveUp", states.moveUp);
    object.set("moveDown", states.moveDown);
    return object;
}

val Copy(const WebDocument& document, const val& selection) {
    const CopiedRows copied = CopyRows(document, IntsOf(selection));
    val object = val::object();
    object.set("exact", Bytes(copied.exact));
    object.set("text", copied.text);
    object.set("note", copied.note);
    return object;
}

val Paste(WebDocument& document, int target, const val& exact, const std::string& text) {
    return EditValue(PasteRows(document, target,
                               emscripten::convertJSArrayToNumberVector<uint8_t>(exact), text));
}

template <RowEdit (*Edit)(WebDocument&, const std::vector<int>&)>
val OnRows(WebDocument& document, const val& selection) {
    return EditValue(Edit(document, IntsOf(selection)));
}

val Found(const WebDocument& document, const std::string& text, int focusRow, int direction,
          bool includeCurrent) {
    const FoundRow found = FindRow(document, text, focusRow, direction, includeCurrent);
    val object = val::object();
    object.set("channel", found.channel);
    object.set("status", found.status);
    return object;
}

val Differences(const WebDocument& document, const val& radio) {
    const DifferenceList list =
        RadioDifferences(document, emscripten::convertJSArrayToNumberVector<uint8_t>(radio));
    val object = val::object();
    object.set("summary", list.summary);
    object.set("lines", Array(list.lines));
    return object;
}

}  // namespace

EMSCRIPTEN_BINDINGS(halvex_channel_edits) {
    using emscripten::function;

    function("rowCommandStates", &States);
    function(
        "insertRows", +[](WebDocument& document, int target, int count, bool drop) {
            return EditValue(InsertRows(document, target, count, drop));
        });
    function("deleteRows", &OnRows<DeleteRows>);
    function("clearRows", &OnRows<ClearRows>);
    function("cutRows", &OnRows<CutRows>);
    function(
        "moveRows", +[](WebDocument& document, const val& selection, bool up) {
            return EditValue(MoveRows(document, IntsOf(selection), up));
        });
    function("copyRows", &Copy);
    function("pasteRows", &Paste);
    function(
        "settableColumns", +[] { return Array(SettableColumns()); });
    function(
        "setColumnOfRows", +[](WebDocument& document, const val& selection, int column, int index,
                               const std::string& offset) {
            return EditValue(SetColumnOfRows(document, IntsOf(selection), column, index, offset));
        });
    function(
        "sortRows", +[](WebDocument& document, const val& selection, int key, bool descending,
                        bool selectionOnly) {
            return EditValue(SortRows(document, IntsOf(selection), key, descending, selectionOnly));
        });
    function(
        "fillStart", +[](const WebDocument& document, const val& selection) {
            return FillStart(document, IntsOf(selection));
        });
    function(
        "fillRows", +[](WebDocument& document, const val& selection, const std::string& first,
                        const std::string& step, const std::string& shift) {
            return EditValue(FillRows(document, IntsOf(selection), first, step, shift));
        });
    function("findRow", &Found);
    function("radioDifferences", &Differences);
}
