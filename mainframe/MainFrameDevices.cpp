// The device lists: paired devices from the host library, their appearances, the search's end.
#include "mainframe/CMainFrame.h"

#include "app/BleHostApi.h"
#include "app/CRegistrySettings.h"
#include "gatt/ValueText.h"
#include "panes/CPropertiesWnd.h"
#include "platform/StringTable.h"
#include "res/resource.h"

#include <cstring>

namespace {
const QString kDevicesKey = QStringLiteral("LE Devices");
const QString kAppearanceValue = QStringLiteral("Appearance");
constexpr DWORD kReadWrite = 0x2001F;

// The entry's name field need not be terminated: read at most its 51 bytes.
QString PairedDeviceName(const BleHostPairedDevice& entry) {
    const size_t length = strnlen(entry.name, sizeof entry.name);
    return Utf8ToCString(reinterpret_cast<const uint8_t*>(entry.name), static_cast<int>(length));
}
} // namespace

void CMainFrame::LoadPairedDevices() {
    uint16_t count = 0;
    BleHostPairedDevice* entries = nullptr;
    if (bleHost().OrvBleHostGetPairedDeviceList(&count, &entries) != 0) {
        const BleDeviceRecord* selected = SelectedRecord();
        m_pairedDevices.clear();
        for (uint16_t i = 0; entries && i < count; ++i) {
            const BleHostPairedDevice& entry = entries[i];
            m_pairedDevices.push_back(std::make_shared<BleDeviceRecord>(
                entry.address, BleDeviceRecord::kNotReported, PairedDeviceName(entry), 0, true));
        }
        m_devices = m_pairedDevices;
        m_bPairedListLoaded = true;
        bleHost().OrvBleHostFreePairedDeviceList(entries);
        // A reload (after a resume) replaces every record: the whole tree is rebuilt.
        if (selected) {
            m_nSelectedItem = 0;
            m_wndProperties->ClearDevice();
        }
        m_nConnectedDevice = -1;
        RefreshDeviceTree();
    }
    LoadAppearances();
}

void CMainFrame::LoadAppearances() {
    CRegistrySettings* settings = CRegistrySettings::Instance();
    if (!settings)
        return;
    for (const auto& device : m_pairedDevices) {
        if (settings->Open(kDevicesKey + QStringLiteral("\\") + device->GetAddressString(), 0, kReadWrite) !=
            ERROR_SUCCESS)
            continue;
        DWORD appearance = 0;
        if (settings->QueryDword(kAppearanceValue, &appearance) == ERROR_SUCCESS)
            device->appearance = static_cast<uint16_t>(appearance & 0xFFFF);
    }
}

void CMainFrame::SaveAppearances() {
    CRegistrySettings* settings = CRegistrySettings::Instance();
    if (!settings || !m_bPairedListLoaded)
        return;
    settings->RecurseDeleteKey(kDevicesKey);
    for (const auto& device : m_pairedDevices) {
        if (settings->Open(kDevicesKey + QStringLiteral("\\") + device->GetAddressString(), 1, kReadWrite) !=
            ERROR_SUCCESS)
            continue;
        settings->SetDword(kAppearanceValue, device->appearance);
    }
}
