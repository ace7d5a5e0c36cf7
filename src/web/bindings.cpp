// SPDX-License-Identifier: GPL-3.0-or-later
// The module's names for the page (web/src/wasm/core_module.d.ts declares them). Only
// conversions between JavaScript values and the core's types live here.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "codeplug/channel_columns.h"
#include "config/app_globals.h"
#include "config/language.h"
#include "js_values.h"
#include "link_session.h"
#include "transfer_messages.h"
#include "web_document.h"
#include "web_files.h"
#include "web_interchange.h"
#include "web_radio.h"
#include "web_serial_line.h"
#include "web_settings.h"

using emscripten::val;
using namespace js_values;

namespace {

val OutcomeValue(const LinkOutcome& outcome) {
    val object = val::object();
    object.set("status", static_cast<int>(outcome.status));
    object.set("read", outcome.read);
    object.set("cancelled", outcome.cancelled);
    object.set("blocks", outcome.blocks);
    object.set("skippedBlocks", Array(outcome.skippedBlocks));
    object.set("checked", outcome.checked);
    object.set("checkUnread", outcome.checkUnread);
    object.set("differingBlocks", Array(outcome.differingBlocks));
    object.set("warning", outcome.warning);
    object.set("openError", outcome.openError);
    object.set("image", Bytes(outcome.image));
    return object;
}

LinkOutcome OutcomeOf(const val& object) {
    LinkOutcome outcome;
    outcome.status = static_cast<TransferStatus>(Field(object, "status", int{StatusIdle}));
    outcome.read = Field(object, "read", true);
    outcome.cancelled = Field(object, "cancelled", false);
    outcome.blocks = Field(object, "blocks", 0);
    outcome.skippedBlocks = IntsOf(object["skippedBlocks"]);
    outcome.checked = Field(object, "checked", false);
    outcome.checkUnread = Field(object, "checkUnread", false);
    outcome.differingBlocks = IntsOf(object["differingBlocks"]);
    outcome.warning = Field(object, "warning", std::string());
    outcome.openError = Field(object, "openError", std::string());
    return outcome;
}

VirtualRadioFaults FaultsOf(const val& faults) {
    VirtualRadioFaults taken;
    if (faults.isUndefined() || faults.isNull()) {
        return taken;
    }
    taken.silent = Field(faults, "silent", false);
    taken.identificationLength = Field(faults, "identificationLength", 8);
    taken.noAckBlock = Field(faults, "noAckBlock", -1);
    taken.noAckTimes = taken.noAckBlock >= 0 ? 1 << 30 : 0;
    taken.shortAnswerBlock = Field(faults, "shortAnswerBlock", -1);
    taken.shortAnswerTimes = taken.shortAnswerBlock >= 0 ? 1 << 30 : 0;
    taken.unstoredBlock = Field(faults, "unstoredBlock", -1);
    return taken;
}

const char* KindName(ColumnKind kind) {
    switch (kind) {
        case ColumnKind::Number:
            return "number";
        case ColumnKind::Frequency:
            return "frequency";
        case ColumnKind::Tone:
            return "tone";
        case ColumnKind::Choice:
            return "choice";
        case ColumnKind::Name:
            return "name";
    }
    return "number";
}

val Columns() {
    val columns = val::array();
    for (const ChannelColumnDefinition& column : kChannelColumns) {
        val entry = val::object();
        entry.set("id", static_cast<int>(column.id));
        entry.set("header", LoadLangText(g_LanguagePath, kChannelHeaderSection, column.headerKey,
                                         "", kListBufferSize));
        entry.set("name", std::string(column.name));
        entry.set("kind", std::string(KindName(column.kind)));
        entry.set("width", column.width);
        entry.set("textLimit", column.kind == ColumnKind::Frequency ? 9
                               : column.kind == ColumnKind::Name    ? 5
                                                                    : 0);
        columns.call<void>("push", entry);
    }
    return columns;
}

val Choices(int column) {
    if (column <= kColumnNumber || column >= kChannelColumnCount) {
        return val::array();
    }
    const ChannelTexts texts =
        WordedChannelTexts([](const ColumnText& text) { return LoadLangString(text.key); });
    const ChannelColumnDefinition& definition = kChannelColumns[static_cast<size_t>(column)];
    if (definition.kind == ColumnKind::Tone) {
        return Array(texts.tones);
    }
    return Array(texts.choices[static_cast<size_t>(column)]);
}

// The page's own name for a document's calls that take or give bytes.
val OpenBytes(WebDocument& document, const val& bytes, const std::string& name) {
    const FileResult result = document.Open(BytesOf(bytes), name);
    val object = val::object();
    object.set("ok", result.ok);
    object.set("message", result.message);
    return object;
}

val SaveBytes(WebDocument& document, const std::string& name) {
    const FileResult result = document.Save(name);
    val object = val::object();
    object.set("ok", result.ok);
    object.set("message", result.message);
    object.set("bytes", Bytes(result.bytes));
    return object;
}

val RowStates(const WebDocument& document, int row) {
    val states = val::array();
    for (const CellLock& lock : document.RowStates(row)) {
        val state = val::object();
        state.set("locked", lock.locked);
        state.set("shaded", lock.shaded);
        states.call<void>("push", state);
    }
    return states;
}

val ChannelExportValue(const WebDocument& document) {
    const ChannelListExport exported = ExportChannels(document);
    val object = val::object();
    object.set("ok", exported.ok);
    object.set("bytes", Bytes(std::vector<uint8_t>(exported.text.begin(), exported.text.end())));
    object.set("notes", Array(exported.notes));
    object.set("message", exported.message);
    return object;
}

val ChannelImportValue(WebDocument& document, const val& bytes, const std::string& name,
                       bool replace, bool apply) {
    const ChannelListImport imported =
        ImportChannels(document, BytesOf(bytes), name, replace, apply);
    val object = val::object();
    object.set("ok", imported.ok);
    object.set("message", imported.message);
    object.set("summary", imported.summary);
    object.set("losses", Array(imported.losses));
    object.set("changes", imported.changes);
    return object;
}

val RadioTextImportValue(WebDocument& document, const val& bytes, const std::string& name,
                         bool apply) {
    const RadioTextImport imported = ImportRadioText(document, BytesOf(bytes), name, apply);
    val object = val::object();
    object.set("ok", imported.ok);
    object.set("message", imported.message);
    object.set("errors", Array(imported.errors));
    object.set("changes", imported.changes);
    object.set("summary", imported.summary);
    object.set("lines", Array(imported.lines));
    return object;
}

// One exchange's line and job, in the module that waits for the radio.
class WebLink {
public:
    explicit WebLink(int line) : m_Line(line), m_Session(m_Line, kWebSettingsPath) {}

