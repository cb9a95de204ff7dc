// The main window's host-event dispatch against a recording host.
#include "mainframe/CMainFrame.h"
#include "panes/CConnectProgressDlg.h"
#include "panes/CLogDialog.h"
#include "platform/StringTable.h"
#include "res/resource.h"
#include "support/MainFrameFixture.h"

#include <QCoreApplication>
#include <cstring>

namespace {

class HostDispatchTest : public MainFrameFixture {
protected:
    LRESULT Send(UINT code, LPARAM lParam) { return m_frame->OnBleHostMessage(code, lParam); }
    template <typename Record> LRESULT SendRecord(UINT code, const Record& record) {
        return Send(code, reinterpret_cast<LPARAM>(&record));
    }
    int Frees(LPARAM lParam) const {
        const auto found = m_host->frees.find(lParam);
        return found == m_host->frees.end() ? 0 : found->second;
    }
};

BleTypedAddress Address(uint32_t lap) {
    BleTypedAddress address{};
    address.nap = 0x1234;
    address.uap = 0x56;
    address.lap = lap;
    return address;
}

TEST_F(HostDispatchTest, EveryEventIsGivenBackExactlyOnceAndReturnsZero) {
    BleHostConnectEvent connect{0, 1, 0};
    BleHostDisconnectEvent disconnect{0, 0x13, 0};
    BleHostDebondEvent debond{0, 1, Address(1)};
    BleHostJustWorksEvent justWorks{Address(2)};
    BleHostEncryptionEvent encryption{1, 2, 0};
    BleHostConnParamRequestEvent request{1, 6, 6, 0, 100, 3};
    BleHostServerAllocEvent alloc{0, 0, 9};
    uint8_t opaque[64] = {};
    const std::vector<std::pair<UINT, LPARAM>> events = {
        {BLE_EVT_CONNECT_RESULT, reinterpret_cast<LPARAM>(&connect)},
        {BLE_EVT_DISCONNECTED, reinterpret_cast<LPARAM>(&disconnect)},
        {BLE_EVT_CONN_PARAMS_SET, 0},
        {BLE_EVT_DEBOND_RESULT, reinterpret_cast<LPARAM>(&debond)},
        {BLE_EVT_JUST_WORKS_REQUEST, reinterpret_cast<LPARAM>(&justWorks)},
        {BLE_EVT_ENCRYPTION_RESULT, reinterpret_cast<LPARAM>(&encryption)},
        {BLE_EVT_REMOTE_CONN_PARAMS, reinterpret_cast<LPARAM>(&request)},
        {BLE_EVT_SERVER_DB_ALLOCATED, reinterpret_cast<LPARAM>(&alloc)},
        {BLE_EVT_SERVER_DB_ADDED, 0},
        {300, reinterpret_cast<LPARAM>(opaque)},
        {20, reinterpret_cast<LPARAM>(opaque + 8)},
        {600, reinterpret_cast<LPARAM>(opaque + 16)},
    };
    for (const auto& [code, lParam] : events) {
        SCOPED_TRACE(code);
        const int before = Frees(lParam);
        EXPECT_EQ(Send(code, lParam), 0);
        EXPECT_EQ(Frees(lParam), before + 1);
        const auto frees = m_host->callsNamed("OrvBleHostFreeMessageContents");
        ASSERT_FALSE(frees.empty());
        EXPECT_EQ(frees.back().args.at(0), static_cast<int64_t>(code));
    }
}

TEST_F(HostDispatchTest, StartupSuccessHidesProgressAllocatesServerOnceAndLiftsDeviceChecks) {
    ASSERT_TRUE(m_frame->ProgressWindow()->isVisible());
    ASSERT_TRUE(m_frame->IsInModalState());
    ASSERT_TRUE(m_frame->IsDeviceCheckSuspended());

    Send(BLE_EVT_HOST_STARTED, 1);
    EXPECT_FALSE(m_frame->ProgressWindow()->isVisible());
    EXPECT_FALSE(m_frame->IsInModalState());
    EXPECT_FALSE(m_frame->IsDeviceCheckSuspended());
    const auto alloc = m_host->callsNamed("OrvBleServerAllocDatabase");
    ASSERT_EQ(alloc.size(), 1u);
    EXPECT_EQ(alloc[0].args, std::vector<int64_t>{256});
    EXPECT_EQ(m_host->count("OrvBleHostGetPairedDeviceList"), 1u);

    Send(BLE_EVT_HOST_STARTED, 1);
    EXPECT_EQ(m_host->count("OrvBleServerAllocDatabase"), 1u);
    EXPECT_EQ(m_host->count("OrvBleHostGetPairedDeviceList"), 2u);
    EXPECT_TRUE(m_prompter.prompts.empty());
}

TEST_F(HostDispatchTest, StartupFailureAndHostErrorsShowTheirMessageAndClose) {
    const QString startupFailed = QStringLiteral(
        "Unable to start up communication with the chip.\n\nPlease check that BLE host dongle is connected.");
    struct Case {
        UINT code;
        LPARAM value;
        QString message;
    };
    const std::vector<Case> cases = {
        {BLE_EVT_HOST_STARTED, 0, startupFailed},
        {BLE_EVT_HOST_ERROR, 1, startupFailed},
        {BLE_EVT_HOST_ERROR, 5,
         QStringLiteral(
             "Communication with the BT4.0 USB device has been lost.\nPlease unplug the BLE host dongle, "
             "plug it once again\nand restart the application. Error code = 5.")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.value);
        m_frame = std::make_unique<CMainFrame>(false);
        m_frame->show();
        m_prompter.prompts.clear();
        Send(c.code, c.value);
        ASSERT_EQ(m_prompter.prompts.size(), 1u);
        EXPECT_EQ(m_prompter.prompts[0].text, c.message);
        EXPECT_FALSE(m_frame->ProgressWindow()->isVisible());
        QCoreApplication::processEvents();
        EXPECT_FALSE(m_frame->isVisible());
        EXPECT_EQ(m_host->count("OrvBleServerAllocDatabase"), 0u);
    }
}

TEST_F(HostDispatchTest, HostErrorZeroOnlyHidesTheProgressWindow) {
    Send(BLE_EVT_HOST_ERROR, 0);
    EXPECT_FALSE(m_frame->ProgressWindow()->isVisible());
    EXPECT_TRUE(m_prompter.prompts.empty());
    EXPECT_TRUE(m_frame->isVisible());
    EXPECT_TRUE(m_frame->IsDeviceCheckSuspended());
}

TEST_F(HostDispatchTest, RecordsHandledDuringAModalPromptAreGivenBackBeforeTheOuterOne) {
    BleHostJustWorksEvent inner{Address(7)};
    const LPARAM innerParam = reinterpret_cast<LPARAM>(&inner);
    BleHostServerAllocEvent outer{0, 3, 0};
    const LPARAM outerParam = reinterpret_cast<LPARAM>(&outer);
    m_prompter.setInsidePrompt([&](const platform::RecordingPrompter::Prompt&) {
        EXPECT_EQ(Frees(outerParam), 0);
        Send(BLE_EVT_JUST_WORKS_REQUEST, innerParam);
        EXPECT_EQ(Frees(innerParam), 1);
    });
    Send(BLE_EVT_SERVER_DB_ALLOCATED, outerParam);
    EXPECT_EQ(Frees(innerParam), 1);
    EXPECT_EQ(Frees(outerParam), 1);
    EXPECT_EQ(m_prompter.prompts.size(), 1u);
}

TEST_F(HostDispatchTest, JustWorksIsAcceptedWithoutAsking) {
    SendRecord(BLE_EVT_JUST_WORKS_REQUEST, BleHostJustWorksEvent{Address(0xABCDEF)});
    const auto answers = m_host->callsNamed("OrvBleHostJustWorksResult");
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].address.lap, 0xABCDEFu);
    EXPECT_EQ(answers[0].args, (std::vector<int64_t>{0xABCDEF, 1, 1}));
    EXPECT_TRUE(m_prompter.prompts.empty());
}

