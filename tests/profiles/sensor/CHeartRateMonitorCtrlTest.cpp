// The heart-rate window: its texts and images for every display function, and its Reset button.
#include "profiles/sensor/CHeartRateMonitorCtrl.h"

#include "platform/DialogItems.h"
#include "platform/ui/CommandRouter.h"
#include "profiles/sensor/HeartRateIds.h"

#include <QAbstractButton>
#include <QGroupBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <gtest/gtest.h>
#include <vector>

namespace {

class HeartRateMonitorCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_mainTarget.onCommand(ID_HR_RESET_ENERGY, [this] { ++m_resets; });
        m_window = new CHeartRateMonitorCtrl;
        m_subWindow = m_window->Create(&m_area, &m_router, &m_mainTarget);
        m_area.show();
    }

    QString Text(UINT id) const { return platform::GetDlgItemText(m_window, id); }
    QLabel* Picture(UINT id) const { return qobject_cast<QLabel*>(platform::GetDlgItem(m_window, id)); }
    qint64 ContactImage() const { return Picture(IDC_HR_CONTACT_IMAGE)->pixmap().cacheKey(); }
    QAbstractButton* ResetButton() const {
        return qobject_cast<QAbstractButton*>(platform::GetDlgItem(m_window, ID_HR_RESET_ENERGY));
    }

    QMdiArea m_area;
    platform::CommandRouter m_router;
    platform::CommandTarget m_mainTarget;
    CHeartRateMonitorCtrl* m_window = nullptr; // owned by its sub-window
    QMdiSubWindow* m_subWindow = nullptr;
    int m_resets = 0;
};

TEST_F(HeartRateMonitorCtrlTest, OpensWithItsTitleAndEveryValueNotAvailable) {
    ASSERT_NE(m_subWindow, nullptr);
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Heart rate"));
    for (UINT id : {IDC_HR_HEART_RATE, IDC_HR_RR_INTERVALS, IDC_HR_ENERGY_EXPENDED, IDC_HR_LOCATION})
        EXPECT_EQ(Text(id), QStringLiteral("N/A")) << id;
    EXPECT_EQ(Text(IDC_HR_CONTACT_TEXT), QStringLiteral("Sensor contact unknown"));
    EXPECT_EQ(Text(ID_HR_RESET_ENERGY), QStringLiteral("Reset"));
}

TEST_F(HeartRateMonitorCtrlTest, PaneShowsItsGroupsAndLabels) {
    QStringList titles;
    for (const QGroupBox* group : m_window->findChildren<QGroupBox*>())
        titles << group->title();
    EXPECT_EQ(titles, (QStringList{QStringLiteral("Measurements"), QStringLiteral("Sensor status")}));
    QStringList labels;
    for (const QLabel* label : m_window->findChildren<QLabel*>())
        labels << label->text();
    for (const char* text : {"Heart rate", "RR value", "Energy expended", "Location"})
        EXPECT_TRUE(labels.contains(QLatin1String(text))) << text;
}

TEST_F(HeartRateMonitorCtrlTest, DecorationsAndContactImagesAre24Pixels) {
    for (UINT id : {IDC_HR_PICTURE_RATE, IDC_HR_PICTURE_RR, IDC_HR_PICTURE_ENERGY})
        EXPECT_EQ(Picture(id)->pixmap().size(), QSize(24, 24)) << id;
    EXPECT_EQ(m_window->InContactImage().size(), QSize(24, 24));
    EXPECT_EQ(m_window->NotInContactImage().size(), QSize(24, 24));
}

TEST_F(HeartRateMonitorCtrlTest, HeartRateInBeatsPerMinute) {
    const std::vector<std::pair<uint16_t, const char*>> rows = {
        {72, "72 bpm"}, {0, "0 bpm"}, {65535, "65535 bpm"}};
    for (const auto& [rate, text] : rows) {
        m_window->ShowHeartRate(rate);
        EXPECT_EQ(Text(IDC_HR_HEART_RATE), QLatin1String(text));
    }
}

TEST_F(HeartRateMonitorCtrlTest, RrIntervalsEachFollowedByABlankWithTicksOnlyAfterASingleValue) {
    const std::vector<std::pair<std::vector<uint16_t>, const char*>> rows = {
        {{812}, "812 ticks"},
        {{812, 790}, "812 790 "},
        {{1, 2, 65535}, "1 2 65535 "},
        {{}, ""},
    };
    for (const auto& [values, text] : rows) {
        m_window->ShowRRIntervals(values);
        EXPECT_EQ(Text(IDC_HR_RR_INTERVALS), QLatin1String(text));
    }
}

