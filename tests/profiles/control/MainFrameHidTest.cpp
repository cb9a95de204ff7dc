// The main window's part of a HID device: the first reads, the report tables, the commands of the HID
// window's buttons and the routing of notifications.
#include "platform/DialogItems.h"
#include "profiles/control/CHidCtrl.h"
#include "profiles/control/HidIds.h"
#include "support/MainFrameFixture.h"

#include <QComboBox>
#include <QLineEdit>
#include <QRadioButton>

namespace {

// The HID service: Protocol Mode, HID Information, Report Map, an input report, two output reports of
// id 1, a feature report, the boot keyboard and boot mouse inputs and the control point.
constexpr uint16_t kProtocolMode = 0x12, kInformation = 0x14, kReportMap = 0x16, kInput = 0x18,
                   kInputConfig = 0x19, kInputRef = 0x1A, kOutputA = 0x1C, kOutputARef = 0x1D,
                   kOutputB = 0x1F, kOutputBRef = 0x20, kFeature = 0x22, kFeatureRef = 0x23,
                   kBootKeyboard = 0x25, kBootKeyboardConfig = 0x26, kBootMouse = 0x28,
                   kBootMouseConfig = 0x29;

using Requests = std::vector<std::string>;

class MainFrameHidTest : public MainFrameFixture {
protected:
    void SetUp() override {
        MainFrameFixture::SetUp();
        StartUp();
        Discover({{1, "Keys"}, {2, "Other"}}, 0x03C1);
        Select(0);
    }
    void ConnectHidPeer(bool full = true, bool answerName = true) {
        m_database.Service(0x1812, 0x10, 0x2B);
        if (full)
            m_database.Characteristic(0x2A4E, kProtocolMode, 0x06)
                .Characteristic(0x2A4A, kInformation, 0x02)
                .Characteristic(0x2A4B, kReportMap, 0x02);
        Report(kInput, 0x12, kInputConfig, kInputRef);
        Report(kOutputA, 0x0E, 0, kOutputARef);
        Report(kOutputB, 0x0E, 0, kOutputBRef);
        Report(kFeature, 0x0A, 0, kFeatureRef);
        m_database.Characteristic(0x2A22, kBootKeyboard, 0x12, kBootKeyboardConfig)
            .Characteristic(0x2A33, kBootMouse, 0x12, kBootMouseConfig)
            .Characteristic(0x2A4C, 0x2B, 0x04);
        if (answerName) {
            ConnectPeer();
            return;
        }
        m_database.Service(0x1800, 1, 5).Characteristic(0x2A00, kDeviceName, kReadWrite);
        Connect();
    }
    void Report(uint16_t value, uint8_t properties, uint16_t config, uint16_t reference) {
        m_database.Characteristic(0x2A4D, value, properties, config)
            .Descriptor(MakeUuid16(0x2908), reference);
    }
    // Answers the first reads: the report map, the information, report protocol and the references.
    void AnswerFirstReads() {
        ReadResult(kReportMap, {0x05, 0x01, 0x09, 0x06});
        ReadResult(kInformation, {0x11, 0x01, 0x00, 0x02});
        ReadResult(kProtocolMode, {0x01});
        ReadResult(kInputRef, {0x01, 0x01});
        ReadResult(kOutputARef, {0x01, 0x02});
        ReadResult(kOutputBRef, {0x01, 0x02});
        ReadResult(kFeatureRef, {0x02, 0x03});
        WriteResult(kInputConfig);
    }
    CHidCtrl* Window() const { return m_frame->HidWindow(); }
    QString Text(UINT id) const { return platform::GetDlgItemText(Window(), id); }
    QStringList ComboTexts(UINT id) const {
        const auto* combo = qobject_cast<QComboBox*>(platform::GetDlgItem(Window(), id));
        QStringList texts;
        for (int i = 0; i < combo->count(); ++i)
            texts << combo->itemText(i);
        return texts;
    }
    void Check(UINT radio) {
        qobject_cast<QRadioButton*>(platform::GetDlgItem(Window(), radio))->setChecked(true);
    }
    // Reads ("R" and the handle) and writes ("W" and the value or configuration handle) from the nth on.
    Requests RequestsFrom(size_t first = 0) const {
        Requests requests;
        for (const auto& call : m_host->calls) {
            const bool command = call.name == "OrvBleClientWriteCharByHandle";
            if (call.name.starts_with("OrvBleClientRead") || call.name.starts_with("OrvBleClientWrite"))
                requests.push_back(call.name.substr(12, 1) + std::to_string(call.args.at(command ? 2 : 1)));
        }
        return Requests(requests.begin() + static_cast<long>(std::min(first, requests.size())),
                        requests.end());
    }
};

TEST_F(MainFrameHidTest, OpeningAsksForEncryptionReadsInOrderAndNamesTheReports) {
    ConnectHidPeer();
    ASSERT_NE(Window(), nullptr);
    ASSERT_EQ(Calls("OrvBleHostSetEncryption").size(), 1u);
    EXPECT_EQ(Calls("OrvBleHostSetEncryption")[0].args.at(1), 1);
    EXPECT_TRUE(m_frame->IsHidReadPending());
    AnswerFirstReads();
    EXPECT_EQ(RequestsFrom(), (Requests{"R3", "R22", "R20", "R18", "R26", "W25", "R29", "R32", "R35"}));
    EXPECT_FALSE(m_frame->IsHidReadPending());
    EXPECT_EQ(ComboTexts(IDC_HID_OUTPUT_REPORT_ID), (QStringList{"01", "01"}));
    EXPECT_EQ(ComboTexts(IDC_HID_FEATURE_REPORT_ID), QStringList{"02"});
    EXPECT_EQ(Text(IDC_HID_DESCRIPTOR), QStringLiteral("05 01 09 06 "));
    EXPECT_TRUE(
        qobject_cast<QRadioButton*>(platform::GetDlgItem(Window(), IDC_HID_REPORT_PROTOCOL))->isChecked());
}

// The opening asks for encryption while the Device Name read is out: the link's only read stays its.
TEST_F(MainFrameHidTest, ASecurityResultDuringAReadThatWasNotRefusedSendsNoSecondRead) {
    ConnectHidPeer(true, false);
    SecurityResult(0);
    EXPECT_EQ(RequestsFrom(), (Requests{"R3"}));
    ReadResult(kDeviceName, {'K'});
    EXPECT_EQ(RequestsFrom(), (Requests{"R3", "R22"}));
}

TEST_F(MainFrameHidTest, SetAndGetValueReachEveryReportOfTheSelectedIdAndType) {
    ConnectHidPeer();
    AnswerFirstReads();
    const size_t before = RequestsFrom().size();
    qobject_cast<QLineEdit*>(platform::GetDlgItem(Window(), IDC_HID_OUTPUT_REPORT))->setText("0a,2");
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_HID_SET_OUTPUT_REPORT));
    WriteResult(kOutputA);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_HID_GET_OUTPUT_REPORT));
    ReadResult(kOutputA, {0x02, 0xFF});
    EXPECT_EQ(RequestsFrom(before), (Requests{"W28", "W31", "R28", "R31"}));
    for (const HostCall& write : Calls("OrvBleClientWriteCfmCharByHandle"))
        EXPECT_EQ(write.data, (std::vector<uint8_t>{0x0A, 0x02}));
    EXPECT_EQ(Text(IDC_HID_OUTPUT_REPORT), QStringLiteral("02 255"));

    ASSERT_TRUE(m_frame->ExecuteCommand(ID_HID_SET_FEATURE_REPORT)); // nothing typed
    EXPECT_EQ(PromptTexts().back().left(50),
              QStringLiteral("The format of output/feature report entered is wro"));
    EXPECT_EQ(RequestsFrom(before).size(), 4u);
}