    uintptr_t StatusAddress() const { return Address(&m_Session.Job().status); }
    uintptr_t ProgressAddress() const { return Address(&m_Session.Job().progress); }
    uintptr_t CancelAddress() const { return Address(&m_Session.Job().cancel); }
    uintptr_t PhaseAddress() const { return reinterpret_cast<uintptr_t>(m_Session.Phase()); }

    val Run(bool read, const val& image, bool check) {
        return OutcomeValue(m_Session.Run(read, BytesOf(image), check));
    }

private:
    WebSerialLine m_Line;
    LinkSession m_Session;
};

val Feed(WebRadio& radio, const val& bytes) {
    const TimedAnswer answer = radio.Feed(BytesOf(bytes));
    val object = val::object();
    object.set("bytes", Bytes(answer.bytes));
    object.set("readyMs", Array(answer.readyMs));
    return object;
}

std::unique_ptr<WebRadio> NewRadio(bool echo, bool paced, const val& faults, int radios,
                                   int swapAfterMs) {
    return std::make_unique<WebRadio>(echo, paced, FaultsOf(faults), radios, swapAfterMs);
}

void SetRadioFaults(WebRadio& radio, const val& faults) {
    radio.SetFaults(FaultsOf(faults));
}

val MemoryOf(const WebRadio& radio) {
    return Bytes(radio.Memory());
}

val DocumentBytes(const WebDocument& document) {
    return Bytes(document.ImageBytes());
}

val PreparedBytes(const WebDocument& document) {
    return Bytes(document.PreparedCopy());
}

// The backup is a second copy: an empty one only means none is kept this time.
val BackupBytes(const WebDocument& document) {
    const FileResult result = document.BackupFile();
    if (!result.ok) {
        std::fprintf(stderr, "halvex: no backup of the read: %s\n", result.message.c_str());
    }
    return Bytes(result.bytes);
}

void TakeImage(WebDocument& document, const val& image) {
    document.TakeRadioImage(BytesOf(image));
}

std::string Start() {
    std::string error;
    return StartWebModule(&error) ? std::string() : error;
}

std::string ProgressText(int phase, int percent) {
    return TransferProgressText(static_cast<TransferPhase>(phase), percent,
                                [](const char* key) { return LoadLangString(key); });
}

std::string OutcomeText(const val& outcome) {
    return TransferOutcomeText(OutcomeOf(outcome));
}

bool OutcomeSucceeded(const val& outcome) {
    return TransferSucceeded(OutcomeOf(outcome));
}

std::string LangString(const std::string& key) {
    return LoadLangString(key);
}

}  // namespace

