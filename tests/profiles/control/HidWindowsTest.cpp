// HID devices: the main window's part of a HID device (the first reads, the report tables, the commands
// of the HID window's buttons and the routing of notifications); the steering-wheel window (the buttons
// its input report lights, and its opening by the main window); and the legacy remotes (the keys a report
// lights and forwards in the remote-control window, and on the main window which window opens, their
// first requests, the flags, the key reports and the forwarding switch).
#include "profiles/control/CHidCtrl.h"
#include "profiles/control/CMfswHostCtrl.h"
#include "profiles/control/CRemoteCtrl.h"
#include "profiles/control/CRemotePict.h"

#include "panes/CLogDialog.h"
#include "platform/DialogItems.h"
#include "platform/KeyInput.h"
#include "profiles/control/HidIds.h"
#include "profiles/control/RemoteIds.h"
#include "support/MainFrameFixture.h"
#include "support/RecordingKeyInput.h"
#include "support/WindowTest.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {

// The HID service: Protocol Mode, HID Information, Report Map, an input report, two output reports of
// id 1, a feature report, the boot keyboard and boot mouse inputs and the control point.
constexpr uint16_t kProtocolMode = 0x12, kInformation = 0x14, kReportMap = 0x16, kInput = 0x18,
                   kInputConfig = 0x19, kInputRef = 0x1A, kOutputA = 0x1C, kOutputB = 0x1F, kFeature = 0x22,
                   kBootKeyboard = 0x25, kBootKeyboardConfig = 0x26, kBootMouse = 0x28,
                   kBootMouseConfig = 0x29;

using Requests = std::vector<std::string>;

class MainFrameHidTest : public PeerFixture {
protected:
    // Connects the HID peer (with or without Protocol Mode, information and map); the name is being read.
    void ConnectHidPeer(bool full = true) {
        m_database.Service(0x1800, 1, 5).Characteristic(0x2A00, kDeviceName, kReadWrite);
        m_database.Service(0x1812, 0x10, 0x2B);
        if (full)
            m_database.Characteristic(0x2A4E, kProtocolMode, 0x06)
                .Characteristic(0x2A4A, kInformation, 0x02)
                .Characteristic(0x2A4B, kReportMap, 0x02);
        for (const auto& [value, properties, config] : {std::tuple{kInput, 0x12, kInputConfig},
                                                        {kOutputA, 0x0E, 0},
                                                        {kOutputB, 0x0E, 0},
                                                        {kFeature, 0x0A, 0}})
            m_database
                .Characteristic(0x2A4D, value, static_cast<uint8_t>(properties),
                                static_cast<uint16_t>(config))
                .Descriptor(MakeUuid16(0x2908), static_cast<uint16_t>(value + 2));
        m_database.Characteristic(0x2A22, kBootKeyboard, 0x12, kBootKeyboardConfig)
            .Characteristic(0x2A33, kBootMouse, 0x12, kBootMouseConfig)
            .Characteristic(0x2A4C, 0x2B, 0x04);
        Connect();
    }
    // Answers the first reads: the name, the report map, the information, report protocol, the references.
    void AnswerFirstReads() {
        const std::pair<uint16_t, std::vector<uint8_t>> answers[] = {{kDeviceName, {'K'}},
                                                                     {kReportMap, {0x05, 0x01}},
                                                                     {kInformation, {0x11, 0x01, 0x00, 0x02}},
                                                                     {kProtocolMode, {0x01}},
                                                                     {kInput + 2, {0x01, 0x01}},
                                                                     {kOutputA + 2, {0x01, 0x02}},
                                                                     {kOutputB + 2, {0x01, 0x02}},
                                                                     {kFeature + 2, {0x02, 0x03}}};
        for (const auto& [handle, value] : answers)
            ReadResult(handle, value);
        WriteResult(kInputConfig);
    }
    CHidCtrl* Window() const { return m_frame->HidWindow(); }
    QString Text(UINT id) const { return platform::GetDlgItemText(Window(), id); }
    template <class Control> Control* Item(UINT id) const {
        return qobject_cast<Control*>(platform::GetDlgItem(Window(), id));
    }
    // Reads ("R" and the handle) and writes ("W" and the value or configuration handle) sent.
    Requests Sent() const {
        Requests requests;
        for (const auto& call : m_host->calls) {
            const bool command = call.name == "OrvBleClientWriteCharByHandle";
            if (call.name.starts_with("OrvBleClientRead") || call.name.starts_with("OrvBleClientWrite"))
                requests.push_back(call.name.substr(12, 1) + std::to_string(call.args.at(command ? 2 : 1)));
        }
        return requests;
    }
};

