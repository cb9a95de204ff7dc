// A main window on a recording host, with helpers that act as the user and as the host library.
#pragma once

#include "mainframe/CMainFrame.h"
#include "support/AppFixture.h"
#include "support/DatabaseBuilder.h"

#include <QTreeWidgetItem>

// The test peers' addresses: C0:DE:01:02:03 and the last byte.
inline BleTypedAddress TestAddress(uint8_t last) {
    return {0, 0, 0xC0DE, 0x01, {}, 0x020300u | last};
}
BleHostPairedDevice PairedDevice(uint8_t last, const char* name);

class MainFrameFixture : public AppFixture {
protected:
    static constexpr uint32_t kCid = 0x41;
    // Handles of the peer ConnectPeer builds, and Device Name's properties.
    static constexpr uint16_t kDeviceName = 3, kBondFeature = 0x22, kBondControlPoint = 0x24;
    static constexpr uint8_t kReadWrite = 0x0A, kReadOnly = 0x02;

    void SetUp() override;
    void TearDown() override;
    // A new main window in place of the test's.
    void NewFrame();

    // Host start-up with these paired devices.
    void StartUp(std::vector<BleHostPairedDevice> paired = {});
    // A search that reports devices (address byte, name), then ends.
    void Discover(std::vector<std::pair<uint8_t, const char*>> devices, uint16_t appearance = 0);
    // Selects the row of device index (0-based) in the tree.
    void Select(size_t index);
    // Host start-up and a search that finds "Peer" (address byte 1) and "Other" (2); Peer selected.
    void FindPeers();
    // Connects the selected device: the command, then the host's answers: parameters set, the connect
    // result and m_database.
    void Connect();
    // Connects the selected device to a peer with Device Name (these properties) and, when asked, Bond
    // Management whose feature allows bond deletion; the first reads are answered.
    void ConnectPeer(uint8_t nameProperties = kReadWrite, bool bondManagement = false);

    void Deliver(UINT code, LPARAM lParam) { m_frame->OnBleHostMessage(code, lParam); }
    template <typename Record> void DeliverRecord(UINT code, const Record& record) {
        Deliver(code, reinterpret_cast<LPARAM>(&record));
    }
    void ReadResult(uint16_t handle, std::vector<uint8_t> value, uint16_t status = 0, uint32_t cid = kCid);
    void Notify(uint16_t handle, const std::vector<uint8_t>& value) {
        DeliverRecord(BLE_EVT_NOTIFICATION,
                      BleHostNotificationEvent{kCid, 0, {}, handle, uint16_t(value.size()), value.data()});
    }
    void WriteResult(uint16_t handle, uint16_t status = 0) {
        DeliverRecord(BLE_EVT_CHAR_WRITTEN, BleHostWriteEvent{0, status, kCid, handle});
    }
    void Disconnected(uint16_t reason = 0x13) {
        DeliverRecord(BLE_EVT_DISCONNECTED, BleHostDisconnectEvent{0, reason, 0});
    }
    void SecurityResult(uint16_t result) {
        DeliverRecord(BLE_EVT_SECURITY_RESULT, BleHostSecurityEvent{TestAddress(1), 0, result});
    }

    // The four connection-parameter edits of the ribbon (min, max, latency, timeout).
    void SetEdits(const QStringList& texts);
    std::vector<int> Edits() const;
    bool LogContains(const QString& text) const;
    // Issues the command as a control of the window would; whether a handler ran.
    bool Run(CChildFrame* window, UINT id) {
        return m_frame->Router().execute(window->GetCommandTarget(), id);
    }
    // The texts of these controls of window.
    static QStringList Texts(const QWidget* window, std::initializer_list<UINT> ids);
    std::vector<HostCall> Calls(const std::string& name) const { return m_host->callsNamed(name); }
    size_t Count(const std::string& name) const { return m_host->count(name); }
    BleDeviceRecord& Record(size_t index) const { return *m_frame->DeviceList().at(index); }
    QTreeWidgetItem* Row(size_t index) const { return static_cast<QTreeWidgetItem*>(Record(index).treeItem); }
    // The properties pane's Name row.
    QString ShownName() const;

    std::unique_ptr<CMainFrame> m_frame;
    DatabaseBuilder m_database;
};

// A main window with the peers of FindPeers found and "Peer" selected.
class PeerFixture : public MainFrameFixture {
protected:
    void SetUp() override {
        MainFrameFixture::SetUp();
        FindPeers();
    }
};
