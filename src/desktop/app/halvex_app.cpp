// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/halvex_app.h"

#include <QApplication>
#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "app/about_dialog.h"
#include "app/edit_commands.h"
#include "app/help_sections.h"
#include "app/help_window.h"
#include "app/language_dialog.h"
#include "app/main_frame.h"
#include "app/qt_translations.h"
#include "codeplug/pgm_file.h"
#include "common/message_box.h"
#include "config/app_globals.h"
#include "config/example_files.h"
#include "config/help_file.h"
#include "config/language.h"
#include "config/language_files.h"
#include "config/settings.h"
#include "editors/channel_bulk_commands.h"
#include "editors/channel_csv_commands.h"
#include "editors/channel_row_commands.h"
#include "editors/config_text_commands.h"
#include "editors/radiogram_dialog.h"
#include "link/link_commands.h"
#include "resources/command_ids.h"
#include "station/station_dialog.h"
#include "testmode/password_dialog.h"
#include "view/main_view.h"
#include "view/print_commands.h"

namespace {

constexpr const char* kProgramName = "Halvex";
constexpr const char* kSaveChangesQuestion = "Save changes to %s?";

bool IsReadable(const std::string& path) {
    return std::ifstream(path).good();
}

// What the settings file lacks or holds out of range, said once in the status bar when the
// window is up: the program goes on with the defaults, so nothing needs an answer.
void ShowSettingsNotes(CMainFrame& frame, const std::vector<std::string>& notes) {
    std::string text;
    for (const std::string& note : notes) {
        text += (text.empty() ? "" : "; ") + note;
    }
    if (!text.empty()) {
        frame.SetStatusNote(QString::fromStdString(text));
    }
}

}  // namespace

CHalvexApp::CHalvexApp()
    : m_Prompts([this] { return Owner(); }), m_Document(m_Prompts, DocumentSettings{}) {}

CHalvexApp::~CHalvexApp() {
    m_HelpKeys.reset();
    m_Help.reset();
    m_Frame.reset();
    m_Port.Close();
}

QWidget* CHalvexApp::Owner() const {
    return m_Frame.get();
}

std::string CHalvexApp::LangText(const char* key) const {
    return LoadLangString(key);
}

std::string CHalvexApp::QtLocale() const {
    // Without a locale Qt can read, its dialogs stay in English.
    std::string locale = LanguageFileLocale(g_LanguagePath);
    return IsLocaleName(locale) ? locale : std::string();
}

std::string CHalvexApp::FillPath(const char* key, const std::string& path) const {
    std::string text = LangText(key);
    // A language file without the text still names the path.
    if (size_t mark = text.find("%s"); mark != std::string::npos) {
        text.replace(mark, 2, path);
    } else {
        text += ' ';
        text += path;
    }
    return text;
}

bool CHalvexApp::InitInstance(const std::string& moduleDir, const QStringList& arguments,
                              const UserEnvironment& environment) {
    std::string error;
    std::vector<std::string> notes;
    if (!LoadStartupSettings(moduleDir, &error, environment, &notes)) {
        MessageBox::Show(nullptr, error, kProgramName, MessageIcon::Stop, MessageButtons::Ok);
        return false;
    }
    // Qt's own texts follow the language file; without its translation Qt speaks English.
    ApplyQtLanguage(QtLocale());
    m_Document.SetSettings(StartupDocumentSettings());
    m_BackupFolder = g_BackupsDir;
    m_Port.SetPortsFolder(g_PortsDir);
    m_bSilentNew = true;
    m_Frame = std::make_unique<CMainFrame>(m_Document);
    InstallCommandHandlers();
    m_Frame->SetRecentFiles(m_RecentFiles.Paths());
    m_Frame->SetExampleFiles(FindExampleFiles(ExampleFolders(moduleDir, g_DataDirs)),
                             [this](const std::string& path) { OpenExample(path); });
    m_Frame->ShowConfiguredPort();
    m_Frame->SetCloseQuery([this] {
        if (!SaveModified()) {
            return false;
        }
        m_Port.Close();
        return true;
    });
    m_Frame->SetDropHandler([this](const std::string& path) { OpenDocumentFile(path); });

    QStringList files = arguments.mid(1);
    if (files.isEmpty()) {
        NewDocument();
    } else if (!OpenDocumentFile(files.first().toStdString())) {
        // The reason has been shown; a file refused or missing leaves the program as it
        // starts without one, asking nothing.
        m_bSilentNew = true;
        NewDocument();
    }
    m_Frame->show();
    m_Frame->RestoreAndCentre();
    m_Frame->View()->OnTitleChanged();
    m_Frame->View()->FocusChannelTable();
    ShowSettingsNotes(*m_Frame, notes);
    return true;
}

