// SPDX-License-Identifier: GPL-3.0-or-later
#include "web_setting_fields.h"

#include <optional>
#include <utility>

#include "codeplug/band_lines.h"
#include "config/language.h"
#include "config/setting_definitions.h"
#include "config/settings_check.h"
#include "editors/page_words.h"
#include "platform/profile.h"
#include "web_files.h"
#include "web_settings.h"

namespace {

constexpr const char* kShownName = "setting.ini";

struct NumberField {
    const IntSetting* setting;
    const char* labelKey;
};

constexpr NumberField kNumberFields[] = {
    {&settings::kChannelCount, "IDS_WEB_CHANNEL_COUNT"},
    {&settings::kReadTime, "IDS_WEB_READ_TIME"},
    {&settings::kWriteTime, "IDS_WEB_WRITE_TIME"},
};

// The verify check box's label is the transfer dialog's.
constexpr int kVerifyLabelId = 1160;

std::string RawValue(const std::string& contents, std::string_view section,
                     const std::string& key) {
    const std::optional<std::string> value = FindProfileValue(contents, section, key);
    return value ? std::string(value->c_str()) : std::string();
}

// The whole-number settings the dialog shows; any other key is none of its business.
const IntSetting* IntSettingNamed(const std::string& key) {
    for (const IntSetting* setting :
         {&settings::kRwType, &settings::kChannelCount, &settings::kReadTime, &settings::kWriteTime,
          &settings::kVerifyWrite}) {
        if (setting->key == key) {
            return setting;
        }
    }
    return nullptr;
}

bool IsNumberedKey(const NumberedTextSetting& setting, const std::string& key) {
    for (int k = 0; k < setting.count; ++k) {
        if (setting.Key(k) == key) {
            return true;
        }
    }
    return false;
}

}  // namespace

std::vector<SettingField> SettingFields() {
    std::vector<SettingField> fields;
    fields.push_back(
        {std::string(settings::kRwType.key),
         LoadLangString("IDS_WEB_CABLE"),
         {"1", "2"},
         {LoadLangString("Menu_Setting_Cable_Direct"), LoadLangString("Menu_Setting_Cable_Echo")},
         CableType() == 1 ? "1" : "2"});
    for (const NumberField& number : kNumberFields) {
        fields.push_back({std::string(number.setting->key),
                          LoadLangString(number.labelKey),
                          {},
                          {},
                          std::to_string(number.setting->Read(kWebSettingsPath))});
    }
    fields.push_back({std::string(settings::kVerifyWrite.key),
                      LoadResourceText(kVerifyLabelId),
                      {"0", "1"},
                      {},
                      VerifyAfterWrite() ? "1" : "0"});
    return fields;
}

std::vector<BandLineField> BandLineFields() {
    const std::string contents = SettingsText();
    const std::string nameLabel = LoadLangString("IDS_WEB_BAND_NAME");
    const std::string lineLabel = LoadLangString("IDS_WEB_BAND_LINE");
    std::vector<BandLineField> fields;
    // A band line without a name has no entry in the band selector.
    for (int k = 0; k < settings::kRangeNames.count; ++k) {
        const std::string nameKey = settings::kRangeNames.Key(k);
        const std::string lineKey = settings::kBandLines.Key(k);
        fields.push_back(
            {{nameKey, nameLabel, {}, {}, RawValue(contents, settings::kModelSection, nameKey)},
             {lineKey, lineLabel, {}, {}, RawValue(contents, settings::kModelSection, lineKey)}});
    }
    return fields;
}

std::string ApplySettingEdits(const std::vector<SettingEdit>& edits, bool* used) {
    *used = false;
    std::string contents = SettingsText();
    std::string refusals;
    auto refuse = [&refusals](const std::string& why) {
        refusals += (refusals.empty() ? "" : "\n") + why;
    };
    for (const SettingEdit& edit : edits) {
        std::string_view section = settings::kSetupSection;
        if (const IntSetting* setting = IntSettingNamed(edit.key)) {
            if (!setting->Parse(edit.value)) {
                refuse(BadValueMessage(kShownName, {setting, edit.value}, false));
                continue;
            }
        } else if (IsNumberedKey(settings::kBandLines, edit.key)) {
            section = settings::kModelSection;
            if (!edit.value.empty() && !IsUsableBandLine(edit.value)) {
                refuse(FillPlaces(LoadLangString("IDS_WEB_BAD_BAND_LINE"),
                                  {edit.key + "=" + edit.value}));
                continue;
            }
        } else if (IsNumberedKey(settings::kRangeNames, edit.key)) {
            section = settings::kModelSection;
        } else {
            refuse(std::string(kShownName) + ": " + edit.key + " is not a setting of this dialog");
            continue;
        }
        std::string error;
        std::optional<std::string> changed =
            SetProfileValue(contents, section, edit.key, edit.value, &error);
        if (!changed) {
            refuse(std::string(kShownName) + ": " + edit.key + ": " + error);
            continue;
        }
        contents = std::move(*changed);
    }
    if (!refusals.empty()) {
        return refusals;
    }
    return UseSettingsText(contents, used);
}
