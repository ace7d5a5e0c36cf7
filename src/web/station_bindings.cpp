// SPDX-License-Identifier: GPL-3.0-or-later
// The module's names for the page's programming station and Check Connection
// (web/src/wasm/core_module.d.ts declares them). Only conversions between JavaScript values
// and the core's types live here; a record and a diagnosis cross from an exchange's module
// to the document's as plain objects.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <vector>

#include "config/app_globals.h"
#include "config/language.h"
#include "config/settings.h"
#include "js_values.h"
#include "transfer_messages.h"
#include "web_doctor.h"
#include "web_document.h"
#include "web_files.h"
#include "web_station.h"
#include "web_station_cable.h"

using emscripten::val;
using namespace js_values;

namespace {

StationImage ImageOf(const val& array) {
    const std::vector<uint8_t> bytes = BytesOf(array);
    StationImage image{};
    std::copy_n(bytes.begin(), std::min(bytes.size(), image.size()), image.begin());
    return image;
}

val RecordValue(const RadioRecord& record) {
    val object = val::object();
    object.set("time", record.time);
    object.set("finished", record.finished);
    object.set("run", record.run);
    object.set("cable", record.cable);
    object.set("number", record.number);
    object.set("identification", Bytes(record.identification));
    object.set("result", static_cast<int>(record.result));
    object.set("detail", record.detail);
    object.set("seconds", record.seconds);
    object.set("file", record.file);
    object.set("imageHash", record.imageHash);
    object.set("pttIdCode", record.pttIdCode);
    object.set("places", Array(record.places));
    return object;
}

RadioRecord RecordOf(const val& object) {
    RadioRecord record;
    record.time = Field(object, "time", std::string());
    record.finished = Field(object, "finished", std::string());
    record.run = Field(object, "run", std::string());
    record.cable = Field(object, "cable", std::string());
    record.number = Field(object, "number", 0);
    record.identification =
        emscripten::convertJSArrayToNumberVector<uint8_t>(object["identification"]);
    record.result = static_cast<RadioResult>(Field(object, "result", 0));
    record.detail = Field(object, "detail", std::string());
    record.seconds = Field(object, "seconds", 0.0);
    record.file = Field(object, "file", std::string());
    record.imageHash = Field(object, "imageHash", std::string());
    record.pttIdCode = Field(object, "pttIdCode", std::string());
    record.places = emscripten::vecFromJSArray<std::string>(object["places"]);
    return record;
}

// What a cable's module needs of the run, beside the radio's number and image.
val ClaimValue(const WebStation& station, const StationClaim& claim) {
    val object = val::object();
    object.set("number", claim.number);
    object.set("message", claim.message);
    if (claim.number > 0) {
        object.set("image", Bytes(std::vector<uint8_t>(claim.image.begin(), claim.image.end())));
        object.set("verify", station.Options().verify);
        object.set("checkOnly", station.Options().checkOnly);
        object.set("channelCount", station.Options().documentSettings.channelCount);
        object.set("runId", station.Options().runId);
        object.set("fileName", station.Options().fileName);
    }
    return object;
}

val DiagnosisValue(const Diagnosis& diagnosis) {
    val object = val::object();
    object.set("cause", static_cast<int>(diagnosis.cause));
    object.set("device", diagnosis.device);
    object.set("cable", static_cast<int>(diagnosis.cable));
    object.set("otherCableAnswered", diagnosis.otherCableAnswered);
    object.set("identificationLength", diagnosis.identificationLength);
    object.set("openError", diagnosis.openError);
    return object;
}

Diagnosis DiagnosisOf(const val& object) {
    Diagnosis diagnosis;
    diagnosis.cause = static_cast<DoctorCause>(Field(object, "cause", 0));
    diagnosis.device = Field(object, "device", std::string());
    diagnosis.cable = static_cast<CableType>(Field(object, "cable", 0));
    diagnosis.otherCableAnswered = Field(object, "otherCableAnswered", false);
    diagnosis.identificationLength = Field(object, "identificationLength", 0);
    diagnosis.openError = Field(object, "openError", std::string());
    return diagnosis;
}

val FindingValue(const Diagnosis& diagnosis) {
    const DoctorFinding finding = WordDiagnosis(diagnosis);
    val object = val::object();
    object.set("found", finding.found);
    object.set("text", finding.text);
    object.set("cableSwitch", finding.cableSwitch);
    return object;
}

// The run's options in a cable's own module, from the claim the document's module made.
StationOptions ClaimOptions(const val& claim) {
    StationOptions options;
    options.settingsPath = kWebSettingsPath;
    options.verify = Field(claim, "verify", true);
    options.checkOnly = Field(claim, "checkOnly", false);
    options.runId = Field(claim, "runId", std::string());
    options.fileName = Field(claim, "fileName", std::string());
    options.documentSettings =
        DocumentSettingsFor(kWebSettingsPath, Field(claim, "channelCount", 1));
    return options;
}

val RunCable(WebStationCable& cable, const val& claim, const std::string& name,
             const val& written) {
    return RecordValue(
        cable.Run(ClaimOptions(claim), name, Field(claim, "number", 0), ImageOf(claim["image"]),
                  [&written](const RadioRecord& record) { written(RecordValue(record)); }));
}

// The automatic mode in a cable's module; claim, written, done and stillAnswering are the
// page's functions over the document's module.
void RunAutomatic(WebStationCable& cable, const std::string& name, const val& claim,
                  const val& written, const val& done, const val& stillAnswering) {
    AutomaticSteps steps;
    steps.written = [&written](const RadioRecord& record) { written(RecordValue(record)); };
    steps.claim = [&claim](StationOptions* options, int* number, StationImage* image) {
        const val claimed = claim();
        *number = Field(claimed, "number", 0);
        if (*number == 0) {
            return false;
        }
        *options = ClaimOptions(claimed);
        *image = ImageOf(claimed["image"]);
        return true;
    };
    steps.done = [&done](const RadioRecord& record) {
        return done(RecordValue(record)).as<bool>();
    };
    steps.stillAnswering = [&stillAnswering](const RadioRecord& record) {
        stillAnswering(RecordValue(record));
    };
    cable.RunAutomatic(name, steps);
}

std::string ProbeWord(WebStationCable& cable) {
    switch (cable.Probe()) {
        case ProbeResult::Answered:
            return "answered";
        case ProbeResult::Silent:
            return "silent";
        case ProbeResult::Cancelled:
            break;
    }
    return "cancelled";
}

// Check Connection's tries, in the module that waits for the radio.
class WebDoctorLink {
public:
    explicit WebDoctorLink(int line) : m_Line(line) {}
    uintptr_t CancelAddress() const { return Address(&m_Cancel); }
    val Run(const std::string& name) {
        return DiagnosisValue(DiagnoseWebPort(m_Line, name, kWebSettingsPath, false, &m_Cancel));
    }

private:
    WebSerialLine m_Line;
    std::atomic<int32_t> m_Cancel{0};
};

}  // namespace