void CHalvexApp::InstallCommandHandlers() {
    CMainFrame& frame = *m_Frame;
    m_Features.reset(new FeatureContext{
        .document = m_Document,
        .settingsPath = g_SettingsPath,
        .port = m_Port,
        .deviceRoots = m_DeviceRoots,
        .backupFolder = m_BackupFolder,
        .commands = frame,
        .view = *frame.View(),
        .window = &frame,
        .showNote = [&frame](const QString& text) { frame.SetStatusNote(text); },
        .showSearchedPort = [&frame](int port) { frame.SetPortPane(port); },
        .showConfiguredPort = [&frame] { frame.ShowConfiguredPort(); },
        .saveModified = [this] { return SaveModified(); },
        .takeRadioImage =
            [this](const std::array<uint8_t, kImageSize>& image) { OnRadioRead(image); },
        .openFile = [this] { OnFileOpen(); },
        .saveFile = [this] { OnFileSave(); },
    });
    const FeatureContext& features = *m_Features;
    frame.SetCommandHandler(kCommandNew, [this] { OnFileNew(); });
    frame.SetCommandHandler(kCommandOpen, [this] { OnFileOpen(); });
    frame.SetCommandHandler(kCommandSave, [this] { OnFileSave(); });
    frame.SetCommandHandler(kCommandSaveAs, [this] { OnFileSaveAs(); });
    frame.SetCommandHandler(kCommandExit, [this] { m_Frame->close(); });
    frame.SetCommandHandler(kCommandLanguage, [this] { OnLanguage(); });
    frame.SetCommandHandler(kCommandNextLanguage, [this] { OnNextLanguage(); });
    frame.SetCommandHandler(kCommandHelp, [this] { OnHelp(); });
    m_HelpKeys = std::make_unique<HelpKeyFilter>(
        [this](const std::string& section) { ShowHelp(section); },
        [this] { return static_cast<const QWidget*>(m_Help.get()); });
    qApp->installEventFilter(m_HelpKeys.get());
    frame.SetCommandHandler(kCommandAbout, [this] { OnAbout(); });
    for (int index = 0; index < kRecentFileCount; ++index) {
        frame.SetCommandHandler(kCommandRecentFile + index,
                                [this, index] { OpenRecentFile(index); });
    }
    InstallLinkCommands(features);
    InstallStationCommand(features);
    InstallPrintCommands(features);
    InstallRadiogramCommand(features);
    InstallTestModeCommand(features);
    InstallChannelCsvCommands(features);
    InstallConfigTextCommands(features);
    InstallChannelRowCommands(features);
    InstallChannelBulkCommands(features);
    InstallEditCommands(*this, frame);
}

bool CHalvexApp::NewDocument() {
    m_FileBeforeRead.clear();
    bool silent = m_bSilentNew;
    m_bSilentNew = false;
    if (!m_Document.OnNewDocument(silent)) {
        return false;
    }
    m_Frame->View()->OnInitialUpdate();
    return true;
}

void CHalvexApp::OnFileNew() {
    if (SaveModified()) {
        NewDocument();
    }
}

