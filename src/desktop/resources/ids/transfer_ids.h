// SPDX-License-Identifier: GPL-3.0-or-later
// Template 132, the Read and Write dialog.
#pragma once

constexpr int kTransferTemplate = 132;
constexpr int kTransferProgressId = 1009;
constexpr int kTransferMessageId = 1010;
// The write direction's "check after writing" box, showing setup/verifywrite.
constexpr int kTransferVerifyId = 1160;
