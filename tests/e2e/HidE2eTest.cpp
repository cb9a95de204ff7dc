// HID devices of the built-in world (and a keyboard laid out by its world file) followed in their windows
// over virtual time: reports, protocol modes, suspend, report values, lit keys and buttons.
#include "E2eFixture.h"
#include "profiles/control/CHidCtrl.h"
#include "profiles/control/CMfswHostCtrl.h"
#include "profiles/control/CRemoteCtrl.h"
#include "profiles/control/CRemotePict.h"
#include "profiles/control/HidIds.h"
#include "veyrasim.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTreeWidget>
#include <algorithm>
#include <set>

namespace {

class HidE2eTest : public E2eFixture {
protected:
    // The texts of the window's last input report over ms, sampled every 20 ms (a key is held for 80).
    std::set<QString> Reports(QWidget* window, uint64_t ms) {
        const auto texts = Samples<QString>(ms, 20, [window] { return Text(window, IDC_HID_INPUT_REPORT); });
        return {texts.begin(), texts.end()};
    }
};

TEST_F(HidE2eTest, TheKeyboardShowsItsReportsTakesBootProtocolSuspendsAndKeepsItsOutputReport) {
    CHidCtrl* window = Open("Orvane Veyra Keyboard", &CMainFrame::HidWindow);
    EXPECT_TRUE(Text(window, IDC_HID_DESCRIPTOR).startsWith(QStringLiteral("05 01 09 06 A1 01 85 01 ")));
    QStringList information;
    for (int row = 0; row < 7; ++row)
        information << Item<QTreeWidget>(window, IDC_HID_INFORMATION)->topLevelItem(row)->text(1);
    EXPECT_EQ(information, (QStringList{"1.1.1", "N/A", "00", "N/A", "Yes", "N/A", "Yes"}));
    std::set<QString> reports = Reports(window, 5000);
    EXPECT_GE(reports.size(), 4u);
    EXPECT_TRUE(reports.contains(QStringLiteral("1 INPUT - 02 00 0B 00 00 00 00 00 "))); // "H"

    Item<QRadioButton>(window, IDC_HID_BOOT_PROTOCOL)->setChecked(true);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_HID_SET_PROTOCOL_MODE));
    EXPECT_TRUE(Reports(window, 6000).contains(QStringLiteral("0 BOOT - 00 00 00 00 00 00 00 00 ")));

    ASSERT_TRUE(Frame()->ExecuteCommand(ID_HID_SEND_CONTROL_POINT)); // Suspend, the first entry
    Advance(1500);                                                   // what is under way arrives
    EXPECT_EQ(Reports(window, 5000).size(), 1u);
    Item<QComboBox>(window, IDC_HID_CONTROL_COMMAND)->setCurrentIndex(1);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_HID_SEND_CONTROL_POINT));
    EXPECT_GE(Reports(window, 5000).size(), 4u);

    Item<QLineEdit>(window, IDC_HID_OUTPUT_REPORT)->setText(QStringLiteral("02"));
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_HID_SET_OUTPUT_REPORT));
    Advance(1000);
    Item<QLineEdit>(window, IDC_HID_OUTPUT_REPORT)->clear();
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_HID_GET_OUTPUT_REPORT));
    Advance(1000);
    EXPECT_EQ(Text(window, IDC_HID_OUTPUT_REPORT), QStringLiteral("02"));
}

// Handles: 3 the input report, 7 and 10 two output reports of id 4, 13 a feature report.
const std::string kLaidOutKeyboard =
    R"({"kind": "keyboard", "address": "00:1A:7D:DA:77:02", "name": "Laid Out",
    "gatt": [{"uuid": "1812", "characteristics": [
      {"uuid": "2A4D", "properties": ["read", "notify"], "descriptors": [{"uuid": "2908", "value": "01 01"}]},
      {"uuid": "2A4D", "properties": ["read", "write"], "descriptors": [{"uuid": "2908", "value": "04 02"}]},
      {"uuid": "2A4D", "properties": ["read", "write"], "descriptors": [{"uuid": "2908", "value": "04 02"}]},
      {"uuid": "2A4D", "properties": ["read", "write"], "descriptors": [{"uuid": "2908", "value": "05 03"}]}]}]})";

TEST_F(HidE2eTest, AWorldsOwnLayoutGetsTheInputAndKeepsWhatIsWrittenToBothOutputsOfAnId) {
    CHidCtrl* window = Open("Laid Out", &CMainFrame::HidWindow, kLaidOutKeyboard);
    EXPECT_TRUE(Reports(window, 3000).contains(QStringLiteral("1 INPUT - 02 00 0B 00 00 00 00 00 ")));
    Item<QLineEdit>(window, IDC_HID_OUTPUT_REPORT)->setText(QStringLiteral("0a 1"));
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_HID_SET_OUTPUT_REPORT));
    Advance(5000);
    for (const uint16_t output : {7, 10})
        EXPECT_EQ(orv::sim::peerAttributeValue("00:1A:7D:DA:77:02", output),
                  (std::vector<uint8_t>{0x0A, 0x01}));
}

TEST_F(HidE2eTest, SkyRemoteLightsAKeyEveryOneAndAHalfSecondsForThreeHundredMilliseconds) {
    CRemoteCtrl* window = Open("SKY Remote", &CMainFrame::RemoteWindow);
    const auto lit =
        Samples<std::vector<int>>(4500, 100, [window] { return window->Picture()->PressedKeys(); });
    std::vector<int> pressed; // each press once
    for (size_t i = 0; i < lit.size(); ++i) {
        if (lit[i].empty() || (i > 0 && lit[i - 1] == lit[i]))
            continue;
        ASSERT_EQ(lit[i].size(), 1u);
        pressed.push_back(lit[i][0]);
        EXPECT_EQ(std::count(lit.begin(), lit.end(), lit[i]), 3) << "held for 300 ms";
    }
    ASSERT_EQ(pressed.size(), 3u); // one every 1.5 s, one digit after the other
    EXPECT_EQ((std::vector<int>{pressed[1] - pressed[0], pressed[2] - pressed[1]}), (std::vector<int>{1, 1}));
}

TEST_F(HidE2eTest, TheWheelLightsAndReleasesItsButtonsAndLogsItsReports) {
    using Lit = std::set<uint16_t>;
    CMfswHostCtrl* window = Open("Orvane Wheel Controls", &CMainFrame::SteeringWheelWindow);
    std::vector<Lit> changes = Samples<Lit>(40000, 100, [window] { return window->LitButtons(); });
    changes.erase(std::unique(changes.begin(), changes.end()), changes.end());
    const std::vector<Lit> round = {{0x42}, {},           {0x43}, {},     {0x44}, {}, {0x45},       {},
                                    {0x41}, {},           {0xE9}, {},     {0xEA}, {}, {0x42, 0xE9}, {0xE9},
                                    {},     {0xB5, 0xB6}, {},     {0xB0}, {0x26}, {}};
    EXPECT_NE(std::search(changes.begin(), changes.end(), round.begin(), round.end()), changes.end());
    EXPECT_GE(LogCount(QStringLiteral("Received Input Report = 42 0 e9 0 0 ")), 1);
}

} // namespace
