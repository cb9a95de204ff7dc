// The steering-wheel window: the buttons its input report lights, and its opening by the main window.
#include "profiles/control/CMfswHostCtrl.h"

#include "panes/CLogDialog.h"
#include "support/MainFrameFixture.h"
#include "support/WindowTest.h"

namespace {

using Bytes = std::vector<uint8_t>;
using Lit = std::set<uint16_t>;

using MfswHostCtrlTest = WindowTest<CMfswHostCtrl>;

TEST_F(MfswHostCtrlTest, ExactlyTheButtonsOfTheLastInputReportWithIdOneAreLit) {
    const QRect group = m_window->findChild<QWidget*>(QStringLiteral("buttonsGroup"))->geometry();
    EXPECT_EQ(QPoint(m_window->ContentWidth(), m_window->ContentHeight() - CChildFrame::kContentMargin),
              group.bottomRight() + QPoint(1, 1))
        << "the contents of a pane without a layout";
    struct Row {
        uint8_t id;
        uint8_t type;
        Bytes report;
        Lit lit;
    };
    const Row rows[] = {
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
        m_window->OnInputReport(rows[i].id, rows[i].type, rows[i].report);
        EXPECT_EQ(m_window->LitButtons(), rows[i].lit) << "row " << i;
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

} // namespace
