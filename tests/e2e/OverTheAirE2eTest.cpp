// The built-in world's two over-the-air peers, each connected as a user would: its window opens and
// shows what the peer serves.
#include "platform/DialogItems.h"
#include "profiles/control/OverTheAirIds.h"
#include "support/SimFixture.h"

namespace {

using OverTheAirE2eTest = SimFixture;

TEST_F(OverTheAirE2eTest, TheTargetShowsTheIndexOfTheApplicationItRuns) {
    const auto* window = ConnectedWindow("", "Orvane OTA Target", &CMainFrame::OTAAppServiceWindow);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Over-the-Air Update"));
    EXPECT_EQ(platform::GetDlgItemText(window, IDC_OTA_CURRENT_APPLICATION), QStringLiteral("1"));
    EXPECT_EQ(LogCount(QStringLiteral("Cur App received = 1\n")), 1);
}

TEST_F(OverTheAirE2eTest, TheBootloaderShowsTheApplicationIndexAndItsVersion) {
    const auto* window =
        ConnectedWindow("", "Orvane OTA Bootloader", &CMainFrame::OTABootLoaderServiceWindow);
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Over-the-Air Bootloader"));
    EXPECT_EQ(platform::GetDlgItemText(window, IDC_OTA_CURRENT_APPLICATION), QStringLiteral("1"));
    EXPECT_EQ(platform::GetDlgItemText(window, IDC_OTA_BOOTLOADER_VERSION), QStringLiteral("3"));
    EXPECT_EQ(LogCount(QStringLiteral("Current App index received = 1\n")), 1);
    EXPECT_EQ(LogCount(QStringLiteral("Current version received = 3\n")), 1);
}

} // namespace
