// The legacy HID remotes: the keys a report lights and forwards in the remote-control window, and on the
// main window which window opens, their first requests, the flags, the key reports and the forwarding switch.
#include "panes/CLogDialog.h"
#include "platform/DialogItems.h"
#include "platform/KeyInput.h"
#include "profiles/control/CRemoteCtrl.h"
#include "profiles/control/CRemotePict.h"
#include "profiles/control/HidIds.h"
#include "profiles/control/RemoteIds.h"
#include "support/MainFrameFixture.h"
#include "support/RecordingKeyInput.h"
#include "support/WindowTest.h"

#include <QCheckBox>

namespace {

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
