// SPDX-License-Identifier: GPL-3.0-or-later
// The desktop program started on a temporary program directory: the installed setting.ini and
// english.lang, a ports/ folder for virtual radios, and the settings a test asks for.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <QStringList>

#include "app/halvex_app.h"
#include "app/main_frame.h"
#include "common/message_box.h"
#include "platform/profile.h"
#include "sim/virtual_radio.h"
#include "support/link_test_support.h"

class LinkUiFixture {
public:
    explicit LinkUiFixture(const std::string& name) : dir(name) {}
    ~LinkUiFixture() {
        app.reset();
        for (auto& radio : m_Radios) {
            radio->Stop();
        }
    }

    // Installs the data files and applies settings over the installed ones, then starts the
    // program with a search-free link. False with a message when anything fails.
    bool Start(const LinkSettings& settings, std::string* error) {
        namespace fs = std::filesystem;
        std::error_code copyError;
        fs::path bin(HALVEX_BIN_DIR);
        if (!fs::copy_file(bin / "setting.ini", dir.SettingsPath(), copyError) ||
            !fs::copy_file(bin / "english.lang", dir.File("english.lang"), copyError)) {
            *error = copyError.message();
            return false;
        }
        // A busy machine must not turn a healthy radio's late answer into a failed block; tests
        // of a time-out set their own.
        LinkSettings all = {{"language", "english"},
                            {"searchcom", 0},
                            {"com", 1},
                            {"readtime", 500},
                            {"writetime", 500}};
        all.insert(all.end(), settings.begin(), settings.end());
        if (!Set(all, error)) {
            return false;
        }
        MessageBox::ClearShown();
        app = std::make_unique<CHalvexApp>();
        if (!app->InitInstance(dir.Path(), QStringList{"halvex"})) {
            *error = "the program did not start";
            return false;
        }
        // Reads keep their backups here, never in the real user's folders.
        app->SetBackupFolder(dir.File("backups"));
        return true;
    }

    bool Set(const LinkSettings& settings, std::string* error) const {
        for (const Setting& setting : settings) {
            if (!WriteProfileString(dir.SettingsPath(), "setup", setting.key, setting.value,
                                    error)) {
                return false;
            }
        }
        return true;
    }

    std::string StoredText(const char* key) const {
        return ReadProfileString(dir.SettingsPath(), "setup", key, "", 1024);
    }

    int StoredInt(const char* key) const { return std::atoi(StoredText(key).c_str()); }

    // A virtual radio answering on COMn.
    VirtualRadio* AddRadio(int n, const VirtualRadioOptions& options, const RadioMemory& memory,
                           std::string* error) {
        auto radio = std::make_unique<VirtualRadio>();
        radio->SetMemory(memory);
        if (!radio->Start(dir.PortLink(n), options, error)) {
            return nullptr;
        }
        m_Radios.push_back(std::move(radio));
        return m_Radios.back().get();
    }

    QString PortPane() const { return app->MainFrame()->PortPaneText(); }

    TemporaryModuleDir dir;
    std::unique_ptr<CHalvexApp> app;

private:
    std::vector<std::unique_ptr<VirtualRadio>> m_Radios;
};
