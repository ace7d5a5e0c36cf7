// SPDX-License-Identifier: GPL-3.0-or-later
#include "station/radio_probe.h"

#include "link/clone_frames.h"

namespace {

// A radio that is there answers within a few milliseconds; the longer wait keeps a busy
// machine from taking a present radio for an unplugged one.
constexpr int kProbeAnswerMs = 250;

}  // namespace

ProbeResult ProbeRadio(CableLine& port, CableType cable, const CancelFlag* cancel, int tries) {
    using namespace clone_frames;
    for (int attempt = 0; attempt < tries; ++attempt) {
        // A late answer to the try before must not pass for this one's.
        if (!DrainReceive(port, cancel)) {
            return ProbeResult::Cancelled;
        }
        uint8_t reply = 0;
        CableAnswer answer = ExchangeFrame(port, cable, kWakeUpFrame, sizeof kWakeUpFrame, &reply,
                                           1, kProbeAnswerMs, cancel);
        if (answer.cancelled) {
            return ProbeResult::Cancelled;
        }
        // An echoing cable on the direct setting: the write says so better than silence would.
        if (answer.directEcho) {
            return ProbeResult::Answered;
        }
        if (answer.count == 1 && reply == kAck) {
            uint8_t dropped = 0;
            ExchangeFrame(port, cable, &kEndCommand, 1, &dropped, 1, kShortAnswerMs, cancel);
            return ProbeResult::Answered;
        }
    }
    return ProbeResult::Silent;
}
