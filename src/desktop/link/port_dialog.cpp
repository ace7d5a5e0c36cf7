// SPDX-License-Identifier: GPL-3.0-or-later
#include "link/port_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QRadioButton>
#include <filesystem>
#include <string>

#include "common/feature_context.h"
#include "common/message_box.h"
#include "common/relabel.h"
#include "config/language.h"
#include "config/setting_definitions.h"
#include "link/clone_frames.h"
#include "link/com_port_map.h"
#include "link/device_watch.h"
#include "link/radio_connection.h"
#include "link/serial_devices.h"
#include "link/serial_port.h"

namespace {

// Where an entry of the device list leads: the name stored as `device`.
constexpr int kStoredPathRole = Qt::UserRole;

QString LangText(const char* key) {
    return QString::fromStdString(LoadLangString(key));
}

QString Path(const std::string& path) {
    return QString::fromStdString(path);
}

// The by-id name survives replugging into another socket; the tty name may not.
std::string StoredPath(const SerialDevice& device) {
    return device.stablePath.empty() ? device.path : device.stablePath;
}

}  // namespace

CPortDlg::CPortDlg(const FeatureContext& context, QWidget* parent)
    : TemplateDialog(kPortTemplate, parent), m_Context(context) {
    RelabelDialog(this, kPortTemplate);
    m_Devices = FindControl<QListWidget>(this, kPortDeviceListId);
    std::string device = ConfiguredDevice(m_Context.settingsPath);
    int stored = settings::kCom.Read(m_Context.settingsPath);
    // Our own hold on a port would make it look taken.
    m_Context.port.Close();
    for (int n = 1; n <= kPortButtonCount; ++n) {
        auto* button = FindControl<QRadioButton>(this, PortButtonId(n));
        // A chosen device is the port: no COM button stands for it.
        bool checked = device.empty() && n == stored;
        if (checked) {
            button->setChecked(true);
        }
        if (m_Context.port.Open(n, clone_frames::kBaudRate)) {
            m_Context.port.Close();
            button->setChecked(checked);
        } else {
            button->setEnabled(false);
        }
        connect(button, &QRadioButton::clicked, this, &CPortDlg::OnPortClicked);
    }
    ShowMappings();
    RefreshDevices();
    ShowInUse();
    // Only a selection is a choice: the list makes its first row current, unselected, when
    // it merely gets the focus, and that must not pick a device nobody chose.
    connect(m_Devices, &QListWidget::itemSelectionChanged, this, &CPortDlg::OnDeviceChosen);
    connect(m_Devices, &QListWidget::itemDoubleClicked, this, [this] { accept(); });
    // A cable plugged in or pulled shows in the list at once.
    connect(new DeviceWatch(m_Context.deviceRoots, this), &DeviceWatch::changed, this,
            &CPortDlg::RefreshDevices);
    auto* search = FindControl<QCheckBox>(this, kSearchCheckBoxId);
    search->setChecked(settings::kSearchCom.Read(m_Context.settingsPath));
    connect(search, &QCheckBox::clicked, this, &CPortDlg::OnSearchClicked);
}

void CPortDlg::ShowMappings() {
    for (const ComPortMapping& mapping : ListComPortMappings(m_Context.port.PortsFolder())) {
        auto* label = FindControl<QLabel>(this, PortMappingId(mapping.number));
        label->setText(LangText(mapping.present ? "IDS_PORT_PRESENT" : "IDS_PORT_ABSENT")
                           .arg(Path(mapping.target)));
    }
}

void CPortDlg::RefreshDevices() {
    // The entry chosen now, else the stored device unless a COM port is chosen instead.
    QString chosen;
    bool anyPortChecked = false;
    for (int n = 1; n <= kPortButtonCount; ++n) {
        anyPortChecked |= FindControl<QRadioButton>(this, PortButtonId(n))->isChecked();
    }
    if (QListWidgetItem* item = m_Devices->currentItem(); item != nullptr && item->isSelected()) {
        chosen = item->data(kStoredPathRole).toString();
    } else if (!anyPortChecked) {
        chosen = Path(ConfiguredDevice(m_Context.settingsPath));
    }
    QSignalBlocker quiet(m_Devices);
    m_Devices->clear();
    const SerialDeviceWords words{LoadLangString("IDS_DEVICE_ADAPTER"),
                                  LoadLangString("IDS_DEVICE_USB"),
                                  LoadLangString("IDS_DEVICE_BUILTIN")};
    for (const SerialDevice& device : ListSerialDevices(m_Context.deviceRoots)) {
        QString name = QString::fromStdString(std::filesystem::path(device.path).filename());
        auto* item = new QListWidgetItem(
            name + QStringLiteral(" \u2014 ") + Path(DescribeSerialDevice(device, words)),
            m_Devices);
        item->setData(kStoredPathRole, Path(StoredPath(device)));
        item->setToolTip(Path(StoredPath(device)));
        if (item->data(kStoredPathRole).toString() == chosen ||
            (!chosen.isEmpty() && Path(device.path) == chosen)) {
            m_Devices->setCurrentItem(item);
            chosen.clear();
        }
    }
    // A chosen cable that is unplugged stays visible and chosen, so OK does not drop it.
    if (!chosen.isEmpty()) {
        auto* item = new QListWidgetItem(LangText("IDS_PORT_DEVICE_ABSENT").arg(chosen), m_Devices);
        item->setData(kStoredPathRole, chosen);
        m_Devices->setCurrentItem(item);
    }
    if (m_Devices->count() == 0) {
        auto* item = new QListWidgetItem(LangText("IDS_PORT_NODEVICES"), m_Devices);
        item->setFlags(Qt::NoItemFlags);
    }
}

