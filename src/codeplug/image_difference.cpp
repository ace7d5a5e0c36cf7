#include "codeplug/image_difference.h"

#include <functional>

#include "codeplug/channel_rows.h"
#include "editors/ptt_id_code.h"
#include "editors/radiogram_codes.h"

namespace {

constexpr const char* kUnused = "-";
// A used channel's empty cell (no transmit side, no name) must not read as nothing at all.
constexpr const char* kBlank = "(none)";

ChannelRow RecordRow(const CHalvexDoc& document, int index, const std::vector<std::string>& tones) {
    if (index != kVfoF1 && index != kVfoF2 && document.IsChannelEmpty(index)) {
        ChannelRow row;
        row.fill(kUnused);
        return row;
    }
    ChannelRow row = ChannelRowTexts(document, index, tones);
    for (std::string& text : row) {
        if (text.empty()) {
            text = kBlank;
        }
    }
    return row;
}

void DiffRecord(const CHalvexDoc& first, const CHalvexDoc& second, int index,
                const std::string& item, const std::vector<std::string>& tones,
                std::vector<ImageDifference>* differences) {
    ChannelRow a = RecordRow(first, index, tones);
    ChannelRow b = RecordRow(second, index, tones);
    const ChannelRow& header = ChannelRowHeader();
    // Column 0 is the channel number itself; a VFO has no name column.
    size_t last =
        index == kVfoF1 || index == kVfoF2 ? kChannelColumnCount - 1 : kChannelColumnCount;
    for (size_t column = 1; column < last; ++column) {
        if (a[column] != b[column]) {
            differences->push_back({item, header[column], a[column], b[column]});
        }
    }
}

struct Setting {
    const char* name;
    std::function<int(const RadioImage&)> value;
};

const std::vector<Setting>& Settings() {
    static const std::vector<Setting> settings = {
        {"Squelch", [](const RadioImage& i) { return i.GetSquelch(); }},
        {"ScanMode", [](const RadioImage& i) { return i.GetScanMode(); }},
        {"DualWatch", [](const RadioImage& i) { return int{i.GetDualWatch()}; }},
        {"EndTone", [](const RadioImage& i) { return int{i.GetEndTone()}; }},
        {"Beep", [](const RadioImage& i) { return int{i.GetBeep()}; }},
        {"Backlight", [](const RadioImage& i) { return int{i.GetBacklight()}; }},
        {"PowerSave", [](const RadioImage& i) { return int{i.GetPowerSave()}; }},
        {"FreqMode", [](const RadioImage& i) { return i.GetFreqMode(); }},
        {"PttIdMode", [](const RadioImage& i) { return i.GetPttIdMode(); }},
        {"RadioFunction", [](const RadioImage& i) { return int{i.GetRadioFunction()}; }},
        {"VoicePrompt", [](const RadioImage& i) { return int{i.GetVoicePrompt()}; }},
        {"RadioWorkMode", [](const RadioImage& i) { return i.GetRadioWorkMode(); }},
        {"WorkModeA", [](const RadioImage& i) { return i.GetWorkModeA(); }},
        {"WorkModeB", [](const RadioImage& i) { return i.GetWorkModeB(); }},
        {"VoiceSelect", [](const RadioImage& i) { return i.GetVoiceSelect(); }},
        {"TxTimeLimit", [](const RadioImage& i) { return i.GetTxTimeLimit(); }},
        {"DualWatchTx", [](const RadioImage& i) { return i.GetDualWatchTx(); }},
        {"AniTx", [](const RadioImage& i) { return int{i.GetAniTx()}; }},
        {"DisplayF1", [](const RadioImage& i) { return i.GetDisplayF1(); }},
        {"DisplayF2", [](const RadioImage& i) { return i.GetDisplayF2(); }},
        {"SideTone", [](const RadioImage& i) { return int{i.GetSideTone()}; }},
        {"VoxLevel", [](const RadioImage& i) { return i.GetVoxLevel(); }},
    };
    return settings;
}

std::string FmPresetText(int code) {
    return code >= 0 && code <= kFmHighestCode ? FmCodeText(code) : kFmEmptyPresetText;
}

}  // namespace

std::vector<ImageDifference> DiffImages(const CHalvexDoc& first, const CHalvexDoc& second,
                                        int channelCount) {
    std::vector<std::string> tones = ToneListTexts("Off");
    std::vector<ImageDifference> differences;
    for (int n = 1; n <= channelCount; ++n) {
        DiffRecord(first, second, n, "Channel " + std::to_string(n), tones, &differences);
    }
    DiffRecord(first, second, kVfoF1, "VFO F1", tones, &differences);
    DiffRecord(first, second, kVfoF2, "VFO F2", tones, &differences);
    for (const Setting& setting : Settings()) {
        int a = setting.value(first);
        int b = setting.value(second);
        if (a != b) {
            differences.push_back({"Settings", setting.name, std::to_string(a), std::to_string(b)});
        }
    }
    std::string firstCode = PttIdCodeText(first.GetPttIdCode());
    std::string secondCode = PttIdCodeText(second.GetPttIdCode());
    if (firstCode != secondCode) {
        differences.push_back({"Settings", "PttIdCode", firstCode, secondCode});
    }
    for (int k = 1; k <= kFmPresetCount; ++k) {
        std::string a = FmPresetText(first.GetWord(kFmPresetBase, k));
        std::string b = FmPresetText(second.GetWord(kFmPresetBase, k));
        if (a != b) {
            differences.push_back({"FM preset " + std::to_string(k), "Frequency", a, b});
        }
    }
    return differences;
}

std::string DifferenceLine(const ImageDifference& difference) {
    return difference.item + ", " + difference.column + ": " + difference.first + " -> " +
           difference.second;
}
