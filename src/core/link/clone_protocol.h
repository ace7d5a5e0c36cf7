// SPDX-License-Identifier: GPL-3.0-or-later
// The clone exchange: wakes the radio, checks its identification and moves the memory
// 0x0800-0x1FFF in 16-byte blocks between the radio and the job's image copy. It reports
// only through the job and never touches a window.
#pragma once

#include "link/transfer_job.h"

// Runs one exchange on the calling thread and returns 0; the outcome is in job.status.
// Expects status StatusIdle, cancel 0, foundPort -1 and, if the port is open, 9600 baud.
// Once it sees job.cancel it returns without touching the port or the image again.
int TransferThreadProc(TransferJob& job);
