// HID devices and remotes of the built-in world (and a keyboard laid out by its world file) followed in
// their windows over virtual time: reports, protocol modes, suspend, report values, lit keys and buttons.
#include "platform/DialogItems.h"
#include "profiles/control/CHidCtrl.h"
#include "profiles/control/CMfswHostCtrl.h"
#include "profiles/control/CRemoteCtrl.h"
#include "profiles/control/CRemoteCtrlGeneric.h"
#include "profiles/control/CRemotePict.h"
#include "profiles/control/HidIds.h"
#include "profiles/control/RemoteIds.h"
#include "support/RecordingKeyInput.h"
#include "support/SimFixture.h"
#include "veyrasim.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTreeWidget>
#include <algorithm>
#include <functional>
#include <set>

namespace {

const QString kKeyboard = QStringLiteral("Orvane Veyra Keyboard");
const std::string kKeyboardAddress = "00:1A:7D:DA:71:0C";
constexpr uint16_t kKeyboardOutput = 16; // the built-in keyboard's LED report

class HidE2eTest : public SimFixture {
protected:
    QString Text(QWidget* window, UINT id) const { return platform::GetDlgItemText(window, id); }
    // The texts control id of window showed, sampled every 20 ms (a key is held for 80) for ms.
    std::set<QString> Follow(QWidget* window, UINT id, uint64_t ms) {
        std::set<QString> seen;
        for (uint64_t t = 0; t < ms; t += 20) {
            Advance(20);
            seen.insert(Text(window, id));
        }
        return seen;
    }
    // What state() returns, sampled every 100 ms for ms.
    template <class State> std::vector<State> Samples(uint64_t ms, std::function<State()> state) {
        std::vector<State> samples;
        for (uint64_t t = 0; t < ms; t += 100) {
            Advance(100);
            samples.push_back(state());
        }
        return samples;
    }
    template <class Control> Control* Item(QWidget* window, UINT id) const {
        return qobject_cast<Control*>(platform::GetDlgItem(window, id));
    }
    void SetEdit(QWidget* window, UINT id, const QString& text) {
        Item<QLineEdit>(window, id)->setText(text);
    }
};

TEST_F(HidE2eTest, TheKeyboardShowsItsReportsTakesBootProtocolSuspendsAndKeepsItsOutputReport) {
    CHidCtrl* window = ConnectedWindow("", kKeyboard, &CMainFrame::HidWindow);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(Text(window, IDC_HID_DESCRIPTOR).startsWith(QStringLiteral("05 01 09 06 A1 01 85 01 ")));
    QStringList information;
    for (int row = 0; row < 7; ++row)
        information << Item<QTreeWidget>(window, IDC_HID_INFORMATION)->topLevelItem(row)->text(1);
    EXPECT_EQ(information, (QStringList{"1.1.1", "N/A", "00", "N/A", "Yes", "N/A", "Yes"}));
    {
        QString last;
        for (int i = 0; i < 100; ++i) {
            Advance(100);
            QString t = Text(window, IDC_HID_INPUT_REPORT);
            if (t != last)
                qDebug() << orv::sim::now() << t;
            last = t;
        }
    }
    EXPECT_GE(Follow(window, IDC_HID_INPUT_REPORT, 5000).size(), 4u);
    EXPECT_TRUE(Text(window, IDC_HID_INPUT_REPORT).startsWith(QStringLiteral("1 INPUT - ")));

    Item<QRadioButton>(window, IDC_HID_BOOT_PROTOCOL)->setChecked(true);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_HID_SET_PROTOCOL_MODE));
    const std::set<QString> boot = Follow(window, IDC_HID_INPUT_REPORT, 6000);
    EXPECT_TRUE(std::any_of(boot.begin(), boot.end(), [](const QString& text) {
        return text.startsWith(QStringLiteral("0 BOOT - "));
    }));

    ASSERT_TRUE(Frame()->ExecuteCommand(ID_HID_SEND_CONTROL_POINT)); // Suspend, the first entry
    Advance(1500);                                                   // what is under way arrives
    EXPECT_EQ(Follow(window, IDC_HID_INPUT_REPORT, 5000).size(), 1u);
    Item<QComboBox>(window, IDC_HID_CONTROL_COMMAND)->setCurrentIndex(1);
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_HID_SEND_CONTROL_POINT));
    EXPECT_GE(Follow(window, IDC_HID_INPUT_REPORT, 5000).size(), 4u);

    SetEdit(window, IDC_HID_OUTPUT_REPORT, QStringLiteral("02"));
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_HID_SET_OUTPUT_REPORT));
    Advance(1000);
    SetEdit(window, IDC_HID_OUTPUT_REPORT, QString());
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_HID_GET_OUTPUT_REPORT));
    Advance(1000);
    EXPECT_EQ(Text(window, IDC_HID_OUTPUT_REPORT), QStringLiteral("02"));
    EXPECT_EQ(orv::sim::peerAttributeValue(kKeyboardAddress, kKeyboardOutput), std::vector<uint8_t>{0x02});
    EXPECT_TRUE(EveryRecordGivenBack());
}

