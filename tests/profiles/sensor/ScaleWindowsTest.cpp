// The scale's windows. The weight-scale and body-composition windows: the table their feature values lay
// out, the rows of measurements (first packets and continuations of body composition), the 25-row limit
// and the clearing after a user's data is deleted. The user-data window on the main window and a
// recording host: typed numbers and the requests they send, every control-point response, the
// first-name and increment cycle, and timer 25.
#include "profiles/sensor/CBodyCompCtrl.h"
#include "profiles/sensor/CUserDataCtrl.h"
#include "profiles/sensor/CWeightScaleCtrl.h"

#include "gatt/BleDeviceRecord.h"
#include "platform/DialogItems.h"
#include "platform/StringTable.h"
#include "profiles/sensor/BodyCompIds.h"
#include "profiles/sensor/UserDataIds.h"
#include "profiles/sensor/WeightScaleIds.h"
#include "res/resource.h"
#include "support/DatabaseBuilder.h"
#include "support/Hex.h"
#include "support/MainFrameFixture.h"
#include "support/WindowTest.h"

#include <QCoreApplication>
#include <QListWidget>
#include <QTreeWidget>

namespace {

using Bytes = std::vector<uint8_t>;

// Window is a table window with InitProfile(peer) and Records().
template <class Window> class TableWindowTest : public WindowTest<Window> {
protected:
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

// Handles of the user-data peer's database.
constexpr uint16_t kName = 0x32, kIncrement = 0x34, kControlPoint = 0x37, kControlPointConfig = 0x38;

const auto String = platform::LoadString;

class UserDataCtrlTest : public PeerFixture {
protected:
    void SetUp() override {
        PeerFixture::SetUp();
        m_database.Service(0x181C, 0x30, 0x38)
            .Characteristic(0x2A8A, kName, 0x0A)
            .Characteristic(0x2A99, kIncrement, 0x1A, 0x35)
            .Characteristic(0x2A9F, kControlPoint, 0x28, kControlPointConfig);
        ConnectPeer();
        ASSERT_NE(Window(), nullptr);
        WriteResult(kControlPointConfig);
    }
    void TearDown() override {
        MainFrameFixture::TearDown();
        // The closed windows go now, with their timers, not in a later test.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    CUserDataCtrl* Window() const { return m_frame->UserDataWindow(); }
    QString Text(UINT id) const { return platform::GetDlgItemText(Window(), id); }
    QStringList Texts(std::initializer_list<UINT> ids) const {
        return MainFrameFixture::Texts(Window(), ids);
    }
    void Set(std::initializer_list<std::pair<UINT, QString>> edits) {
        for (const auto& [id, text] : edits)
            platform::SetDlgItemText(Window(), id, text);
    }
    // The handle and bytes of the write sent last.
    std::pair<int64_t, Bytes> LastWrite() const {
        const HostCall write = Calls("OrvBleClientWriteCfmCharByHandle").back();
        return {write.args.at(1), write.data};
    }
    // Clicks the button and completes the write it sent with status; the bytes it sent, if any.
    Bytes Press(UINT id, uint16_t status = 0) {
        const size_t before = Count("OrvBleClientWriteCfmCharByHandle");
        EXPECT_TRUE(Run(Window(), id));
        if (Count("OrvBleClientWriteCfmCharByHandle") == before)
            return {};
        const auto [handle, bytes] = LastWrite();
        WriteResult(static_cast<uint16_t>(handle), status);
        return bytes;
    }
};

TEST_F(UserDataCtrlTest, TypedNumbersAreCheckedBeforeAnythingIsSent) {
    struct Row {
        UINT button;
        const char* code;  // the register edit, or the consent code edit
        const char* index; // the consent index edit
        QString status;
        Bytes sent;
        QStringList edits; // register code, consent index, consent code afterwards
    };
    const Row rows[] = {
        {ID_UD_REGISTER, "", "", String(IDS_UD_ENTER_VALID_VALUE), {}, {"", "", ""}},
        {ID_UD_REGISTER, "123456", "", String(IDS_UD_CONSENT_CODE_SIZE), {}, {"", "", ""}},
        {ID_UD_REGISTER, "65536", "", String(IDS_UD_CONSENT_CODE_SIZE), {}, {"", "", ""}},
        {ID_UD_REGISTER, "65535", "", "", {0x01, 0xFF, 0xFF}, {"65535", "", ""}},
        {ID_UD_REGISTER, "4321", "", "", {0x01, 0xE1, 0x10}, {"4321", "", ""}},
        {ID_UD_CONSENT, "1234", "", String(IDS_UD_ENTER_VALID_VALUE), {}, {"", "", "1234"}},
        {ID_UD_CONSENT, "1234", "256", String(IDS_UD_USER_ID_SIZE), {}, {"", "256", "1234"}},
        {ID_UD_CONSENT, "123456", "0", String(IDS_UD_CONSENT_CODE_SIZE), {}, {"", "0", "123456"}},
        {ID_UD_CONSENT, "123456", "123456", String(IDS_UD_SIZES), {}, {"", "", ""}},
        {ID_UD_CONSENT, "1234", "010", "", {0x02, 0x0A, 0xD2, 0x04}, {"", "010", "1234"}},
        {ID_UD_CONSENT, "65535", "0", "", {0x02, 0x00, 0xFF, 0xFF}, {"", "0", "65535"}},
    };
    for (const Row& row : rows) {
        const bool consent = row.button == ID_UD_CONSENT;
        Set({{IDC_UD_REGISTER_CODE, consent ? "" : row.code},
             {IDC_UD_CONSENT_CODE, consent ? row.code : ""},
             {IDC_UD_CONSENT_INDEX, row.index}});
        EXPECT_EQ(Press(row.button), row.sent) << row.code << " " << row.index;
        EXPECT_EQ(Text(IDC_UD_STATUS), row.status) << row.code << " " << row.index;
        EXPECT_EQ(Texts({IDC_UD_REGISTER_CODE, IDC_UD_CONSENT_INDEX, IDC_UD_CONSENT_CODE}), row.edits);
    }
}

TEST_F(UserDataCtrlTest, EachResponseShowsItsOutcome) {
    struct Row {
        UINT button; // pressed before the response; 0 none
        Bytes response;
        QString status;
        QStringList edits; // register code, consent index, consent code, user index afterwards
    };
    const QStringList untouched = {"4321", "0", "1234", ""};
    const QStringList registerEmptied = {"", "0", "1234", ""};
    const QStringList consentEmptied = {"4321", "", "", ""};
    const Row rows[] = {
        {ID_UD_REGISTER,
         {0x20, 0x01, 0x01, 0x02},
         "Success: User registered with user id = 2",
         registerEmptied},
        {ID_UD_REGISTER, {0x20, 0x01, 0x01}, "", untouched}, // a success without its user index
        {ID_UD_REGISTER, {0x20, 0x01, 0x03}, String(IDS_UD_CODE_OUT_OF_RANGE), registerEmptied},
        {ID_UD_REGISTER, {0x20, 0x01, 0x04}, String(IDS_UD_NO_SPACE), registerEmptied},
        {ID_UD_REGISTER, {0x20, 0x01, 0x02}, "", registerEmptied},
        {ID_UD_CONSENT, {0x20, 0x02, 0x03}, String(IDS_UD_OUT_OF_RANGE), consentEmptied},
        {ID_UD_CONSENT, {0x20, 0x02, 0x04}, String(IDS_UD_CONSENT_TRIES_EXCEEDED), consentEmptied},
        {ID_UD_CONSENT, {0x20, 0x02, 0x05}, String(IDS_UD_NOT_AUTHORIZED), consentEmptied},
        {ID_UD_CONSENT, {0x20, 0x02, 0x02}, "", consentEmptied},
        {0, {0x10, 0x02, 0x01}, "", untouched}, // not a response: only logged
        {0, {0x20, 0x02}, "", untouched},       // too short
        {ID_UD_CONSENT, {0x20, 0x02, 0x01}, String(IDS_UD_CONSENT_PROVIDED), {"4321", "", "", "0"}},
        {ID_UD_DELETE_USER, {0x20, 0x03, 0x05}, String(IDS_UD_NOT_AUTHORIZED), {"4321", "0", "1234", "0"}},
        {ID_UD_DELETE_USER, {0x20, 0x03, 0x01}, String(IDS_UD_USER_DELETED), untouched},
        {0, {0x20, 0x09, 0x01}, String(IDS_UD_OPCODE_NOT_SUPPORTED), untouched},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::PrintToString(row.response));
        Set({{IDC_UD_REGISTER_CODE, "4321"}, {IDC_UD_CONSENT_INDEX, "0"}, {IDC_UD_CONSENT_CODE, "1234"}});
        if (row.button)
            Press(row.button);
        Notify(kControlPoint, row.response);
        EXPECT_EQ(Text(IDC_UD_STATUS), row.status);
        EXPECT_EQ(Texts({IDC_UD_REGISTER_CODE, IDC_UD_CONSENT_INDEX, IDC_UD_CONSENT_CODE, IDC_UD_USER_INDEX}),
                  row.edits);
        const bool consented = !row.edits[3].isEmpty(); // both groups stay disabled until a deletion
        EXPECT_EQ(Window()->IsRegistrationDisabled(), consented);
        EXPECT_EQ(Window()->IsConsentDisabled(), consented);
        EXPECT_EQ(Window()->CurrentUser().index, consented ? 0 : CUserDataCtrl::kNoUser);
    }
}

TEST_F(UserDataCtrlTest, ANewFirstNameIsWrittenReadAgainAndCountedInTheIncrement) {
    Set({{IDC_UD_CONSENT_INDEX, "0"}, {IDC_UD_CONSENT_CODE, "1234"}});
    Press(ID_UD_CONSENT);
    Notify(kControlPoint, {0x20, 0x02, 0x01});
    EXPECT_EQ(m_frame->ReadQueue(), std::deque<uint16_t>{kIncrement});
    ReadResult(kName, {'A', 'n', 'n', 0x00, 'x'});
    ReadResult(kIncrement, {0xFF, 0xFF, 0xFF, 0xFF});
    EXPECT_EQ(Texts({IDC_UD_FIRST_NAME, IDC_UD_CHANGES}), (QStringList{"Ann", "4294967295"}));

    // Opening the profile windows again only subscribes again.
    m_frame->OpenProfileWindows(&Record(0));
    EXPECT_EQ(Count("OrvBleClientWriteConfiguration"), 2u);
    EXPECT_TRUE(Window()->CurrentUser().index == 0 && Window()->IsConsentDisabled());
    EXPECT_EQ(Texts({IDC_UD_USER_INDEX, IDC_UD_FIRST_NAME}), (QStringList{"0", "Ann"}));
    WriteResult(kControlPointConfig);
    ReadResult(kDeviceName, {'S', 'c', 'a', 'l', 'e'});

    Set({{IDC_UD_FIRST_NAME, QStringLiteral("Zoë")}});
    const size_t reads = Count("OrvBleClientReadCharByHandle");
    EXPECT_EQ(Press(ID_UD_UPDATE_NAME), (Bytes{0x5A, 0x6F, 0xC3, 0xAB, 0x00}));
    EXPECT_EQ(Count("OrvBleClientReadCharByHandle") - reads, 1u);
    EXPECT_EQ(Calls("OrvBleClientReadCharByHandle").back().args.at(1), kName);
    EXPECT_EQ(LastWrite(), (std::pair<int64_t, Bytes>{kIncrement, {0x00, 0x00, 0x00, 0x00}})); // +1 wraps
    WriteResult(kIncrement);
    EXPECT_EQ(Texts({IDC_UD_STATUS, IDC_UD_CHANGES}), (QStringList{String(IDS_UD_NAME_UPDATED), "0"}));

    Press(ID_UD_UPDATE_NAME, 0x80);
    EXPECT_EQ(Text(IDC_UD_STATUS), String(IDS_UD_ACCESS_NOT_PERMITTED));
    Set({{IDC_UD_FIRST_NAME, QString()}});
    EXPECT_EQ(Press(ID_UD_UPDATE_NAME), Bytes{});
    EXPECT_EQ(Text(IDC_UD_STATUS), String(IDS_UD_ENTER_VALID_VALUE));
}

TEST_F(UserDataCtrlTest, Timer25RunsFromAControlPointWriteToItsResponseAndItsExpiryDisconnects) {
    EXPECT_FALSE(Window()->IsResponseTimerRunning()) << "started by the configuration write";
    Set({{IDC_UD_REGISTER_CODE, "4321"}});
    Press(ID_UD_REGISTER, 0xFD);
    EXPECT_FALSE(Window()->IsResponseTimerRunning()) << "started by a refused write";
    Press(ID_UD_REGISTER);
    Notify(kControlPoint, {0x10, 0x01, 0x03});
    EXPECT_TRUE(Window()->IsResponseTimerRunning()) << "stopped by response code 0x10";
    Notify(kControlPoint, {0x20, 0x01, 0x03});
    EXPECT_FALSE(Window()->IsResponseTimerRunning()) << "running after the response";
    Set({{IDC_UD_REGISTER_CODE, "4321"}});
    Press(ID_UD_REGISTER);
    Advance(CUserDataCtrl::kResponseTimeoutMs - 1);
    EXPECT_EQ(Count("OrvBleHostDisconnect"), 0u);
    Advance(1);
    EXPECT_EQ(Count("OrvBleHostDisconnect"), 1u);
}

} // namespace
