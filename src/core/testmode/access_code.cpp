// SPDX-License-Identifier: GPL-3.0-or-later
#include "testmode/access_code.h"

std::optional<TestModeMessage> CheckAccessCode(std::string_view entered) {
    if (entered == kTestModeAccessCode) {
        return std::nullopt;
    }
    return kWrongAccessCodeMessage;
}