// The opening asks for encryption while the Device Name read is out: the link's only read stays its, and
// a security result that refused nothing sends no second one.
TEST_F(MainFrameHidTest, OpeningAsksForEncryptionReadsInOrderAndNamesTheReports) {
    ConnectHidPeer();
    ASSERT_EQ(Calls("OrvBleHostSetEncryption").size(), 1u);
    EXPECT_EQ(Calls("OrvBleHostSetEncryption")[0].args.at(1), 1);
    EXPECT_TRUE(m_frame->IsHidReadPending());
    SecurityResult(0);
    AnswerFirstReads();
    EXPECT_EQ(Sent(), (Requests{"R3", "R22", "R20", "R18", "R26", "W25", "R30", "R33", "R36"}));
    EXPECT_FALSE(m_frame->IsHidReadPending());
    EXPECT_EQ(Item<QComboBox>(IDC_HID_OUTPUT_REPORT_ID)->count(), 2); // "01" twice
    EXPECT_EQ(Item<QComboBox>(IDC_HID_OUTPUT_REPORT_ID)->itemText(1), QStringLiteral("01"));
    EXPECT_EQ(Item<QComboBox>(IDC_HID_FEATURE_REPORT_ID)->currentText(), QStringLiteral("02"));
    EXPECT_TRUE(Item<QRadioButton>(IDC_HID_REPORT_PROTOCOL)->isChecked());
}

TEST_F(MainFrameHidTest, SetAndGetValueReachEveryReportOfTheSelectedIdAndType) {
    ConnectHidPeer();
    AnswerFirstReads();
    m_host->calls.clear();
    Item<QLineEdit>(IDC_HID_OUTPUT_REPORT)->setText("0a,2");
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_HID_SET_OUTPUT_REPORT));
    WriteResult(kOutputA);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_HID_GET_OUTPUT_REPORT));
    ReadResult(kOutputA, {0x02, 0xFF});
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_HID_SET_FEATURE_REPORT)); // nothing typed
    EXPECT_EQ(Sent(), (Requests{"W28", "W31", "R28", "R31"}));
    EXPECT_EQ(Text(IDC_HID_OUTPUT_REPORT), QStringLiteral("02 255"));
    EXPECT_TRUE(
        PromptTexts().back().startsWith(QStringLiteral("The format of output/feature report entered")));
}

TEST_F(MainFrameHidTest, BootThenReportSubscribesTheBootInputsThenTheReports) {
    ConnectHidPeer();
    AnswerFirstReads();
    m_host->calls.clear();
    const std::pair<UINT, std::vector<uint16_t>> steps[] = {
        {IDC_HID_BOOT_PROTOCOL, {kProtocolMode, kBootMouseConfig, kBootKeyboardConfig}},
        {IDC_HID_REPORT_PROTOCOL, {kProtocolMode, kInputConfig}}};
    for (const auto& [protocol, results] : steps) {
        Item<QRadioButton>(protocol)->setChecked(true);
        ASSERT_TRUE(m_frame->ExecuteCommand(ID_HID_SET_PROTOCOL_MODE));
        for (const uint16_t written : results)
            WriteResult(written);
    }
    EXPECT_EQ(Sent(), (Requests{"W18", "W41", "W38", "W18", "W25"}));
    const std::vector<HostCall> modes = Calls("OrvBleClientWriteCharByHandle");
    ASSERT_EQ(modes.size(), 2u);
    EXPECT_EQ(modes[0].data, std::vector<uint8_t>{0x00});
    EXPECT_EQ(modes[1].data, std::vector<uint8_t>{0x01});
}

TEST_F(MainFrameHidTest, NotificationsShowTheirReportsIdAndTypeAndShortOrEmptyValuesAreLogged) {
    ConnectHidPeer();
    AnswerFirstReads();
    ReadResult(kInputRef, {0x03}); // cut short: the report becomes unknown again
    ReadResult(kProtocolMode, {}); // empty: ignored
    EXPECT_TRUE(Item<QRadioButton>(IDC_HID_REPORT_PROTOCOL)->isChecked());
    const std::tuple<uint16_t, std::vector<uint8_t>, QString> rows[] = {
        {kOutputA, {0x00, 0x04}, "1 OUTPUT - 00 04 "},
        {kBootKeyboard, {0x00, 0x00, 0x0B}, "0 BOOT - 00 00 0B "},
        {kBootMouse, {0x01}, "0 BOOT - 01 "},
        {kInput, {0x07}, "0 UNKNOWN - 07 "},
    };
    for (const auto& [handle, value, text] : rows) {
        Notify(handle, value);
        EXPECT_EQ(Text(IDC_HID_INPUT_REPORT), text);
    }
    EXPECT_TRUE(LogContains(
        QStringLiteral("Report Reference 26 of 1 bytes is too short; its report stays unknown.")));
    EXPECT_TRUE(LogContains(QStringLiteral("Protocol Mode value is empty; ignored.")));
}