void CHalvexApp::OnFileOpen() {
    if (std::optional<std::string> path =
            FileDialog::GetOpenFileName(Owner(), DocumentFileFilter())) {
        OpenDocumentFile(*path);
    }
}

bool CHalvexApp::OpenDocumentFile(const std::string& path) {
    if (!LoadDocumentFile(path)) {
        return false;
    }
    RememberFile(path);
    return true;
}

bool CHalvexApp::OpenExample(const std::string& path) {
    if (!LoadDocumentFile(path)) {
        return false;
    }
    m_Document.DetachFromFile();
    m_Frame->View()->SetSourceName(QString::fromStdString(
        FillPath("IDS_EXAMPLE_SOURCE", std::filesystem::path(path).filename().string())));
    return true;
}

bool CHalvexApp::LoadDocumentFile(const std::string& path) {
    // A file we refuse leaves the open document as it was: checked before anything is reset.
    PgmFile file;
    size_t size = 0;
    std::string error;
    PgmLoadResult result = LoadPgmFile(path, &file, &error, &size);
    // A file gone since the recent-file list named it, or one that cannot be read.
    if (result == PgmLoadResult::Failed) {
        m_Prompts.ShowStopMessage({"IDS_ERROR", "", error});
        return false;
    }
    if (result == PgmLoadResult::ForeignHeader || !IsWholePgmFile(path, result, size, &error)) {
        std::string text = LangText("IDS_WARN_LOAD");
        if (result != PgmLoadResult::ForeignHeader) {
            text = LangText("IDS_WARN_LOADSIZE");
            text += '\n';
            text += error;
        }
        MessageBox::Show(Owner(), text, LangText("IDS_ERROR"), MessageIcon::Stop,
                         MessageButtons::Ok);
        return false;
    }
    if (!SaveModified()) {
        return false;
    }
    m_bSilentNew = true;
    NewDocument();
    bool opened = m_Document.OnOpenDocument(path);
    m_Frame->View()->OnInitialUpdate();
    return opened;
}

void CHalvexApp::OpenRecentFile(int index) {
    if (index >= m_RecentFiles.Paths().size()) {
        return;
    }
    std::string path = m_RecentFiles.Paths()[index].toStdString();
    if (!OpenDocumentFile(path) && !IsReadable(path)) {
        m_RecentFiles.Remove(QString::fromStdString(path));
        m_Frame->SetRecentFiles(m_RecentFiles.Paths());
    }
}

void CHalvexApp::RememberFile(const std::string& path) {
    m_RecentFiles.Add(QString::fromStdString(path));
    m_Frame->SetRecentFiles(m_RecentFiles.Paths());
}

void CHalvexApp::OnRadioRead(const std::array<uint8_t, kImageSize>& image) {
    if (!m_Document.GetPathName().empty()) {
        m_FileBeforeRead = m_Document.GetPathName();
    }
    std::string source = FillPath("IDS_RADIO_SOURCE", m_Frame->PortPaneText().toStdString());
    m_Document.TakeRadioImage(image);
    m_Frame->View()->SetSourceName(QString::fromStdString(source));
    ApplyLanguage();
}

void CHalvexApp::OnFileSave() {
    m_Prompts.SetSuggestedPath(m_Document.GetPathName().empty() ? m_FileBeforeRead
                                                                : m_Document.GetPathName());
    if (m_Document.SaveWithConfirmation()) {
        RememberFile(m_Document.GetPathName());
    }
}

void CHalvexApp::OnFileSaveAs() {
    SaveAs();
}

bool CHalvexApp::SaveAs() {
    m_Prompts.SetSuggestedPath(m_Document.GetPathName().empty() ? m_FileBeforeRead
                                                                : m_Document.GetPathName());
    std::optional<std::string> path = m_Prompts.AskSavePath();
    if (!path || !m_Document.OnSaveDocument(*path)) {
        return false;
    }
    RememberFile(*path);
    return true;
}

