// The environment window with the main window on a recording host: its reads, what it shows, its
// automatic update and its calibration.
#include "gatt/UuidFunctions.h"
#include "panes/CConnectProgressDlg.h"
#include "platform/DialogItems.h"
#include "profiles/sensor/EnvironmentIds.h"
#include "support/MainFrameFixture.h"

#include <QCheckBox>
#include <QComboBox>

namespace {

// Handles of the board's database.
constexpr uint16_t kPressure = 0x62, kTemperature = 0x64, kHumidity = 0x66, kFlux2D = 0x68,
                   kDeclination = 0x6A, kCalibration = 0x6C;

class CEnvironmentCtrlTest : public PeerFixture {
protected:
    void ConnectBoard(bool declination) {
        m_database.Service(0x181A, 0x60, 0x6C)
            .Characteristic(0x2A6D, kPressure, 0x02)
            .Characteristic(0x2A6E, kTemperature, 0x02)
            .Characteristic(0x2A6F, kHumidity, 0x02)
            .Characteristic(0x2AA0, kFlux2D, 0x02);
        if (declination)
            m_database.Characteristic(0x2A2C, kDeclination, 0x02);
        m_database.Characteristic(MakeVendorUuid(0xAAA4), kCalibration, 0x08);
        Connect();
    }
    CEnvironmentCtrl* Window() const { return m_frame->EnvironmentWindow(); }
    QString Text(UINT id) const { return platform::GetDlgItemText(Window(), id); }
    std::vector<int64_t> Reads() const {
        std::vector<int64_t> handles;
        for (const HostCall& call : Calls("OrvBleClientReadCharByHandle"))
            handles.push_back(call.args.at(1));
        for (const uint16_t queued : m_frame->ReadQueue())
            handles.push_back(queued);
        return handles;
    }
};

// The first reads in their order, then every present value once more.
TEST_F(CEnvironmentCtrlTest, OpeningReadsEachValueTwiceAndNeverTheCalibration) {
    ConnectBoard(true);
    EXPECT_EQ(Reads(), (std::vector<int64_t>{kPressure, kTemperature, kHumidity, kFlux2D, kDeclination,
                                             kHumidity, kPressure, kTemperature, kFlux2D, kDeclination}));
    EXPECT_EQ(Text(IDC_ENV_ACCELERATION), QStringLiteral("Not Supported"));
    EXPECT_FALSE(
        m_frame->Router().isCommandEnabled(Window()->GetCommandTarget(), ID_ENV_UPDATE_ACCELERATION));
    EXPECT_TRUE(
        m_frame->Router().isCommandEnabled(Window()->GetCommandTarget(), ID_ENV_UPDATE_MAGNETIC_FLUX));
}

// Other windows' reads queued moments before (a Bond Management feature read, say) stay queued.
TEST_F(CEnvironmentCtrlTest, CreatingTheWindowLeavesTheQueuedRequestsAlone) {
    Connect();
    m_frame->ReadCharacteristic(0x10);
    m_frame->ReadCharacteristic(0x22);
    auto* window = new CEnvironmentCtrl;
    window->Create(m_frame->MdiArea(), &m_frame->Router(), &m_frame->Commands());
    EXPECT_EQ(m_frame->ReadQueue(), std::deque<uint16_t>{0x22});
}

TEST_F(CEnvironmentCtrlTest, TheDirectionIsTheFluxsUnlessTheBoardHasADeclination) {
    for (const bool declination : {false, true}) {
        NewFrame();
        FindPeers();
        ConnectBoard(declination);
        ReadResult(kPressure, {0x02, 0x76, 0x0F, 0x00});
        ReadResult(kTemperature, {0x9C});
        ReadResult(kFlux2D, {0x00, 0x00, 0xE8, 0x03});
        EXPECT_EQ(Text(IDC_ENV_PRESSURE), QStringLiteral("101325.0 Pa"));
        EXPECT_EQ(Text(IDC_ENV_TEMPERATURE), QStringLiteral("Not Supported"));
        EXPECT_EQ(Text(IDC_ENV_MAGNETIC_FLUX), QStringLiteral("X = 0.000, Y = 1.000 (Ga)"));
        EXPECT_EQ(Text(IDC_ENV_DIRECTION),
                  declination ? QStringLiteral("Not Supported") : QStringLiteral("90.00 °"));
        EXPECT_TRUE(
            LogContains(QStringLiteral("Magnetometer data received X  = 0.000, Y = 1.000, Z = 0.000\n")));
        if (!declination)
            continue;
        ReadResult(kDeclination, {0x39, 0x30});
        EXPECT_EQ(Text(IDC_ENV_DIRECTION), QStringLiteral("123.45 °"));
    }
}

// A poll leaves out the values still waiting to be read; unticking drops every request not yet sent.
TEST_F(CEnvironmentCtrlTest, AutomaticUpdatePollsAtTheChosenIntervalWithoutPilingUp) {
    ConnectBoard(false);
    for (const uint16_t handle :
         {kPressure, kTemperature, kHumidity, kFlux2D, kHumidity, kPressure, kTemperature})
        ReadResult(handle, {0x00, 0x00, 0x00, 0x00});
    ASSERT_EQ(m_frame->ReadQueue().size(), 0u);
    qobject_cast<QComboBox*>(platform::GetDlgItem(Window(), IDC_ENV_INTERVAL))->setCurrentIndex(1);
    qobject_cast<QCheckBox*>(platform::GetDlgItem(Window(), ID_ENV_AUTO_UPDATE))->click();
    EXPECT_FALSE(m_frame->Router().isCommandEnabled(Window()->GetCommandTarget(), ID_ENV_UPDATE_PRESSURE));
    Advance(1999);
    EXPECT_EQ(m_frame->ReadQueue().size(), 0u);
    Advance(1);
    EXPECT_EQ(m_frame->ReadQueue(), (std::deque<uint16_t>{kHumidity, kPressure, kTemperature, kFlux2D}));
    Advance(4000);
    EXPECT_EQ(m_frame->ReadQueue().size(), 4u);
    qobject_cast<QCheckBox*>(platform::GetDlgItem(Window(), ID_ENV_AUTO_UPDATE))->click();
    EXPECT_TRUE(m_frame->ReadQueue().empty());
    EXPECT_FALSE(Window()->IsTimerRunning(TIMER_ENV_POLL));
}

TEST_F(CEnvironmentCtrlTest, CalibrateStartsOnceAndTheProgressWindowsStopEndsIt) {
    ConnectBoard(false);
    const size_t queued = m_frame->WriteQueue().size();
    ASSERT_TRUE(Run(Window(), ID_ENV_CALIBRATE));
    ASSERT_TRUE(Run(Window(), ID_ENV_CALIBRATE));
    EXPECT_TRUE(m_frame->ProgressWindow()->isVisible());
    EXPECT_TRUE(m_frame->ProgressWindow()->IsStopEnabled());
    m_frame->ProgressWindow()->OnCancel();
    EXPECT_FALSE(m_frame->ProgressWindow()->isVisible());
    EXPECT_FALSE(Window()->IsCalibrating());
    const auto& writes = m_frame->WriteQueue();
    ASSERT_EQ(writes.size(), queued + 2);
    EXPECT_EQ(writes[queued].data[0], 0x01);
    EXPECT_EQ(writes[queued + 1].data[0], 0x00);
    WriteResult(kCalibration, 0x13);
    EXPECT_TRUE(LogContains(QStringLiteral("Handle = 108, result 13\n")));
}

} // namespace
