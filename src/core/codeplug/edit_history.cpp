// SPDX-License-Identifier: GPL-3.0-or-later
#include "codeplug/edit_history.h"

#include <algorithm>

namespace {

// Runs this close together become one, so a field of scattered bits is one run.
constexpr size_t kJoinGap = 4;

std::vector<ByteRun> DifferingRuns(const std::vector<uint8_t>& before,
                                   const std::vector<uint8_t>& after) {
    std::vector<ByteRun> runs;
    size_t size = std::min(before.size(), after.size());
    size_t i = 0;
    while (i < size) {
        if (before[i] == after[i]) {
            ++i;
            continue;
        }
        size_t end = i + 1;
        size_t lastDiffering = i;
        while (end < size && end - lastDiffering <= kJoinGap) {
            if (before[end] != after[end]) {
                lastDiffering = end;
            }
            ++end;
        }
        end = lastDiffering + 1;
        ByteRun run;
        run.offset = i;
        run.before.assign(before.begin() + static_cast<ptrdiff_t>(i),
                          before.begin() + static_cast<ptrdiff_t>(end));
        run.after.assign(after.begin() + static_cast<ptrdiff_t>(i),
                         after.begin() + static_cast<ptrdiff_t>(end));
        runs.push_back(std::move(run));
        i = end;
    }
    return runs;
}

void WriteRuns(const std::vector<ByteRun>& runs, bool after, std::vector<uint8_t>& state) {
    for (const ByteRun& run : runs) {
        const std::vector<uint8_t>& values = after ? run.after : run.before;
        std::copy(values.begin(), values.end(), state.begin() + static_cast<ptrdiff_t>(run.offset));
    }
}

}  // namespace

EditHistory::EditHistory(size_t stepLimit) : m_StepLimit(std::max<size_t>(stepLimit, 1)) {}

void EditHistory::Clear(const std::vector<uint8_t>& state, bool isSavedState) {
    m_Committed = state;
    m_Steps.clear();
    m_Position = 0;
    m_SavedPosition = 0;
    m_SavedReachable = isSavedState;
}

bool EditHistory::HasChanges(const std::vector<uint8_t>& state) const {
    return state != m_Committed;
}

bool EditHistory::Commit(const std::string& name, const std::vector<uint8_t>& state) {
    std::vector<ByteRun> runs = DifferingRuns(m_Committed, state);
    if (runs.empty()) {
        return false;
    }
    m_Steps.erase(m_Steps.begin() + static_cast<ptrdiff_t>(m_Position), m_Steps.end());
    if (m_SavedPosition > m_Position) {
        m_SavedReachable = false;
    }
    m_Steps.push_back({name, std::move(runs)});
    ++m_Position;
    if (m_Steps.size() > m_StepLimit) {
        m_Steps.pop_front();
        --m_Position;
        if (m_SavedPosition == 0) {
            m_SavedReachable = false;
        } else {
            --m_SavedPosition;
        }
    }
    m_Committed = state;
    return true;
}

void EditHistory::Absorb(const std::vector<uint8_t>& state) {
    if (m_Position == 0) {
        // Nothing to undo: these bytes are simply the starting point.
        m_Committed = state;
        return;
    }
    std::vector<uint8_t> before = m_Committed;
    Step& step = m_Steps[m_Position - 1];
    WriteRuns(step.runs, false, before);
    step.runs = DifferingRuns(before, state);
    m_Committed = state;
}

std::string EditHistory::UndoName() const {
    return CanUndo() ? m_Steps[m_Position - 1].name : std::string();
}

std::string EditHistory::RedoName() const {
    return CanRedo() ? m_Steps[m_Position].name : std::string();
}

const std::vector<ByteRun>* EditHistory::Undo(std::vector<uint8_t>& state) {
    if (!CanUndo() || state.size() != m_Committed.size()) {
        return nullptr;
    }
    const Step& step = m_Steps[--m_Position];
    WriteRuns(step.runs, false, m_Committed);
    state = m_Committed;
    return &step.runs;
}

const std::vector<ByteRun>* EditHistory::Redo(std::vector<uint8_t>& state) {
    if (!CanRedo() || state.size() != m_Committed.size()) {
        return nullptr;
    }
    const Step& step = m_Steps[m_Position++];
    WriteRuns(step.runs, true, m_Committed);
    state = m_Committed;
    return &step.runs;
}

void EditHistory::MarkSaved() {
    m_SavedPosition = m_Position;
    m_SavedReachable = true;
}
