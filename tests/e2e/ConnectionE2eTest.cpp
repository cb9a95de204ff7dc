// Connecting to simulated peers: progress, database discovery, disconnection and connection parameters.
#include "mainframe/CMainFrame.h"
#include "panes/CConnectProgressDlg.h"
#include "panes/CDeviceView.h"
#include "panes/CLogDialog.h"
#include "platform/StringTable.h"
#include "platform/ui/Ribbon.h"
#include "platform/ui/RibbonEdit.h"
#include "res/resource.h"
#include "support/SimFixture.h"
#include "veyrasim.h"

#include <QTreeWidgetItem>

namespace {

const QString kPeerName = QStringLiteral("Plain Peer");
const QString kPeerAddress = QStringLiteral("00:1A:7D:DA:73:01");

// A peer with Generic Access and Battery services.
const std::string kPlainPeer = R"(
    {"kind": "generic", "address": "00:1A:7D:DA:73:01", "name": "Plain Peer", "advIntervalMs": 100,
     "gatt": [{"uuid": "1800", "characteristics": [{"uuid": "2A00", "properties": ["read"], "text": "Plain Peer"}]},
              {"uuid": "180F", "characteristics": [{"uuid": "2A19", "properties": ["read", "notify"], "value": "5A"}]}]})";

// A bonded peer that is switched off: listed under "Paired devices" but never answering.
const std::string kAbsentPeer = R"(
    {"kind": "generic", "address": "00:1A:7D:DA:73:02", "name": "Absent Peer", "bonded": true,
     "advertising": false})";

// The plain peer, asking for other connection parameters two seconds into each connection.
const std::string kDemandingPeer = R"(
    {"kind": "generic", "address": "00:1A:7D:DA:73:03", "name": "Demanding Peer", "advIntervalMs": 100,
     "parameterRequest": {"afterMs": 2000, "intervalMin": 24, "intervalMax": 40, "slaveLatency": 0,
                          "supervisionTimeout": 400},
     "gatt": [{"uuid": "1800", "characteristics": [{"uuid": "2A00", "properties": ["read"], "text": "Demanding Peer"}]}]})";

const QString kParametersApplied = QStringLiteral("Set/update connection parameters Successful");

class ConnectionE2eTest : public SimFixture {
protected:
    void SetEdits(const QString& min, const QString& max, const QString& latency, const QString& timeout) {
        const std::pair<UINT, QString> edits[] = {{ID_PARAM_MIN, min},
                                                  {ID_PARAM_MAX, max},
                                                  {ID_PARAM_LATENCY, latency},
                                                  {ID_PARAM_TIMEOUT, timeout}};
        for (const auto& [id, text] : edits)
            qobject_cast<platform::RibbonEdit*>(Frame()->RibbonBar()->findById(id))->setEditText(text);
    }
    QStringList Edits() const {
        QStringList texts;
        for (UINT id : {ID_PARAM_MIN, ID_PARAM_MAX, ID_PARAM_LATENCY, ID_PARAM_TIMEOUT})
            texts << qobject_cast<platform::RibbonEdit*>(Frame()->RibbonBar()->findById(id))->editText();
        return texts;
    }
    QStringList Connected() const { return RowTexts(Frame()->DeviceView()->ConnectedGroup()); }
    QStringList Discovered() const { return RowTexts(Frame()->DeviceView()->DiscoveredGroup()); }
    qsizetype LogCount(const QString& text) const { return Frame()->LogWindow()->WindowText().count(text); }
    const CConnectProgressDlg& Progress() const { return *Frame()->ProgressWindow(); }
};

TEST_F(ConnectionE2eTest, ConnectShowsTheProgressWindowWhileTheLinkIsMade) {
    LoadWorld(WorldOf(kPlainPeer));
    ASSERT_NE(Start(), nullptr);
    Discover();
    ASSERT_TRUE(Select(kPeerName));
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_CONNECT));
    EXPECT_TRUE(Progress().isVisible());
    EXPECT_EQ(Progress().windowTitle(), QStringLiteral("Connecting to ") + kPeerName);
    EXPECT_EQ(Progress().Text(), QStringLiteral("Initiating connection..."));
    EXPECT_TRUE(Progress().IsStopEnabled());
    EXPECT_EQ(StatusText(), QStringLiteral("Connecting device..."));
}

