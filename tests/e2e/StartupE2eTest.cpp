// Start-up, host events and shutdown of the whole application on the simulated dongle.
#include "mainframe/CMainFrame.h"
#include "panes/CConnectProgressDlg.h"
#include "platform/StringTable.h"
#include "res/resource.h"
#include "support/SimFixture.h"
#include "veyrasim.h"

namespace {

class StartupE2eTest : public SimFixture {};

TEST_F(StartupE2eTest, BuiltInWorldStartsUpAndGivesEveryRecordBack) {
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->isVisible());
    EXPECT_FALSE(frame->ProgressWindow()->isVisible());
    EXPECT_FALSE(frame->IsDeviceCheckSuspended());
    Advance(1000);
    EXPECT_TRUE(m_prompter.prompts.empty());
    EXPECT_EQ(orv::sim::liveRecordCount(), 0u);
    EXPECT_EQ(orv::sim::unknownFreeCount(), 0u);
}

TEST_F(StartupE2eTest, StartUpFailureReportedByTheDongleClosesTheWindow) {
    LoadWorld(R"({"seed": 3, "dongle": {"startup": "failed"}})");
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    ASSERT_EQ(PromptTexts().size(), 1u);
    EXPECT_EQ(PromptTexts()[0],
              QStringLiteral("Unable to start up communication with the chip.\n\nPlease check "
                             "that BLE host dongle is connected."));
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(orv::sim::liveRecordCount(), 0u);
}

TEST_F(StartupE2eTest, UnpluggingTheDongleShowsTheMessageAndCloses) {
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    orv::sim::unplugDongle();
    Advance(500);
    ASSERT_FALSE(PromptTexts().empty());
    EXPECT_EQ(PromptTexts()[0], platform::LoadString(IDS_DONGLE_UNPLUGGED));
    EXPECT_FALSE(frame->isVisible());
    EXPECT_EQ(orv::sim::liveRecordCount(), 0u);
}

TEST_F(StartupE2eTest, UnpluggingAnotherDeviceChangesNothing) {
    LoadWorld(R"({"seed": 3, "usbDevices": [{"hardwareIds": ["USB\\VID_046D&PID_C52B"], "service": "usbhid",
                  "interfacePath": "mouse"}]})");
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    orv::sim::unplugUsbDevice("mouse");
    Advance(500);
    EXPECT_TRUE(m_prompter.prompts.empty());
    EXPECT_TRUE(frame->isVisible());
}

TEST_F(StartupE2eTest, SuspendAndResumeStartTheHostAgain) {
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    orv::sim::suspendSystem();
    Advance(100);
    EXPECT_TRUE(frame->IsDeviceCheckSuspended());
    EXPECT_FALSE(m_app->IsHostInitialised());
    orv::sim::resumeSystem();
    Advance(100);
    EXPECT_TRUE(frame->ProgressWindow()->isVisible());
    Advance(3000);
    EXPECT_TRUE(m_app->IsHostInitialised());
    EXPECT_FALSE(frame->ProgressWindow()->isVisible());
    EXPECT_FALSE(frame->IsDeviceCheckSuspended());
    EXPECT_TRUE(m_prompter.prompts.empty());
    EXPECT_EQ(orv::sim::liveRecordCount(), 0u);
}

TEST_F(StartupE2eTest, CommunicationLostShowsTheErrorCode) {
    CMainFrame* frame = Start();
    ASSERT_NE(frame, nullptr);
    orv::sim::injectHostError(7);
    Advance(100);
    ASSERT_EQ(PromptTexts().size(), 1u);
    EXPECT_TRUE(PromptTexts()[0].endsWith(QStringLiteral("Error code = 7.")));
    EXPECT_FALSE(frame->isVisible());
}

} // namespace
