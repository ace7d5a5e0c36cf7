// SPDX-License-Identifier: GPL-3.0-or-later
#include "station/radio_watch.h"

#include <chrono>

namespace {

// Between two looks for the unplugging of a radio that still answered: short, so that a
// radio swapped for the next within a second is still seen to go.
constexpr int kUnplugLookMs = 100;

}  // namespace

ProbeResult AwaitNextRadio(const RadioWatch& watch, int intervalMs) {
    for (;;) {
        const ProbeResult result = watch.probe(kProbeTries);
        if (result != ProbeResult::Silent) {
            return result;
        }
        if (!watch.sleep(intervalMs)) {
            return ProbeResult::Cancelled;
        }
    }
}

bool AwaitUnplug(const RadioWatch& watch, int stillAnsweringMs,
                 const std::function<void()>& stillAnswering) {
    const auto tellAt =
        std::chrono::steady_clock::now() + std::chrono::milliseconds(stillAnsweringMs);
    bool told = false;
    // One wake-up per look, so that the looks come often; the radio counts as gone only
    // after as many unanswered looks in a row as a probe makes tries.
    int unanswered = 0;
    for (;;) {
        if (unanswered == 0 && !watch.sleep(kUnplugLookMs)) {
            return false;
        }
        switch (watch.probe(1)) {
            case ProbeResult::Answered:
                unanswered = 0;
                break;
            case ProbeResult::Silent:
                if (++unanswered >= kProbeTries) {
                    return true;
                }
                continue;
            case ProbeResult::Cancelled:
                return false;
        }
        if (!told && std::chrono::steady_clock::now() >= tellAt) {
            told = true;
            stillAnswering();
        }
    }
}
