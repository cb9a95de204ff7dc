#include "support/MainFrameFixture.h"

#include "panes/CDeviceView.h"
#include "panes/CLogDialog.h"
#include "panes/CPropertiesWnd.h"
#include "panes/CViewTree.h"
#include "platform/DialogItems.h"
#include "platform/ui/Ribbon.h"
#include "platform/ui/RibbonEdit.h"
#include "res/resource.h"

#include <cstring>

BleHostPairedDevice PairedDevice(uint8_t last, const char* name) {
    BleHostPairedDevice device{};
    device.address = TestAddress(last);
    std::strncpy(device.name, name, sizeof device.name - 1);
    return device;
}

void MainFrameFixture::SetUp() {
    AppFixture::SetUp();
    NewFrame();
}

void MainFrameFixture::TearDown() {
    m_frame.reset();
    AppFixture::TearDown();
}

void MainFrameFixture::NewFrame() {
    m_frame = std::make_unique<CMainFrame>(false);
    m_frame->show();
    m_database = DatabaseBuilder();
}

void MainFrameFixture::StartUp(std::vector<BleHostPairedDevice> paired) {
    m_host->pairedDevices = std::move(paired);
    Deliver(BLE_EVT_HOST_STARTED, 1);
}

void MainFrameFixture::Discover(std::vector<std::pair<uint8_t, const char*>> devices, uint16_t appearance) {
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_DISCOVER));
    const uint16_t present = appearance != 0 ? BLE_PRESENT_APPEARANCE : 0;
    for (const auto& [last, name] : devices)
        DeliverRecord(
            BLE_EVT_DEVICE_FOUND,
            BleHostDeviceFoundEvent{TestAddress(last), 0, 0, present, name, 0, 0, appearance, {}, 0, 0});
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_DISCOVER));
    DeliverRecord(BLE_EVT_SEARCH_ENDED, BleHostSearchEndedEvent{});
}

void MainFrameFixture::Select(size_t index) {
    m_frame->DeviceView()->Tree()->setCurrentItem(Row(index));
}

void MainFrameFixture::FindPeers() {
    StartUp();
    Discover({{1, "Peer"}, {2, "Other"}});
    Select(0);
}

QStringList MainFrameFixture::Texts(const QWidget* window, std::initializer_list<UINT> ids) {
    QStringList texts;
    for (const UINT id : ids)
        texts << platform::GetDlgItemText(window, id);
    return texts;
}

void MainFrameFixture::Connect() {
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_CONNECT));
    Deliver(BLE_EVT_CONN_PARAMS_SET, 0); // the host takes the parameters the link starts with
    DeliverRecord(BLE_EVT_CONNECT_RESULT, BleHostConnectEvent{0, 0, kCid});
    DeliverRecord(BLE_EVT_DATABASE_DISCOVERED, m_database.Event(kCid));
}

void MainFrameFixture::ConnectPeer(uint8_t nameProperties, bool bondManagement) {
    if (bondManagement)
        m_database.Service(0x181E, 0x20, 0x26)
            .Characteristic(0x2AA5, kBondFeature, 0x02)
            .Characteristic(0x2AA4, kBondControlPoint, 0x08);
    m_database.Service(0x1800, 1, 5).Characteristic(0x2A00, kDeviceName, nameProperties);
    Connect();
    if (bondManagement)
        ReadResult(kBondFeature, {0x10});
    const QByteArray name = Record(static_cast<size_t>(m_frame->ConnectedDeviceIndex())).GetName().toUtf8();
    ReadResult(kDeviceName, std::vector<uint8_t>(name.begin(), name.end()));
}

void MainFrameFixture::ReadResult(uint16_t handle, std::vector<uint8_t> value, uint16_t status,
                                  uint32_t cid) {
    const BleHostReadEvent event{
        0, status, cid, handle, static_cast<uint16_t>(value.size()), value.empty() ? nullptr : value.data()};
    DeliverRecord(BLE_EVT_CHAR_READ, event);
}

void MainFrameFixture::SetEdits(const QStringList& texts) {
    const UINT ids[] = {ID_PARAM_MIN, ID_PARAM_MAX, ID_PARAM_LATENCY, ID_PARAM_TIMEOUT};
    for (int i = 0; i < 4; ++i)
        qobject_cast<platform::RibbonEdit*>(m_frame->RibbonBar()->findById(ids[i]))->setEditText(texts.at(i));
}

std::vector<int> MainFrameFixture::Edits() const {
    uint16_t min = 0, max = 0, latency = 0, timeout = 0;
    m_frame->ReadConnectionParameterEdits(min, max, latency, timeout);
    return {min, max, latency, timeout};
}

bool MainFrameFixture::LogContains(const QString& text) const {
    return m_frame->LogWindow()->WindowText().contains(text);
}

QString MainFrameFixture::ShownName() const {
    return m_frame->PropertiesView()->GetPropertyValue();
}
