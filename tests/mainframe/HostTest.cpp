// The host library's events at the main window, and the system around it: start-up, errors, records
// given back, saved appearances, dongle removal, suspend and resume.
#include "app/COrvBleDemoApp.h"
#include "panes/CConnectProgressDlg.h"
#include "panes/CDeviceView.h"
#include "panes/CPropertiesWnd.h"
#include "platform/StringTable.h"
#include "res/resource.h"
#include "support/MainFrameFixture.h"

#include <QCoreApplication>
#include <QMouseEvent>
#include <QStatusBar>

namespace {

class HostDispatchTest : public MainFrameFixture {
protected:
    int Frees(const void* record) const {
        const auto found = m_host->frees.find(reinterpret_cast<LPARAM>(record));
        return found == m_host->frees.end() ? 0 : found->second;
    }
};

TEST_F(HostDispatchTest, RecordsOfUnknownCodesAndOfEventsInsideAModalPromptAreGivenBackOnceNoneAfterDeinit) {
    const int unknown = 0;
    Deliver(300, reinterpret_cast<LPARAM>(&unknown));
    EXPECT_EQ(Frees(&unknown), 1);
    const BleHostJustWorksEvent inner{TestAddress(7)};
    const BleHostServerAllocEvent outer{0, 3, 0};
    m_prompter.setInsidePrompt([&](const RecordingPrompter::Prompt&) {
        EXPECT_EQ(Frees(&outer), 0);
        DeliverRecord(BLE_EVT_JUST_WORKS_REQUEST, inner);
        EXPECT_EQ(Frees(&inner), 1);
    });
    DeliverRecord(BLE_EVT_SERVER_DB_ALLOCATED, outer);
    EXPECT_EQ(Frees(&outer), 1);
    EXPECT_EQ(Calls("OrvBleHostJustWorksResult").at(0).args,
              (std::vector<int64_t>{TestAddress(7).lap, 1, 1}));

    // Events after the host library's deinitialisation are dropped without touching their records.
    StartUp();
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_DISCOVER));
    const COrvBleDemoApp app; // its host library is not initialised
    BleHostDeviceFoundEvent report{};
    report.address = TestAddress(1);
    DeliverRecord(BLE_EVT_DEVICE_FOUND, report);
    EXPECT_TRUE(m_frame->DeviceList().empty());
    EXPECT_EQ(Frees(&report), 0);
}

TEST_F(HostDispatchTest, StartUpHidesTheProgressLoadsThePairedListAndAllocatesTheServerOnce) {
    StartUp();
    StartUp();
    EXPECT_FALSE(m_frame->IsInModalState() || m_frame->IsDeviceCheckSuspended());
    EXPECT_EQ(Count("OrvBleHostGetPairedDeviceList"), 2u);
    EXPECT_EQ(Count("OrvBleServerAllocDatabase"), 1u);
    EXPECT_EQ(Calls("OrvBleServerAllocDatabase").at(0).args, std::vector<int64_t>{256});
}

TEST_F(HostDispatchTest, StartUpFailuresAndHostErrorsShowTheirMessageAndClose) {
    const QString startupFailed = QStringLiteral(
        "Unable to start up communication with the chip.\n\nPlease check that BLE host dongle is connected.");
    const QString lost =
        QStringLiteral("Communication with the BT4.0 USB device has been lost.\nPlease unplug "
                       "the BLE host dongle, plug it once again\nand restart the "
                       "application. Error code = 2.");
    // Error 1 means the start-up failed, others that the dongle was lost; 0 is no error.
    for (const auto& [value, message] : {std::pair{1, startupFailed}, {2, lost}, {0, QString()}}) {
        NewFrame();
        m_prompter.prompts.clear();
        Deliver(BLE_EVT_HOST_ERROR, value);
        EXPECT_EQ(PromptTexts(), message.isEmpty() ? std::vector<QString>{} : std::vector<QString>{message});
        EXPECT_FALSE(m_frame->ProgressWindow()->isVisible());
        QCoreApplication::processEvents();
        EXPECT_EQ(m_frame->isVisible(), message.isEmpty());
    }
    EXPECT_EQ(Count("OrvBleServerAllocDatabase"), 0u);
}

