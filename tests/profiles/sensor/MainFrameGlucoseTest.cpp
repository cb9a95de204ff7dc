// The main window's record-access commands: one procedure at a time, and a pending state that never
// outlives its procedure.
#include "platform/DialogItems.h"
#include "profiles/sensor/GlucoseIds.h"
#include "support/MainFrameFixture.h"

namespace {

constexpr uint16_t kControlPoint = 0x4A;

class MainFrameGlucoseTest : public MainFrameFixture {
protected:
    void SetUp() override {
        MainFrameFixture::SetUp();
        StartUp();
        Discover({{1, "Meter"}, {2, "Other"}});
        Select(0);
    }
    void ConnectMeter(bool controlPoint = true) {
        m_database.Service(0x1808, 0x40, 0x4B).Characteristic(0x2A18, 0x42, 0x10, 0x43);
        if (controlPoint)
            m_database.Characteristic(0x2A52, kControlPoint, 0x28, 0x4B);
        ConnectPeer();
        WriteResult(0x43);
        if (controlPoint)
            WriteResult(0x4B);
    }
    void Indicate(std::vector<uint8_t> value) {
        DeliverRecord(BLE_EVT_NOTIFICATION,
                      BleHostNotificationEvent{
                          kCid, 1, {}, kControlPoint, static_cast<uint16_t>(value.size()), value.data()});
    }
    bool Pending() const { return m_frame->IsRecordAccessPending(); }
    size_t RequestsWritten() const { return Calls("OrvBleClientWriteCfmCharByHandle").size(); }
};

TEST_F(MainFrameGlucoseTest, ARequestIsPendingUntilItsAnswerAndOnlyCancelIsAvailableMeanwhile) {
    ConnectMeter();
    Indicate({0x05, 0x00, 0x0C, 0x00}); // nothing asked: ignored
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_GLUCOSE_READ_ALL));
    EXPECT_TRUE(Pending());
    EXPECT_EQ(Calls("OrvBleClientWriteCfmCharByHandle").at(0).data, (std::vector<uint8_t>{0x01, 0x01}));
    EXPECT_FALSE(m_frame->ExecuteCommand(ID_GLUCOSE_DELETE_ALL));
    EXPECT_TRUE(m_frame->ExecuteCommand(ID_GLUCOSE_CANCEL));
    EXPECT_TRUE(Pending()) << "an abort does not end the request";
    Indicate({0x06, 0x00, 0x01, 0x01});
    EXPECT_FALSE(Pending());
    EXPECT_TRUE(LogContains(QStringLiteral("Glucose operation result: 01")));
    EXPECT_FALSE(m_frame->ExecuteCommand(ID_GLUCOSE_CANCEL));

    platform::GetDlgItem(m_frame->GlucoseWindow(), IDC_GLUCOSE_ALL)->setProperty("checked", true);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_GLUCOSE_GET_COUNT));
    Indicate({0x05, 0x00}); // too short: logged, and the request is over all the same
    EXPECT_FALSE(Pending());
    EXPECT_EQ(platform::GetDlgItemText(m_frame->GlucoseWindow(), IDC_GLUCOSE_COUNT),
              QStringLiteral("Unknown"));
}

// How a request's pending state ends when no answer comes.
TEST_F(MainFrameGlucoseTest, ThePendingStateEndsWithTheProcedure) {
    struct Case {
        const char* name;
        std::function<void()> then;
    };
    const Case cases[] = {
        {"final failure of the write", [this] { WriteResult(kControlPoint, 0x80); }},
        {"disconnection", [this] { Disconnected(); }},
        {"answer while the windows were closed",
         [this] {
             Select(1);
             Indicate({0x06, 0x00, 0x01, 0x06});
             Select(0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NewFrame();
        StartUp();
        Discover({{1, "Meter"}, {2, "Other"}});
        Select(0);
        ConnectMeter();
        ASSERT_TRUE(m_frame->ExecuteCommand(ID_GLUCOSE_READ_ALL));
        c.then();
        EXPECT_FALSE(Pending());
    }
}

TEST_F(MainFrameGlucoseTest, WithoutAControlPointTheCommandsDoNothing) {
    ConnectMeter(false);
    for (const UINT id : {ID_GLUCOSE_READ_ALL, ID_GLUCOSE_DELETE_ALL, ID_GLUCOSE_GET_COUNT, ID_GLUCOSE_READ})
        m_frame->ExecuteCommand(id);
    EXPECT_FALSE(Pending());
    EXPECT_EQ(RequestsWritten(), 0u);
}

} // namespace
