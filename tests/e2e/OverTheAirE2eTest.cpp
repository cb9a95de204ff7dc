// The built-in world's two over-the-air peers, each connected as a user would: its window opens and
// shows what the peer serves.
#include "E2eFixture.h"
#include "profiles/control/OverTheAirIds.h"

namespace {

using OverTheAirE2eTest = E2eFixture;

TEST_F(OverTheAirE2eTest, TheTargetShowsTheIndexOfTheApplicationItRuns) {
    const auto* window = Open("Orvane OTA Target", &CMainFrame::OTAAppServiceWindow);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Over-the-Air Update"));
    EXPECT_EQ(Text(window, IDC_OTA_CURRENT_APPLICATION), QStringLiteral("1"));
    EXPECT_EQ(LogCount(QStringLiteral("Cur App received = 1\n")), 1);
}

TEST_F(OverTheAirE2eTest, TheBootloaderShowsTheApplicationIndexAndItsVersion) {
    const auto* window = Open("Orvane OTA Bootloader", &CMainFrame::OTABootLoaderServiceWindow);
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Over-the-Air Bootloader"));
    EXPECT_EQ(Text(window, IDC_OTA_CURRENT_APPLICATION), QStringLiteral("1"));
    EXPECT_EQ(Text(window, IDC_OTA_BOOTLOADER_VERSION), QStringLiteral("3"));
    EXPECT_EQ(LogCount(QStringLiteral("Current App index received = 1\n")), 1);
    EXPECT_EQ(LogCount(QStringLiteral("Current version received = 3\n")), 1);
}

} // namespace
