// Connecting to simulated peers: database discovery, disconnection, connection parameters, a peer that
// is gone, and a suspend while connected (how the tree is rebuilt then: the main window's tests).
#include "E2eFixture.h"
#include "panes/CConnectProgressDlg.h"
#include "platform/ui/Ribbon.h"
#include "platform/ui/RibbonEdit.h"
#include "res/resource.h"
#include "veyrasim.h"

namespace {

const QString kPlain = QStringLiteral("Plain Peer");
const QString kAbsent = QStringLiteral("Absent Peer");

// A peer with Generic Access and Battery services.
const std::string kPlainPeer = R"(
    {"address": "00:1A:7D:DA:73:01", "name": "Plain Peer", "advIntervalMs": 100,
     "gatt": [{"uuid": "1800", "characteristics": [{"uuid": "2A00", "properties": ["read"], "text": "Plain Peer"}]},
              {"uuid": "180F", "characteristics": [{"uuid": "2A19", "properties": ["read", "notify"], "value": "5A"}]}]})";

// A bonded peer that is switched off: listed under "Paired devices" but never answering.
const std::string kAbsentPeer = R"(
    {"address": "00:1A:7D:DA:73:02", "name": "Absent Peer", "bonded": true,
     "advertising": false})";

// A peer asking for other connection parameters two seconds into each connection.
const std::string kDemandingPeer = R"(
    {"address": "00:1A:7D:DA:73:03", "name": "Demanding Peer", "advIntervalMs": 100,
     "parameterRequest": {"afterMs": 2000, "intervalMin": 24, "intervalMax": 40, "slaveLatency": 0,
                          "supervisionTimeout": 400},
     "gatt": [{"uuid": "1800", "characteristics": [{"uuid": "2A00", "properties": ["read"], "text": "Demanding Peer"}]}]})";

const QString kParametersApplied = QStringLiteral("Set/update connection parameters Successful");

using ConnectionE2eTest = E2eFixture;

std::vector<int> Parameters(const BleDeviceRecord& record) {
    const BleConnectionParameters& kept = record.connectionParameters;
    return {kept.intervalMin, kept.intervalMax, kept.slaveLatency, kept.supervisionTimeout};
}

TEST_F(ConnectionE2eTest, ConnectingDiscoversTheDatabaseAndDisconnectingReturnsTheDevice) {
    BleDeviceRecord* record = ConnectedWorld(kPlainPeer, kPlain);
    ASSERT_NE(record, nullptr);
    EXPECT_EQ(LogCount(QStringLiteral("Connected to 00:1A:7D:DA:73:01")), 1);
    EXPECT_EQ(record->services.size(), 2u);
    EXPECT_EQ(Connected(), QStringList{kPlain});
    EXPECT_EQ(Discovered(), QStringList{QStringLiteral("No discovered devices")});

    ASSERT_TRUE(Frame()->ExecuteCommand(ID_CONNECT));
    EXPECT_EQ(Frame()->ProgressWindow()->windowTitle(), QStringLiteral("Disconnecting from ") + kPlain);
    Advance(1000);
    EXPECT_FALSE(record->connected);
    EXPECT_EQ(Connected(), QStringList{QStringLiteral("No connected devices")});
    EXPECT_EQ(Discovered(), QStringList{kPlain});
    EXPECT_EQ(LogCount(QStringLiteral("Disconnected from 00:1A:7D:DA:73:01 with reason 22.")), 1);
    EXPECT_EQ(StatusText(), QStringLiteral("Ready"));
    EXPECT_TRUE(m_prompter.prompts.empty());
}

TEST_F(ConnectionE2eTest, ThePeersParameterRequestAndTheUsersUpdateBothReachTheLink) {
    BleDeviceRecord* record = ConnectedWorld(kDemandingPeer, QStringLiteral("Demanding Peer"));
    ASSERT_NE(record, nullptr);
    Advance(5000);
    EXPECT_EQ(LogCount(QStringLiteral("Remote Connection parameter request accepted: 24 40 0 400, id: ")), 1);
    EXPECT_EQ(Parameters(*record), (std::vector<int>{24, 40, 0, 400}));

    const qsizetype applied = LogCount(kParametersApplied);
    qobject_cast<platform::RibbonEdit*>(Frame()->RibbonBar()->findById(ID_PARAM_LATENCY))->setEditText("2");
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_UPDATE_PARAMETERS));
    EXPECT_EQ(StatusText(), QStringLiteral("Updating connection parameter..."));
    Advance(5000);
    EXPECT_EQ(LogCount(kParametersApplied), applied + 1);
    EXPECT_EQ(Parameters(*record), (std::vector<int>{24, 40, 2, 400}));
    EXPECT_EQ(StatusText(), QStringLiteral("Ready"));
}

TEST_F(ConnectionE2eTest, APeerThatIsGoneCanBeStoppedOrFailsWithTheMessage) {
    LoadWorld(WorldOf(kAbsentPeer + "," + kPlainPeer));
    ASSERT_NE(Start(), nullptr);
    ASSERT_TRUE(Select(kAbsent));
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_CONNECT));
    Advance(1000);
    Frame()->ProgressWindow()->OnCancel();
    Advance(10000);
    EXPECT_TRUE(m_prompter.prompts.empty());
    EXPECT_FALSE(Frame()->ProgressWindow()->isVisible());

    EXPECT_EQ(Connect(10000), nullptr);
    EXPECT_EQ(PromptTexts(), std::vector<QString>{QStringLiteral("Unable to connect to the device.")});
    EXPECT_EQ(StatusText(), QStringLiteral("Ready"));
    Discover();
    ASSERT_TRUE(Select(kPlain));
    EXPECT_NE(Connect(), nullptr);
}

TEST_F(ConnectionE2eTest, ASuspendEndsTheLinkAndAfterResumeTheTreeHoldsOnlyThePairedDevices) {
    ASSERT_NE(ConnectedWorld(kPlainPeer + "," + kAbsentPeer, kPlain), nullptr);
    orv::sim::suspendSystem();
    Advance(100);
    EXPECT_EQ(Frame()->ConnectedDeviceIndex(), -1);
    orv::sim::resumeSystem();
    Advance(5000);
    ASSERT_TRUE(m_app->IsHostInitialised());
    EXPECT_EQ(Paired(), QStringList{kAbsent});
    Discover();
    ASSERT_TRUE(Select(kPlain));
    EXPECT_NE(Connect(), nullptr);
    EXPECT_TRUE(m_prompter.prompts.empty());
}

} // namespace
