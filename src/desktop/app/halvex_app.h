// SPDX-License-Identifier: GPL-3.0-or-later
// The application object: start-up, the one document, frame and serial port, opening
// files by every route, the document commands and the language commands.
#pragma once

#include <QObject>
#include <QStringList>
#include <array>
#include <memory>
#include <optional>
#include <string>

#include "app/document_prompts.h"
#include "app/recent_files.h"
#include "codeplug/document.h"
#include "common/feature_context.h"
#include "config/file_locations.h"
#include "link/serial_devices.h"
#include "link/serial_port.h"

class CHelpWindow;
class CMainFrame;
class HelpKeyFilter;

class CHalvexApp : public QObject {
    Q_OBJECT
public:
    CHalvexApp();
    ~CHalvexApp() override;

    // Start-up with the program's directory given, and the user's folders to use when that
    // directory holds no setting.ini. False when the program must end: no setting.ini
    // (after its message), or a file named in arguments that cannot be read.
    bool InitInstance(const std::string& moduleDir, const QStringList& arguments,
                      const UserEnvironment& environment = {});

    // Every way of opening a .pgm file: asks about unsaved changes, resets silently, loads.
    bool OpenDocumentFile(const std::string& path);
    // File > Open Example: opened as a copy, bound to no file and kept out of the recent
    // files, so that Save asks for a name of the user's own.
    bool OpenExample(const std::string& path);

    // Everything that follows a language change: menu, band limits, views, title, tabs.
    void ApplyLanguage();
    void RelabelMenu();

    // A finished read: the radio's image becomes the document, titled after the port.
    void OnRadioRead(const std::array<uint8_t, kImageSize>& image);

    // The unsaved-changes question: save, discard or cancel. False when the user cancels or
    // saving fails.
    bool SaveModified();

    CHalvexDoc& Document() { return m_Document; }
    CMainFrame* MainFrame() const { return m_Frame.get(); }
    // What the features' commands and dialogs get of the program; valid once started.
    const FeatureContext& Features() const { return *m_Features; }

    CSerialPort& Port() { return m_Port; }
    // Where the port dialog looks for serial devices; tests point it at a fake tree.
    void SetDeviceRoots(const DeviceRoots& roots) { m_DeviceRoots = roots; }
    // Where every successful read also leaves a copy; tests point it at a folder of their own.
    const std::string& BackupFolder() const { return m_BackupFolder; }
    void SetBackupFolder(const std::string& folder) { m_BackupFolder = folder; }

    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnLanguage();
    void OnNextLanguage();
    void OnHelp();
    // The user guide at the section's anchor (the top for none); a missing guide is reported.
    void ShowHelp(const std::string& section);
    void OnAbout();
    // The one help window, null until the guide is first opened.
    CHelpWindow* HelpWindow() const { return m_Help.get(); }

private:
    bool NewDocument();
    // What opening a file and an example share; the document is bound to path when true.
    bool LoadDocumentFile(const std::string& path);
    bool SaveAs();
    // Every command of the frame, the shell's own and the dialogs'; the tests get the same
    // handlers through InitInstance.
    void InstallCommandHandlers();
    void OpenRecentFile(int index);
    void RememberFile(const std::string& path);
    QWidget* Owner() const;
    std::string LangText(const char* key) const;
    // The locale of Qt's own texts the language file asks for; empty for Qt's English.
    std::string QtLocale() const;
    // The guide of the current language, else the English one with note set to the line that
    // says so; nothing, and the page looked for in missing, when there is neither.
    std::optional<std::string> HelpPage(std::string* note, std::string* missing) const;
    // The language file's text of key with %s replaced by path.
    std::string FillPath(const char* key, const std::string& path) const;

    // The one serial port of the program, used by one dialog at a time.
    CSerialPort m_Port;
    DeviceRoots m_DeviceRoots;
    std::string m_BackupFolder;
    // The next reset of the document skips its question.
    bool m_bSilentNew = false;
    QtDocumentPrompts m_Prompts;
    CHalvexDoc m_Document;
    RecentFileList m_RecentFiles;
    // The file a read replaced, offered by the next Save As.
    std::string m_FileBeforeRead;
    std::unique_ptr<CMainFrame> m_Frame;
    std::unique_ptr<FeatureContext> m_Features;
    std::unique_ptr<CHelpWindow> m_Help;
    std::unique_ptr<HelpKeyFilter> m_HelpKeys;
};