TEST_F(MainFrameHidTest, GetWaitsOnlyForAReadThatWasQueued) {
    ConnectHidPeer(false); // no Protocol Mode, information or report map
    EXPECT_FALSE(m_frame->IsHidReadPending());
    EXPECT_TRUE(m_frame->ExecuteCommand(ID_HID_GET_PROTOCOL_MODE));
}

TEST_F(MainFrameHidTest, OpeningAgainKeepsTheReportsNamesWithoutNewReadsOrSubscriptions) {
    ConnectHidPeer();
    AnswerFirstReads();
    m_host->calls.clear();
    m_frame->OpenProfileWindows(&Record(0));
    ReadResult(kDeviceName, {'K'});
    Item<QLineEdit>(IDC_HID_OUTPUT_REPORT)->setText("7");
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_HID_SET_OUTPUT_REPORT));
    WriteResult(kOutputA);
    EXPECT_EQ(Sent(), (Requests{"R3", "W28", "W31"}));
}

using Bytes = std::vector<uint8_t>;
using Lit = std::set<uint16_t>;

using MfswHostCtrlTest = WindowTest<CMfswHostCtrl>;

TEST_F(MfswHostCtrlTest, ExactlyTheButtonsOfTheLastInputReportWithIdOneAreLit) {
    const QRect group = m_window->findChild<QWidget*>(QStringLiteral("buttonsGroup"))->geometry();
    EXPECT_EQ(QPoint(m_window->ContentWidth(), m_window->ContentHeight() - CChildFrame::kContentMargin),
              group.bottomRight() + QPoint(1, 1))
        << "the contents of a pane without a layout";
    // Report id, report type, the report, the buttons lit afterwards.
    const std::tuple<uint8_t, uint8_t, Bytes, Lit> rows[] = {
        {1, 1, {0x42, 0x00, 0x00, 0x00, 0x00}, {0x42}},
        {1, 1, {0x00, 0x00, 0x00, 0x00, 0x00}, {}},
        {1, 1, {0x42, 0x00, 0xE9, 0x00, 0x00}, {0x42, 0xE9}},
        {1, 1, {0xE9, 0x00, 0x00, 0x00, 0x00}, {0xE9}}, // moved to the first field: stays lit
        {1, 1, {0x00, 0x00, 0x00, 0x00, 0xB0}, {0xB0}},
        {1, 1, {0x00, 0x00, 0x00, 0x00, 0x26}, {0x26}},
        {1, 1, {0x00, 0x00, 0x00, 0x00, 0x00}, {}},
        {1, 1, {0x00, 0x00, 0x00, 0x00, 0x42}, {0x42}},
        {1, 1, {0x42, 0x00, 0x00, 0x00, 0x00}, {0x42}}, // from the code to a usage: stays lit
        {2, 1, {0x00, 0x00, 0x00, 0x00, 0x00}, {0x42}}, // another report id changes nothing
        {1, 3, {0x00, 0x00, 0x00, 0x00, 0x00}, {0x42}}, // nor does a feature report
        {1, 1, {0x45, 0x00, 0x01}, {}},                 // nor a length other than five: all released
        {1, 1, {0x44, 0x00, 0x99, 0x00, 0x00}, {0x44}}, // a usage without a button lights nothing
    };
    for (size_t i = 0; i < std::size(rows); ++i) {
        const auto& [id, type, report, lit] = rows[i];
        m_window->OnInputReport(id, type, report);
        EXPECT_EQ(m_window->LitButtons(), lit) << "row " << i;
    }
}

class SteeringWheelOpeningTest : public MainFrameFixture {};

