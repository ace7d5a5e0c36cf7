// SPDX-License-Identifier: GPL-3.0-or-later
#include "editors/vfo_fields.h"

#include <initializer_list>

#include "config/language.h"
#include "editors/page_words.h"
#include "editors/vfo_frequencies.h"
#include "resources/ids/vfo_page_ids.h"

namespace {

constexpr VfoControlIds kVfoControls[] = {
    {kVfoF1, kVfoF1GroupId, kVfoF1ReceiveId, kVfoF1TransmitId, kVfoF1ReceiveToneId,
     kVfoF1TransmitToneId, kVfoF1PowerId, kVfoF1BclId, kVfoF1BandwidthId, kVfoF1ScanAddId,
     kVfoF1ReverseId, kVfoF1PttIdId, kVfoF1CompanderId, kVfoF1StepId},
    {kVfoF2, kVfoF2GroupId, kVfoF2ReceiveId, kVfoF2TransmitId, kVfoF2ReceiveToneId,
     kVfoF2TransmitToneId, kVfoF2PowerId, kVfoF2BclId, kVfoF2BandwidthId, kVfoF2ScanAddId,
     kVfoF2ReverseId, kVfoF2PttIdId, kVfoF2CompanderId, kVfoF2StepId},
};

std::vector<std::string> LanguageTexts(std::initializer_list<const char*> keys) {
    std::vector<std::string> texts;
    for (const char* key : keys) {
        texts.push_back(LoadLangString(key));
    }
    return texts;
}

std::vector<std::string> ToneEntries() {
    return ToneListTexts(LoadLangString("IDS_OFF"));
}
std::vector<std::string> LowHighEntries() {
    return LanguageTexts({"IDS_LOW", "IDS_HIGH"});
}
std::vector<std::string> OffOnEntries() {
    return LanguageTexts({"IDS_OFF", "IDS_ON"});
}
std::vector<std::string> BandwidthEntries() {
    return LanguageTexts({"IDS_WIDE", "IDS_NARROW", "IDS_MIDDLE"});
}
std::vector<std::string> StepEntries() {
    return LoadLangList("Step");
}

template <RecordSide Side>
int ReadTone(const CHalvexDoc& document, int record) {
    return document.Image().GetTone(record, Side);
}
template <RecordSide Side>
void WriteTone(CHalvexDoc& document, int record, int index) {
    document.EditImage().SetTone(record, Side, index);
}
template <bool (RadioImage::*Get)(int) const>
int ReadSwitch(const CHalvexDoc& document, int record) {
    return (document.Image().*Get)(record) ? 1 : 0;
}
template <void (RadioImage::*Set)(int, bool)>
void WriteSwitch(CHalvexDoc& document, int record, int index) {
    (document.EditImage().*Set)(record, index != 0);
}
template <int (RadioImage::*Get)(int) const>
int ReadIndex(const CHalvexDoc& document, int record) {
    return (document.Image().*Get)(record);
}
template <void (RadioImage::*Set)(int, int)>
void WriteIndex(CHalvexDoc& document, int record, int index) {
    (document.EditImage().*Set)(record, index);
}

constexpr VfoChoice kChoices[] = {
    {&VfoControlIds::receiveTone, ToneEntries, ReadTone<kDecodeSide>, WriteTone<kDecodeSide>},
    {&VfoControlIds::transmitTone, ToneEntries, ReadTone<kEncodeSide>, WriteTone<kEncodeSide>},
    {&VfoControlIds::power, LowHighEntries, ReadSwitch<&RadioImage::GetPowerHigh>,
     WriteSwitch<&RadioImage::SetPowerHigh>},
    {&VfoControlIds::bcl, OffOnEntries, ReadSwitch<&RadioImage::GetBcl>,
     WriteSwitch<&RadioImage::SetBcl>},
    {&VfoControlIds::bandwidth, BandwidthEntries, ReadIndex<&RadioImage::GetBandwidth>,
     WriteIndex<&RadioImage::SetBandwidth>},
    {&VfoControlIds::scanAdd, OffOnEntries, ReadSwitch<&RadioImage::GetScanAdd>,
     WriteSwitch<&RadioImage::SetScanAdd>},
    {&VfoControlIds::reverse, OffOnEntries, ReadSwitch<&RadioImage::GetReverse>,
     WriteSwitch<&RadioImage::SetReverse>},
    {&VfoControlIds::pttId, OffOnEntries, ReadSwitch<&RadioImage::GetPttId>,
     WriteSwitch<&RadioImage::SetPttId>},
    {&VfoControlIds::compander, OffOnEntries, ReadSwitch<&RadioImage::GetCompander>,
     WriteSwitch<&RadioImage::SetCompander>},
    {&VfoControlIds::step, StepEntries, ReadIndex<&RadioImage::GetStep>,
     WriteIndex<&RadioImage::SetStep>},
};

void RecordEdit(CHalvexDoc& document, const VfoControlIds& vfo, int controlId) {
    document.SetModifiedFlag();
    document.CommitEdit(
        MakeStepName("IDS_STEP_VFO", {StepPart::Control(vfo.group), StepPart::Control(controlId)}));
}

}  // namespace

