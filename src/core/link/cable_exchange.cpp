// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/cable_exchange.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <vector>

#include "link/cable_line.h"
#include "link/clone_frames.h"

namespace {

// The size of the driver queues the radio link was designed around; a line that keeps
// delivering beyond this is not a radio, and the exchange that follows will say so.
constexpr int kDrainLimit = 3600;

bool IsSet(const CancelFlag* cancel) {
    return cancel != nullptr && cancel->load(std::memory_order_acquire) != 0;
}

// Whether the bytes received right after frame are frame itself. A one-byte frame proves
// nothing: its echo may be a radio's answer. When the answer buffer was smaller than the
// frame, the rest of the frame is taken from the line to make sure.
bool CameBackWhole(CableLine& port, const uint8_t* frame, int frameSize, const uint8_t* answer,
                   int count, int answerSize, int timeoutMs, const CancelFlag* cancel) {
    int compared = std::min(count, frameSize);
    if (frameSize < 2 || compared == 0 || std::memcmp(answer, frame, compared) != 0) {
        return false;
    }
    if (count >= frameSize) {
        return true;
    }
    if (count < answerSize) {
        return false;
    }
    std::vector<uint8_t> rest(static_cast<size_t>(frameSize - count));
    bool cancelled = false;
    int more = ReadUnlessCancelled(port, rest.data(), static_cast<int>(rest.size()), timeoutMs,
                                   cancel, &cancelled);
    return more == static_cast<int>(rest.size()) &&
           std::memcmp(rest.data(), frame + count, rest.size()) == 0;
}

}  // namespace

bool DrainReceive(CableLine& port, const CancelFlag* cancel, int quietMs) {
    for (int drained = 0; drained < kDrainLimit; ++drained) {
        uint8_t dropped = 0;
        bool cancelled = false;
        if (ReadUnlessCancelled(port, &dropped, 1, quietMs, cancel, &cancelled) == 0) {
            return !cancelled;
        }
    }
    return !IsSet(cancel);
}

int ReadUnlessCancelled(CableLine& port, uint8_t* buffer, int count, int timeoutMs,
                        const CancelFlag* cancel, bool* cancelled) {
    int received = 0;
    int left = std::max(timeoutMs, 0);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(left);
    // A read returns early only with every byte there, so each short slice took at least its
    // full time; on a busy machine it takes longer, and the clock keeps the total honest.
    do {
        if (IsSet(cancel)) {
            *cancelled = true;
            return received;
        }
        int slice = std::min(left, kWaitSliceMs);
        received += port.Read(buffer + received, count - received, slice);
        auto untilDeadline = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        left = static_cast<int>(std::min<int64_t>(left - slice, untilDeadline.count()));
    } while (received < count && left > 0);
    return received;
}

bool PauseUnlessCancelled(CableLine& port, int milliseconds, const CancelFlag* cancel) {
    for (int left = milliseconds; left > 0; left -= kWaitSliceMs) {
        if (IsSet(cancel)) {
            return false;
        }
        port.Pause(std::min(left, kWaitSliceMs));
    }
    return !IsSet(cancel);
}

CableAnswer ExchangeFrame(CableLine& port, CableType cable, const uint8_t* frame, int frameSize,
                          uint8_t* answer, int answerSize, int timeoutMs,
                          const CancelFlag* cancel) {
    CableAnswer result;
    // A stray byte right behind the last answer arrives within the lead delay.
    uint8_t stray[64];
    int dropped =
        ReadUnlessCancelled(port, stray, sizeof stray, kLeadDelayMs, cancel, &result.cancelled);
    // What came may be the head of a longer burst; its tail must not meet the answer.
    if (result.cancelled || (dropped > 0 && !DrainReceive(port, cancel))) {
        result.cancelled = true;
        return result;
    }
    port.Write(frame, frameSize, 0, cancel);
    if (cable == CableType::Direct) {
        result.count =
            ReadUnlessCancelled(port, answer, answerSize, timeoutMs, cancel, &result.cancelled);
        result.directEcho =
            !result.cancelled && CameBackWhole(port, frame, frameSize, answer, result.count,
                                               answerSize, timeoutMs, cancel);
        return result;
    }
    // The echo is checked byte by byte: the first byte that differs from the frame shows the
    // cable does not echo, and waiting out the rest of the echo's time-out would only stall a
    // direct cable on every frame.
    std::vector<uint8_t> echo(static_cast<size_t>(frameSize));
    int echoed = 0;
    bool mismatch = false;
    int lateAcknowledgements = 0;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (echoed < frameSize && !mismatch) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        int waitMs = static_cast<int>(std::max<int64_t>(left.count(), 0));
        if (ReadUnlessCancelled(port, &echo[static_cast<size_t>(echoed)], 1, waitMs, cancel,
                                &result.cancelled) != 1) {
            break;
        }
        // The echo of the acknowledgement of the block before, later than its short wait:
        // neither a read request's echo nor its data frame begins with one. Two at the most,
        // so a line that babbles acknowledgements still fails.
        if (echoed == 0 && echo[0] == clone_frames::kAck &&
            frame[0] == clone_frames::kReadCommand && lateAcknowledgements < 2) {
            ++lateAcknowledgements;
            continue;
        }
        mismatch = echo[static_cast<size_t>(echoed)] != frame[echoed];
        ++echoed;
    }
    if (echoed == 0 || result.cancelled) {
        return result;
    }
    if (!mismatch && echoed == frameSize) {
        result.echoSeen = true;
        result.count =
            ReadUnlessCancelled(port, answer, answerSize, timeoutMs, cancel, &result.cancelled);
        return result;
    }
    int taken = std::min(echoed, answerSize);
    std::memcpy(answer, echo.data(), static_cast<size_t>(taken));
    result.count = taken;
    if (taken < answerSize) {
        result.count += ReadUnlessCancelled(port, answer + taken, answerSize - taken, timeoutMs,
                                            cancel, &result.cancelled);
    }
    return result;
}

int ExchangeForByte(CableLine& port, CableType cable, const uint8_t* frame, int frameSize,
                    int timeoutMs) {
    uint8_t answer = 0;
    return ExchangeFrame(port, cable, frame, frameSize, &answer, 1, timeoutMs).count == 1 ? answer
                                                                                          : -1;
}
