// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/exchange_follower.h"

#include <utility>

namespace {

// Short enough that Cancel and the end of the work show well within 200 ms.
constexpr int kTimerPeriodMs = 20;

}  // namespace

ExchangeFollower::ExchangeFollower(CancelFlag& cancel, QObject* parent)
    : QObject(parent), m_Cancel(cancel) {
    m_Timer.setInterval(kTimerPeriodMs);
    connect(&m_Timer, &QTimer::timeout, this, &ExchangeFollower::OnTimer);
}

ExchangeFollower::~ExchangeFollower() {
    Stop();
}

bool ExchangeFollower::Start(std::function<void()> work) {
    if (!m_Worker.Start(std::move(work))) {
        return false;
    }
    m_Timer.start();
    return true;
}

void ExchangeFollower::Cancel() {
    m_Cancel.store(1, std::memory_order_release);
}

void ExchangeFollower::Stop() {
    m_Timer.stop();
    if (m_Worker.Running()) {
        Cancel();
        m_Worker.Join();
    }
}

void ExchangeFollower::Resume() {
    if (m_Worker.Running()) {
        m_Timer.start();
    }
}

void ExchangeFollower::OnTimer() {
    // Read first: work that has returned published everything before this turned true.
    const bool returned = m_Worker.Finished();
    emit Progressed();
    if (!returned || !m_Worker.Running()) {
        return;
    }
    m_Timer.stop();
    m_Worker.Join();
    emit Finished();
}