void CPortDlg::ShowInUse() {
    std::string device = ConfiguredDevice(m_Context.settingsPath);
    QString text;
    QString inUse;
    if (!device.empty()) {
        text = LangText("IDS_PORT_INUSE_DEVICE").arg(Path(device));
        inUse = Path(device);
    } else {
        int com = settings::kCom.Read(m_Context.settingsPath);
        QString path = Path(ComPortDevicePath(m_Context.port.PortsFolder(), com));
        text = LangText("IDS_PORT_INUSE_COM").arg(com).arg(path);
        inUse = QStringLiteral("COM%1 (%2)").arg(com).arg(path);
    }
    // A chosen device that is not the one in effect: say what OK will replace.
    const QList<QListWidgetItem*> selected = m_Devices->selectedItems();
    if (!selected.isEmpty()) {
        QString chosen = selected.front()->data(kStoredPathRole).toString();
        if (!chosen.isEmpty() && chosen.toStdString() != device) {
            text = LangText("IDS_PORT_REPLACES").arg(chosen, inUse);
        }
    }
    FindControl<QLabel>(this, kPortInUseId)->setText(text);
}

void CPortDlg::OnPortClicked() {
    {
        QSignalBlocker quiet(m_Devices);
        m_Devices->setCurrentRow(-1);
        m_Devices->clearSelection();
    }
    ShowInUse();
}

void CPortDlg::OnDeviceChosen() {
    const QList<QListWidgetItem*> selected = m_Devices->selectedItems();
    if (selected.isEmpty() || selected.front()->data(kStoredPathRole).toString().isEmpty()) {
        return;
    }
    ShowInUse();
    // Radio buttons of one group never all clear while exclusive.
    for (int n = 1; n <= kPortButtonCount; ++n) {
        auto* button = FindControl<QRadioButton>(this, PortButtonId(n));
        button->setAutoExclusive(false);
        button->setChecked(false);
        button->setAutoExclusive(true);
    }
}

void CPortDlg::accept() {
    std::string device = ConfiguredDevice(m_Context.settingsPath);
    QListWidgetItem* item = m_Devices->currentItem();
    std::string chosenDevice = item != nullptr && item->isSelected()
                                   ? item->data(kStoredPathRole).toString().toStdString()
                                   : std::string();
    if (!chosenDevice.empty()) {
        if (chosenDevice != device) {
            m_Context.port.Close();
            StoreSetting(settings::kDevice, chosenDevice);
        }
    } else {
        int stored = settings::kCom.Read(m_Context.settingsPath);
        for (int n = 1; n <= kPortButtonCount; ++n) {
            if (!FindControl<QRadioButton>(this, PortButtonId(n))->isChecked()) {
                continue;
            }
            // Choosing a COM port gives the COMn mapping (and the search) back.
            if (!device.empty()) {
                m_Context.port.Close();
                StoreSetting(settings::kDevice, "");
            }
            if (n != stored) {
                m_Context.port.Close();
                StoreSetting(settings::kCom, std::to_string(n));
            }
            break;
        }
    }
    m_Context.showConfiguredPort();
    TemplateDialog::accept();
}

void CPortDlg::OnSearchClicked(bool checked) {
    StoreSetting(settings::kSearchCom, checked ? "1" : "0");
}

template <typename Setting>
bool CPortDlg::StoreSetting(const Setting& setting, const std::string& value) {
    std::string error;
    if (!setting.Write(m_Context.settingsPath, value, &error)) {
        ShowWriteError(error);
        return false;
    }
    return true;
}

void CPortDlg::ShowWriteError(const std::string& error) {
    MessageBox::Show(this, error, LoadLangString("IDS_ERROR"), MessageIcon::Stop,
                     MessageButtons::Ok);
}
