// Connecting, disconnecting, connection parameters and closing while connected.
#include "res/resource.h"
#include "support/MainFrameFixture.h"

namespace {

using ConnectionTest = PeerFixture;

TEST(ConnectionParametersTest, ValidityFollowsTheRangesAndTheTimeoutRule) {
    struct Case {
        uint16_t min, max, latency, timeout;
        bool valid;
    };
    const Case cases[] = {
        {6, 6, 0, 10, true},       {3200, 3200, 6, 3200, true}, {3200, 3200, 7, 3200, false},
        {6, 6, 500, 3200, true},   {6, 6, 501, 3200, false},    {6, 6, 0, 9, false},
        {5, 6, 0, 100, false},     {6, 5, 0, 100, false},       {10, 8, 0, 100, false},
        {6, 3201, 0, 3200, false}, {6, 6, 0, 3201, false},      {800, 800, 4, 400, false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(CMainFrame::IsValidConnectionParameters(c.min, c.max, c.latency, c.timeout), c.valid)
            << c.min << " " << c.max << " " << c.latency << " " << c.timeout;
}

TEST_F(ConnectionTest, QuickConnectSendsFastParametersAndRestoresTheEditsOnceTheReadsAreDoneOffItSendsThem) {
    Connect(); // nothing to read: restored at once
    EXPECT_EQ(Count("OrvBleHostUpdateConnectionParams"), 1u);
    Disconnected();
    SetEdits({"24", "40", "2", "500"});
    m_database.Service(0x1800, 1, 5).Characteristic(0x2A00, kDeviceName, 0x02);
    Connect();
    EXPECT_EQ(Calls("OrvBleHostSetConnectionParams").back().args,
              (std::vector<int64_t>{0xFFFF, 0xFFFF, 10, 10, 0, 125}));
    EXPECT_EQ(Record(0).connectionParameters.supervisionTimeout, 500);
    EXPECT_EQ(Count("OrvBleHostUpdateConnectionParams"), 1u);
    for (int read = 0; read < 2; ++read)
        ReadResult(kDeviceName, {'P'}), m_frame->ReadCharacteristic(kDeviceName);
    EXPECT_EQ(Count("OrvBleHostUpdateConnectionParams"), 2u);
    EXPECT_EQ(Calls("OrvBleHostUpdateConnectionParams").back().args,
              (std::vector<int64_t>{TestAddress(1).lap, 24, 40, 2, 500, 0xFFFF, 0xFFFF}));
    Disconnected();
    m_frame->ExecuteCommand(ID_QUICK_CONNECT); // off: the edits go out unchecked and nothing is restored
    SetEdits({"abc", "40", "2", "500"});
    m_database = DatabaseBuilder();
    Connect();
    EXPECT_EQ(Calls("OrvBleHostSetConnectionParams").back().args,
              (std::vector<int64_t>{0xFFFF, 0xFFFF, 0, 40, 2, 500}));
    EXPECT_EQ(Count("OrvBleHostUpdateConnectionParams"), 2u);
}

TEST_F(ConnectionTest, ParameterResultsKeepOnlySuccessfulRequestsTheEditsWaitForThemAndARefusalKeepsThem) {
    Connect();
    SetEdits({"80", "100", "1", "600"});
    for (const uint32_t status : {0x1Eu, 0u}) {
        ASSERT_TRUE(m_frame->ExecuteCommand(ID_UPDATE_PARAMETERS));
        EXPECT_FALSE(m_frame->AreParameterEditsEnabled());
        Deliver(BLE_EVT_CONN_PARAMS_SET, status);
        EXPECT_EQ(Record(0).connectionParameters.intervalMax, status == 0 ? 100 : 400);
        EXPECT_TRUE(m_frame->AreParameterEditsEnabled() &&
                    m_frame->OperationState() == CMainFrame::Operation::Idle);
    }
    DeliverRecord(BLE_EVT_REMOTE_CONN_PARAMS, BleHostConnParamRequestEvent{kCid, 80, 100, 1, 600, 2});
    EXPECT_TRUE(m_frame->AreParameterEditsEnabled()); // the peer asked for what the link has
    DeliverRecord(BLE_EVT_REMOTE_CONN_PARAMS, BleHostConnParamRequestEvent{kCid, 80, 24, 1, 600, 3});
    EXPECT_EQ(Edits(), (std::vector<int>{80, 24, 1, 600}));
    EXPECT_FALSE(m_frame->AreParameterEditsEnabled());
    Deliver(BLE_EVT_CONN_PARAMS_UPDATED, 0);
    EXPECT_EQ(Record(0).connectionParameters.intervalMax, 24);
    EXPECT_TRUE(m_frame->AreParameterEditsEnabled());
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_ACCEPT_UPDATES));
    DeliverRecord(BLE_EVT_REMOTE_CONN_PARAMS, BleHostConnParamRequestEvent{kCid, 6, 30, 0, 100, 4});
    EXPECT_EQ(Calls("OrvBleHostAcceptConnUpdate").back().args, (std::vector<int64_t>{kCid, 4, 0}));
    EXPECT_TRUE(LogContains("Remote Connection parameter request rejected: 6 30 0 100, id: 4"));
    EXPECT_EQ(Edits(), (std::vector<int>{80, 24, 1, 600}));
    EXPECT_TRUE(m_frame->AreParameterEditsEnabled());
}

// Edits that break the rules are refused with the message and nothing goes to the host; put right,
// the same command sends them.
TEST_F(ConnectionTest, InvalidParametersForAnUpdateShowTheMessageAndAreNotSent) {
    Connect();
    const size_t sent = Count("OrvBleHostUpdateConnectionParams");
    const QString message =
        QStringLiteral("The entered connection parameters are invalid as per the Bluetooth specification. "
                       "Please enter valid connection parameters.");
    // The maximum below the minimum; a timeout shorter than the latency's intervals allow.
    for (const QStringList& edits :
         {QStringList{"40", "24", "0", "500"}, QStringList{"800", "800", "4", "400"}}) {
        SCOPED_TRACE(edits.join(' ').toStdString());
        m_prompter.prompts.clear();
        SetEdits(edits);
        ASSERT_TRUE(m_frame->ExecuteCommand(ID_UPDATE_PARAMETERS));
        ASSERT_EQ(PromptTexts(), std::vector<QString>{message});
        EXPECT_EQ(m_prompter.prompts.back().type, UINT(MB_ICONHAND | MB_SETFOREGROUND));
        EXPECT_EQ(Count("OrvBleHostUpdateConnectionParams"), sent);
        EXPECT_TRUE(m_frame->AreParameterEditsEnabled() &&
                    m_frame->OperationState() == CMainFrame::Operation::Idle);
    }
    SetEdits({"24", "40", "0", "500"});
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_UPDATE_PARAMETERS));
    EXPECT_EQ(Count("OrvBleHostUpdateConnectionParams"), sent + 1);
}