EMSCRIPTEN_BINDINGS(halvex) {
    using emscripten::class_;
    using emscripten::function;

    function("start", &Start);
    function("defaultSettings", &DefaultSettingsText);
    function(
        "useSettings", +[](const std::string& text) {
            bool used = false;
            return UseSettingsText(text, &used);
        });
    function("settingsText", &SettingsText);
    function("cableType", &CableType);
    function("setCableType", &SetCableType);
    function("verifyAfterWrite", &VerifyAfterWrite);
    function("setVerifyAfterWrite", &SetVerifyAfterWrite);
    function("addLanguage", &AddLanguage);
    function("useLanguage", &UseLanguage);
    function("languageName", &LanguageName);
    function(
        "shownLanguage", +[] {
            const auto [fileName, text] = ShownLanguage();
            val object = val::object();
            object.set("fileName", fileName);
            object.set("text", text);
            return object;
        });
    function("LoadLangString", &LangString);
    function("LoadResourceText", &LoadResourceText);
    function("columns", &Columns);
    function("choices", &Choices);
    function(
        "bandNames", +[] { return Array(BandNames(kWebSettingsPath)); });
    function("transferProgressText", &ProgressText);
    function("transferOutcomeText", &OutcomeText);
    function("transferSucceeded", &OutcomeSucceeded);

    class_<WebDocument>("Document")
        .constructor(+[] { return std::make_unique<WebDocument>(kWebSettingsPath); })
        .function("newDocument", &WebDocument::NewDocument)
        .function("open", &OpenBytes)
        .function("save", &SaveBytes)
        .function("pathName", &WebDocument::PathName)
        .function("isModified", &WebDocument::IsModified)
        .function("canUndo", &WebDocument::CanUndo)
        .function("canRedo", &WebDocument::CanRedo)
        .function("undoName", &WebDocument::UndoName)
        .function("redoName", &WebDocument::RedoName)
        .function("undo", &WebDocument::Undo)
        .function("redo", &WebDocument::Redo)
        .function("channelCount", &WebDocument::ChannelCount)
        .function(
            "rowTexts",
            +[](const WebDocument& document, int row) { return Array(document.RowTexts(row)); })
        .function("rowStates", &RowStates)
        .function("choiceIndex", &WebDocument::ChoiceIndex)
        .function(
            "commitText",
            +[](WebDocument& document, int row, int column, const std::string& text) {
                return CommitValue(document.CommitText(row, column, text));
            })
        .function(
            "commitChoice",
            +[](WebDocument& document, int row, int column, int index) {
                return CommitValue(document.CommitChoice(row, column, index));
            })
        .function("bandIndex", &WebDocument::BandIndex)
        .function("setBand", &WebDocument::SetBand)
        .function("wouldEraseRadio", &WebDocument::WouldEraseRadio)
        .function("preparedCopy", &PreparedBytes)
        .function("backupFile", &BackupBytes)
        .function("imageBytes", &DocumentBytes)
        .function("takeRadioImage", &TakeImage)
        .function("canExportChannels", &CanExportChannels)
        .function("exportChannels", &ChannelExportValue)
        .function("importChannels", &ChannelImportValue)
        .function(
            "exportText",
            +[](const WebDocument& document) {
                const std::string text = ExportRadioText(document);
                return Bytes(std::vector<uint8_t>(text.begin(), text.end()));
            })
        .function("importText", &RadioTextImportValue)
        .function("nameWithExtension", &NameWithExtension);

    class_<WebLink>("Link")
        .constructor<int>()
        .function("statusAddress", &WebLink::StatusAddress)
        .function("progressAddress", &WebLink::ProgressAddress)
        .function("cancelAddress", &WebLink::CancelAddress)
        .function("phaseAddress", &WebLink::PhaseAddress)
        .function("run", &WebLink::Run);

    class_<WebRadio>("Radio")
        .constructor(&NewRadio)
        .function("feed", &Feed)
        .function("setFaults", &SetRadioFaults)
        .function("memory", &MemoryOf)
        .function(
            "memoryOf",
            +[](const WebRadio& radio, int number) { return Bytes(radio.MemoryOf(number)); });
}