std::span<const VfoControlIds> VfoControls() {
    return kVfoControls;
}

const VfoControlIds* VfoOfControl(int controlId) {
    for (const VfoControlIds& vfo : kVfoControls) {
        if (controlId == vfo.receive || controlId == vfo.transmit) {
            return &vfo;
        }
        for (const VfoChoice& choice : kChoices) {
            if (vfo.*choice.control == controlId) {
                return &vfo;
            }
        }
    }
    return nullptr;
}

std::span<const VfoChoice> VfoChoices() {
    return kChoices;
}

const VfoChoice* VfoChoiceOf(int controlId) {
    for (const VfoControlIds& vfo : kVfoControls) {
        for (const VfoChoice& choice : kChoices) {
            if (vfo.*choice.control == controlId) {
                return &choice;
            }
        }
    }
    return nullptr;
}

bool ChooseVfoEntry(CHalvexDoc& document, const VfoControlIds& vfo, const VfoChoice& choice,
                    int index) {
    if (index < 0 || index >= static_cast<int>(choice.entries().size())) {
        return false;
    }
    const auto before = document.Image().bytes;
    choice.write(document, vfo.record, index);
    if (document.Image().bytes == before) {
        return false;
    }
    RecordEdit(document, vfo, vfo.*choice.control);
    return true;
}

std::string VfoTransmitBoxText(const CHalvexDoc& document, const VfoControlIds& vfo) {
    return VfoTransmitText(document.Image().GetFrequencyText(vfo.record, kDecodeSide),
                           document.Image().GetFrequencyText(vfo.record, kEncodeSide),
                           document.Image().GetShiftDirection(vfo.record));
}

VfoFrequencyStore StoreVfoFrequencies(CHalvexDoc& document, const VfoControlIds& vfo,
                                      std::string_view receive, std::string_view transmit) {
    const FrequencyLimits& limits = document.GetFrequencyLimits();
    const VfoFrequencies stored = VfoFrequenciesFromTexts(receive, transmit, limits);
    const auto before = document.Image().GetRecord(vfo.record);
    const std::string receiveBefore = document.Image().GetFrequencyText(vfo.record, kDecodeSide);
    document.SetFrequencyText(vfo.record, kDecodeSide, stored.receiveText);
    document.EditImage().SetShiftDirection(vfo.record, stored.shift);
    document.SetFrequencyText(vfo.record, kEncodeSide, stored.offsetText);
    VfoFrequencyStore result;
    result.changed = document.Image().GetRecord(vfo.record) != before;
    if (result.changed) {
        const bool receiveChanged =
            document.Image().GetFrequencyText(vfo.record, kDecodeSide) != receiveBefore;
        RecordEdit(document, vfo, receiveChanged ? vfo.receive : vfo.transmit);
    }
    result.receiveClamp = FrequencyClampOf(receive, limits);
    result.transmitClamp = FrequencyClampOf(transmit, limits);
    return result;
}
