// Connecting, cancelling, disconnecting and connection parameters in the main window.
#include "panes/CConnectProgressDlg.h"
#include "panes/CDeviceView.h"
#include "platform/StringTable.h"
#include "platform/ui/CmdUI.h"
#include "platform/ui/Ribbon.h"
#include "platform/ui/RibbonEdit.h"
#include "platform/ui/RibbonElement.h"
#include "res/resource.h"
#include "support/MainFrameFixture.h"

#include <QStatusBar>

namespace {

constexpr uint32_t kCid = 0x41;

class ConnectionTest : public MainFrameFixture {
protected:
    void SetUp() override {
        MainFrameFixture::SetUp();
        StartUp();
        Discover({{1, "Pulse"}, {2, "Scale"}});
        Select(0);
    }
    void SetEdits(const QString& min, const QString& max, const QString& latency, const QString& timeout) {
        const std::pair<UINT, QString> edits[] = {{ID_PARAM_MIN, min},
                                                  {ID_PARAM_MAX, max},
                                                  {ID_PARAM_LATENCY, latency},
                                                  {ID_PARAM_TIMEOUT, timeout}};
        for (const auto& [id, text] : edits)
            qobject_cast<platform::RibbonEdit*>(m_frame->RibbonBar()->findById(id))->setEditText(text);
    }
    std::vector<int64_t> Args(const std::string& call, size_t index = 0) const {
        return m_host->callsNamed(call).at(index).args;
    }
    platform::CmdUI Update(UINT id) {
        platform::CmdUI ui(id);
        if (id == ID_CONNECT)
            m_frame->OnUpdateConnect(ui);
        else
            m_frame->OnUpdateUpdateParameters(ui);
        return ui;
    }
    DatabaseBuilder m_database;
};

TEST(ConnectionParametersTest, ValidityFollowsTheRangesAndTheTimeoutRule) {
    struct Case {
        uint16_t min, max, latency, timeout;
        bool valid;
    };
    const Case cases[] = {
        {6, 6, 0, 10, true},       {3200, 3200, 6, 3200, true}, {3200, 3200, 7, 3200, false},
        {6, 6, 500, 3200, true},   {6, 6, 501, 3200, false},    {6, 6, 0, 9, false},
        {5, 6, 0, 100, false},     {6, 5, 0, 100, false},       {10, 8, 0, 100, false},
        {6, 3201, 0, 3200, false}, {6, 6, 0, 3201, false},      {400, 400, 4, 1000, true},
        {400, 400, 4, 3125, true}, {800, 800, 4, 400, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << c.min << " " << c.max << " " << c.latency << " " << c.timeout);
        EXPECT_EQ(CMainFrame::IsValidConnectionParameters(c.min, c.max, c.latency, c.timeout), c.valid);
    }
}

TEST_F(ConnectionTest, QuickConnectUsesFastParametersThenRestoresTheEditsOnce) {
    SetEdits("24", "40", "2", "500");
    m_database.Service(0x1800, 1, 5).Characteristic(0x2A00, 3, 0x02);
    Connect(kCid, m_database);
    EXPECT_EQ(Args("OrvBleHostSetConnectionParams"), (std::vector<int64_t>{0xFFFF, 0xFFFF, 10, 10, 0, 125}));
    const BleDeviceRecord& record = *m_frame->DeviceList()[0];
    EXPECT_EQ(record.connectionParameters.intervalMin, 24);
    EXPECT_EQ(record.connectionParameters.supervisionTimeout, 500);
    EXPECT_EQ(m_host->count("OrvBleHostConnect"), 1u);
    EXPECT_EQ(m_host->callsNamed("OrvBleHostConnect")[0].address.lap, TestAddress(1).lap);
    ASSERT_TRUE(m_frame->IsQuickConnectRestoreArmed());
    EXPECT_EQ(m_host->count("OrvBleHostUpdateConnectionParams"), 0u);

    ReadResult(kCid, 3, {'P'});
    ASSERT_EQ(m_host->count("OrvBleHostUpdateConnectionParams"), 1u);
    EXPECT_EQ(Args("OrvBleHostUpdateConnectionParams"),
              (std::vector<int64_t>{TestAddress(1).lap, 24, 40, 2, 500, 0xFFFF, 0xFFFF}));
    m_frame->ReadCharacteristic(3);
    ReadResult(kCid, 3, {'P'});
    EXPECT_EQ(m_host->count("OrvBleHostUpdateConnectionParams"), 1u);
}

TEST_F(ConnectionTest, QuickConnectOffSendsTheEditsAndNothingToRestore) {
    m_frame->ExecuteCommand(ID_QUICK_CONNECT);
    SetEdits("abc", "40", "2", "500");
    Connect(kCid, m_database);
    EXPECT_EQ(Args("OrvBleHostSetConnectionParams"), (std::vector<int64_t>{0xFFFF, 0xFFFF, 0, 40, 2, 500}));
    EXPECT_FALSE(m_frame->IsQuickConnectRestoreArmed());
}

TEST_F(ConnectionTest, QuickConnectRestoreRunsAlsoWhenThereIsNothingToRead) {
    Connect(kCid, m_database);
    EXPECT_EQ(m_host->count("OrvBleHostUpdateConnectionParams"), 1u);
    EXPECT_FALSE(m_frame->IsQuickConnectRestoreArmed());
}

TEST_F(ConnectionTest, ConnectingShowsProgressDiscoversAndMovesTheRowToConnected) {
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_CONNECT));
    EXPECT_EQ(m_frame->OperationState(), 1);
    EXPECT_EQ(m_frame->StatusText(), QStringLiteral("Connecting device..."));
    EXPECT_TRUE(m_frame->ProgressWindow()->isVisible());
    EXPECT_EQ(m_frame->ProgressWindow()->windowTitle(), QStringLiteral("Connecting to Pulse"));
    EXPECT_EQ(m_frame->ProgressWindow()->Text(), QStringLiteral("Initiating connection..."));
    EXPECT_TRUE(m_frame->ProgressWindow()->IsStopEnabled());
    EXPECT_FALSE(m_frame->ExecuteCommand(ID_CONNECT));

    DeliverRecord(BLE_EVT_CONNECT_RESULT, BleHostConnectEvent{0, 0, kCid});
    EXPECT_EQ(Args("OrvBleClientDiscoverDatabase"), std::vector<int64_t>{kCid});
    EXPECT_EQ(m_frame->ProgressWindow()->Text(), QStringLiteral("Discovering services"));
    EXPECT_TRUE(LogContains(QStringLiteral("Connected to C0:DE:01:02:03:01")));
    EXPECT_TRUE(LogContains(QStringLiteral("Discovering services...")));
    EXPECT_EQ(m_frame->OperationState(), 0);
    EXPECT_EQ(m_frame->GetConnectionHandle(), kCid);

    m_database.Service(0x180F, 1, 4);
    DeliverRecord(BLE_EVT_DATABASE_DISCOVERED, m_database.Event(kCid));
    EXPECT_FALSE(m_frame->ProgressWindow()->isVisible());
    const QTreeWidgetItem* row = static_cast<QTreeWidgetItem*>(m_frame->DeviceList()[0]->treeItem);
    EXPECT_EQ(row->parent(), m_frame->DeviceView()->ConnectedGroup());
    EXPECT_EQ(m_frame->SelectedItem(), 1);
    EXPECT_EQ(m_frame->DeviceList()[0]->services.size(), 1u);
    platform::CmdUI connect = Update(ID_CONNECT);
    EXPECT_EQ(connect.text().value_or(QString()), QStringLiteral("Disconnect"));
    EXPECT_TRUE(connect.enabled().value_or(false));
    m_frame->Router().runUpdatePass();
    EXPECT_EQ(m_frame->RibbonBar()->findById(ID_CONNECT)->label(), QStringLiteral("Disconnect"));
    EXPECT_FALSE(m_frame->RibbonBar()->findById(ID_DISCOVER)->isEnabled());
}