bool CHalvexApp::SaveModified() {
    if (!m_Document.IsModified()) {
        return true;
    }
    std::string name = m_Document.GetPathName().empty() ? LoadLangString("IDS_UNTITLED")
                                                        : m_Document.GetPathName();
    // The language file may word the question; %s stands for the file.
    std::string question = LangText("IDS_ASK_SAVE");
    if (question == kNotFoundText || question.find("%s") == std::string::npos) {
        question = kSaveChangesQuestion;
    }
    question.replace(question.find("%s"), 2, name);
    MessageAnswer answer = MessageBox::Show(Owner(), question, LangText("IDS_CONFIRM"),
                                            MessageIcon::Exclamation, MessageButtons::YesNoCancel);
    if (answer == MessageAnswer::Cancel) {
        return false;
    }
    if (answer == MessageAnswer::No) {
        return true;
    }
    // Saving here is File > Save without its confirmation, so the derived areas come up to
    // date as they would there.
    m_Document.PrepareImageUnrecorded();
    return m_Document.GetPathName().empty() ? SaveAs()
                                            : m_Document.OnSaveDocument(m_Document.GetPathName());
}

void CHalvexApp::RelabelMenu() {
    m_Frame->RelabelMenu();
}

void CHalvexApp::ApplyLanguage() {
    ApplyQtLanguage(QtLocale());
    RelabelMenu();
    m_Document.RefreshLimitsAndViews();
    if (m_Help) {
        m_Help->Relabel();
        // An open guide turns to the new language's page at the same section.
        std::string note;
        std::string missing;
        std::optional<std::string> help = HelpPage(&note, &missing);
        if (help && m_Help->isVisible()) {
            m_Help->ShowPage(*help, m_Help->SectionInView().toStdString(), note);
        }
    }
}

void CHalvexApp::OnLanguage() {
    CLanguageDlg dialog(Owner(), [this] { ApplyLanguage(); });
    dialog.exec();
}

void CHalvexApp::OnNextLanguage() {
    std::optional<std::string> next = NextLanguagePath(g_DataDirs, g_LanguagePath);
    if (!next) {
        return;
    }
    std::string error;
    if (!SelectLanguageFile(*next, &error)) {
        MessageBox::Show(Owner(), error, LangText("IDS_ERROR"), MessageIcon::Exclamation,
                         MessageButtons::Ok);
    }
    ApplyLanguage();
}

std::optional<std::string> CHalvexApp::HelpPage(std::string* note, std::string* missing) const {
    std::optional<std::string> help = FindHelpFile(g_LanguagePath, g_DataDirs, missing);
    if (help) {
        return help;
    }
    std::optional<std::string> english = FindEnglishHelpPage(g_LanguagePath, g_DataDirs);
    if (english) {
        *note = LangText("IDS_HELP_UNTRANSLATED");
        if (*note == kNotFoundText) {
            // A language file older than the note still says it, in the guide's own language.
            std::string englishFile = std::filesystem::path(*english).replace_extension(".lang");
            *note =
                LoadLangText(englishFile, "String", "IDS_HELP_UNTRANSLATED", "", kStringBufferSize);
        }
    }
    return english;
}

void CHalvexApp::OnHelp() {
    ShowHelp({});
}

void CHalvexApp::ShowHelp(const std::string& section) {
    std::string missing;
    std::string note;
    std::optional<std::string> help = HelpPage(&note, &missing);
    if (!help) {
        QWidget* owner = QApplication::activeModalWidget();
        MessageBox::Show(owner != nullptr ? owner : Owner(), FillPath("IDS_HELP_MISSING", missing),
                         LangText("IDS_ERROR"), MessageIcon::Stop, MessageButtons::Ok);
        return;
    }
    if (!m_Help) {
        m_Help = std::make_unique<CHelpWindow>();
    }
    m_Help->ShowPage(*help, section, note);
}

void CHalvexApp::OnAbout() {
    CAboutDlg dialog(Owner());
    dialog.exec();
}
