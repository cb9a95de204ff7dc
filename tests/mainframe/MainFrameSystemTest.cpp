// The main window and the system: closing, dongle removal, suspend and resume, saved appearances.
#include "app/COrvBleDemoApp.h"
#include "app/CRegistrySettings.h"
#include "mainframe/CMainFrame.h"
#include "panes/CConnectProgressDlg.h"
#include "platform/StringTable.h"
#include "res/resource.h"
#include "support/AppFixture.h"

#include <QCoreApplication>
#include <cstring>

namespace {

const QString kSettingsKey = QStringLiteral("Software\\Orvane\\Tindrel\\2.6.0.3");

class MainFrameSystemTest : public AppFixture {
protected:
    // Starts the application and delivers the host's start-up event.
    CMainFrame* Start() {
        EXPECT_EQ(m_app.InitInstance(), TRUE);
        CMainFrame* frame = m_app.MainFrame();
        frame->OnBleHostMessage(BLE_EVT_HOST_STARTED, 1);
        m_prompter.prompts.clear();
        return frame;
    }
    void TearDown() override {
        m_app.ExitInstance();
        AppFixture::TearDown();
    }
    COrvBleDemoApp m_app;
};

BleHostPairedDevice Paired(uint8_t last, const char* name) {
    BleHostPairedDevice device{};
    device.address.nap = 0x0011;
    device.address.uap = 0x22;
    device.address.lap = 0x3344u << 8 | last;
    std::strncpy(device.name, name, sizeof device.name - 1);
    return device;
}

QStringList SavedDevices(platform::SettingsStore& store) {
    QStringList keys = store.subkeys(kSettingsKey + QStringLiteral("\\LE Devices"));
    keys.sort();
    return keys;
}

TEST_F(MainFrameSystemTest, ClosingWhileIdleClosesAtOnce) {
    CMainFrame* frame = Start();
    frame->close();
    EXPECT_FALSE(frame->isVisible());
    EXPECT_FALSE(frame->IsTimerRunning(TIMER_CLOSE));
}

TEST_F(MainFrameSystemTest, SavingAppearancesReplacesTheStoredSetWithThePairedList) {
    const QString devices = kSettingsKey + QStringLiteral("\\LE Devices\\");
    m_settings->createKey(devices + QStringLiteral("00:11:22:33:44:0A"));
    m_settings->setDword(devices + QStringLiteral("00:11:22:33:44:0A"), QStringLiteral("Appearance"), 0x03C1);
    m_settings->createKey(devices + QStringLiteral("00:11:22:33:44:0C"));
    m_settings->setDword(devices + QStringLiteral("00:11:22:33:44:0C"), QStringLiteral("Appearance"), 0x0340);
    m_host->pairedDevices = {Paired(0x0A, "Keyboard"), Paired(0x0B, "Band")};

    CMainFrame* frame = Start();
    ASSERT_EQ(frame->PairedDeviceList().size(), 2u);
    EXPECT_EQ(frame->PairedDeviceList()[0]->appearance, 0x03C1);
    EXPECT_EQ(frame->PairedDeviceList()[0]->GetName(), QStringLiteral("Keyboard"));
    EXPECT_EQ(frame->PairedDeviceList()[1]->appearance, 0);
    EXPECT_EQ(frame->DeviceList().size(), 2u);

    frame->PairedDeviceList()[1]->appearance = 0x0180;
    m_app.ExitInstance();
    EXPECT_EQ(SavedDevices(*m_settings),
              (QStringList{QStringLiteral("00:11:22:33:44:0A"), QStringLiteral("00:11:22:33:44:0B")}));
    DWORD appearance = 0;
    EXPECT_EQ(m_settings->queryDword(devices + QStringLiteral("00:11:22:33:44:0B"),
                                     QStringLiteral("Appearance"), &appearance),
              ERROR_SUCCESS);
    EXPECT_EQ(appearance, 0x0180u);
}

TEST_F(MainFrameSystemTest, AFailedStartUpKeepsTheStoredAppearances) {
    const QString key = kSettingsKey + QStringLiteral("\\LE Devices\\00:11:22:33:44:0C");
    m_settings->createKey(key);
    m_settings->setDword(key, QStringLiteral("Appearance"), 0x0340);
    ASSERT_EQ(m_app.InitInstance(), TRUE);
    m_app.MainFrame()->OnBleHostMessage(BLE_EVT_HOST_STARTED, 0);
    m_app.ExitInstance();
    EXPECT_EQ(SavedDevices(*m_settings), QStringList{QStringLiteral("00:11:22:33:44:0C")});
}

TEST_F(MainFrameSystemTest, PairedNameIsReadWithinItsFieldWithoutATerminator) {
    BleHostPairedDevice device = Paired(1, "");
    std::memset(device.name, 'x', sizeof device.name);
    device.appearance = 0x7777; // follows the name field
    m_host->pairedDevices = {device};
    CMainFrame* frame = Start();
    ASSERT_EQ(frame->PairedDeviceList().size(), 1u);
    EXPECT_EQ(frame->PairedDeviceList()[0]->GetName(), QString(51, QLatin1Char('x')));
}

TEST_F(MainFrameSystemTest, AFailingPairedListKeepsTheListsAsTheyWere) {
    m_host->pairedDevices = {Paired(1, "One")};
    CMainFrame* frame = Start();
    m_host->pairedListResult = false;
    frame->OnBleHostMessage(BLE_EVT_HOST_STARTED, 1);
    EXPECT_EQ(frame->PairedDeviceList().size(), 1u);
    EXPECT_EQ(frame->DeviceList().size(), 1u);
}

TEST_F(MainFrameSystemTest, DeviceChangeBeforeStartUpIsIgnored) {
    ASSERT_EQ(m_app.InitInstance(), TRUE);
    LoadWorld(WorldWithDongle(R"({"present": false})"));
    m_app.MainFrame()->OnDeviceChange(DBT_DEVICEREMOVECOMPLETE, 0);
    EXPECT_TRUE(m_prompter.prompts.empty());
    EXPECT_TRUE(m_app.MainFrame()->isVisible());
}

TEST_F(MainFrameSystemTest, RemovingAnotherDeviceChangesNothingButLosingTheDongleCloses) {
    CMainFrame* frame = Start();
    frame->OnDeviceChange(DBT_DEVICEREMOVECOMPLETE, 0);
    frame->OnDeviceChange(0x8000, 0);
    EXPECT_TRUE(m_prompter.prompts.empty());
    EXPECT_TRUE(frame->isVisible());

    LoadWorld(WorldWithDongle(R"({"driver": false})"));
    frame->OnDeviceChange(0x8000, 0);
    EXPECT_TRUE(m_prompter.prompts.empty());
    frame->OnDeviceChange(DBT_DEVICEREMOVECOMPLETE, 0);
    ASSERT_EQ(m_prompter.prompts.size(), 1u);
    EXPECT_EQ(m_prompter.prompts[0].text, platform::LoadString(IDS_DONGLE_UNPLUGGED));
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(MainFrameSystemTest, SuspendDeinitialisesAndResumeRestartsAfterTwoSecondsOnce) {
    CMainFrame* frame = Start();
    frame->OnPowerBroadcast(PBT_APMSUSPEND, 0);
    EXPECT_EQ(m_host->count("OrvBleHostDeinit"), 1u);
    EXPECT_FALSE(m_app.IsHostInitialised());
    EXPECT_TRUE(frame->IsDeviceCheckSuspended());

    m_host->calls.clear();
    frame->OnPowerBroadcast(PBT_APMRESUMESUSPEND, 0);
    frame->OnPowerBroadcast(PBT_APMRESUMECRITICAL, 0);
    EXPECT_TRUE(frame->ProgressWindow()->isVisible());
    EXPECT_TRUE(frame->IsInModalState());
    Advance(1999);
    EXPECT_EQ(m_host->count("OrvBleHostInit"), 0u);
    Advance(1);
    EXPECT_EQ(m_host->count("OrvBleHostInit"), 1u);
    EXPECT_EQ(m_host->count("OrvBleHostStartWnd"), 1u);
    EXPECT_TRUE(m_app.IsHostInitialised());
    Advance(5000);
    EXPECT_EQ(m_host->count("OrvBleHostInit"), 1u);

    frame->OnBleHostMessage(BLE_EVT_HOST_STARTED, 1);
    EXPECT_FALSE(frame->ProgressWindow()->isVisible());
    EXPECT_EQ(m_host->count("OrvBleServerAllocDatabase"), 0u);
}

TEST_F(MainFrameSystemTest, ResumeWithoutTheDongleShowsWhyAndCloses) {
    CMainFrame* frame = Start();
    frame->OnPowerBroadcast(PBT_APMSUSPEND, 0);
    LoadWorld(WorldWithDongle(R"({"present": false})"));
    frame->OnPowerBroadcast(PBT_APMRESUMESUSPEND, 0);
    Advance(2000);
    ASSERT_EQ(m_prompter.prompts.size(), 1u);
    EXPECT_EQ(m_prompter.prompts[0].text, platform::LoadString(IDS_DONGLE_NOT_FOUND));
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(MainFrameSystemTest, ResumeWhoseStartFailsShowsTheMessageAndCloses) {
    CMainFrame* frame = Start();
    frame->OnPowerBroadcast(PBT_APMSUSPEND, 0);
    m_host->startWndResult = 0;
    frame->OnPowerBroadcast(PBT_APMRESUMESUSPEND, 0);
    Advance(2000);
    ASSERT_EQ(m_prompter.prompts.size(), 1u);
    EXPECT_EQ(m_prompter.prompts[0].text, QStringLiteral("Unable to start BLE client"));
    EXPECT_FALSE(frame->isVisible());
}

TEST_F(MainFrameSystemTest, ActivationRequestRaisesTheWindow) {
    CMainFrame* frame = Start();
    QWidget other;
    other.show();
    other.activateWindow();
    QCoreApplication::processEvents();
    ASSERT_FALSE(frame->isActiveWindow());
    platform::PostMessage(frame->GetSafeHwnd(), InterInstanceMessage(), 0, 0);
    for (int i = 0; i < 100 && !frame->isActiveWindow(); ++i)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_TRUE(frame->isActiveWindow());
}

} // namespace