TEST_F(ConnectionTest, FailedConnectShowsTheMessageAndAnotherDeviceCanBeConnectedNext) {
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_CONNECT));
    DeliverRecord(BLE_EVT_CONNECT_RESULT, BleHostConnectEvent{0, 0x3E, 0});
    EXPECT_EQ(PromptTexts(), std::vector<QString>{QStringLiteral("Unable to connect to the device.")});
    EXPECT_FALSE(m_frame->ProgressWindow()->isVisible());
    EXPECT_EQ(m_frame->ConnectedDeviceIndex(), -1);
    EXPECT_EQ(Args("OrvBleHostChangeSecurityLevel"), std::vector<int64_t>{0});

    Select(1);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_CONNECT));
    EXPECT_EQ(m_host->callsNamed("OrvBleHostConnect").back().address.lap, TestAddress(2).lap);
    EXPECT_EQ(m_frame->ConnectedDeviceIndex(), 1);
}

TEST_F(ConnectionTest, StopWhileConnectingCancelsWithoutAMessage) {
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_CONNECT));
    m_frame->ProgressWindow()->OnCancel();
    EXPECT_EQ(m_host->count("OrvBleHostCancelConnect"), 1u);
    EXPECT_EQ(Args("OrvBleHostChangeSecurityLevel"), std::vector<int64_t>{0});
    EXPECT_EQ(m_host->count("OrvBleHostDisconnect"), 0u);
    EXPECT_EQ(m_frame->ProgressWindow()->windowTitle(), QStringLiteral("Disconnecting from Pulse"));
    DeliverRecord(BLE_EVT_CONNECT_RESULT, BleHostConnectEvent{0, BLE_STATUS_CONNECT_CANCELLED, 0});
    EXPECT_TRUE(m_prompter.prompts.empty());
    EXPECT_FALSE(m_frame->ProgressWindow()->isVisible());
    EXPECT_EQ(m_frame->ConnectedDeviceIndex(), -1);
}

