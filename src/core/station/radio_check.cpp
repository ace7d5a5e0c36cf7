// SPDX-License-Identifier: GPL-3.0-or-later
#include "station/radio_check.h"

#include "codeplug/document.h"
#include "codeplug/image_difference.h"

namespace {

constexpr size_t kPlacesInDetail = 10;

// The documents exist only to be compared: nothing opens, saves or asks.
class ComparePrompts : public DocumentPrompts {
public:
    bool AskOkCancel(const DocumentMessage&) override { return false; }
    void ShowStopMessage(const DocumentMessage&) override {}
    std::optional<std::string> AskSavePath() override { return std::nullopt; }
};

}  // namespace

std::vector<std::string> DifferingPlaces(const std::array<uint8_t, kImageSize>& file,
                                         const std::array<uint8_t, kImageSize>& radio,
                                         const DocumentSettings& settings) {
    ComparePrompts prompts;
    CHalvexDoc expected(prompts, settings);
    CHalvexDoc held(prompts, settings);
    expected.EditImage().bytes = file;
    held.EditImage().bytes = radio;
    std::vector<std::string> places;
    for (const ImageDifference& difference :
         DiffImages(expected, held, expected.GetChannelCount())) {
        places.push_back(DifferenceLine(difference));
    }
    return places;
}

std::string PlacesDetail(const std::vector<std::string>& places) {
    std::string detail;
    for (size_t k = 0; k < places.size() && k < kPlacesInDetail; ++k) {
        // Appended piece by piece: the optimised build warns falsely on "" + string.
        if (k > 0) {
            detail += "; ";
        }
        detail += places[k];
    }
    if (places.size() > kPlacesInDetail) {
        detail += "; and " + std::to_string(places.size() - kPlacesInDetail) + " more";
    }
    return detail;
}