TEST_F(SteeringWheelOpeningTest, AWheelOpensOnlyItsWindowWhichSubscribesEveryReport) {
    constexpr uint16_t kReport = 0x18, kReportConfig = 0x19, kReference = 0x1A, kOther = 0x1C,
                       kOtherRef = 0x1D;
    StartUp();
    Discover({{1, "Wheel"}}, 0x03CA);
    Select(0);
    m_database.Service(0x1812, 0x10, 0x1D)
        .Characteristic(0x2A4D, kReport, 0x12, kReportConfig)
        .Descriptor(MakeUuid16(0x2908), kReference)
        .Characteristic(0x2A4D, kOther, 0x12, 0x1E)
        .Descriptor(MakeUuid16(0x2908), kOtherRef);
    ConnectPeer();
    ASSERT_NE(m_frame->SteeringWheelWindow(), nullptr);
    EXPECT_EQ(m_frame->HidWindow(), nullptr);
    ReadResult(kReference, {0x01, 0x01});
    ReadResult(kOtherRef, {0x01});
    WriteResult(kReportConfig);
    ASSERT_EQ(Calls("OrvBleClientWriteConfiguration").size(), 2u); // every type, the unknown one too
    EXPECT_EQ(Calls("OrvBleClientWriteConfiguration")[0].args.at(1), kReportConfig);
    EXPECT_TRUE(LogContains(
        QStringLiteral("Report Reference 29 of 1 bytes is too short; its report stays unknown.")));
}

namespace Vk = platform::VirtualKey;
using Keys = std::vector<std::pair<uint16_t, bool>>;
using RemoteCtrlTest = WindowTest<CRemoteCtrl>;

TEST_F(RemoteCtrlTest, AReportLightsItsKnownKeysAndForwardsEachPressedAndReleasedInReportOrder) {
    RecordingKeyInput keys;
    struct Row {
        const char* name;
        std::vector<uint8_t> report;
        bool forwarding;
        std::vector<int> lit;
        Keys sent;
    };
    const Keys up = {{Vk::Up, false}, {Vk::Up, true}};
    const Keys volumeUpThenOne = {{Vk::VolumeUp, false}, {Vk::VolumeUp, true}, {'1', false}, {'1', true}};
    const Row rows[] = {
        {"Up", {0x00, 0x00, 0x52, 0x00}, true, {0x52}, up},
        {"two keys", {0x80, 0x1E}, true, {0x1E, 0x80}, volumeUpThenOne},
        {"F4 is not a key", {0x3D, 0x27}, true, {0x27}, {{'0', false}, {'0', true}}},
        {"empty", {}, true, {}, {}},
        {"all zero", {0x00, 0x00, 0x00, 0x00}, true, {}, {}},
        {"forwarding off", {0x00, 0x00, 0x52, 0x00}, false, {0x52}, {}},
    };
    for (const Row& row : rows) {
        keys.keys.clear();
        m_window->SetForwarding(row.forwarding);
        m_window->OnKeyReport(row.report);
        EXPECT_EQ(m_window->Picture()->PressedKeys(), row.lit) << row.name;
        EXPECT_EQ(keys.keys, row.sent) << row.name;
    }
}

constexpr uint16_t kDescriptor = 0x12, kFlags = 0x1C, kInterrupt = 0x19, kInterruptConfig = 0x1A;

class MainFrameRemoteTest : public MainFrameFixture {
protected:
    void SetUp() override {
        MainFrameFixture::SetUp();
        StartUp();
        Discover({{1, "SKY Remote"}, {2, "SKY remote"}});
    }
    void ConnectRemote(size_t index) {
        Select(index);
        m_database = DatabaseBuilder();
        m_database.Service(0x3231, 0x10, 0x1C)
            .Characteristic(0x2C00, kDescriptor, 0x02)
            .Characteristic(0x2C01, 0x14, 0x02)
            .Characteristic(0x2C02, 0x16, 0x1A, 0x17)
            .Characteristic(0x2C03, kInterrupt, 0x12, kInterruptConfig)
            .Characteristic(0x2C04, kFlags, 0x02);
        Connect();
    }
    QCheckBox* Box(QWidget* window, UINT id) const {
        return qobject_cast<QCheckBox*>(platform::GetDlgItem(window, id));
    }
};

TEST_F(MainFrameRemoteTest, OnlySkyRemoteGetsThePictureAndBothAreSubscribedAndRead) {
    for (size_t index : {0, 1}) {
        m_host->calls.clear();
        ConnectRemote(index);
        ReadResult(kDescriptor, {0x05, 0x01});
        EXPECT_EQ(m_frame->RemoteWindow() != nullptr, index == 0);
        EXPECT_EQ(m_frame->GenericRemoteWindow() != nullptr, index == 1);
        EXPECT_EQ(Calls("OrvBleClientWriteConfiguration").at(0).args.at(1), kInterruptConfig);
        ASSERT_EQ(Calls("OrvBleClientReadCharByHandle").size(), 2u);
        EXPECT_EQ(Calls("OrvBleClientReadCharByHandle")[1].args.at(1), kFlags);
        Disconnected();
    }
}