TEST_F(ConnectionTest, ClosingWaitsForTheLinkOrTheSearchToEndAtMostTwiceTheTimeoutAndAtLeastOneSecond) {
    // A connection with this supervision timeout, or none (-1: a search); the wait; whether the link or
    // the search ends first. A second close request while a disconnection is awaited keeps the wait.
    for (const auto& [timeout, wait, ends] : {std::tuple{1000, 2000, false},
                                              {0, 1000, false},
                                              {1000, 2000, true},
                                              {-1, 1000, false},
                                              {-1, 1000, true}}) {
        SCOPED_TRACE(testing::Message() << timeout << " " << ends);
        NewFrame(), FindPeers();
        if (timeout >= 0)
            Connect(), Record(0).connectionParameters.supervisionTimeout = static_cast<uint16_t>(timeout);
        else
            m_frame->ExecuteCommand(ID_DISCOVER);
        m_frame->close();
        Advance(500);
        if (timeout >= 0)
            m_frame->close();
        EXPECT_TRUE(timeout < 0 ? m_frame->SearchState() == CMainFrame::Search::Stopping
                                : Calls("OrvBleHostDisconnect").back().args == std::vector<int64_t>{kCid});
        if (ends && timeout >= 0)
            Disconnected();
        if (ends && timeout < 0)
            DeliverRecord(BLE_EVT_SEARCH_ENDED, BleHostSearchEndedEvent{});
        Advance(wait - 501);
        EXPECT_EQ(m_frame->isVisible(), !ends);
        Advance(1);
        EXPECT_FALSE(m_frame->isVisible());
    }
}

} // namespace
