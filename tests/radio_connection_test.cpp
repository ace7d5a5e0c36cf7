// SPDX-License-Identifier: GPL-3.0-or-later
// The one way both the clone exchange and test mode bring the radio into programming mode,
// under each caller's cable rules, against the virtual radio.
#include "link/radio_connection.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <string>
#include <thread>

#include <gtest/gtest.h>

#include "platform/profile.h"
#include "support/virtual_radio_fixture.h"

namespace {

using halvex::test::Bytes;
using halvex::test::CountOf;
using halvex::test::PatternMemory;
using halvex::test::RadioLine;

const Bytes kWakeUp = {0x46, 0x56, 0x4F, 0x47, 0x52, 0x41, 0x4D};

CableRules CloneRules(CableType cable) {
    CableRules rules;
    rules.cable = cable;
    rules.identificationCountsEcho = true;
    return rules;
}

CableRules TestModeRules() {
    CableRules rules;
    rules.cable = CableType::Echo;
    return rules;
}

class RadioConnectionTest : public ::testing::Test, protected halvex::test::VirtualRadioFixture {
protected:
    RadioConnectionTest() : VirtualRadioFixture("connection") {}

    void StartRadio(const VirtualRadioOptions& options) {
        std::string error;
        ASSERT_TRUE(VirtualRadioFixture::StartRadio(options, PatternMemory(1), &error)) << error;
    }
};

// Either caller's Cancel must stop a radio hunt that would otherwise go on for ten tries on
// every port: nothing past the wake-up goes out, and the port is left for the caller to end.
TEST_F(RadioConnectionTest, CancelDuringTheWakeUpStopsBeforeTheIdentification) {
    struct Case {
        const char* name;
        CableRules rules;
        // The configured port; a missing one sends the search to the radio on port 3.
        int com;
        int foundPort;
    };
    for (const Case& c : {Case{"clone", CloneRules(CableType::Direct), kRadioPort, -1},
                          Case{"test mode", TestModeRules(), kRadioPort, -1},
                          Case{"test mode, searching", TestModeRules(), 9, kRadioPort}}) {
        SCOPED_TRACE(c.name);
        VirtualRadioOptions options;
        options.faults.ignoreWakeUps = 1 << 30;
        StartRadio(options);
        for (int missing : {1, 2, 9}) {
            std::filesystem::remove(PortLink(missing));
            AddMissingPort(missing);
        }
        WriteSettings({{"com", c.com}, {"searchcom", 1}});
        CancelFlag cancel{0};
        RadioConnection connection(m_Port, SettingsPath(), c.rules, &cancel);
        std::atomic<bool> returned{false};
        ConnectResult result = ConnectResult::Connected;
        std::thread worker([&] {
            result = connection.Connect();
            returned = true;
        });
        while (CountOf(m_Radio.ReceivedBytes(), kWakeUp) < 2 && !returned) {
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        cancel.store(1);
        worker.join();
        EXPECT_EQ(result, ConnectResult::Cancelled);
        Bytes sent = m_Radio.ReceivedBytes();
        EXPECT_LT(CountOf(sent, kWakeUp), 10u);
        EXPECT_EQ(CountOf(sent, {0x02}), 0u);
        EXPECT_TRUE(m_Port.IsOpen());
        EXPECT_EQ(connection.FoundPort(), c.foundPort);
        // Only a radio that identified itself moves `com`.
        EXPECT_EQ(ReadProfileString(SettingsPath(), "setup", "com", "", 16), std::to_string(c.com));
        m_Port.Close();
        m_Radio.Stop();
    }
}

// The clone exchange's echo setting counts one byte of echo even when none came; test mode
// counts what arrived, so the same plain cable works there and is refused by the clone.
TEST_F(RadioConnectionTest, EchoCorrectionOfTheIdentificationFollowsTheCallersRules) {
    struct Case {
        const char* name;
        CableRules rules;
        bool cableEchoes;
        ConnectResult expected;
    };
    for (const Case& c :
         {Case{"clone echo setting, plain cable", CloneRules(CableType::Echo), false,
               ConnectResult::WrongRadio},
          Case{"clone echo setting, echoing cable", CloneRules(CableType::Echo), true,
               ConnectResult::Connected},
          Case{"test mode, plain cable", TestModeRules(), false, ConnectResult::Connected},
          Case{"test mode, echoing cable", TestModeRules(), true, ConnectResult::Connected}}) {
        SCOPED_TRACE(c.name);
        StartRadio(RadioLine(c.cableEchoes));
        WriteSettings({{"com", kRadioPort}});
        RadioConnection connection(m_Port, SettingsPath(), c.rules);
        EXPECT_EQ(connection.Connect(), c.expected);
        Bytes sent = m_Radio.ReceivedBytes();
        ASSERT_GE(sent.size(), 8u);
        EXPECT_EQ(Bytes(sent.begin(), sent.begin() + 8),
                  (Bytes{0x46, 0x56, 0x4F, 0x47, 0x52, 0x41, 0x4D, 0x02}));
        // The identification is acknowledged only when it was accepted.
        EXPECT_EQ(sent.size(), c.expected == ConnectResult::Connected ? 9u : 8u);
        m_Port.Close();
        m_Radio.Stop();
    }
}

// A device chosen by name is the port: it is opened wherever COMn point, and neither a
// missing device nor a silent one sends the search to the radio on COM3 or moves `com`.
TEST_F(RadioConnectionTest, TheDeviceSettingIsThePortAndIsNeverSearchedPast) {
    struct Case {
        const char* name;
        bool deviceAnswers;
        ConnectResult expected;
    };
    AddMissingPort(1);
    for (const Case& c : {Case{"device answers", true, ConnectResult::Connected},
                          Case{"device missing", false, ConnectResult::NoRadio}}) {
        SCOPED_TRACE(c.name);
        StartRadio({});
        VirtualRadio cable;
        std::string device = m_Folder.File("cable");
        if (c.deviceAnswers) {
            std::string error;
            cable.SetMemory(PatternMemory(2));
            ASSERT_TRUE(cable.Start(device, {}, &error)) << error;
        }
        WriteSettings({{"com", 1}, {"searchcom", 1}, {"device", device}});
        RadioConnection connection(m_Port, SettingsPath(), CloneRules(CableType::Direct));
        EXPECT_EQ(connection.Connect(), c.expected);
        EXPECT_FALSE(connection.Searched());
        EXPECT_EQ(m_Port.IsOpen() ? m_Port.DevicePath() : std::string(),
                  c.deviceAnswers ? device : std::string());
        EXPECT_EQ(connection.OpenError().find(device) != std::string::npos, !c.deviceAnswers);
        EXPECT_TRUE(m_Radio.ReceivedBytes().empty());
        EXPECT_EQ(ReadProfileString(SettingsPath(), "setup", "com", "", 16), "1");
        EXPECT_EQ(ConfiguredPortName(SettingsPath()), device);
        m_Port.Close();
        cable.Stop();
        m_Radio.Stop();
    }
}

}  // namespace
