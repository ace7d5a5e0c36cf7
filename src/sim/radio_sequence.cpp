// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/radio_sequence.h"

#include <algorithm>

namespace {

// A program pauses a second after the end byte of a write before it reads the radio back;
// a radio pulled in that pause would fail every verified write.
constexpr int64_t kReadBackGraceMs = 2000;

constexpr int64_t kNanosecondsPerMs = 1000000;

}  // namespace

void RadioSequence::Start(const RadioSequenceOptions& options) {
    m_Options = options;
    const RadioMemory memory = m_Responder.memory;
    m_Responder = CloneResponder(FaultsOf(1));
    m_Responder.memory = memory;
    m_Memories.assign(static_cast<size_t>(std::max(options.radios, 1)), memory);
    for (size_t k = 0; k < options.memories.size() && k + 1 < m_Memories.size(); ++k) {
        m_Memories[k + 1] = options.memories[k];
    }
    m_WrittenRadios.assign(m_Memories.size(), false);
    m_Current = 0;
    m_Plugged = true;
    m_UnplugAt = 0;
    m_PlugAt = 0;
}

VirtualRadioFaults RadioSequence::FaultsOf(int radio) const {
    if (m_Options.faultyRadio == 0 || m_Options.faultyRadio == radio) {
        return m_Options.faults;
    }
    return {};
}

void RadioSequence::SetFaults(const VirtualRadioFaults& faults) {
    m_Options.faults = faults;
    m_Options.faultyRadio = 0;
    const RadioMemory memory = m_Responder.memory;
    m_Responder = CloneResponder(faults);
    m_Responder.memory = memory;
}

int RadioSequence::Swap(int64_t now) {
    // Nobody pulls a radio in the middle of a read-back: the unplugging waits for the end byte.
    if (m_UnplugAt != 0 && now >= m_UnplugAt && m_Responder.InSession()) {
        return -1;
    }
    if (m_UnplugAt != 0 && now >= m_UnplugAt) {
        m_Memories[static_cast<size_t>(m_Current)] = m_Responder.memory;
        m_Plugged = false;
        m_UnplugAt = 0;
        if (m_Current + 1 < static_cast<int>(m_Memories.size())) {
            m_PlugAt = now + m_Options.swapAfterMs * kNanosecondsPerMs;
        }
    }
    if (m_PlugAt != 0 && now >= m_PlugAt) {
        ++m_Current;
        m_Responder = CloneResponder(FaultsOf(m_Current + 1));
        m_Responder.memory = m_Memories[static_cast<size_t>(m_Current)];
        m_Plugged = true;
        m_PlugAt = 0;
    }
    const int64_t next = m_UnplugAt != 0 ? m_UnplugAt : m_PlugAt;
    if (next == 0) {
        return -1;
    }
    return static_cast<int>((next - now + kNanosecondsPerMs - 1) / kNanosecondsPerMs);
}

bool RadioSequence::Feed(uint8_t byte, std::vector<uint8_t>* answer) {
    if (!m_Plugged) {
        return false;
    }
    m_Responder.Feed(byte, answer);
    return true;
}

bool RadioSequence::EndArrival(int64_t now) {
    const bool completed = m_Responder.TakeWriteCompleted();
    if (completed) {
        m_WrittenRadios[static_cast<size_t>(m_Current)] = true;
    }
    if (m_Responder.TakeBlockSessionEnded() && m_Memories.size() > 1) {
        const int64_t after = m_Options.swapAfterMs + (completed ? kReadBackGraceMs : 0);
        m_UnplugAt = now + after * kNanosecondsPerMs;
    }
    return completed;
}

const RadioMemory& RadioSequence::MemoryOf(int radio) const {
    if (radio - 1 == m_Current || radio < 1 || radio > static_cast<int>(m_Memories.size())) {
        return m_Responder.memory;
    }
    return m_Memories[static_cast<size_t>(radio - 1)];
}

bool RadioSequence::WasWritten(int radio) const {
    return radio >= 1 && radio <= static_cast<int>(m_WrittenRadios.size()) &&
           m_WrittenRadios[static_cast<size_t>(radio - 1)];
}
