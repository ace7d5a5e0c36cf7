// SPDX-License-Identifier: GPL-3.0-or-later
// The only view of the document: a form holding the tab control with its three pages
// (channels, functions, VFO). It retitles the window and the tabs and reloads every page after each
// whole-document change.
#pragma once

#include <QScrollArea>
#include <string>
#include <vector>

#include "codeplug/document.h"
#include "common/view_pages.h"

class CChannelPage;
class CFunctionPage;
class CPageTabCtrl;
class MainViewPage;

class CHalvexView : public QScrollArea, public DocumentView, public ViewPages {
    Q_OBJECT
public:
    // The pages read their settings from settingsPath.
    CHalvexView(CHalvexDoc& document, std::string settingsPath, QWidget* parent = nullptr);
    ~CHalvexView() override;

    // After every New and Open: update, fit the frame, relabel the menu, create missing pages.
    void OnInitialUpdate();
    void OnUpdate() override;
    void OnTitleChanged() override;

    // Stores whatever edit is still open on any page. Every path that ends or replaces the
    // document runs this first, so the unsaved-changes question sees the edit.
    void CommitEdits();
    // After an undo or redo: shows the page the step changed, with its first changed cell of
    // the channel table focused. Runs are image offsets.
    void ShowChange(const std::vector<ByteRun>& runs);

    // "file.pgm* - <window name>": the file's name or the language's Untitled, a star while
    // there are unsaved changes.
    static QString WindowTitle(const std::string& path, bool modified);

    // Names where an unbound document's data came from ("Radio (COM1)") until it is saved or
    // replaced; the title shows it instead of Untitled.
    void SetSourceName(const QString& name);
    // The channel table focused on channel 1, where the arrow keys work at once.
    void FocusChannelTable();
    void ShowChannelPage() override;
    // The keyboard on the page in front: the channel table at its focus cell, else the page's
    // first control that takes the focus.
    void FocusCurrentPage();

    CPageTabCtrl* TabControl() const { return m_Tabs; }
    const std::vector<MainViewPage*>& Pages() const { return m_Pages; }
    CChannelPage* ChannelPage() const override;
    CChannelPage* ShownChannelPage() const override;
    CFunctionPage* FunctionPage() const override;
    // Five spaces on each side of the language text of key.
    static QString TabCaption(const char* key);

signals:
    void relabelMenuRequested();
    void statusNoteRequested(const QString& text);

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateMissingPages();
    void AddPage(MainViewPage* page, const char* captionKey);
    void NamePage(int index);
    void AddPageKeys();
    // Shows the page step tabs away, around the ends.
    void StepPage(int step);
    void FitFormToTabs();
    // Grows the form, the tabs and the pages by what the window has beyond the template.
    void GrowToViewport();

    CHalvexDoc& m_Document;
    const std::string m_SettingsPath;
    QWidget* m_Form;
    CPageTabCtrl* m_Tabs;
    std::vector<MainViewPage*> m_Pages;
    std::vector<const char*> m_CaptionKeys;
    QString m_SourceName;
    QSize m_FormSize;  // as the template lays it out
    QSize m_TabsSize;
};