TEST_F(HostDispatchTest, ServerDatabaseFailuresShowTheMessageAndALinkNobodyAskedForIsDisconnected) {
    DeliverRecord(BLE_EVT_SERVER_DB_ALLOCATED, BleHostServerAllocEvent{0, 1, 0});
    Deliver(BLE_EVT_SERVER_DB_ADDED, 0);
    EXPECT_TRUE(m_frame->IsServerReady());
    Deliver(BLE_EVT_SERVER_DB_ADDED, 2);
    EXPECT_FALSE(m_frame->IsServerReady());
    const QString message = QStringLiteral(
        "Unable to create GATT database for Immediate Alert service.\nIncoming alerts will be ignored.");
    EXPECT_EQ(PromptTexts(), (std::vector<QString>{message, message}));
    DeliverRecord(BLE_EVT_CONNECT_RESULT, BleHostConnectEvent{0, 0, 42});
    EXPECT_EQ(Calls("OrvBleHostDisconnect").at(0).args, std::vector<int64_t>{42});
    EXPECT_EQ(Count("OrvBleClientDiscoverDatabase"), 0u);
}

class SystemTest : public AppFixture {
protected:
    // Starts the application on the world with the dongle and delivers the host's start-up event.
    CMainFrame* Start(LPARAM started = 1) {
        LoadWorld(WorldWithDongle());
        EXPECT_EQ(m_app.InitInstance(), TRUE);
        m_app.MainFrame()->OnBleHostMessage(BLE_EVT_HOST_STARTED, started);
        m_prompter.prompts.clear();
        return m_app.MainFrame();
    }
    void TearDown() override {
        m_app.ExitInstance();
        AppFixture::TearDown();
    }
    COrvBleDemoApp m_app;
};

TEST_F(SystemTest, AppearancesAreSavedOverTheStoredSetOnlyAfterTheListWasLoaded) {
    const QString devices = QStringLiteral("Software\\Orvane\\Tindrel\\2.6.0.3\\LE Devices");
    m_settings->createKey(devices + "\\C0:DE:01:02:03:0C");
    for (const LPARAM started : {0, 1}) {
        m_host->pairedDevices = {PairedDevice(1, "Keys")};
        Start(started);
        m_app.ExitInstance();
        EXPECT_EQ(m_settings->subkeys(devices),
                  QStringList{started ? "C0:DE:01:02:03:01" : "C0:DE:01:02:03:0C"});
    }
}

TEST_F(SystemTest, APairedNameIsReadWithinItsFieldAndAFailingListKeepsTheLists) {
    BleHostPairedDevice device = PairedDevice(1, "");
    std::memset(device.name, 'x', sizeof device.name); // no terminator: the appearance follows
    device.appearance = 0x7777;
    m_host->pairedDevices = {device};
    CMainFrame* frame = Start();
    m_host->pairedListResult = false;
    frame->OnBleHostMessage(BLE_EVT_HOST_STARTED, 1);
    ASSERT_EQ(frame->DeviceList().size(), 1u);
    EXPECT_EQ(frame->DeviceList()[0]->GetName(), QString(51, QLatin1Char('x')));
}

TEST_F(SystemTest, LosingTheDongleOrItsDriverClosesButOnlyAfterStartUp) {
    // Losing the dongle itself is tested end to end.
    for (const auto& [world, closes] :
         {std::pair{R"({"driver": false})", true}, {R"({"busy": true})", false}}) {
        SCOPED_TRACE(world);
        LoadWorld(WorldWithDongle());
        ASSERT_EQ(m_app.InitInstance(), TRUE);
        CMainFrame* frame = m_app.MainFrame();
        LoadWorld(WorldWithDongle(world));
        frame->OnDeviceChange(DBT_DEVICEREMOVECOMPLETE, 0);
        EXPECT_TRUE(m_prompter.prompts.empty());
        frame->OnBleHostMessage(BLE_EVT_HOST_STARTED, 1);
        frame->OnDeviceChange(DBT_DEVICEREMOVECOMPLETE, 0);
        EXPECT_EQ(PromptTexts().size(), closes ? 1u : 0u);
        EXPECT_EQ(frame->isVisible(), !closes);
        m_app.ExitInstance();
        m_prompter.prompts.clear();
    }
}

