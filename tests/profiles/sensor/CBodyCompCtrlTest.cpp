// The body-composition window: the columns the feature value builds, first packets and
// continuations, the 25-row limit and the clearing after a user's data is deleted.
#include "profiles/sensor/CBodyCompCtrl.h"

#include "TableWindowTest.h"
#include "profiles/sensor/BodyCompIds.h"
#include "support/Hex.h"

namespace {

// Time stamp, muscle mass and weight, mass resolution 5 (0.02 kg).
constexpr uint32_t kFeatures = 0x00002A11;

class BodyCompCtrlTest : public TableWindowTest<CBodyCompCtrl> {
protected:
    static constexpr uint16_t kFeature = 23, kMeasurement = 25;

    void SetUp() override {
        DatabaseBuilder database;
        database.Service(0x181B, 21, 26)
            .Characteristic(0x2A9B, kFeature, 0x02)
            .Characteristic(0x2A9C, kMeasurement, 0x20, 26);
        Open(database);
    }
    void Features(uint32_t bits) {
        m_window->OnMeasurement(kFeature,
                                Bytes{static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8),
                                      static_cast<uint8_t>(bits >> 16), static_cast<uint8_t>(bits >> 24)});
    }
    void Measure(const Bytes& value) { m_window->OnMeasurement(kMeasurement, value); }
};

TEST_F(BodyCompCtrlTest, FeaturesBuildOneColumnPerField) {
    Features(0x00000201);
    EXPECT_EQ(m_window->ColumnMap(),
              (std::map<QString, int>{{"Body Fat percentage", 0}, {"Timestamp", 1}, {"Weight", 2}}));
    Features(0x0001BFFF);
    EXPECT_EQ(Table()->columnCount(), 11);
    EXPECT_EQ(m_window->ColumnMap().at("Height"), 10);
    ExpectColumnsFit(Table());
}

TEST_F(BodyCompCtrlTest, ContinuationsFillTheRowTheirFirstPacketStarted) {
    Features(kFeatures);
    const QString time = QStringLiteral("2026/01/05 07:30:00");
    const QStringList first = {"20.00", time, "30.00 kg", ""},
                      joined = {"20.00", time, "30.00 kg", "72.00 kg"};
    // The packet, then the table's rows and its last row.
    const std::tuple<const char*, Bytes, int, QStringList> steps[] = {
        {"16 bytes, bit 12: a new row", Hex("22 10 C8 00 EA 07 01 05 07 1E 00 DC 05 00 00 00"), 1, first},
        {"12 bytes, bits 12 and 10: its weight", Hex("00 14 C8 00 10 0E 00 00 00 00 00 00"), 1, joined},
        {"failed: no row", Hex("00 00 FF FF"), 1, joined},
        {"an orphan continuation", Hex("00 14 00 00 74 0E"), 1, joined},
        {"short, no bit 12: a new row", Hex("00 04 D2 00 74 0E"), 2, {"21.00", "", "", "74.00 kg"}},
        {"continued", Hex("30 10 00 00 DC 05"), 2, {"21.00", "", "30.00 kg", "74.00 kg"}},
    };
    for (const auto& [name, packet, rows, last] : steps) {
        Measure(packet);
        ASSERT_EQ(Rows(), rows) << name;
        EXPECT_EQ(Row(rows - 1), last) << name;
    }
    ExpectColumnsFit(Table());
}

TEST_F(BodyCompCtrlTest, The26thRowEvictsTheOldestAndClearingNeedsSeveralUsers) {
    Features(kFeatures);
    for (uint8_t i = 1; i <= 26; ++i)
        Measure({0x00, 0x00, i, 0x00});
    Measure({0x00, 0x00, 0xFF, 0xFF});
    ASSERT_EQ(Rows(), 25);
    EXPECT_EQ(Row(0).first(), QStringLiteral("0.20"));
    m_window->ClearValues();
    EXPECT_EQ(Rows(), 25);
    Features(kFeatures | 0x02);
    Measure({0x04, 0x00, 0x01, 0x00, 0x05});
    EXPECT_EQ(Text(IDC_BC_USER_ID), QStringLiteral("5"));
    m_window->ClearValues();
    EXPECT_EQ(Rows(), 0);
    EXPECT_EQ(Text(IDC_BC_USER_ID), QStringLiteral("N/A"));
}

} // namespace
