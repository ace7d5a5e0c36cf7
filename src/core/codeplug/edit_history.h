// SPDX-License-Identifier: GPL-3.0-or-later
// The undo and redo steps of a document. A step holds only the byte runs that changed, with
// their values before and after, so hundreds of steps cost little. The history keeps its own
// copy of the state at the last commit and finds the changes by comparing with it, so a
// change made without a commit is never lost: it goes into the next step.
#pragma once

#include <cstddef>
#include <cstdint>
#include <deque>
#include <string>
#include <vector>

struct ByteRun {
    size_t offset = 0;
    std::vector<uint8_t> before;
    std::vector<uint8_t> after;
};

class EditHistory {
public:
    static constexpr size_t kDefaultStepLimit = 256;

    explicit EditHistory(size_t stepLimit = kDefaultStepLimit);

    // Forgets every step; state is the new starting point. A state that is not the saved one
    // (a modified document) leaves no position at which the document counts as saved.
    void Clear(const std::vector<uint8_t>& state, bool isSavedState);

    bool HasChanges(const std::vector<uint8_t>& state) const;
    // One step from the last commit to state; false (and no step) when nothing changed.
    // Drops the redo steps and, past the limit, the oldest step.
    bool Commit(const std::string& name, const std::vector<uint8_t>& state);
    // Takes state as the result of the step just done, without a step of its own: undoing
    // that step then restores these bytes too.
    void Absorb(const std::vector<uint8_t>& state);

    bool CanUndo() const { return m_Position > 0; }
    bool CanRedo() const { return m_Position < m_Steps.size(); }
    std::string UndoName() const;
    std::string RedoName() const;
    // Both need state to be the last committed one (commit or absorb first); they write the
    // step into state and return its runs, or nullptr when there is nothing to do.
    const std::vector<ByteRun>* Undo(std::vector<uint8_t>& state);
    const std::vector<ByteRun>* Redo(std::vector<uint8_t>& state);

    void MarkSaved();
    bool IsAtSavedState() const { return m_SavedReachable && m_SavedPosition == m_Position; }

private:
    struct Step {
        std::string name;
        std::vector<ByteRun> runs;
    };

    size_t m_StepLimit;
    std::vector<uint8_t> m_Committed;
    std::deque<Step> m_Steps;
    // Steps before m_Position are done; the rest can be redone.
    size_t m_Position = 0;
    size_t m_SavedPosition = 0;
    bool m_SavedReachable = true;
};
