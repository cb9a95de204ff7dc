// Device discovery: the Discover command, advertising reports, the search's end and the selection.
#include "mainframe/CMainFrame.h"

#include "app/BleHostApi.h"
#include "gatt/ValueText.h"
#include "panes/CDeviceView.h"
#include "panes/CPropertiesWnd.h"
#include "panes/CViewTree.h"
#include "platform/StringTable.h"
#include "platform/ui/CmdUI.h"
#include "res/resource.h"

#include <QTreeWidgetItem>

namespace {
QTreeWidgetItem* TreeItem(const BleDeviceRecord& record) {
    return static_cast<QTreeWidgetItem*>(record.treeItem);
}

// One number per device: the fields that IsSameAddress compares.
uint64_t AddressKey(const BleTypedAddress& address) {
    return uint64_t{address.type} << 56 | uint64_t{address.nap} << 40 | uint64_t{address.uap} << 32 |
           (address.lap & 0x00FFFFFFu);
}

void ApplyOptionalFields(BleDeviceRecord& record, const BleHostDeviceFoundEvent& report) {
    if (report.presentMask & BLE_PRESENT_TX_POWER)
        record.txPower = report.txPower;
    if (report.presentMask & BLE_PRESENT_APPEARANCE)
        record.appearance = report.appearance;
    if (report.presentMask & BLE_PRESENT_SLAVE_INTERVAL) {
        record.slaveIntervalMin = report.slaveIntervalMin;
        record.slaveIntervalMax = report.slaveIntervalMax;
    }
}
} // namespace

void CMainFrame::OnDiscover() {
    if (m_searchState == Search::Searching) {
        m_searchState = Search::Stopping;
        bleHost().OrvBleHostStopDeviceSearch();
        return;
    }
    if (m_searchState != Search::Idle)
        return;

    const DeviceRecordPtr selected =
        SelectedRecord() ? m_devices[static_cast<size_t>(m_nSelectedItem - 1)] : nullptr;
    const DeviceRecordPtr connected =
        ConnectedRecord() ? m_devices[static_cast<size_t>(m_nConnectedDevice)] : nullptr;
    m_devices = m_pairedDevices;
    m_wndDeviceView->ClearPaired();
    for (size_t i = 0; i < m_devices.size(); ++i)
        m_devices[i]->treeItem = m_wndDeviceView->InsertDevice(
            m_wndDeviceView->PairedGroup(), m_devices[i]->GetDisplayName(), static_cast<int>(i) + 1);
    m_wndDeviceView->AddEmptyPlaceholders(true);
    m_wndDeviceView->ClearDiscovered();
    RederivePositions(selected.get(), connected.get());

    bleHost().OrvBleHostStartDeviceSearch(0);
    m_searchState = Search::Searching;
    SetStatusText(platform::LoadString(IDS_STATUS_DISCOVERING));
}

void CMainFrame::OnUpdateDiscover(platform::CmdUI& ui) {
    if (m_searchState == Search::Idle) {
        ui.SetCheck(0);
        ui.Enable(m_nConnectedDevice == -1);
    } else if (m_searchState == Search::Searching) {
        ui.SetCheck(1);
        ui.Enable(true);
    } else {
        ui.Enable(false);
    }
}

int CMainFrame::FindDevice(const BleTypedAddress& address) const {
    const auto found = m_deviceIndex.find(AddressKey(address));
    return found == m_deviceIndex.end() ? -1 : found->second;
}

void CMainFrame::OnDeviceFound(const BleHostDeviceFoundEvent& report) {
    const int index = FindDevice(report.address);
    if (index >= 0 && !m_devices[static_cast<size_t>(index)]->paired) {
        BleDeviceRecord& record = *m_devices[static_cast<size_t>(index)];
        if (report.name) {
            record.SetName(CStringFromUtf8(report.name));
            m_wndDeviceView->SetDeviceItemText(TreeItem(record), record.GetDisplayName());
        }
        ApplyOptionalFields(record, report);
        return;
    }

    const QString name = report.name ? CStringFromUtf8(report.name) : QString();
    if (index < 0) {
        auto record =
            std::make_shared<BleDeviceRecord>(report.address, report.rssi, name, report.adFlags, false);
        ApplyOptionalFields(*record, report);
        record->treeItem =
            m_wndDeviceView->InsertDevice(m_wndDeviceView->DiscoveredGroup(), record->GetDisplayName(),
                                          static_cast<int>(m_devices.size()) + 1);
        m_deviceIndex.emplace(AddressKey(record->address), static_cast<int>(m_devices.size()));
        m_devices.push_back(std::move(record));
        return;
    }

    const DeviceRecordPtr record = m_devices[static_cast<size_t>(index)];
    if (report.name && name != record->GetName())
        RenamePairedDevice(*record, name);
    record->adFlags = report.adFlags;
    record->rssi = report.rssi;
    ApplyOptionalFields(*record, report);
    // The first report of a search takes the row out of "Paired devices" and selects it; later ones
    // only move it to the end of "Discovered devices" and leave the user's selection alone.
    QTreeWidgetItem* row = TreeItem(*record);
    if (row && row->parent() == m_wndDeviceView->PairedGroup())
        record->treeItem = m_wndDeviceView->MoveToDiscovered(row);
    else
        m_wndDeviceView->MoveToEndOfDiscovered(row);
}