TEST_F(SystemTest, AResumeStartsTheHostTwoSecondsAfterItsFirstEventUnlessItSleepsAgainOrIsUpOrSaysWhyNot) {
    // A power event (0: none), then that many virtual milliseconds: the host's initialisations so far.
    struct Step {
        UINT event;
        uint64_t ms;
        size_t inits;
    };
    constexpr UINT kSuspend = PBT_APMSUSPEND, kResume = PBT_APMRESUMESUSPEND;
    const std::pair<std::vector<Step>, bool> runs[] = {
        {{{kSuspend, 0, 1}, {kResume, 0, 1}, {PBT_APMRESUMECRITICAL, 1999, 1}, {0, 5000, 2}}, true},
        {{{kSuspend, 0, 1}, {kResume, 1000, 1}, {kSuspend, 2000, 1}, {kResume, 2000, 2}}, true},
        // A suspend during the wait takes the wait's progress with it.
        {{{kSuspend, 0, 1}, {kResume, 1000, 1}, {kSuspend, 5000, 1}}, false},
        {{{kResume, 2000, 1}}, false}, // no suspend: the host is still up
    };
    for (const auto& [steps, progressShown] : runs) {
        SCOPED_TRACE(steps.size());
        m_host->calls.clear();
        CMainFrame* frame = Start();
        for (const Step& step : steps) {
            if (step.event)
                frame->OnPowerBroadcast(step.event, 0);
            Advance(step.ms);
            EXPECT_EQ(m_host->count("OrvBleHostInit"), step.inits) << step.event;
        }
        EXPECT_EQ(m_host->count("OrvBleHostStartWnd"), m_host->count("OrvBleHostInit"));
        EXPECT_TRUE(m_prompter.prompts.empty());
        EXPECT_TRUE(frame->isVisible());
        EXPECT_EQ(frame->ProgressWindow()->isVisible(), progressShown);
        EXPECT_EQ(frame->IsInModalState(), progressShown);
        m_app.ExitInstance();
    }
    // A host that cannot be started again: the message, and the window closes.
    CMainFrame* frame = Start();
    frame->OnPowerBroadcast(kSuspend, 0);
    m_host->startWndResult = 0;
    frame->OnPowerBroadcast(kResume, 0);
    Advance(2000);
    EXPECT_EQ(PromptTexts(), std::vector<QString>{"Unable to start BLE client"});
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(SystemTest, TheMinimumWidthIsThePanesWidthsTheUserSetAndThePanesGetThemBackWithRoom) {
    CMainFrame* frame = Start();
    const auto mouse = [frame](QEvent::Type type, QPoint at) {
        QMouseEvent event(type, at, frame->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton, Qt::NoModifier);
        QCoreApplication::sendEvent(frame, &event);
        QCoreApplication::processEvents(); // the window moves a pane's edge on a timer
    };
    for (const int width : {100, 100, 1200}) {
        frame->resize(width, frame->height());
        QCoreApplication::processEvents();
        mouse(QEvent::MouseButtonRelease, frame->statusBar()->geometry().center()); // a click elsewhere
    }
    EXPECT_EQ(frame->minimumWidth(), 500);
    EXPECT_EQ(frame->DeviceView()->width(), 200);
    EXPECT_EQ(frame->PropertiesView()->width(), 300);

    // The user moves the device pane's edge 40 pixels to the right.
    const QPoint edge = frame->DeviceView()->geometry().topRight() + QPoint(2, 100);
    mouse(QEvent::MouseButtonPress, edge);
    mouse(QEvent::MouseMove, edge + QPoint(40, 0));
    mouse(QEvent::MouseButtonRelease, edge + QPoint(40, 0));
    EXPECT_EQ(frame->DeviceView()->width(), 240);
    EXPECT_EQ(frame->minimumWidth(), 540);
}

} // namespace