TEST_F(MainFrameHidTest, BootThenReportSubscribesTheBootInputsThenTheReports) {
    ConnectHidPeer();
    AnswerFirstReads();
    const size_t before = RequestsFrom().size();
    Check(IDC_HID_BOOT_PROTOCOL);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_HID_SET_PROTOCOL_MODE));
    WriteResult(kProtocolMode);
    WriteResult(kBootMouseConfig);
    WriteResult(kBootKeyboardConfig);
    Check(IDC_HID_REPORT_PROTOCOL);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_HID_SET_PROTOCOL_MODE));
    WriteResult(kProtocolMode);
    EXPECT_EQ(RequestsFrom(before), (Requests{"W18", "W41", "W38", "W18", "W25"}));
    const std::vector<HostCall> modes = Calls("OrvBleClientWriteCharByHandle");
    ASSERT_EQ(modes.size(), 2u);
    EXPECT_EQ(modes[0].data, std::vector<uint8_t>{0x00});
    EXPECT_EQ(modes[1].data, std::vector<uint8_t>{0x01});
}

TEST_F(MainFrameHidTest, NotificationsShowTheirReportsIdAndTypeAndTheBootReportsAsBoot) {
    ConnectHidPeer();
    AnswerFirstReads();
    ReadResult(kInputRef, {0x03}); // cut short: the report becomes unknown again
    const std::tuple<uint16_t, std::vector<uint8_t>, QString> rows[] = {
        {kOutputA, {0x00, 0x04}, "1 OUTPUT - 00 04 "},
        {kBootKeyboard, {0x00, 0x00, 0x0B}, "0 BOOT - 00 00 0B "},
        {kBootMouse, {0x01}, "0 BOOT - 01 "},
        {kInput, {0x07}, "0 UNKNOWN - 07 "},
    };
    for (const auto& [handle, value, text] : rows) {
        DeliverRecord(
            BLE_EVT_NOTIFICATION,
            BleHostNotificationEvent{kCid, 0, {}, handle, static_cast<uint16_t>(value.size()), value.data()});
        EXPECT_EQ(Text(IDC_HID_INPUT_REPORT), text);
    }
    EXPECT_TRUE(LogContains(
        QStringLiteral("Report Reference 26 of 1 bytes is too short; its report stays unknown.")));
}

