// The weight-scale and body-composition windows: the table their feature values lay out, the rows of
// measurements (first packets and continuations of body composition), the 25-row limit and the
// clearing after a user's data is deleted.
#include "profiles/sensor/CBodyCompCtrl.h"
#include "profiles/sensor/CWeightScaleCtrl.h"

#include "gatt/BleDeviceRecord.h"
#include "profiles/sensor/BodyCompIds.h"
#include "profiles/sensor/WeightScaleIds.h"
#include "support/DatabaseBuilder.h"
#include "support/Hex.h"
#include "support/WindowTest.h"

#include <QListWidget>
#include <QTreeWidget>

namespace {

// Window is a table window with InitProfile(peer) and Records().
template <class Window> class TableWindowTest : public WindowTest<Window> {
protected:
    using Bytes = std::vector<uint8_t>;
    using WindowTest<Window>::m_window;
    static constexpr uint16_t kFeature = 6, kMeasurement = 8;

    // Opens the window for a peer whose only service holds the feature and the indicated measurement.
    void Open(uint16_t service, uint16_t featureUuid, uint16_t measurementUuid) {
        WindowTest<Window>::SetUp();
        DatabaseBuilder database;
        database.Service(service, kFeature - 2, kMeasurement + 1)
            .Characteristic(featureUuid, kFeature, 0x02)
            .Characteristic(measurementUuid, kMeasurement, 0x20, kMeasurement + 1);
        const BleHostDatabaseEvent& event = database.Event(1);
        m_peer.BuildServiceMap(event.serviceCount, event.services);
        m_window->InitProfile(m_peer);
    }
    QTreeWidget* Table() const { return m_window->Records(); }
    int Rows() const { return Table()->topLevelItemCount(); }
    QStringList Headers() const { return ItemTexts(Table()->headerItem()); }
    QStringList Row(int index) const { return ItemTexts(Table()->topLevelItem(index)); }
    QStringList Lines(UINT listId) const {
        QStringList lines;
        const auto* list = this->template Item<QListWidget>(listId);
        for (int i = 0; i < list->count(); ++i)
            lines << list->item(i)->text();
        return lines;
    }

    BleDeviceRecord m_peer{{}, 0, QStringLiteral("Scale"), 0, false};
};

class WeightScaleCtrlTest : public TableWindowTest<CWeightScaleCtrl> {
protected:
    void SetUp() override { Open(0x181D, 0x2A9E, 0x2A9D); }
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

// With several users the clearing empties the table too, as the end-to-end test shows.
TEST_F(WeightScaleCtrlTest, ClearingTheUserDisplayKeepsTheRowsOfASingleUser) {
    Features(0x01BD);
    Measure({0x04, 0xA4, 0x38, 0x04});
    m_window->ClearUserDisplay();
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(User(), "N/A");
}

// Time stamp, muscle mass and weight, mass resolution 5 (0.02 kg).
constexpr uint32_t kFeatures = 0x00002A11;

class BodyCompCtrlTest : public TableWindowTest<CBodyCompCtrl> {
protected:
    void SetUp() override { Open(0x181B, 0x2A9B, 0x2A9C); }
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

// With several users the clearing empties the table, as the end-to-end test shows.
TEST_F(BodyCompCtrlTest, The26thRowEvictsTheOldestAndClearingKeepsTheRowsOfASingleUser) {
    Features(kFeatures);
    for (uint8_t i = 1; i <= 26; ++i)
        Measure({0x00, 0x00, i, 0x00});
    Measure({0x00, 0x00, 0xFF, 0xFF});
    ASSERT_EQ(Rows(), 25);
    EXPECT_EQ(Row(0).first(), QStringLiteral("0.20"));
    m_window->ClearValues();
    EXPECT_EQ(Rows(), 25);
}

} // namespace
