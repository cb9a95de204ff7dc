// The built-in key tag end to end: it pairs, is told its zone as it drifts, takes the user's levels and
// alerts the PC with its button.
#include "mainframe/CMainFrame.h"
#include "platform/DialogItems.h"
#include "profiles/control/SecurityTagIds.h"
#include "support/RecordingSoundPlayer.h"
#include "support/SimFixture.h"
#include "veyrasim.h"

#include <QComboBox>
#include <set>

namespace {

const std::string kTag = "C4:1A:7D:DA:71:0F";
constexpr uint16_t kImmediateAlertLevel = 6, kLinkLossLevel = 9;

class SecurityTagE2eTest : public SimFixture {
protected:
    // The levels the tag recorded for one of its two Alert Levels since the last call.
    std::vector<uint8_t> Levels(uint16_t handle) {
        std::vector<uint8_t> levels;
        for (const orv::sim::PeerWrite& write : orv::sim::takePeerRecordedWrites(kTag))
            if (write.handle == handle)
                levels.insert(levels.end(), write.value.begin(), write.value.end());
        return levels;
    }
};

TEST_F(SecurityTagE2eTest, TheTagPairsGetsZoneLevelsAndItsButtonAlertsThePc) {
    RecordingSoundPlayer sound;
    CSecurityTagCtrl* window =
        ConnectedWindow(std::string(), QStringLiteral("Orvane Key Tag"), &CMainFrame::SecurityTagWindow);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(Frame()->LinkEncrypted());
    EXPECT_EQ(Frame()->RssiCorrection(), -8);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_TAG_PLAY_SOUND));

    const auto alertText = [&] { return platform::GetDlgItemText(window, IDC_TAG_ALERT_LEVEL); };
    std::set<QString> shown;
    for (int ms = 0; ms < 70000; ms += 500) {
        Advance(500);
        shown.insert(alertText());
    }
    const std::vector<uint8_t> zones = Levels(kImmediateAlertLevel);
    EXPECT_TRUE(std::set<uint8_t>(zones.begin(), zones.end()) == (std::set<uint8_t>{0, 1, 2}))
        << "a drift away and back crosses both thresholds";
    EXPECT_NE(platform::GetDlgItemText(window, IDC_TAG_RSSI), QStringLiteral("Unknown"));
    EXPECT_TRUE(shown.contains(QStringLiteral("High Alert")));
    EXPECT_EQ(sound.played, std::vector<UINT>{IDR_WAVE_ALERT});

    ASSERT_TRUE(orv::sim::setPeerRssi(kTag, -50)); // near: no zone level but 0 from here on
    window->SetLinkLossAlert(true);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_TAG_LINK_LOSS_ALERT));
    qobject_cast<QComboBox*>(platform::GetDlgItem(window, IDC_TAG_LEVEL))->setCurrentIndex(1);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_TAG_SET_LEVEL));
    Advance(5000);
    const std::vector<orv::sim::PeerWrite> writes = orv::sim::takePeerRecordedWrites(kTag);
    EXPECT_TRUE(std::find(writes.begin(), writes.end(), orv::sim::PeerWrite{kLinkLossLevel, {2}}) !=
                writes.end());
    EXPECT_TRUE(std::find(writes.begin(), writes.end(), orv::sim::PeerWrite{kImmediateAlertLevel, {1}}) !=
                writes.end());
    EXPECT_FALSE(Frame()->IsLinkLossWriteBusy());
}

} // namespace
