// SPDX-License-Identifier: GPL-3.0-or-later
// The pure rules behind the functions and VFO pages: the PTT-ID code text, which control
// shows which option, the filling of the pages' words and the way a VFO's two frequency
// boxes become receive frequency, shift and offset.
#include <gtest/gtest.h>

#include <clocale>
#include <string>

#include "codeplug/ptt_id_code.h"
#include "editors/function_options.h"
#include "editors/page_words.h"
#include "editors/vfo_frequencies.h"

namespace {

constexpr uint8_t kNo = 0xFF;

TEST(PttIdCode, TextToBytesStopsAtTheFirstNonDigit) {
    const struct {
        std::string text;
        PttIdCode code;
    } cases[] = {
        {"12AB", {1, 2, 10, 11, kNo, kNo}},     {"12ab", {1, 2, 10, 11, kNo, kNo}},
        {"0D9C", {0, 13, 9, 12, kNo, kNo}},     {"", {kNo, kNo, kNo, kNo, kNo, kNo}},
        {"#1", {kNo, kNo, kNo, kNo, kNo, kNo}}, {"12*3", {1, 2, kNo, kNo, kNo, kNo}},
        {"1E", {1, kNo, kNo, kNo, kNo, kNo}},   {"1234567", {1, 2, 3, 4, 5, 6}},
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(PttIdCodeFromText(entry.text), entry.code) << entry.text;
    }
}

TEST(PttIdCode, BytesToTextStopsAtTheFirstNonDigitCode) {
    const struct {
        PttIdCode code;
        std::string text;
    } cases[] = {
        {{1, 2, 10, 11, kNo, kNo}, "12AB"},
        {{1, 14, 2, 3, 4, 5}, "1"},
        {{0, 13, 9, 12, 0, 0}, "0D9C00"},
        {{kNo, 1, 2, 3, 4, 5}, ""},
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(PttIdCodeText(entry.code), entry.text);
    }
}

// Every option has exactly one control and back, so no page shows one under another's.
TEST(FunctionControls, EachOptionHasOneControlAndBack) {
    size_t shown = 0;
    for (const FunctionControl& control : FunctionControls()) {
        const RadioOptionDefinition* option = OptionOfControl(control.controlId);
        ASSERT_NE(option, nullptr) << control.option;
        EXPECT_EQ(OptionControlId(*option), control.controlId) << control.option;
        ++shown;
    }
    EXPECT_EQ(shown, kRadioOptions.size());
    EXPECT_EQ(OptionOfControl(0), nullptr);
}

TEST(PageWords, FillPlacesTakesEachMarkOnceByNumber) {
    const struct {
        std::string text;
        std::vector<std::string> arguments;
        std::string filled;
    } cases[] = {
        {"%1 of %2", {"a", "b"}, "a of b"},
        {"%2 vor %1", {"a", "b"}, "b vor a"},
        {"%1/%1", {"x"}, "x/x"},
        {"%1 %2", {"%2", "b"}, "%2 b"},
        {"%3 100%", {"a"}, "%3 100%"},
        {"%10", {"a"}, "%10"},
        {"", {"a"}, ""},
    };
    for (const auto& entry : cases) {
        EXPECT_EQ(FillPlaces(entry.text, entry.arguments), entry.filled) << entry.text;
    }
}

// 136-174, 220-260 and 400-520 MHz, as a three-band model's line gives them.
FrequencyLimits ThreeBands() {
    return {13600000, 52000000, true, 17400000, 22000000, 26000000, 40000000};
}

TEST(VfoFrequencies, TransmitBecomesShiftAndOffset) {
    const struct {
        std::string receive, transmit;
        VfoFrequencies stored;
        std::string shownTransmit;
    } cases[] = {
        {"146.12500", "146.72500", {"146.12500", kShiftPlus, "000.60000"}, "146.72500"},
        {"438.50000", "430.90000", {"438.50000", kShiftMinus, "007.60000"}, "430.90000"},
        {"146.12500", "", {"146.12500", kShiftMinus, "146.12500"}, ""},
        {"146.12500", "146.12500", {"146.12500", kShiftNone, "000.00000"}, "146.12500"},
        // Typed 146.1 and 146.123 land on the raster before they are compared.
        {"146.1", "146.123", {"146.10000", kShiftPlus, "000.02500"}, "146.12500"},
        {"146.123", "146.12500", {"146.12500", kShiftNone, "000.00000"}, "146.12500"},
        // Out of the band: clamped to the violated limit.
        {"600", "146.12500", {"520.00000", kShiftMinus, "373.87500"}, "146.12500"},
        {"100", "", {"136.00000", kShiftMinus, "136.00000"}, ""},
        // Between the upper two bands: snapped to the bottom of the middle band.
        {"146.12500", "300", {"146.12500", kShiftPlus, "073.87500"}, "220.00000"},
        // An emptied receive box is stored as frequency 0, never left empty.
        {"", "146.12500", {"000.00000", kShiftPlus, "146.12500"}, "146.12500"},
    };
    for (const auto& entry : cases) {
        SCOPED_TRACE(entry.receive + " / " + entry.transmit);
        VfoFrequencies stored =
            VfoFrequenciesFromTexts(entry.receive, entry.transmit, ThreeBands());
        EXPECT_EQ(stored.receiveText, entry.stored.receiveText);
        EXPECT_EQ(stored.shift, entry.stored.shift);
        EXPECT_EQ(stored.offsetText, entry.stored.offsetText);
        // The receive text is re-read from the record, which drops the leading zero.
        std::string receive =
            stored.receiveText[0] == '0' ? stored.receiveText.substr(1) : stored.receiveText;
        EXPECT_EQ(VfoTransmitText(receive, stored.offsetText, stored.shift), entry.shownTransmit);
    }
}

TEST(VfoFrequencies, TransmitTextFollowsTheShift) {
    EXPECT_EQ(VfoTransmitText("146.12500", "000.60000", kShiftNone), "146.12500");
    EXPECT_EQ(VfoTransmitText("146.12500", "000.60000", kShiftMinus), "145.52500");
    EXPECT_EQ(VfoTransmitText("146.12500", "000.60000", kShiftPlus), "146.72500");
    // An empty offset field counts as no offset; two empty fields show an empty box.
    EXPECT_EQ(VfoTransmitText("146.12500", "", kShiftPlus), "146.12500");
    EXPECT_EQ(VfoTransmitText("", "", kShiftPlus), "");
}

// The desktop runs under the user's locale; a decimal comma must not leak into the texts.
TEST(VfoFrequencies, TransmitTextIgnoresTheDecimalCommaOfTheLocale) {
    const std::string previous = std::setlocale(LC_NUMERIC, nullptr);
    if (std::setlocale(LC_NUMERIC, "de_DE.UTF-8") == nullptr) {
        GTEST_SKIP() << "no locale with a decimal comma is installed";
    }
    const std::string shown = VfoTransmitText("146.12500", "000.60000", kShiftPlus);
    std::setlocale(LC_NUMERIC, previous.c_str());
    EXPECT_EQ(shown, "146.72500");
}

}  // namespace
