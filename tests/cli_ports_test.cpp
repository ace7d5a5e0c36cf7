// SPDX-License-Identifier: GPL-3.0-or-later
// halvex-cli ports over a fake device tree: the COMn mapping, the devices found and the port
// in use, for people and for scripts.
#include <cstdlib>
#include <filesystem>
#include <string>

#include "support/cli_run_fixture.h"
#include "support/fake_device_tree.h"
#include "support/module_folder.h"

namespace {

using halvex::test::FakeDeviceTree;
using halvex::test::ModuleFolder;

class CliPortsTest : public CliRunFixture {
protected:
    CliPortsTest() {
        m_Dir.CopyFromBin({"setting.ini"});
        m_Tree.AddUsbAdapter({"ttyUSB0", "ch341", "1a86", "7523", "", "USB Serial", ""});
        m_Tree.AddUsbAdapter(
            {"ttyUSB1", "ftdi_sio", "0403", "6001", "Quote \"and\\ back", "FT232R", ""});
        m_Tree.AddBuiltInPort("ttyS0", 0);
        m_StablePath = m_Tree.AddStableName("usb-FTDI_FT232R-if00-port0", "ttyUSB1");
        setenv("HALVEX_SYSFS_ROOT", m_Tree.Roots().sysRoot.c_str(), 1);
        setenv("HALVEX_DEV_ROOT", m_Tree.Roots().devRoot.c_str(), 1);
    }
    ~CliPortsTest() override {
        unsetenv("HALVEX_SYSFS_ROOT");
        unsetenv("HALVEX_DEV_ROOT");
    }

    ModuleFolder m_Dir{"halvex_ports"};
    FakeDeviceTree m_Tree;
    std::string m_StablePath;
};

TEST_F(CliPortsTest, TableShowsTheMappingTheDevicesAndThePortInUse) {
    m_Dir.ChangeSettings({{"com", 2}, {"device", ""}});
    RunResult result = Run({"ports", "--settings", m_Dir.SettingsPath()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    // The programs here have no ports/ folder of their own: COMn opens /dev/ttyUSB<n-1>.
    std::string present = std::filesystem::exists("/dev/ttyUSB1") ? "yes" : "no";
    EXPECT_NE(result.out.find("COM2  /dev/ttyUSB1  " + present), std::string::npos) << result.out;
    EXPECT_NE(result.out.find(m_Tree.DevicePath("ttyUSB0") + "  -"), std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find("CH340 serial adapter \"USB Serial\" (1a86:7523, ch341)"),
              std::string::npos)
        << result.out;
    EXPECT_NE(result.out.find(m_StablePath), std::string::npos) << result.out;
    EXPECT_EQ(result.out.find("ttyS0"), std::string::npos) << result.out;
    EXPECT_NE(result.out.find("In use: COM2"), std::string::npos) << result.out;

    m_Dir.ChangeSettings({{"device", m_StablePath}});
    result = Run({"ports", "--settings", m_Dir.SettingsPath()});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_NE(result.out.find("In use: " + m_StablePath), std::string::npos) << result.out;
}

// Scripts read every field, strings with quotes and backslashes included.
TEST_F(CliPortsTest, JsonParsesAndCarriesEveryDevice) {
    m_Dir.ChangeSettings({{"device", m_StablePath}});
    RunResult result = Run({"ports", "--settings", m_Dir.SettingsPath(), "--json"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    std::string jsonPath = m_Dir.Write("ports.json", result.out);
    std::string check =
        "python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); "
        "assert d[\"device\"]==sys.argv[2] and d[\"inUse\"]==sys.argv[2]; "
        "assert [p[\"port\"] for p in d[\"comPorts\"]]==[\"COM%d\"%n for n in range(1,9)]; "
        "assert [x[\"driver\"] for x in d[\"devices\"]]==[\"ch341\",\"ftdi_sio\"]; "
        "assert d[\"devices\"][1][\"manufacturer\"]==\"Quote \\\"and\\\\ back\"; "
        "assert d[\"devices\"][1][\"stablePath\"]==sys.argv[2]' " +
        jsonPath + " '" + m_StablePath + "'";
    EXPECT_EQ(std::system(check.c_str()), 0) << result.out;
}

TEST_F(CliPortsTest, BadArgumentsAndMissingSettingsFail) {
    for (const std::vector<std::string>& arguments :
         {std::vector<std::string>{"ports", "--csv"},
          {"ports", "--settings"},
          {"ports", "--settings", m_Dir.File("missing.ini")}}) {
        RunResult result = Run(arguments);
        EXPECT_EQ(result.exitCode, 1);
        EXPECT_NE(result.err.find("halvex-cli: "), std::string::npos) << result.err;
        EXPECT_TRUE(result.out.empty()) << result.out;
    }
}

// Link targets, the adapters' own strings and by-id names are anybody's text: on a terminal each
// shows its control characters escaped and stays on its line.
TEST_F(CliPortsTest, TextFromDevicesIsEscapedInTablesAndAdvice) {
    const std::string hostile = "\x1b]0;retitled\a\x1b[31m\nbroken";
    const std::string shown = "\\e]0;retitled\\x07\\e[31m\\nbroken";
    m_Tree.AddUsbAdapter(
        {"ttyUSB2", "pl2303", "067b", "2303", "Maker" + hostile, "Product" + hostile, ""});
    m_Tree.AddStableName("usb-" + hostile, "ttyUSB2");
    // A copy of the program beside the settings reads the COM links of this folder's ports/;
    // its doctor words its findings from the English texts beside it.
    m_Dir.CopyFromBin({"halvex-cli", "english.lang"});
    std::filesystem::permissions(m_Dir.File("halvex-cli"), std::filesystem::perms::owner_exec,
                                 std::filesystem::perm_options::add);
    std::filesystem::create_symlink("/dev/tty" + hostile, m_Dir.PortLink(3));
    struct Case {
        std::vector<std::string> arguments;
        std::vector<std::string> shows;
    };
    const Case cases[] = {
        {{"ports"},
         {"/dev/tty" + shown, "Maker" + shown, "Product" + shown + "\"", "usb-" + shown}},
        {{"doctor", "--device", m_Dir.File("no-such-device")},
         {"Product" + shown + "\"", "usb-" + shown}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments[0]);
        std::vector<std::string> arguments = c.arguments;
        arguments.insert(arguments.begin(), m_Dir.File("halvex-cli"));
        RunResult result = RunProgram(arguments);
        EXPECT_EQ(result.out.find_first_of("\x1b\a"), std::string::npos) << result.out;
        EXPECT_EQ(result.out.find("\nbroken"), std::string::npos) << "a line was broken";
        for (const std::string& shows : c.shows) {
            EXPECT_NE(result.out.find(shows), std::string::npos) << shows << "\n" << result.out;
        }
    }
}

}  // namespace