void CMainFrame::RenamePairedDevice(BleDeviceRecord& record, const QString& name) {
    record.SetName(name);
    m_wndDeviceView->SetDeviceItemText(TreeItem(record), record.GetDisplayName());
    UpdatePairedDeviceEntry(record);
    record.services.clear();
}

void CMainFrame::OnSearchStopped() {
    if (m_searchState == Search::Idle)
        return;
    m_searchState = Search::Idle;
    m_wndDeviceView->AddEmptyPlaceholders(true);
    SetStatusText(platform::LoadString(IDS_READY));
    if (m_bClosing)
        CloseNow();
}

void CMainFrame::OnDeviceSelChanged(int itemData) {
    m_nSelectedItem = itemData;
    OnDeviceSelected(itemData);
}

// The window's updates stay on: Qt paints once after this returns, and only what changed.
void CMainFrame::OnDeviceSelected(int itemData) {
    if (itemData > static_cast<int>(m_devices.size()))
        return;
    if (itemData >= 1) {
        BleDeviceRecord& record = *m_devices[static_cast<size_t>(itemData - 1)];
        m_wndProperties->UpdateDevice(&record);
        if (record.connected) {
            UpdateRibbonState(false);
            OpenProfileWindows(&record);
            return;
        }
    } else {
        m_wndProperties->ClearDevice();
    }
    UpdateRibbonState(true);
    CloseProfileWindows();
}

BleDeviceRecord* CMainFrame::SelectedRecord() const {
    if (m_nSelectedItem < 1 || m_nSelectedItem > static_cast<int>(m_devices.size()))
        return nullptr;
    return m_devices[static_cast<size_t>(m_nSelectedItem - 1)].get();
}

void CMainFrame::RederivePositions(const BleDeviceRecord* selected, const BleDeviceRecord* connected) {
    m_nConnectedDevice = -1;
    int selectedIndex = -1;
    m_deviceIndex.clear();
    for (size_t i = 0; i < m_devices.size(); ++i) {
        // The first record of an address is the one found.
        m_deviceIndex.emplace(AddressKey(m_devices[i]->address), static_cast<int>(i));
        if (m_devices[i].get() == connected)
            m_nConnectedDevice = static_cast<int>(i);
        if (m_devices[i].get() == selected)
            selectedIndex = static_cast<int>(i);
    }
    if (selectedIndex >= 0 && m_devices[static_cast<size_t>(selectedIndex)]->treeItem) {
        m_wndDeviceView->Tree()->setCurrentItem(TreeItem(*m_devices[static_cast<size_t>(selectedIndex)]));
        m_nSelectedItem = selectedIndex + 1;
        return;
    }
    if (m_nSelectedItem >= 1) {
        m_nSelectedItem = 0;
        m_wndProperties->ClearDevice();
    }
}

void CMainFrame::RefreshDeviceTree() {
    setUpdatesEnabled(false);
    const BleDeviceRecord* selected = SelectedRecord();
    const BleDeviceRecord* connected = ConnectedRecord();
    m_wndDeviceView->ClearDiscovered();
    m_wndDeviceView->ClearPaired();
    m_wndDeviceView->ClearConnected();
    for (size_t i = 0; i < m_devices.size(); ++i) {
        BleDeviceRecord& record = *m_devices[i];
        const int data = static_cast<int>(i) + 1;
        if (record.connected) {
            record.treeItem = m_wndDeviceView->InsertDevice(m_wndDeviceView->DiscoveredGroup(),
                                                            record.GetDisplayName(), data);
            record.treeItem = m_wndDeviceView->MoveToConnected(TreeItem(record));
            connected = &record;
            selected = &record;
        } else {
            record.treeItem = m_wndDeviceView->InsertDevice(
                record.paired ? m_wndDeviceView->PairedGroup() : m_wndDeviceView->DiscoveredGroup(),
                record.GetDisplayName(), data);
        }
    }
    m_wndDeviceView->AddEmptyPlaceholders(m_searchState != Search::Searching);
    RederivePositions(selected, connected);
    setUpdatesEnabled(true);
}
