// A main window with a connected peer on a recording host, for the pairing, renaming and removal tests.
#pragma once

#include "platform/ui/CmdUI.h"
#include "support/MainFrameFixture.h"

#include <functional>

class CUserPromptDlg;
namespace platform {
class Property;
}

// Also keeps a copy of every paired-device entry the application hands over.
class PairingHost : public RecordingHost {
public:
    OrvBleResult OrvBleHostUpdatePairedDeviceList(const BleHostPairedDevice* device) override {
        updatedEntries.push_back(*device);
        return RecordingHost::OrvBleHostUpdatePairedDeviceList(device);
    }
    std::vector<BleHostPairedDevice> updatedEntries;
};

class PairingFixture : public MainFrameFixture {
protected:
    static constexpr uint32_t kCid = 0x41;
    static constexpr uint16_t kDeviceName = 3;
    static constexpr uint16_t kBondFeature = 0x22;
    static constexpr uint16_t kBondControlPoint = 0x24;
    static constexpr uint8_t kReadWrite = 0x0A;
    static constexpr uint8_t kReadOnly = 0x02;

    void SetUp() override;

    PairingHost& Host() const { return static_cast<PairingHost&>(*m_host); }
    // Connects the selected device to a peer with Device Name (these properties) and, when asked,
    // Bond Management whose feature allows bond deletion; the first reads are answered.
    void ConnectPeer(uint8_t nameProperties = kReadWrite, bool bondManagement = false);
    BleDeviceRecord& Record(size_t index) const { return *m_frame->DeviceList().at(index); }
    QTreeWidgetItem* Row(size_t index) const { return static_cast<QTreeWidgetItem*>(Record(index).treeItem); }
    // The properties pane's Name row.
    platform::Property* NameRow() const;
    platform::CmdUI Update(UINT id) const;

    void SecurityResult(uint16_t result);
    // Delivers a passkey display for the peer with that address byte; whileOpen runs inside the
    // prompt's modal loop (as a posted event). A prompt that whileOpen leaves open fails the test
    // and is cancelled, so that no test can hang.
    void Passkey(uint32_t passkey, std::function<void(CUserPromptDlg&)> whileOpen, uint8_t last = 1);

    std::vector<HostCall> Calls(const std::string& name) const { return m_host->callsNamed(name); }

    DatabaseBuilder m_database;
};
