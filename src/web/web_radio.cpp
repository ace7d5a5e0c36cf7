// SPDX-License-Identifier: GPL-3.0-or-later
#include "web_radio.h"

#include "sim/demo_memory.h"

namespace {

constexpr int64_t kNanosecondsPerMs = 1000000;

}  // namespace

WebRadio::WebRadio(bool echo, bool paced, const VirtualRadioFaults& faults, int radios,
                   int swapAfterMs)
    : m_Echo(echo), m_Paced(paced) {
    m_Sequence.Responder().memory = DemoMemory();
    RadioSequenceOptions sequence;
    sequence.radios = radios;
    sequence.swapAfterMs = swapAfterMs;
    sequence.faults = faults;
    m_Sequence.Start(sequence);
}

TimedAnswer WebRadio::Feed(const std::vector<uint8_t>& bytes) {
    // As radio-sim serves its line: each byte arrives after the ones before it, its echo and
    // the answer it completes leave after it, and a late answer waits its delay.
    const int64_t now = MonotonicNow();
    // Nothing waits here: the radios are swapped when the program next sends, as it does
    // every few hundred milliseconds while it watches for the swap.
    m_Sequence.Swap(now);
    TimedAnswer answer;
    std::vector<uint8_t> reply;
    auto add = [&](uint8_t value, int64_t ready) {
        const int64_t leaves = m_Paced ? m_Pacer.Departure(ready) : ready;
        answer.bytes.push_back(value);
        answer.readyMs.push_back(static_cast<double>(leaves - now) / kNanosecondsPerMs);
    };
    for (uint8_t byte : bytes) {
        const int64_t arrival = m_Paced ? m_Pacer.Arrival(now) : now;
        if (m_Echo) {
            add(byte, arrival);
        }
        reply.clear();
        if (!m_Sequence.Feed(byte, &reply)) {
            continue;
        }
        const int64_t ready =
            arrival + m_Sequence.Responder().TakeAnswerDelayMs() * kNanosecondsPerMs;
        for (uint8_t value : reply) {
            add(value, ready);
        }
    }
    m_Sequence.EndArrival(now);
    return answer;
}

void WebRadio::SetFaults(const VirtualRadioFaults& faults) {
    m_Sequence.SetFaults(faults);
}

std::vector<uint8_t> WebRadio::Memory() const {
    const RadioMemory& memory = m_Sequence.Responder().memory;
    return {memory.begin(), memory.end()};
}

std::vector<uint8_t> WebRadio::MemoryOf(int radio) const {
    const RadioMemory& memory = m_Sequence.MemoryOf(radio);
    return {memory.begin(), memory.end()};
}