EMSCRIPTEN_BINDINGS(halvex_station) {
    using emscripten::class_;
    using emscripten::function;

    function(
        "stationFileText", +[](const WebDocument& document) { return StationFileText(document); });
    function(
        "cableStateText", +[](int phase, int percent) {
            return CableStateText(static_cast<CablePhase>(phase), percent);
        });
    function("cableName", &WebCableName);
    // The desktop's accessible names of its controls, for the page's unlabelled ones.
    function(
        "accessibleName", +[](int id) {
            return LoadLangText(g_LanguagePath, "AccessibleName", std::to_string(id), "",
                                kResourceBufferSize);
        });
    function(
        "portRefusedText", +[](const std::string& openError) {
            LinkOutcome outcome;
            outcome.read = false;
            outcome.status = StatusPortError;
            outcome.openError = openError;
            return TransferOutcomeText(outcome);
        });
    function(
        "connectionFinding",
        +[](const val& diagnosis) { return FindingValue(DiagnosisOf(diagnosis)); });
    function(
        "noPortFinding", +[] { return FindingValue(NoPortChosen()); });

    class_<WebStation>("Station")
        .constructor(+[] { return std::make_unique<WebStation>(kWebSettingsPath); })
        .function("start", &WebStation::Start)
        .function("stop", &WebStation::Stop)
        .function("running", &WebStation::Running)
        .function(
            "claim",
            +[](WebStation& station, const std::string& cable) {
                return ClaimValue(station, station.Claim(cable));
            })
        .function(
            "finish",
            +[](WebStation& station, const val& record) {
                const StationLogged logged = station.Finish(RecordOf(record));
                val object = val::object();
                object.set("words", logged.words);
                object.set("advice", logged.advice);
                object.set("ok", logged.ok);
                object.set("passed", logged.passed);
                object.set("message", logged.message);
                return object;
            })
        .function(
            "markWritten", +[](WebStation& station,
                               const val& record) { return station.MarkWritten(RecordOf(record)); })
        .function("unloggedText", &WebStation::UnloggedText)
        .function("keepUnlogged", &WebStation::KeepUnlogged)
        .function(
            "unloggedWords",
            +[](const WebStation& station) { return Array(station.UnloggedWords()); })
        .function(
            "logFile", +[](const WebStation& station) { return Bytes(station.LogBytes()); })
        .function("summary", &WebStation::Summary);

    class_<WebStationCable>("StationCable")
        .constructor(
            +[](int line) { return std::make_unique<WebStationCable>(line, kWebSettingsPath); })
        .function(
            "statusAddress",
            +[](const WebStationCable& cable) { return Address(&cable.Job().status); })
        .function(
            "progressAddress",
            +[](const WebStationCable& cable) { return Address(&cable.Job().progress); })
        .function(
            "cancelAddress",
            +[](const WebStationCable& cable) { return Address(&cable.Job().cancel); })
        .function(
            "phaseAddress", +[](const WebStationCable& cable) { return Address(cable.Phase()); })
        .function(
            "abandonAddress",
            +[](const WebStationCable& cable) { return Address(cable.Abandon()); })
        .function(
            "stopAddress", +[](const WebStationCable& cable) { return Address(cable.Stop()); })
        .function("open", &WebStationCable::Open)
        .function("probe", &ProbeWord)
        .function("run", &RunCable)
        .function("runAutomatic", &RunAutomatic)
        .function("close", &WebStationCable::Close);

    class_<WebDoctorLink>("DoctorLink")
        .constructor<int>()
        .function("cancelAddress", &WebDoctorLink::CancelAddress)
        .function("run", &WebDoctorLink::Run);
}
