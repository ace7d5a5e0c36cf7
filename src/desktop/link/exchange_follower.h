// SPDX-License-Identifier: GPL-3.0-or-later
// Follows one piece of radio work on a worker thread for a dialog: a 20 ms timer emits
// Progressed while it runs and Finished once it has returned and been joined. The work and
// the dialog share only what the work publishes; Stop asks the work to end through its
// cancel flag and waits for it, so an owner calls it before freeing anything the work uses.
#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

#include "link/cable_line.h"
#include "link/worker_runner.h"

class ExchangeFollower : public QObject {
    Q_OBJECT
public:
    // cancel is the flag the work looks at; it must outlive the follower.
    explicit ExchangeFollower(CancelFlag& cancel, QObject* parent = nullptr);
    ~ExchangeFollower() override;

    // Runs work and starts following it; false, and nothing started, while work runs.
    bool Start(std::function<void()> work);
    // Started and Finished not yet emitted.
    bool Running() const { return m_Worker.Running(); }
    // Sets the cancel flag; Finished follows once the work has returned.
    void Cancel();
    // Cancels and waits for the work, without emitting Finished.
    void Stop();
    // While a box asks the user something, nothing is reported, so the answer never races the
    // work's end.
    void Pause() { m_Timer.stop(); }
    void Resume();

signals:
    // The work still runs or has just returned: what it published may be shown.
    void Progressed();
    // The work has returned and is joined; Start may be called again from here.
    void Finished();

private:
    void OnTimer();

    CancelFlag& m_Cancel;
    QTimer m_Timer;
    WorkerRunner m_Worker;
};