TEST_F(HostDispatchTest, EncryptionResultSetsTheFlagOnlyOnSuccessAndIsLogged) {
    SendRecord(BLE_EVT_ENCRYPTION_RESULT, BleHostEncryptionEvent{1, 0x12, 0x0005});
    EXPECT_EQ(m_frame->LinkEncrypted(), 0u);
    EXPECT_TRUE(LogContains(QStringLiteral("Set encryption result: 0x0005, supplier = 0x0012\n")));
    SendRecord(BLE_EVT_ENCRYPTION_RESULT, BleHostEncryptionEvent{1, 0x12, 0});
    EXPECT_EQ(m_frame->LinkEncrypted(), 1u);
}

TEST_F(HostDispatchTest, RemoteParameterRequestIsAcceptedAndLogged) {
    SendRecord(BLE_EVT_REMOTE_CONN_PARAMS, BleHostConnParamRequestEvent{9, 6, 12, 2, 300, 4});
    const auto answers = m_host->callsNamed("OrvBleHostAcceptConnUpdate");
    ASSERT_EQ(answers.size(), 1u);
    EXPECT_EQ(answers[0].args, (std::vector<int64_t>{9, 4, 1}));
    EXPECT_TRUE(
        LogContains(QStringLiteral("Remote Connection parameter request accepted: 6 12 2 300, id: 4\n")));
}

