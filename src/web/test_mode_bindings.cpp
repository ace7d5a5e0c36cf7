// SPDX-License-Identifier: GPL-3.0-or-later
// The module's names for test mode (web/src/wasm/core_module.d.ts declares them): the access
// code and the image taken back in the document's module, the session in an exchange module.
// Only conversions between JavaScript values and the core's types live here.
#include <emscripten/bind.h>
#include <emscripten/val.h>

#include <string>
#include <vector>

#include "js_values.h"
#include "testmode/access_code.h"
#include "web_test_mode.h"

using emscripten::val;
using namespace js_values;

namespace {

val BoxValue(const TestModeBox& box) {
    val object = val::object();
    object.set("caption", box.caption);
    object.set("text", box.text);
    object.set("stopIcon", box.stopIcon);
    return object;
}

val EndingValue(const TestModeEnding& ending) {
    val object = val::object();
    object.set("box", BoxValue(ending.box));
    object.set("warning", ending.warning);
    object.set("readStopped", ending.readStopped);
    object.set("refill", ending.refill);
    object.set("stepKey", ending.stepKey);
    return object;
}

TestExchangeKind KindOf(const std::string& kind) {
    if (kind == "start") {
        return TestExchangeKind::StartTestMode;
    }
    return kind == "write" ? TestExchangeKind::WriteAll : TestExchangeKind::ReadAll;
}

ScrollCode ScrollCodeOf(const std::string& code) {
    if (code == "left") {
        return ScrollCode::LineLeft;
    }
    if (code == "right") {
        return ScrollCode::LineRight;
    }
    if (code == "track") {
        return ScrollCode::ThumbTrack;
    }
    return code == "end" ? ScrollCode::EndScroll : ScrollCode::Other;
}

}  // namespace

EMSCRIPTEN_BINDINGS(halvex_test_mode) {
    using emscripten::class_;
    using emscripten::function;

    function(
        "testModeRefusal", +[](const std::string& entered) {
            const std::optional<TestModeMessage> refusal = CheckAccessCode(entered);
            return BoxValue(refusal ? WordTestModeMessage(*refusal) : TestModeBox());
        });
    function(
        "takeTestModeImage",
        +[](WebDocument& document, const val& image, const std::string& stepKey, int item) {
            return TakeTestModeImage(document, BytesOf(image), stepKey, item);
        });

    class_<WebTestMode>("TestMode")
        .constructor(+[](int line, const std::string& name, const val& image) {
            return std::make_unique<WebTestMode>(line, name, BytesOf(image));
        })
        .function(
            "progressAddress",
            +[](const WebTestMode& mode) { return Address(&mode.Job().progress); })
        .function(
            "cancelAddress", +[](const WebTestMode& mode) { return Address(&mode.Job().cancel); })
        .function(
            "fill", +[](WebTestMode& mode) { return Array(mode.Fill()); })
        .function(
            "itemLines", +[](const WebTestMode& mode) { return Array(mode.ItemLines()); })
        .function(
            "selected", +[](const WebTestMode& mode) { return mode.Session().SelectedItem(); })
        .function(
            "position", +[](const WebTestMode& mode) { return mode.Session().Position(); })
        .function(
            "inTestMode", +[](const WebTestMode& mode) { return mode.Session().InTestMode(); })
        .function("select", &WebTestMode::Select)
        .function(
            "scroll",
            +[](WebTestMode& mode, const std::string& code, int tracked) {
                const TestModeScroll scroll = mode.Scroll(ScrollCodeOf(code), tracked);
                val object = val::object();
                object.set("stored", scroll.stored);
                object.set("stepKey", scroll.stepKey);
                object.set("item", scroll.item);
                return object;
            })
        .function(
            "exchange",
            +[](WebTestMode& mode, const std::string& kind) {
                return EndingValue(mode.Exchange(KindOf(kind)));
            })
        .function(
            "useImage", +[](WebTestMode& mode, const val& image) { mode.UseImage(BytesOf(image)); })
        .function(
            "image", +[](const WebTestMode& mode) { return Bytes(mode.ImageBytes()); })
        .function("close", &WebTestMode::Close);
}