TEST_F(ConnectionTest, StopAfterTheDiscoveryRequestDoesNothing) {
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_CONNECT));
    DeliverRecord(BLE_EVT_CONNECT_RESULT, BleHostConnectEvent{0, 0, kCid});
    m_frame->CancelConnect();
    EXPECT_EQ(m_host->count("OrvBleHostCancelConnect"), 0u);
    EXPECT_EQ(m_host->count("OrvBleHostDisconnect"), 0u);
}

TEST_F(ConnectionTest, DisconnectionCleansUpEverything) {
    m_database.Service(0x1800, 1, 5).Characteristic(0x2A00, 3, 0x02);
    Connect(kCid, m_database);
    m_frame->ReadCharacteristic(3);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_CONNECT)); // "Disconnect"
    EXPECT_EQ(Args("OrvBleHostDisconnect"), std::vector<int64_t>{kCid});
    EXPECT_EQ(m_frame->OperationState(), 3);
    EXPECT_EQ(m_frame->StatusText(), QStringLiteral("Disconnecting device..."));
    EXPECT_FALSE(m_frame->ProgressWindow()->IsStopEnabled());

    m_host->calls.clear();
    Disconnected(0x16);
    EXPECT_EQ(Args("OrvBleHostChangeSecurityLevel"), std::vector<int64_t>{0});
    EXPECT_TRUE(LogContains(QStringLiteral("Disconnected from C0:DE:01:02:03:01 with reason 22.")));
    const BleDeviceRecord& record = *m_frame->DeviceList()[0];
    EXPECT_FALSE(record.connected);
    EXPECT_EQ(record.cid, 0u);
    EXPECT_EQ(static_cast<QTreeWidgetItem*>(record.treeItem)->parent(),
              m_frame->DeviceView()->DiscoveredGroup());
    EXPECT_EQ(m_frame->ConnectedDeviceIndex(), -1);
    EXPECT_EQ(m_frame->OperationState(), 0);
    EXPECT_EQ(m_frame->StatusText(), QStringLiteral("Ready"));
    EXPECT_FALSE(m_frame->ProgressWindow()->isVisible());
    EXPECT_TRUE(m_frame->ReadQueue().empty());
    EXPECT_FALSE(m_frame->IsReadInFlight());
    EXPECT_EQ(m_frame->LinkEncrypted(), 0u);
    EXPECT_FALSE(record.services.empty());
    m_frame->Router().runUpdatePass();
    EXPECT_EQ(m_frame->RibbonBar()->findById(ID_CONNECT)->label(), QStringLiteral("Connect to device"));
}

TEST_F(ConnectionTest, UpdateParametersIsRefusedForAnInvalidSetAndSentForAValidOne) {
    Connect(kCid, m_database);
    m_host->calls.clear();
    SetEdits("6", "6", "0", "9");
    EXPECT_TRUE(Update(ID_UPDATE_PARAMETERS).enabled().value_or(false));
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_UPDATE_PARAMETERS));
    ASSERT_EQ(m_prompter.prompts.size(), 1u);
    EXPECT_EQ(m_prompter.prompts[0].text, platform::LoadString(IDS_INVALID_CONNECTION_PARAMETERS));
    EXPECT_EQ(m_prompter.prompts[0].type, MB_ICONHAND | MB_SETFOREGROUND);
    EXPECT_EQ(m_host->count("OrvBleHostUpdateConnectionParams"), 0u);

    SetEdits("80", "100", "1", "600");
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_UPDATE_PARAMETERS));
    EXPECT_EQ(Args("OrvBleHostUpdateConnectionParams"),
              (std::vector<int64_t>{TestAddress(1).lap, 80, 100, 1, 600, 0xFFFF, 0xFFFF}));
    EXPECT_EQ(m_frame->OperationState(), 6);
    EXPECT_EQ(m_frame->StatusText(), QStringLiteral("Updating connection parameter..."));
    EXPECT_FALSE(m_frame->AreParameterEditsEnabled());
    EXPECT_FALSE(Update(ID_UPDATE_PARAMETERS).enabled().value_or(true));

    Deliver(BLE_EVT_CONN_PARAMS_UPDATED, 0);
    EXPECT_EQ(m_frame->OperationState(), 0);
    EXPECT_TRUE(m_frame->AreParameterEditsEnabled());
    EXPECT_EQ(m_frame->DeviceList()[0]->connectionParameters.intervalMax, 100);
    EXPECT_TRUE(LogContains(QStringLiteral("Set/update connection parameters Successful")));
}