TEST_F(HeartRateMonitorCtrlTest, ClearedRrIntervalsAreNotAvailable) {
    const std::vector<uint16_t> values = {812};
    m_window->ShowRRIntervals(values);
    m_window->ClearRRIntervals();
    EXPECT_EQ(Text(IDC_HR_RR_INTERVALS), QStringLiteral("N/A"));
}

TEST_F(HeartRateMonitorCtrlTest, EnergyExpendedInKilojoulesUntilCleared) {
    m_window->ShowEnergyExpended(1234);
    EXPECT_EQ(Text(IDC_HR_ENERGY_EXPENDED), QStringLiteral("1234 kJ"));
    m_window->ShowEnergyExpended(65535);
    EXPECT_EQ(Text(IDC_HR_ENERGY_EXPENDED), QStringLiteral("65535 kJ"));
    m_window->ClearEnergyExpended();
    EXPECT_EQ(Text(IDC_HR_ENERGY_EXPENDED), QStringLiteral("N/A"));
}

TEST_F(HeartRateMonitorCtrlTest, SensorContactStatesShowTheirImageAndText) {
    struct Row {
        uint32_t state;
        bool inContact;
        const char* text;
    };
    const Row rows[] = {
        {2, true, "Sensor in contact"},
        {0, false, "Sensor contact unknown"},
        {2, true, "Sensor in contact"},
        {1, false, "Sensor disconnected"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.state);
        m_window->ShowSensorContact(row.state);
        EXPECT_EQ(Text(IDC_HR_CONTACT_TEXT), QLatin1String(row.text));
        const QPixmap& image = row.inContact ? m_window->InContactImage() : m_window->NotInContactImage();
        EXPECT_EQ(ContactImage(), image.cacheKey());
    }
}

TEST_F(HeartRateMonitorCtrlTest, OtherContactStatesChangeNothing) {
    m_window->ShowSensorContact(2);
    for (uint32_t state : {3u, 0xFFFFFFFFu}) {
        m_window->ShowSensorContact(state);
        EXPECT_EQ(Text(IDC_HR_CONTACT_TEXT), QStringLiteral("Sensor in contact")) << state;
        EXPECT_EQ(ContactImage(), m_window->InContactImage().cacheKey()) << state;
    }
}

TEST_F(HeartRateMonitorCtrlTest, BodySensorLocationNames) {
    const std::vector<std::pair<uint32_t, const char*>> rows = {
        {0, "Other"},    {1, "Chest"}, {2, "Wrist"},   {3, "Finger"},    {4, "Hand"},
        {5, "Ear lobe"}, {6, "Foot"},  {7, "Unknown"}, {255, "Unknown"},
    };
    for (const auto& [location, name] : rows) {
        m_window->ShowBodySensorLocation(location);
        EXPECT_EQ(Text(IDC_HR_LOCATION), QLatin1String(name)) << location;
    }
}

TEST_F(HeartRateMonitorCtrlTest, ResetButtonIssuesItsCommandToTheMainWindow) {
    ASSERT_NE(ResetButton(), nullptr);
    EXPECT_TRUE(m_router.isBound(ResetButton()));
    ResetButton()->click();
    EXPECT_EQ(m_resets, 1);
}

TEST_F(HeartRateMonitorCtrlTest, ResetButtonFollowsTheMainWindowsUpdateHandler) {
    bool pending = true;
    m_mainTarget.onUpdate(ID_HR_RESET_ENERGY, [&pending](platform::CmdUI& cmdUI) { cmdUI.Enable(!pending); });
    m_router.runUpdatePass();
    EXPECT_FALSE(ResetButton()->isEnabled());
    EXPECT_FALSE(m_router.execute(m_window->GetCommandTarget(), ID_HR_RESET_ENERGY));
    EXPECT_EQ(m_resets, 0);
    pending = false;
    m_router.runUpdatePass();
    EXPECT_TRUE(ResetButton()->isEnabled());
}

TEST_F(HeartRateMonitorCtrlTest, ScrollsOverTheCommonContentSize) {
    EXPECT_GT(m_window->LineHeight(), 0);
    EXPECT_GT(m_window->ColumnWidth(), 0);
    m_subWindow->resize(200, 150);
    EXPECT_GT(m_window->VertScrollInfo().Last(), 0);
    m_window->OnVScroll(CChildFrame::SB_LINEDOWN, 0);
    EXPECT_EQ(m_window->VertScrollInfo().nPos, 1);
}

TEST(HeartRateMonitorCtrlStandaloneTest, WindowWithoutRouterStillShowsValues) {
    QMdiArea area;
    auto* window = new CHeartRateMonitorCtrl;
    window->Create(&area, nullptr, nullptr);
    window->ShowHeartRate(60);
    EXPECT_EQ(platform::GetDlgItemText(window, IDC_HR_HEART_RATE), QStringLiteral("60 bpm"));
}

} // namespace
