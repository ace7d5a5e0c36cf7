// SPDX-License-Identifier: GPL-3.0-or-later
// The module's names for the channel table's Edit commands (web/src/wasm/channel_edits.d.ts
// declares them). Only conversions between JavaScript values and the core's types live here.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include "channel_edits.h"

using emscripten::val;

namespace {

val Bytes(const std::vector<uint8_t>& bytes) {
    return val::global("Uint8Array")
        .new_(emscripten::typed_memory_view(bytes.size(), bytes.data()));
}

std::vector<int> Channels(const val& array) {
    return emscripten::vecFromJSArray<int>(array);
}

val Ints(const std::vector<int>& items) {
    val array = val::array();
    for (int item : items) {
        array.call<void>("push", item);
    }
    return array;
}

val Strings(const std::vector<std::string>& items) {
    val array = val::array();
    for (const std::string& item : items) {
        array.call<void>("push", item);
    }
    return array;
}

val EditValue(const RowEdit& edit) {
    val object = val::object();
    object.set("changed", edit.changed);
    object.set("note", edit.note);
    object.set("selected", Ints(edit.selected));
    object.set("message", edit.message);
    object.set("refused", edit.refused);
    object.set("refusedField", edit.refusedField);
    object.set("question", edit.question);
    return object;
}

val States(const WebDocument& document, const val& selection, int target) {
    const RowCommandStates states = RowStatesFor(document, Channels(selection), target);
    val object = val::object();
    object.set("onSelection", states.onSelection);
    object.set("onTarget", states.onTarget);
    object.set("moveUp", states.moveUp);
    object.set("moveDown", states.moveDown);
    return object;
}

val Copy(const WebDocument& document, const val& selection) {
    const CopiedRows copied = CopyRows(document, Channels(selection));
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
    return EditValue(Edit(document, Channels(selection)));
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
    object.set("lines", Strings(list.lines));
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
            return EditValue(MoveRows(document, Channels(selection), up));
        });
    function("copyRows", &Copy);
    function("pasteRows", &Paste);
    function(
        "settableColumns", +[] { return Ints(SettableColumns()); });
    function(
        "setColumnOfRows", +[](WebDocument& document, const val& selection, int column, int index,
                               const std::string& offset) {
            return EditValue(SetColumnOfRows(document, Channels(selection), column, index, offset));
        });
    function(
        "sortRows", +[](WebDocument& document, const val& selection, int key, bool descending,
                        bool selectionOnly) {
            return EditValue(
                SortRows(document, Channels(selection), key, descending, selectionOnly));
        });
    function(
        "fillStart", +[](const WebDocument& document, const val& selection) {
            return FillStart(document, Channels(selection));
        });
    function(
        "fillRows", +[](WebDocument& document, const val& selection, const std::string& first,
                        const std::string& step, const std::string& shift) {
            return EditValue(FillRows(document, Channels(selection), first, step, shift));
        });
    function("findRow", &Found);
    function("radioDifferences", &Differences);
}
