// What the main view needs from each of its tab pages, and how pages make themselves known.
// A page registers once, from its own file, with the order of its tab and its caption key;
// the view creates every registered page with its first document.
#pragma once

#include <functional>
#include <vector>

class QWidget;
class CHalvexDoc;

class MainViewPage {
public:
    virtual ~MainViewPage() = default;
    // The page window. It is created as a child of the tab control and owns the page object
    // (usually it is the page object).
    virtual QWidget* Widget() = 0;
    // Reloads the controls from the document and the texts from the language file.
    virtual void Reload() = 0;
    // Stores an edit still open on the page, as leaving it would.
    virtual void CommitEdit() = 0;
};

using MainViewPageFactory = std::function<MainViewPage*(QWidget* tabControl, CHalvexDoc& doc)>;

struct MainViewPageType {
    int order;               // 0 channels, 1 functions, 2 VFO
    const char* captionKey;  // "IDS_CHANNEL", "IDS_FUNCTION", "IDS_VFOFREQ"
    MainViewPageFactory create;
};

// For a page file: static const bool registered = RegisterMainViewPage(...);
bool RegisterMainViewPage(int order, const char* captionKey, MainViewPageFactory create);

// The registered pages in tab order.
std::vector<MainViewPageType> RegisteredMainViewPages();

// Forgets every registration; for tests that bring their own pages.
void ClearMainViewPages();