TEST_F(MainFrameRemoteTest, TheGenericWindowShowsTheFlagsDescriptorAndReports) {
    ConnectRemote(1);
    QWidget* window = m_frame->GenericRemoteWindow();
    for (const auto& value : {std::vector<uint8_t>{0x05, 0x00}, std::vector<uint8_t>{}})
        ReadResult(kFlags, value); // the empty value is ignored
    std::vector<bool> checked;
    for (UINT bit = 0; bit < 4; ++bit)
        checked.push_back(Box(window, IDC_REMOTE_FLAG_VIRTUAL_CABLE + bit)->isChecked());
    EXPECT_EQ(checked, (std::vector<bool>{true, false, true, false}));
    QCheckBox* box = Box(window, IDC_REMOTE_FLAG_VIRTUAL_CABLE); // shows the peer's flag: takes no click
    EXPECT_NE(m_frame->childAt(box->mapTo(m_frame.get(), box->rect().center())), box);
    EXPECT_EQ(box->focusPolicy(), Qt::NoFocus);
    EXPECT_TRUE(LogContains(QStringLiteral("HID flags value is empty; ignored.")));
    ReadResult(kDescriptor, {0x05, 0x0C});
    Notify(kInterrupt, {0x00, 0x00, 0x52, 0x00});
    EXPECT_EQ(platform::GetDlgItemText(window, IDC_HID_DESCRIPTOR), QStringLiteral("05 0C "));
    EXPECT_EQ(platform::GetDlgItemText(window, IDC_HID_INPUT_REPORT), QStringLiteral("00 00 52 00 "));
    EXPECT_TRUE(LogContains(QStringLiteral("Received HID report 00 00 52 00 ")));
}

TEST_F(MainFrameRemoteTest, ForwardingFollowsTheBoxAndANewRemoteWindowStartsWithout) {
    RecordingKeyInput keys;
    ConnectRemote(0);
    Box(m_frame->RemoteWindow(), ID_FORWARD_HID_REPORTS)->click();
    EXPECT_TRUE(m_frame->IsForwardingHidReports());
    Notify(kInterrupt, {0x00, 0x00, 0x52, 0x00});
    EXPECT_EQ(keys.keys.size(), 2u);

    Select(1); // closes the window
    Select(0);
    ASSERT_NE(m_frame->RemoteWindow(), nullptr);
    EXPECT_FALSE(Box(m_frame->RemoteWindow(), ID_FORWARD_HID_REPORTS)->isChecked());
    EXPECT_FALSE(m_frame->IsForwardingHidReports());
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_FORWARD_HID_REPORTS)); // the box is clear: no toggle
    EXPECT_FALSE(m_frame->IsForwardingHidReports());
    Notify(kInterrupt, {0x00, 0x00, 0x52, 0x00});
    EXPECT_EQ(keys.keys.size(), 2u);
    EXPECT_EQ(m_frame->RemoteWindow()->Picture()->PressedKeys(), std::vector<int>{0x52});
}

TEST_F(MainFrameRemoteTest, KeysTheDesktopDoesNotTakeAreLoggedOncePerRunOrPerKey) {
    RecordingKeyInput keys;
    ConnectRemote(0);
    Box(m_frame->RemoteWindow(), ID_FORWARD_HID_REPORTS)->click();
    keys.result = platform::KeyInputResult::NoX11Session;
    Notify(kInterrupt, {0x1E, 0x1F});
    Notify(kInterrupt, {0x1E});
    keys.result = platform::KeyInputResult::NoKeyCode;
    Notify(kInterrupt, {0x6B, 0x6C});
    Notify(kInterrupt, {0x6B});
    const QString log = m_frame->LogWindow()->WindowText();
    EXPECT_EQ(log.count(QStringLiteral("Keys are not forwarded: not an X11 session.")), 1);
    EXPECT_EQ(log.count(QStringLiteral("No key code for key 0x7F; not forwarded.")), 1);
    EXPECT_EQ(log.count(QStringLiteral("No key code for key 0x80; not forwarded.")), 1);
    EXPECT_EQ(keys.keys.size(), 6u); // presses only: a refused press is not released
}

} // namespace