TEST_F(MainFrameHidTest, GetWaitsOnlyForAReadThatWasQueued) {
    ConnectHidPeer(false); // no Protocol Mode, information or report map
    EXPECT_FALSE(m_frame->IsHidReadPending());
    EXPECT_TRUE(m_frame->ExecuteCommand(ID_HID_GET_PROTOCOL_MODE));
    EXPECT_FALSE(m_frame->IsHidReadPending());
}

TEST_F(MainFrameHidTest, AnEmptyProtocolModeIsIgnored) {
    ConnectHidPeer();
    ReadResult(kReportMap, {});
    ReadResult(kInformation, {});
    ReadResult(kProtocolMode, {});
    EXPECT_TRUE(LogContains(QStringLiteral("Protocol Mode value is empty; ignored.")));
    EXPECT_FALSE(
        qobject_cast<QRadioButton*>(platform::GetDlgItem(Window(), IDC_HID_REPORT_PROTOCOL))->isChecked());
}

TEST_F(MainFrameHidTest, OpeningAgainKeepsTheReportsNamesWithoutNewReadsOrSubscriptions) {
    ConnectHidPeer();
    AnswerFirstReads();
    const size_t before = RequestsFrom().size();
    m_frame->OpenProfileWindows(&Record(0));
    ReadResult(kDeviceName, {'K'});
    qobject_cast<QLineEdit*>(platform::GetDlgItem(Window(), IDC_HID_OUTPUT_REPORT))->setText("7");
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_HID_SET_OUTPUT_REPORT));
    WriteResult(kOutputA);
    EXPECT_EQ(RequestsFrom(before), (Requests{"R3", "W28", "W31"}));
}

} // namespace