TEST_F(ConnectionE2eTest, ConnectDiscoversTheDatabaseAndListsTheDeviceAsConnected) {
    BleDeviceRecord* record = ConnectedWorld(kPlainPeer, kPeerName);
    ASSERT_NE(record, nullptr);
    EXPECT_FALSE(Progress().isVisible());
    EXPECT_TRUE(LogContains(QStringLiteral("Connected to ") + kPeerAddress));
    EXPECT_TRUE(LogContains(QStringLiteral("Discovering services...")));
    EXPECT_EQ(record->services.size(), 2u);
    EXPECT_EQ(Connected(), QStringList{kPeerName});
    EXPECT_EQ(Discovered(), QStringList{QStringLiteral("No discovered devices")});
    EXPECT_EQ(StatusText(), QStringLiteral("Ready"));
    EXPECT_TRUE(m_prompter.prompts.empty());
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(ConnectionE2eTest, DisconnectEndsTheLinkAndTheDeviceReturnsToDiscovered) {
    BleDeviceRecord* record = ConnectedWorld(kPlainPeer, kPeerName);
    ASSERT_NE(record, nullptr);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_CONNECT));
    EXPECT_EQ(Progress().windowTitle(), QStringLiteral("Disconnecting from ") + kPeerName);
    EXPECT_EQ(StatusText(), QStringLiteral("Disconnecting device..."));
    Advance(1000);
    EXPECT_FALSE(record->connected);
    EXPECT_EQ(Frame()->ConnectedDeviceIndex(), -1);
    EXPECT_EQ(Connected(), QStringList{QStringLiteral("No connected devices")});
    EXPECT_EQ(Discovered(), QStringList{kPeerName});
    EXPECT_TRUE(LogContains(QStringLiteral("Disconnected from ") + kPeerAddress +
                            QStringLiteral(" with reason 22.")));
    EXPECT_FALSE(Progress().isVisible());
    EXPECT_EQ(StatusText(), QStringLiteral("Ready"));
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(ConnectionE2eTest, InvalidParametersAreRefusedWithTheMessageAndNothingIsSent) {
    BleDeviceRecord* record = ConnectedWorld(kPlainPeer, kPeerName);
    ASSERT_NE(record, nullptr);
    const qsizetype applied = LogCount(kParametersApplied);
    SetEdits(QStringLiteral("5"), QStringLiteral("40"), QStringLiteral("0"), QStringLiteral("400"));
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_UPDATE_PARAMETERS));
    ASSERT_EQ(PromptTexts().size(), 1u);
    EXPECT_EQ(PromptTexts()[0], platform::LoadString(IDS_INVALID_CONNECTION_PARAMETERS));
    Advance(1000);
    EXPECT_EQ(Frame()->OperationState(), CMainFrame::Operation::Idle);
    EXPECT_EQ(LogCount(kParametersApplied), applied);
    EXPECT_EQ(record->connectionParameters.intervalMin, 400);
}

TEST_F(ConnectionE2eTest, ValidParametersReachTheLinkAndAreKeptForTheDevice) {
    BleDeviceRecord* record = ConnectedWorld(kPlainPeer, kPeerName);
    ASSERT_NE(record, nullptr);
    const qsizetype applied = LogCount(kParametersApplied);
    SetEdits(QStringLiteral("24"), QStringLiteral("40"), QStringLiteral("2"), QStringLiteral("400"));
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_UPDATE_PARAMETERS));
    EXPECT_EQ(StatusText(), QStringLiteral("Updating connection parameter..."));
    Advance(5000);
    EXPECT_TRUE(m_prompter.prompts.empty());
    EXPECT_EQ(LogCount(kParametersApplied), applied + 1);
    EXPECT_EQ(StatusText(), QStringLiteral("Ready"));
    EXPECT_EQ(Frame()->OperationState(), CMainFrame::Operation::Idle);
    EXPECT_TRUE(Frame()->AreParameterEditsEnabled());
    const BleConnectionParameters& kept = record->connectionParameters;
    EXPECT_EQ(
        std::vector<int>({kept.intervalMin, kept.intervalMax, kept.slaveLatency, kept.supervisionTimeout}),
        std::vector<int>({24, 40, 2, 400}));
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(ConnectionE2eTest, ConnectingToAnAbsentPeerFailsWithTheMessage) {
    LoadWorld(WorldOf(kAbsentPeer));
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(Select(QStringLiteral("Absent Peer")));
    EXPECT_EQ(Connect(10000), nullptr);
    EXPECT_EQ(PromptTexts(), std::vector<QString>{QStringLiteral("Unable to connect to the device.")});
    EXPECT_FALSE(Progress().isVisible());
    EXPECT_EQ(Frame()->OperationState(), CMainFrame::Operation::Idle);
    EXPECT_EQ(StatusText(), QStringLiteral("Ready"));
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(ConnectionE2eTest, StopWhileConnectingCancelsWithoutAMessage) {
    LoadWorld(WorldOf(kAbsentPeer + "," + kPlainPeer));
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(Select(QStringLiteral("Absent Peer")));
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_CONNECT));
    Advance(1000);
    Frame()->ProgressWindow()->OnCancel();
    Advance(100);
    EXPECT_TRUE(m_prompter.prompts.empty());
    EXPECT_FALSE(Progress().isVisible());
    EXPECT_EQ(Frame()->ConnectedDeviceIndex(), -1);
    Advance(10000);
    EXPECT_TRUE(m_prompter.prompts.empty());
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(ConnectionE2eTest, AnotherDeviceCanBeConnectedAfterAStop) {
    LoadWorld(WorldOf(kAbsentPeer + "," + kPlainPeer));
    ASSERT_NE(Start(), nullptr);
    Discover();
    ASSERT_TRUE(Select(QStringLiteral("Absent Peer")));
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_CONNECT));
    Advance(1000);
    Frame()->ProgressWindow()->OnCancel();
    Advance(100);
    ASSERT_TRUE(Select(kPeerName));
    EXPECT_NE(Connect(), nullptr);
    EXPECT_EQ(Connected(), QStringList{kPeerName});
}