// Handles: 3 input report (4 its configuration), 7 and 10 two output reports of id 4, 13 a feature
// report of id 5.
const std::string kLaidOutKeyboard = R"(
    {"kind": "keyboard", "address": "00:1A:7D:DA:77:02", "name": "Laid Out", "appearance": 961,
     "gatt": [{"uuid": "1812", "characteristics": [
       {"uuid": "2A4D", "properties": ["read", "notify"], "value": "00 00 00 00 00 00 00 00",
        "descriptors": [{"uuid": "2908", "value": "01 01"}]},
       {"uuid": "2A4D", "properties": ["read", "write"], "value": "00", "descriptors": [{"uuid": "2908", "value": "04 02"}]},
       {"uuid": "2A4D", "properties": ["read", "write"], "value": "00", "descriptors": [{"uuid": "2908", "value": "04 02"}]},
       {"uuid": "2A4D", "properties": ["read", "write"], "value": "33", "descriptors": [{"uuid": "2908", "value": "05 03"}]}]}]})";

TEST_F(HidE2eTest, AWorldsOwnLayoutTypesIntoItsInputReportAndSetReachesBothOutputsOfAnId) {
    CHidCtrl* window = ConnectedWindow(kLaidOutKeyboard, QStringLiteral("Laid Out"), &CMainFrame::HidWindow);
    ASSERT_NE(window, nullptr);
    const auto* outputs = Item<QComboBox>(window, IDC_HID_OUTPUT_REPORT_ID);
    ASSERT_EQ(outputs->count(), 2);
    EXPECT_EQ(outputs->itemText(0) + outputs->itemText(1), QStringLiteral("0404"));
    EXPECT_EQ(Item<QComboBox>(window, IDC_HID_FEATURE_REPORT_ID)->currentText(), QStringLiteral("05"));
    Advance(3000);
    EXPECT_TRUE(Text(window, IDC_HID_INPUT_REPORT).startsWith(QStringLiteral("1 INPUT - ")));

    SetEdit(window, IDC_HID_OUTPUT_REPORT, QStringLiteral("0a 1"));
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_HID_SET_OUTPUT_REPORT));
    ASSERT_TRUE(Frame()->ExecuteCommand(ID_HID_GET_FEATURE_REPORT));
    Advance(5000);
    for (const uint16_t output : {7, 10})
        EXPECT_EQ(orv::sim::peerAttributeValue("00:1A:7D:DA:77:02", output),
                  (std::vector<uint8_t>{0x0A, 0x01}));
    EXPECT_EQ(Text(window, IDC_HID_FEATURE_REPORT), QStringLiteral("51"));
}

