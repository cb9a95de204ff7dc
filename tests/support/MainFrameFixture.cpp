#include "support/MainFrameFixture.h"

#include "panes/CDeviceView.h"
#include "panes/CLogDialog.h"
#include "panes/CViewTree.h"
#include "res/resource.h"

#include <cstring>

BleTypedAddress TestAddress(uint8_t last) {
    BleTypedAddress address{};
    address.nap = 0xC0DE;
    address.uap = 0x01;
    address.lap = 0x020300u | last;
    return address;
}

BleHostPairedDevice PairedDevice(uint8_t last, const char* name) {
    BleHostPairedDevice device{};
    device.address = TestAddress(last);
    std::strncpy(device.name, name, sizeof device.name - 1);
    return device;
}

void MainFrameFixture::SetUp() {
    AppFixture::SetUp();
    m_frame = std::make_unique<CMainFrame>(false);
    m_frame->show();
}

void MainFrameFixture::TearDown() {
    m_frame.reset();
    AppFixture::TearDown();
}

void MainFrameFixture::StartUp(std::vector<BleHostPairedDevice> paired) {
    m_host->pairedDevices = std::move(paired);
    Deliver(BLE_EVT_HOST_STARTED, 1);
}

void MainFrameFixture::Discover(std::vector<std::pair<uint8_t, const char*>> devices, uint16_t appearance) {
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_DISCOVER));
    for (const auto& [last, name] : devices)
        Found(last, name, appearance);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_DISCOVER));
    DeliverRecord(BLE_EVT_SEARCH_ENDED, BleHostSearchEndedEvent{});
}

void MainFrameFixture::Found(uint8_t last, const char* name, uint16_t appearance) {
    BleHostDeviceFoundEvent report{};
    report.address = TestAddress(last);
    report.rssi = -50;
    report.name = name;
    report.adFlags = 0x06;
    if (appearance != 0) {
        report.presentMask = BLE_PRESENT_APPEARANCE;
        report.appearance = appearance;
    }
    DeliverRecord(BLE_EVT_DEVICE_FOUND, report);
}

void MainFrameFixture::SelectRow(QTreeWidgetItem* row) {
    m_frame->DeviceView()->Tree()->setCurrentItem(row);
}

void MainFrameFixture::Select(size_t index) {
    SelectRow(static_cast<QTreeWidgetItem*>(m_frame->DeviceList().at(index)->treeItem));
}

void MainFrameFixture::Connect(uint32_t cid, DatabaseBuilder& database) {
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_CONNECT));
    DeliverRecord(BLE_EVT_CONNECT_RESULT, BleHostConnectEvent{0, 0, cid});
    DeliverRecord(BLE_EVT_DATABASE_DISCOVERED, database.Event(cid));
}

void MainFrameFixture::ReadResult(uint32_t cid, uint16_t handle, std::vector<uint8_t> value,
                                  uint16_t status) {
    BleHostReadEvent event{};
    event.status = status;
    event.cid = cid;
    event.handle = handle;
    event.length = static_cast<uint16_t>(value.size());
    event.value = value.empty() ? nullptr : value.data();
    DeliverRecord(BLE_EVT_CHAR_READ, event);
}

void MainFrameFixture::WriteResult(uint16_t handle, uint16_t status) {
    BleHostWriteEvent event{};
    event.status = status;
    event.handle = handle;
    DeliverRecord(BLE_EVT_CHAR_WRITTEN, event);
}

void MainFrameFixture::Notify(uint32_t cid, uint16_t handle, std::vector<uint8_t> value) {
    BleHostNotificationEvent event{};
    event.cid = cid;
    event.handle = handle;
    event.length = static_cast<uint16_t>(value.size());
    event.value = value.empty() ? nullptr : value.data();
    DeliverRecord(BLE_EVT_NOTIFICATION, event);
}

void MainFrameFixture::Disconnected(uint16_t reason) {
    DeliverRecord(BLE_EVT_DISCONNECTED, BleHostDisconnectEvent{0, reason, 0});
}

bool MainFrameFixture::LogContains(const QString& text) const {
    return m_frame->LogWindow()->WindowText().contains(text);
}
