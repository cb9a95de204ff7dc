// The glucose window: its record list, the details of a selected record and the operator its radio
// buttons build; the main window's record-access commands: one procedure at a time, and a pending state
// that never outlives its procedure.
#include "profiles/sensor/CGlucoseCtrl.h"

#include "profiles/sensor/GlucoseIds.h"
#include "support/MainFrameFixture.h"
#include "support/WindowTest.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTreeWidget>

namespace {

using Bytes = std::vector<uint8_t>;
constexpr uint8_t kKg = GlucoseUnit::KgPerLitre, kMol = GlucoseUnit::MolPerLitre;
constexpr UINT kDetails[] = {IDC_GLUCOSE_VALUE,   IDC_GLUCOSE_UNIT,         IDC_GLUCOSE_COLOUR,
                             IDC_GLUCOSE_SAMPLE,  IDC_GLUCOSE_ERROR,        IDC_GLUCOSE_STATUS,
                             IDC_GLUCOSE_CONTEXT, IDC_GLUCOSE_CONTEXT_GROUP};

std::tm Day(int day) {
    std::tm time{};
    time.tm_year = 126;
    time.tm_mon = 4;
    time.tm_mday = day;
    time.tm_hour = 9;
    time.tm_min = 30;
    return time;
}

class GlucoseCtrlTest : public WindowTest<CGlucoseCtrl, EnvironmentFixture> {
protected:
    std::vector<UINT> Shown() const {
        std::vector<UINT> shown;
        std::copy_if(std::begin(kDetails), std::end(kDetails), std::back_inserter(shown),
                     [this](UINT id) { return Item(id)->isVisibleTo(m_window); });
        return shown;
    }
    QTreeWidget* List(UINT id) const { return Item<QTreeWidget>(id); }
    QStringList Row(UINT id, int row) const { return ItemTexts(List(id)->topLevelItem(row)); }
    // The colour inside the colour box, as the window shows it.
    QString BoxColour() {
        const QWidget* box = Item(IDC_GLUCOSE_COLOUR);
        return m_window->grab().toImage().pixelColor(box->mapTo(m_window, box->rect().center())).name();
    }
    void Select(int row) {
        List(IDC_GLUCOSE_RECORDS)->setCurrentItem(List(IDC_GLUCOSE_RECORDS)->topLevelItem(row));
    }
};

TEST_F(GlucoseCtrlTest, EveryMeasurementAddsARowAndTheLaterOfOneSequenceNumberIsKept) {
    m_window->AddMeasurement(1, Day(7), kKg, 1, 1, 0.0010);
    m_window->AddMeasurementWithStatus(12, Day(8), kMol, 1, 1, 0x0001, 0.0061);
    m_window->AddMeasurementStatusOnly(300, Day(9), 0x0004);
    m_window->AddMeasurementTimeOnly(4000, Day(10));
    m_window->AddMeasurement(1, Day(11), kKg, 1, 1, 0.0012);
    EXPECT_EQ(Row(IDC_GLUCOSE_RECORDS, 0), (QStringList{"0001", "09:30:00  May 07, 2026", "100.0 mg/dL"}));
    EXPECT_EQ(Row(IDC_GLUCOSE_RECORDS, 1), (QStringList{"0012", "09:30:00  May 08, 2026", "6.1 mmol/L"}));
    EXPECT_EQ(Row(IDC_GLUCOSE_RECORDS, 2), (QStringList{"0300", "09:30:00  May 09, 2026", "Sensor error"}));
    EXPECT_EQ(Row(IDC_GLUCOSE_RECORDS, 3), (QStringList{"4000", "09:30:00  May 10, 2026", ""}));
    Select(0);
    EXPECT_EQ(Text(IDC_GLUCOSE_VALUE), QStringLiteral("120.0"));
    EXPECT_EQ(m_window->Records().size(), 4u);
    m_window->ClearRecords();
    EXPECT_EQ(List(IDC_GLUCOSE_RECORDS)->topLevelItemCount(), 0);
    EXPECT_TRUE(m_window->Records().empty());
    EXPECT_TRUE(Shown().empty());
}

TEST_F(GlucoseCtrlTest, SelectedRecordShowsWhatWasMeasuredAndNothingOfTheRecordBefore) {
    m_window->AddMeasurementWithStatus(1, Day(7), kKg, 1, 2, 0x0040, 0.0013);
    m_window->AddContextItem(1, GlucoseContextKind::HbA1c, 0, 5.8);
    m_window->AddContextItem(9, GlucoseContextKind::Meal, 1, 0); // no such record: nothing
    m_window->AddMeasurement(2, Day(8), kMol, 0, 0, 0.0055);
    m_window->AddMeasurementStatusOnly(3, Day(9), 0x0104);
    m_window->AddMeasurementTimeOnly(4, Day(10));
    m_window->AddMeasurement(5, Day(11), kKg, 0, 0, 0.00118);
    Select(0);
    EXPECT_EQ(BoxColour(), QStringLiteral("#ff0000"));
    EXPECT_EQ(Shown().size(), std::size(kDetails) - 1) << "all but the status";
    EXPECT_EQ((QStringList{Text(IDC_GLUCOSE_VALUE), Text(IDC_GLUCOSE_SAMPLE), Text(IDC_GLUCOSE_ERROR)}),
              (QStringList{"130.0", "Finger, Capillary Plasma", "Sensor reported error: 0040h"}));
    EXPECT_EQ(Row(IDC_GLUCOSE_CONTEXT, 0), (QStringList{"HbA1c", "5.8%"}));
    Select(1);
    EXPECT_EQ(Shown(), (std::vector<UINT>{IDC_GLUCOSE_VALUE, IDC_GLUCOSE_UNIT, IDC_GLUCOSE_COLOUR}));
    EXPECT_EQ(Text(IDC_GLUCOSE_VALUE) + Text(IDC_GLUCOSE_UNIT), QStringLiteral("5.5mmol/L"));
    EXPECT_EQ(BoxColour(), QStringLiteral("#008c00"));
    Select(2);
    EXPECT_EQ(Shown(), (std::vector<UINT>{IDC_GLUCOSE_STATUS}));
    EXPECT_EQ(Text(IDC_GLUCOSE_STATUS), QStringLiteral("Sensor reported status: 0104h"));
    EXPECT_EQ(BoxColour(), m_window->palette().color(QPalette::Window).name()) << "no box";
    Select(0);
    Select(3);
    EXPECT_TRUE(Shown().empty());
    Select(4);
    EXPECT_EQ(BoxColour(), QStringLiteral("#ff8000"));
}

TEST_F(GlucoseCtrlTest, OperatorsFollowTheRadioButtonAndInvalidSequenceNumbersBuildNothing) {
    const char* const one = "Enter a valid sequence number.";
    const char* const two =
        "Enter valid sequence numbers. Ensure that the lower limit is lower than the upper limit.";
    struct Case {
        UINT radio;
        std::vector<std::pair<UINT, const char*>> typed;
        Bytes built; // after the op code; empty: refused
        const char* message;
    };
    const Case cases[] = {
        {0, {}, {}, nullptr}, // no radio button selected
        {IDC_GLUCOSE_ALL, {}, {0x01}, nullptr},
        {IDC_GLUCOSE_BELOW, {{IDC_GLUCOSE_BELOW_EDIT, "42"}}, {0x02, 0x01, 0x2A, 0x00}, nullptr},
        {IDC_GLUCOSE_BELOW, {{IDC_GLUCOSE_BELOW_EDIT, ""}}, {}, one},
        {IDC_GLUCOSE_ABOVE, {{IDC_GLUCOSE_ABOVE_EDIT, "  7x"}}, {0x03, 0x01, 0x07, 0x00}, nullptr},
        {IDC_GLUCOSE_ABOVE, {{IDC_GLUCOSE_ABOVE_EDIT, "65536"}}, {}, one},
        {IDC_GLUCOSE_BETWEEN,
         {{IDC_GLUCOSE_BETWEEN_LOW, "300"}, {IDC_GLUCOSE_BETWEEN_HIGH, "65535"}},
         {0x04, 0x01, 0x2C, 0x01, 0xFF, 0xFF},
         nullptr},
        {IDC_GLUCOSE_BETWEEN, {{IDC_GLUCOSE_BETWEEN_LOW, "-1"}}, {}, two},
        {IDC_GLUCOSE_BETWEEN, {{IDC_GLUCOSE_BETWEEN_LOW, "1"}, {IDC_GLUCOSE_BETWEEN_HIGH, ""}}, {}, two},
        {IDC_GLUCOSE_FIRST, {}, {0x05}, nullptr},
        {IDC_GLUCOSE_LAST, {}, {0x06}, nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.radio);
        if (c.radio != 0)
            Item<QAbstractButton>(c.radio)->setChecked(true);
        for (const auto& [edit, text] : c.typed)
            Item<QLineEdit>(edit)->setText(QLatin1String(text));
        const size_t prompts = m_prompter.prompts.size();
        Bytes request{0x04};
        EXPECT_EQ(m_window->BuildRacpOperator(request), !c.built.empty());
        Bytes expected{0x04};
        expected.insert(expected.end(), c.built.begin(), c.built.end());
        EXPECT_EQ(request, expected);
        ASSERT_EQ(m_prompter.prompts.size(), prompts + (c.message ? 1 : 0));
        if (c.message) {
            EXPECT_EQ(m_prompter.prompts.back().text, QLatin1String(c.message));
            EXPECT_EQ(m_prompter.prompts.back().caption, QStringLiteral("Invalid Sequence Number"));
            EXPECT_EQ(m_prompter.prompts.back().type, MB_OK | MB_ICONHAND);
        }
    }
}

constexpr uint16_t kControlPoint = 0x4A;

class MainFrameGlucoseTest : public PeerFixture {
protected:
    void ConnectMeter(bool controlPoint = true) {
        m_database.Service(0x1808, 0x40, 0x4B).Characteristic(0x2A18, 0x42, 0x10, 0x43);
        if (controlPoint)
            m_database.Characteristic(0x2A52, kControlPoint, 0x28, 0x4B);
        ConnectPeer();
        WriteResult(0x43);
        if (controlPoint)
            WriteResult(0x4B);
    }
    bool Pending() const { return m_frame->IsRecordAccessPending(); }
};

TEST_F(MainFrameGlucoseTest, ARequestIsPendingUntilItsAnswerAndOnlyCancelIsAvailableMeanwhile) {
    ConnectMeter();
    Notify(kControlPoint, {0x05, 0x00, 0x0C, 0x00}); // nothing asked: ignored
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_GLUCOSE_READ_ALL));
    EXPECT_TRUE(Pending());
    EXPECT_FALSE(m_frame->ExecuteCommand(ID_GLUCOSE_DELETE_ALL));
    EXPECT_TRUE(m_frame->ExecuteCommand(ID_GLUCOSE_CANCEL));
    EXPECT_TRUE(Pending()) << "an abort does not end the request";
    Notify(kControlPoint, {0x06, 0x00, 0x01, 0x01});
    EXPECT_FALSE(Pending());
    EXPECT_FALSE(m_frame->ExecuteCommand(ID_GLUCOSE_CANCEL));

    platform::GetDlgItem(m_frame->GlucoseWindow(), IDC_GLUCOSE_ALL)->setProperty("checked", true);
    ASSERT_TRUE(m_frame->ExecuteCommand(ID_GLUCOSE_GET_COUNT));
    Notify(kControlPoint, {0x05, 0x00}); // too short: logged, and the request is over all the same
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
             Notify(kControlPoint, {0x06, 0x00, 0x01, 0x06});
             Select(0);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        NewFrame();
        FindPeers();
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
    EXPECT_EQ(Count("OrvBleClientWriteCfmCharByHandle"), 0u);
}

} // namespace