TEST_F(HidE2eTest, SkyRemoteLightsEachKeyForThreeHundredMillisecondsAndForwardsItWhenAsked) {
    RecordingKeyInput keys;
    CRemoteCtrl* window = ConnectedWindow("", QStringLiteral("SKY Remote"), &CMainFrame::RemoteWindow);
    ASSERT_NE(window, nullptr);
    Item<QCheckBox>(window, ID_FORWARD_HID_REPORTS)->click();
    const auto samples =
        Samples<std::vector<int>>(4500, [window] { return window->Picture()->PressedKeys(); });
    std::vector<int> pressed; // each press once, in order
    std::vector<std::pair<uint16_t, bool>> forwarded;
    for (size_t i = 0; i < samples.size(); ++i) {
        if (samples[i].empty() || (i > 0 && samples[i - 1] == samples[i]))
            continue;
        ASSERT_EQ(samples[i].size(), 1u);
        pressed.push_back(samples[i][0]);
        const auto digit = static_cast<uint16_t>('1' + samples[i][0] - 0x1E);
        forwarded.insert(forwarded.end(), {{digit, false}, {digit, true}});
        EXPECT_EQ(std::count(samples.begin(), samples.end(), samples[i]), 3) << "held 300 ms";
    }
    ASSERT_EQ(pressed.size(), 3u); // one every 1.5 s
    EXPECT_EQ(pressed[1] - pressed[0], 1);
    EXPECT_EQ(pressed[2] - pressed[1], 1);
    EXPECT_EQ(keys.keys, forwarded);
}

TEST_F(HidE2eTest, TheMediaRemoteShowsItsReportsDescriptorAndFlags) {
    CRemoteCtrlGeneric* window =
        ConnectedWindow("", QStringLiteral("Orvane Media Remote"), &CMainFrame::GenericRemoteWindow);
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(Text(window, IDC_HID_DESCRIPTOR).startsWith(QStringLiteral("05 01 09 06 ")));
    std::vector<bool> flags;
    for (UINT bit = 0; bit < 4; ++bit)
        flags.push_back(Item<QCheckBox>(window, IDC_REMOTE_FLAG_VIRTUAL_CABLE + bit)->isChecked());
    EXPECT_EQ(flags, (std::vector<bool>{true, false, true, false}));
    const qsizetype before = LogCount(QStringLiteral("Received HID report 00 00 "));
    const std::set<QString> reports = Follow(window, IDC_HID_INPUT_REPORT, 3000);
    EXPECT_EQ(reports.size(), 3u); // two keys, and none
    EXPECT_TRUE(reports.contains(QStringLiteral("00 00 00 00 ")));
    EXPECT_EQ(LogCount(QStringLiteral("Received HID report 00 00 ")) - before, 4);
}

TEST_F(HidE2eTest, TheWheelLightsAndReleasesItsButtonsAndLogsItsReports) {
    using Lit = std::set<uint16_t>;
    CMfswHostCtrl* window =
        ConnectedWindow("", QStringLiteral("Orvane Wheel Controls"), &CMainFrame::SteeringWheelWindow);
    ASSERT_NE(window, nullptr);
    std::vector<Lit> changes = Samples<Lit>(40000, [window] { return window->LitButtons(); });
    changes.erase(std::unique(changes.begin(), changes.end()), changes.end());
    const std::vector<Lit> round = {{0x42}, {},           {0x43}, {},     {0x44}, {}, {0x45},       {},
                                    {0x41}, {},           {0xE9}, {},     {0xEA}, {}, {0x42, 0xE9}, {0xE9},
                                    {},     {0xB5, 0xB6}, {},     {0xB0}, {0x26}, {}};
    EXPECT_NE(std::search(changes.begin(), changes.end(), round.begin(), round.end()), changes.end());
    EXPECT_GE(LogCount(QStringLiteral("Received Input Report = 42 0 e9 0 0 ")), 1);
}

} // namespace