TEST_F(HostDispatchTest, DebondFailureIsLoggedAndTheStateReturnsToIdle) {
    SendRecord(BLE_EVT_DEBOND_RESULT, BleHostDebondEvent{0, 7, Address(1)});
    EXPECT_EQ(m_frame->OperationState(), 0);
    EXPECT_TRUE(LogContains(QStringLiteral("Failed to remove paired device\n")));
}

TEST_F(HostDispatchTest, ServerDatabaseFailuresShowTheMessageAndLeaveTheServerNotReady) {
    const QString message = QStringLiteral(
        "Unable to create GATT database for Immediate Alert service.\nIncoming alerts will be ignored.");
    SendRecord(BLE_EVT_SERVER_DB_ALLOCATED, BleHostServerAllocEvent{0, 1, 0});
    Send(BLE_EVT_SERVER_DB_ADDED, 0);
    EXPECT_TRUE(m_frame->IsServerReady());
    Send(BLE_EVT_SERVER_DB_ADDED, 2);
    EXPECT_FALSE(m_frame->IsServerReady());
    ASSERT_EQ(m_prompter.prompts.size(), 2u);
    EXPECT_EQ(m_prompter.prompts[0].text, message);
    EXPECT_EQ(m_prompter.prompts[1].text, message);
}

TEST_F(HostDispatchTest, ConnectResultWithoutAConnectingDeviceDisconnectsThatLink) {
    SendRecord(BLE_EVT_CONNECT_RESULT, BleHostConnectEvent{0, 0, 42});
    const auto disconnects = m_host->callsNamed("OrvBleHostDisconnect");
    ASSERT_EQ(disconnects.size(), 1u);
    EXPECT_EQ(disconnects[0].args, std::vector<int64_t>{42});
    EXPECT_EQ(m_host->count("OrvBleClientDiscoverDatabase"), 0u);
    EXPECT_EQ(m_frame->OperationState(), 0);
}

TEST_F(HostDispatchTest, DisconnectionLowersTheSecurityLevelFirst) {
    SendRecord(BLE_EVT_DISCONNECTED, BleHostDisconnectEvent{0, 0x08, 3});
    const auto levels = m_host->callsNamed("OrvBleHostChangeSecurityLevel");
    ASSERT_EQ(levels.size(), 1u);
    EXPECT_EQ(levels[0].args, std::vector<int64_t>{0});
}

} // namespace