TEST_F(ConnectionE2eTest, QuickConnectRestoreMovesTheLinkToTheEditedParameters) {
    LoadWorld(WorldOf(kPlainPeer));
    ASSERT_NE(Start(), nullptr);
    Discover();
    ASSERT_TRUE(Select(kPeerName));
    ASSERT_NE(Connect(), nullptr);
    // One for the quick parameters set before connecting, one for the restore's update of the link.
    EXPECT_EQ(LogCount(kParametersApplied), 2);
    EXPECT_FALSE(Frame()->IsQuickConnectRestoreArmed());
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(ConnectionE2eTest, WithoutQuickConnectNothingIsRestored) {
    LoadWorld(WorldOf(kPlainPeer));
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_QUICK_CONNECT));
    Discover();
    ASSERT_TRUE(Select(kPeerName));
    ASSERT_NE(Connect(), nullptr);
    EXPECT_EQ(LogCount(kParametersApplied), 1);
}

TEST_F(ConnectionE2eTest, QuickConnectRestoreRefusedByTheControllerIsLogged) {
    LoadWorld(WorldOf(kPlainPeer));
    ASSERT_NE(Start(), nullptr);
    // Accepted by the application (3000 > 2500) but not by the Core rule (1200 > 2000 is false).
    SetEdits(QStringLiteral("400"), QStringLiteral("400"), QStringLiteral("4"), QStringLiteral("300"));
    Discover();
    ASSERT_TRUE(Select(kPeerName));
    ASSERT_NE(Connect(), nullptr);
    EXPECT_TRUE(LogContains(QStringLiteral("Failed to set/update connection parameters 18")));
    EXPECT_EQ(LogCount(kParametersApplied), 1);
}

TEST_F(ConnectionE2eTest, PeerParameterRequestIsAcceptedAndShownInTheEdits) {
    BleDeviceRecord* record = ConnectedWorld(kDemandingPeer, QStringLiteral("Demanding Peer"));
    ASSERT_NE(record, nullptr);
    Advance(5000);
    EXPECT_TRUE(
        LogContains(QStringLiteral("Remote Connection parameter request accepted: 24 40 0 400, id: ")));
    EXPECT_EQ(Edits(), (QStringList{QStringLiteral("24"), QStringLiteral("40"), QStringLiteral("0"),
                                    QStringLiteral("400")}));
    EXPECT_EQ(record->connectionParameters.intervalMax, 40);
    EXPECT_TRUE(Frame()->AreParameterEditsEnabled());
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(ConnectionE2eTest, PeerParameterRequestIsRejectedWhenUpdatesAreNotAccepted) {
    LoadWorld(WorldOf(kDemandingPeer));
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_ACCEPT_UPDATES));
    Discover();
    ASSERT_TRUE(Select(QStringLiteral("Demanding Peer")));
    BleDeviceRecord* record = Connect();
    ASSERT_NE(record, nullptr);
    Advance(5000);
    EXPECT_TRUE(
        LogContains(QStringLiteral("Remote Connection parameter request rejected: 24 40 0 400, id: ")));
    EXPECT_EQ(Edits(), (QStringList{QStringLiteral("400"), QStringLiteral("400"), QStringLiteral("4"),
                                    QStringLiteral("1000")}));
    EXPECT_EQ(record->connectionParameters.intervalMax, 400);
}

TEST_F(ConnectionE2eTest, PeerDroppingTheLinkReturnsTheDeviceToDiscovered) {
    BleDeviceRecord* record = ConnectedWorld(kPlainPeer, kPeerName);
    ASSERT_NE(record, nullptr);
    ASSERT_TRUE(orv::sim::disconnectPeer(kPeerAddress.toStdString(), 0x08));
    Advance(100);
    EXPECT_FALSE(record->connected);
    EXPECT_EQ(Discovered(), QStringList{kPeerName});
    EXPECT_TRUE(
        LogContains(QStringLiteral("Disconnected from ") + kPeerAddress + QStringLiteral(" with reason 8.")));
    EXPECT_TRUE(EveryRecordGivenBack());
}

TEST_F(ConnectionE2eTest, SuspendEndsTheConnectionAndTheDeviceConnectsAgainAfterResume) {
    BleDeviceRecord* record = ConnectedWorld(kPlainPeer, kPeerName);
    ASSERT_NE(record, nullptr);
    orv::sim::suspendSystem();
    Advance(100);
    EXPECT_EQ(Frame()->ConnectedDeviceIndex(), -1);
    orv::sim::resumeSystem();
    Advance(5000);
    ASSERT_TRUE(m_app->IsHostInitialised());
    Discover();
    ASSERT_TRUE(Select(kPeerName));
    EXPECT_NE(Connect(), nullptr);
    EXPECT_EQ(Connected(), QStringList{kPeerName});
    EXPECT_TRUE(m_prompter.prompts.empty());
    EXPECT_TRUE(EveryRecordGivenBack());
}

} // namespace
