// SPDX-License-Identifier: GPL-3.0-or-later
#include "web_radio.h"

#include "sim/demo_memory.h"

namespace {

constexpr int64_t kNanosecondsPerMs = 1000000;

}  // namespace

WebRadio::WebRadio(bool echo, bool paced, const VirtualRadioFaults& faults)
    : m_Echo(echo), m_Paced(paced), m_Responder(faults) {
    m_Responder.memory = DemoMemory();
}

TimedAnswer WebRadio::Feed(const std::vector<uint8_t>& bytes) {
    // As radio-sim serves its line: each byte arrives after the ones before it, its echo and
    // the answer it completes leave after it, and a late answer waits its delay.
    const int64_t now = MonotonicNow();
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
        m_Responder.Feed(byte, &reply);
        const int64_t ready = arrival + m_Responder.TakeAnswerDelayMs() * kNanosecondsPerMs;
        for (uint8_t value : reply) {
            add(value, ready);
        }
    }
    return answer;
}

void WebRadio::SetFaults(const VirtualRadioFaults& faults) {
    const RadioMemory memory = m_Responder.memory;
    m_Responder = CloneResponder(faults);
    m_Responder.memory = memory;
}

std::vector<uint8_t> WebRadio::Memory() const {
    return {m_Responder.memory.begin(), m_Responder.memory.end()};
}
