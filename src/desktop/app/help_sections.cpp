// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/help_sections.h"

#include <QKeyEvent>
#include <QWidget>

#include "app/language_dialog.h"
#include "app/main_frame.h"
#include "editors/channel_csv_dialog.h"
#include "editors/channel_page.h"
#include "editors/config_import_dialog.h"
#include "editors/function_page.h"
#include "editors/radiogram_dialog.h"
#include "editors/vfo_page.h"
#include "link/compare_dialog.h"
#include "link/doctor_dialog.h"
#include "link/port_dialog.h"
#include "link/transfer_dialog.h"
#include "station/station_dialog.h"
#include "testmode/mode_dialog.h"
#include "testmode/password_dialog.h"
#include "view/main_view.h"
#include "view/page_tab_control.h"

namespace {

template <typename T>
bool Is(const QWidget* widget) {
    return qobject_cast<const T*>(widget) != nullptr;
}

template <TransferMode mode>
bool TransferOf(const QWidget* widget) {
    const auto* dialog = qobject_cast<const CTransferDlg*>(widget);
    return dialog != nullptr && dialog->Mode() == mode;
}

struct HelpSection {
    bool (*matches)(const QWidget* widget);
    const char* anchor;
};

constexpr HelpSection kHelpSections[] = {
    {Is<CChannelPage>, "channels"},
    {Is<CFunctionPage>, "function"},
    {Is<CVfoPage>, "vfo"},
    {Is<CRadiogramDlg>, "fm"},
    {TransferOf<TransferMode::Read>, "read"},
    {TransferOf<TransferMode::Write>, "write"},
    {TransferOf<TransferMode::Compare>, "compare"},
    {Is<CCompareDlg>, "compare"},
    {Is<CDoctorDlg>, "doctor"},
    {Is<CPortDlg>, "cables"},
    {Is<CStationDlg>, "station"},
    {Is<CPasswordDlg>, "testmode"},
    {Is<CTestModeDlg>, "testmode"},
    {Is<CChannelImportDlg>, "csv"},
    {Is<CConfigImportDlg>, "text"},
    {Is<CLanguageDlg>, "language"},
};

// The main window is in use through the page in front.
const QWidget* InUse(const QWidget* window) {
    if (const auto* frame = qobject_cast<const CMainFrame*>(window)) {
        return frame->View()->TabControl()->currentWidget();
    }
    return window;
}

QWidget* OwnerWindow(const QWidget* window) {
    QWidget* parent = window->parentWidget();
    return parent != nullptr ? parent->window() : nullptr;
}

}  // namespace

std::string HelpSectionFor(QWidget* window) {
    for (QWidget* place = window != nullptr ? window->window() : nullptr; place != nullptr;
         place = OwnerWindow(place)) {
        const QWidget* inUse = InUse(place);
        for (const HelpSection& section : kHelpSections) {
            if (inUse != nullptr && section.matches(inUse)) {
                return section.anchor;
            }
        }
    }
    return {};
}

HelpKeyFilter::HelpKeyFilter(std::function<void(const std::string&)> open,
                             std::function<const QWidget*()> helpWindow)
    : m_Open(std::move(open)), m_HelpWindow(std::move(helpWindow)) {}

bool HelpKeyFilter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::KeyPress || !watched->isWidgetType()) {
        return false;
    }
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_F1 || key->modifiers() != Qt::NoModifier) {
        return false;
    }
    QWidget* window = static_cast<QWidget*>(watched)->window();
    if (window != m_HelpWindow()) {
        m_Open(HelpSectionFor(window));
    }
    return true;
}
