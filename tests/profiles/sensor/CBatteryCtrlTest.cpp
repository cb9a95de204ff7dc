// The battery window: readings and the critical state with its blinking warning; the main window's
// routing of the level's reads and notifications, and Update.
#include "profiles/sensor/CBatteryCtrl.h"

#include "platform/TimerClock.h"
#include "profiles/sensor/BatteryIds.h"
#include "support/EnvironmentFixture.h"
#include "support/MainFrameFixture.h"
#include "support/WindowTest.h"

#include <QMdiSubWindow>
#include <QProgressBar>

namespace {

const QColor kRed(255, 0, 0);

class BatteryCtrlTest : public WindowTest<CBatteryCtrl, EnvironmentFixture> {
protected:
    bool Shown(UINT id) const { return !Item(id)->isHidden(); }
    QProgressBar* Bar() const { return Item<QProgressBar>(IDC_BATTERY_BAR); }
    QColor BarColour() const { return Bar()->palette().color(QPalette::Highlight); }
};

TEST_F(BatteryCtrlTest, OpensWithoutAReadingAndReadingsMoveBetweenNormalAndCritical) {
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Battery"));
    EXPECT_EQ(Text(IDC_BATTERY_PERCENT), QStringLiteral("N/A "));
    const std::tuple<int, const char*, int, bool> rows[] = {
        {100, "100%", 100, false}, {0, "0%", 0, true}, {5, "5%", 5, false}, {150, "150%", 100, false}};
    for (const auto& [level, text, position, critical] : rows) {
        SCOPED_TRACE(level);
        m_window->SetBatteryLevel(level);
        EXPECT_EQ(Text(IDC_BATTERY_PERCENT), QLatin1String(text));
        EXPECT_EQ(Bar()->value(), position);
        EXPECT_EQ(BarColour(), critical ? kRed : m_window->SavedBarColour());
        EXPECT_EQ(Shown(IDC_BATTERY_WARNING_IMAGE), critical);
        EXPECT_EQ(Shown(IDC_BATTERY_WARNING_TEXT), critical);
    }
    m_window->SetBatteryLevel(0);
    EXPECT_EQ(Text(IDC_BATTERY_WARNING_TEXT), QStringLiteral("Battery level critically low"));
}

TEST_F(BatteryCtrlTest, EveryCriticalReadingBringsTheWindowToTheFrontAndBlinksUntilTheNextReading) {
    QMdiSubWindow* own = m_area.subWindowList().front();
    QMdiSubWindow* other = m_area.addSubWindow(new QWidget);
    other->show();
    for (int round = 0; round < 2; ++round) {
        m_area.setActiveSubWindow(other);
        m_window->SetBatteryLevel(0);
        EXPECT_EQ(m_area.activeSubWindow(), own) << round;
    }
    EXPECT_EQ(m_window->WarningImage().size(), QSize(16, 16));
    for (bool shown : {false, true, false}) {
        platform::TimerClock::advance(kBatteryBlinkPeriodMs);
        EXPECT_EQ(Shown(IDC_BATTERY_WARNING_IMAGE), shown);
    }
    m_area.setActiveSubWindow(other);
    m_window->SetBatteryLevel(5);
    platform::TimerClock::advance(4 * kBatteryBlinkPeriodMs);
    EXPECT_FALSE(Shown(IDC_BATTERY_WARNING_IMAGE));
    EXPECT_EQ(m_area.activeSubWindow(), other);
}

// A reading above zero stops the blinking, whether it comes while the icon is shown or hidden: the
// icon stays hidden tick after tick.
TEST_F(BatteryCtrlTest, AReadingAboveZeroStopsTheBlinkingInEitherPhase) {
    for (const int ticksBefore : {0, 1}) {
        m_window->SetBatteryLevel(0);
        platform::TimerClock::advance(ticksBefore * kBatteryBlinkPeriodMs);
        m_window->SetBatteryLevel(1);
        for (int tick = 1; tick <= 3; ++tick) {
            platform::TimerClock::advance(kBatteryBlinkPeriodMs);
            EXPECT_FALSE(Shown(IDC_BATTERY_WARNING_IMAGE)) << ticksBefore << " ticks before, tick " << tick;
        }
    }
}

TEST_F(BatteryCtrlTest, TheStyleDrawsTheBarInItsColour) {
    m_window->SetBatteryLevel(100);
    const QColor normal = Bar()->grab().toImage().pixelColor(Bar()->rect().center());
    m_window->SetBatteryLevel(0);
    Bar()->setValue(100); // a full bar, to see the critical colour
    const QColor critical = Bar()->grab().toImage().pixelColor(Bar()->rect().center());
    EXPECT_GT(critical.red(), 200);
    EXPECT_LT(critical.green(), 60);
    EXPECT_NE(critical, normal);
}

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

TEST_F(MainFrameBatteryTest, UpdateShowsNoReadingUntilItsReadEndsOrTheLinkDropsAndNeedsAConnectedPeer) {
    const std::tuple<std::vector<uint8_t>, uint16_t, const char*> answers[] = {
        {{48}, 0, "48%"}, {{}, 0x0E, "N/A"}, {{}, 0, "N/A"}, {{0x20, 0x01}, 0, "32%"}};
    for (const auto& [value, status, text] : answers) {
        SCOPED_TRACE(text);
        ASSERT_TRUE(m_frame->ExecuteCommand(ID_BATTERY_UPDATE));
        EXPECT_EQ(Text(), QStringLiteral("N/A"));
        EXPECT_EQ(Position(), 0);
        EXPECT_FALSE(m_frame->ExecuteCommand(ID_BATTERY_UPDATE));
        ReadResult(kLevel, value, status);
        EXPECT_FALSE(m_frame->IsBatteryReadPending());
        EXPECT_EQ(Text(), QLatin1String(text));
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