TEST_F(ConnectionTest, AFailedParameterSetIsLoggedAndKeepsTheRecord) {
    Connect(kCid, m_database);
    const uint16_t before = m_frame->DeviceList()[0]->connectionParameters.intervalMin;
    Deliver(BLE_EVT_CONN_PARAMS_SET, 0x1E);
    EXPECT_TRUE(LogContains(QStringLiteral("Failed to set/update connection parameters 30")));
    EXPECT_EQ(m_frame->DeviceList()[0]->connectionParameters.intervalMin, before);
}

TEST_F(ConnectionTest, AcceptedPeerRequestUpdatesEditsAndDisablesThemOnlyWhenDifferent) {
    Connect(kCid, m_database);
    const BleConnectionParameters current = m_frame->DeviceList()[0]->connectionParameters;
    DeliverRecord(BLE_EVT_REMOTE_CONN_PARAMS,
                  BleHostConnParamRequestEvent{kCid, current.intervalMin, current.intervalMax,
                                               current.slaveLatency, current.supervisionTimeout, 1});
    EXPECT_TRUE(m_frame->AreParameterEditsEnabled());

    DeliverRecord(BLE_EVT_REMOTE_CONN_PARAMS, BleHostConnParamRequestEvent{kCid, 12, 24, 0, 400, 2});
    EXPECT_FALSE(m_frame->AreParameterEditsEnabled());
    EXPECT_EQ(Args("OrvBleHostAcceptConnUpdate", 1), (std::vector<int64_t>{kCid, 2, 1}));
    uint16_t min = 0, max = 0, latency = 0, timeout = 0;
    m_frame->ReadConnectionParameterEdits(min, max, latency, timeout);
    EXPECT_EQ(std::vector<int>({min, max, latency, timeout}), std::vector<int>({12, 24, 0, 400}));
    m_frame->Router().runUpdatePass();
    EXPECT_FALSE(m_frame->RibbonBar()->findById(ID_PARAM_MIN)->isEnabled());
    Deliver(BLE_EVT_CONN_PARAMS_UPDATED, 0);
    EXPECT_TRUE(m_frame->AreParameterEditsEnabled());
    EXPECT_EQ(m_frame->DeviceList()[0]->connectionParameters.supervisionTimeout, 400);
}

TEST_F(ConnectionTest, ConnectUpdateRuleFollowsTheSelectionAndTheOperation) {
    EXPECT_TRUE(Update(ID_CONNECT).enabled().value_or(false));
    EXPECT_EQ(Update(ID_CONNECT).text().value_or(QString()), QStringLiteral("Connect to device"));
    SelectRow(m_frame->DeviceView()->DiscoveredGroup());
    EXPECT_FALSE(Update(ID_CONNECT).enabled().value_or(true));
    Select(0);
    Connect(kCid, m_database);
    Select(1);
    EXPECT_FALSE(Update(ID_CONNECT).enabled().value_or(true));
    EXPECT_EQ(Update(ID_CONNECT).text().value_or(QString()), QStringLiteral("Connect to device"));
    EXPECT_FALSE(m_frame->ExecuteCommand(ID_CONNECT));
    EXPECT_EQ(m_host->count("OrvBleHostConnect"), 1u);
}

TEST_F(ConnectionTest, ClosingWhileConnectedDisconnectsAndClosesAtTheEventOrTheTimer) {
    Connect(kCid, m_database);
    m_frame->DeviceList()[0]->connectionParameters.supervisionTimeout = 1000;
    m_frame->close();
    EXPECT_TRUE(m_frame->isVisible());
    EXPECT_EQ(Args("OrvBleHostDisconnect"), std::vector<int64_t>{kCid});
    EXPECT_EQ(m_frame->OperationState(), 3);
    Advance(500);
    m_frame->close();
    EXPECT_EQ(m_host->count("OrvBleHostDisconnect"), 2u);
    Advance(1499);
    EXPECT_TRUE(m_frame->isVisible());
    Advance(1);
    EXPECT_FALSE(m_frame->isVisible());
}

TEST_F(ConnectionTest, ClosingWithATimeoutOfZeroWaitsOneSecond) {
    Connect(kCid, m_database);
    m_frame->DeviceList()[0]->connectionParameters.supervisionTimeout = 0;
    m_frame->close();
    Advance(999);
    EXPECT_TRUE(m_frame->isVisible());
    Disconnected(0x13);
    EXPECT_FALSE(m_frame->isVisible());
}

} // namespace
