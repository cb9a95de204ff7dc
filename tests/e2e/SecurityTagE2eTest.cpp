// The built-in key tag end to end: it pairs, is told its zone as it drifts, takes the user's levels and
// alerts the PC with its button.
#include "E2eFixture.h"
#include "mainframe/CMainFrame.h"
#include "profiles/control/SecurityTagIds.h"
#include "support/RecordingSoundPlayer.h"
#include "veyrasim.h"

#include <QComboBox>
#include <gmock/gmock.h>
#include <set>

namespace {

const std::string kTag = "C4:1A:7D:DA:71:0F";
constexpr uint16_t kImmediateAlertLevel = 6, kLinkLossLevel = 9;

using SecurityTagE2eTest = E2eFixture;
using orv::sim::PeerWrite;

TEST_F(SecurityTagE2eTest, TheTagPairsGetsZoneLevelsAndItsButtonAlertsThePc) {
    RecordingSoundPlayer sound;
    CSecurityTagCtrl* window = Open("Orvane Key Tag", &CMainFrame::SecurityTagWindow);
    EXPECT_TRUE(Frame()->LinkEncrypted());
    EXPECT_EQ(Frame()->RssiCorrection(), -8);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_TAG_PLAY_SOUND));

    const auto shown = Samples<QString>(70000, 500, [window] { return Text(window, IDC_TAG_ALERT_LEVEL); });
    std::set<uint8_t> zones; // the levels written to its Immediate Alert
    for (const PeerWrite& write : orv::sim::takePeerRecordedWrites(kTag))
        if (write.handle == kImmediateAlertLevel)
            zones.insert(write.value.begin(), write.value.end());
    EXPECT_EQ(zones, (std::set<uint8_t>{0, 1, 2})) << "a drift away and back crosses both thresholds";
    EXPECT_NE(Text(window, IDC_TAG_RSSI), QStringLiteral("Unknown"));
    EXPECT_THAT(shown, testing::Contains(QStringLiteral("High Alert")));
    EXPECT_EQ(sound.played, std::vector<UINT>{IDR_WAVE_ALERT});

    ASSERT_TRUE(orv::sim::setPeerRssi(kTag, -50)); // near: no zone level but 0 from here on
    window->SetLinkLossAlert(true);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_TAG_LINK_LOSS_ALERT));
    Item<QComboBox>(window, IDC_TAG_LEVEL)->setCurrentIndex(1);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_TAG_SET_LEVEL));
    Advance(5000);
    EXPECT_THAT(
        orv::sim::takePeerRecordedWrites(kTag),
        testing::IsSupersetOf({PeerWrite{kLinkLossLevel, {2}}, PeerWrite{kImmediateAlertLevel, {1}}}));
    EXPECT_FALSE(Frame()->IsLinkLossWriteBusy());
}

} // namespace
