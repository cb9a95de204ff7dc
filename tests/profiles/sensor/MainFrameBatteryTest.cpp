// The main window's battery routing: the level's reads and notifications, and Update.
#include "platform/DialogItems.h"
#include "profiles/sensor/BatteryIds.h"
#include "support/MainFrameFixture.h"

#include <QProgressBar>

namespace {

constexpr uint16_t kLevel = 52, kLevelConfig = 53;

class MainFrameBatteryTest : public PeerFixture {
protected:
    void SetUp() override {
        PeerFixture::SetUp();
        m_database.Service(0x180F, 50, 54).Characteristic(0x2A19, kLevel, 0x12, kLevelConfig);
        ConnectPeer();
        WriteResult(kLevelConfig);
        ReadResult(kLevel, {57});
    }
    QString Text() const { return platform::GetDlgItemText(m_frame->BatteryWindow(), IDC_BATTERY_PERCENT); }
    int Position() const {
        return qobject_cast<QProgressBar*>(platform::GetDlgItem(m_frame->BatteryWindow(), IDC_BATTERY_BAR))
            ->value();
    }
};

TEST_F(MainFrameBatteryTest, UpdateShowsNoReadingUntilTheReadIsAnsweredFailsOrTheLinkDropsAndNeedsAConnectedPeer) {
    struct Answer {
        std::vector<uint8_t> value;
        uint16_t status;
        const char* text;
    };
    const Answer answers[] = {{{48}, 0, "48%"}, {{}, 0x0E, "N/A"}, {{}, 0, "N/A"}, {{0x20, 0x01}, 0, "32%"}};
    for (const Answer& answer : answers) {
        SCOPED_TRACE(answer.text);
        ASSERT_TRUE(m_frame->ExecuteCommand(ID_BATTERY_UPDATE));
        EXPECT_EQ(Text(), QStringLiteral("N/A"));
        EXPECT_EQ(Position(), 0);
        EXPECT_FALSE(m_frame->ExecuteCommand(ID_BATTERY_UPDATE));
        ReadResult(kLevel, answer.value, answer.status);
        EXPECT_FALSE(m_frame->IsBatteryReadPending());
        EXPECT_EQ(Text(), QLatin1String(answer.text));
    }
    EXPECT_TRUE(LogContains(QStringLiteral("Battery Level value is empty; ignored.")));
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_BATTERY_UPDATE));
    Disconnected(); // clears the pending read with the other flags
    EXPECT_FALSE(m_frame->IsBatteryReadPending());
    m_frame->OnBatteryUpdate(); // without a connected peer: nothing
    EXPECT_FALSE(m_frame->IsBatteryReadPending());
    EXPECT_EQ(Count("OrvBleClientReadCharByHandle"), 7u); // the name, the first level, five updates
}

TEST_F(MainFrameBatteryTest, OnlyNotificationsOfOneByteAreShown) {
    Notify(kLevel, {0x21});
    Notify(kLevel, {0x22, 0x00});
    Notify(kLevel, {});
    EXPECT_EQ(Text(), QStringLiteral("33%"));
    EXPECT_TRUE(LogContains(QStringLiteral("Battery Level notification of 2 bytes ignored.")));
}

} // namespace
