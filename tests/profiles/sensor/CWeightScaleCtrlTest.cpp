// The weight-scale window: the table the feature value lays out, the rows of measurements, the 25-row
// limit and the clearing after a user's data is deleted.
#include "profiles/sensor/CWeightScaleCtrl.h"

#include "TableWindowTest.h"
#include "profiles/sensor/WeightScaleIds.h"
#include "support/Hex.h"

namespace {

class WeightScaleCtrlTest : public TableWindowTest<CWeightScaleCtrl> {
protected:
    static constexpr uint16_t kFeature = 6, kMeasurement = 8;

    void SetUp() override {
        DatabaseBuilder database;
        database.Service(0x181D, 4, 9)
            .Characteristic(0x2A9E, kFeature, 0x02)
            .Characteristic(0x2A9D, kMeasurement, 0x20, 9);
        Open(database);
    }
    void Features(uint16_t bits) {
        m_window->OnValueReceived(kFeature,
                                  Bytes{static_cast<uint8_t>(bits), static_cast<uint8_t>(bits >> 8)});
    }
    void Measure(const Bytes& value) { m_window->OnValueReceived(kMeasurement, value); }
    void Weigh(uint16_t raw) { Measure({0x00, static_cast<uint8_t>(raw), static_cast<uint8_t>(raw >> 8)}); }
    QString User() const { return Text(IDC_WS_USER_ID); }
};

TEST_F(WeightScaleCtrlTest, TheFeatureValueLaysOutTheTableAndOnlyAChangedOneEmptiesIt) {
    const std::tuple<uint16_t, QStringList, QStringList> rows[] = {
        {0x0000, {"Weight"}, {}},
        {0x0006, {"Weight", "BMI", "Height"}, {"Multiple Users", "Body Mass Index"}},
        {0x01BF,
         {"Weight", "Timestamp", "BMI", "Height"},
         {"Time Stamp", "Multiple Users", "Body Mass Index"}},
    };
    for (const auto& [features, headers, lines] : rows) {
        Features(features);
        EXPECT_EQ(Headers(), headers) << features;
        EXPECT_EQ(Lines(IDC_WS_FEATURES), lines) << features;
    }
    Weigh(14500);
    Features(0x01BF);
    EXPECT_EQ(Rows(), 1);
    m_window->OnValueReceived(kFeature, Bytes{0x01});
    EXPECT_EQ(Rows(), 1);
    Features(0x013F);
    EXPECT_EQ(Rows(), 0);
}

TEST_F(WeightScaleCtrlTest, ARowShowsTheFieldsTheFlagsAndFeaturesAllow) {
    const std::tuple<uint16_t, Bytes, QStringList, QString> rows[] = {
        {0x01BF,
         Hex("0E A4 38 EA 07 01 05 07 1E 00 03 F5 00 B8 06"),
         {"72.50 kg", "2026/01/05 07:30:00", "24.5", "1.72 m"},
         "3"},
        {0x01BF, Hex("0D 80 3E 00 F5 00 A5 02"), {"160.00 lb", "", "24.5", "67.700 inch"}, "0"},
        {0x0006, Hex("0A D5 02 F5 00 B8 06"), {"N/A", "24.5", "N/A"}, "0"}, // resolution index 0
    };
    for (const auto& [features, value, cells, user] : rows) {
        Features(features);
        Measure(value);
        EXPECT_EQ(Row(Rows() - 1), cells) << features;
        EXPECT_EQ(User(), user) << features;
        ExpectColumnsFit(Table());
    }
    Measure(Hex("08 A4 38 F5 00 B8")); // the height cut short
    EXPECT_EQ(Rows(), 1);
}

TEST_F(WeightScaleCtrlTest, The26thRowEvictsTheOldestAndAFailedWeighingEvictsNone) {
    Features(0x01BF);
    for (uint16_t i = 1; i <= 25; ++i)
        Weigh(i * 200);
    Weigh(0xFFFF);
    EXPECT_EQ(Rows(), 25);
    EXPECT_EQ(Row(0).first(), QStringLiteral("1.00 kg"));
    Weigh(26 * 200);
    EXPECT_EQ(Rows(), 25);
    EXPECT_EQ(Row(0).first(), QStringLiteral("2.00 kg"));
    EXPECT_EQ(Row(24).first(), QStringLiteral("26.00 kg"));
}

TEST_F(WeightScaleCtrlTest, ClearingTheUserDisplayNeedsSeveralUsers) {
    const std::tuple<uint16_t, int, QString> rows[] = {{0x01BD, 1, "N/A"}, {0x01BF, 0, "N/A"}};
    for (const auto& [features, remaining, user] : rows) {
        Features(features);
        Measure({0x04, 0xA4, 0x38, 0x04});
        m_window->ClearUserDisplay();
        EXPECT_EQ(Rows(), remaining) << features;
        EXPECT_EQ(User(), user) << features;
    }
}

} // namespace
