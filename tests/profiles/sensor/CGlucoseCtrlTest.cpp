// The glucose window: its record list, the details of a selected record and the operator its radio
// buttons build.
#include "profiles/sensor/CGlucoseCtrl.h"

#include "platform/DialogItems.h"
#include "platform/Prompter.h"
#include "platform/StringTable.h"
#include "profiles/sensor/GlucoseIds.h"
#include "res/StringTable.h"
#include "support/RecordingPrompter.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMdiArea>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

constexpr uint8_t kKg = GlucoseUnit::KgPerLitre, kMol = GlucoseUnit::MolPerLitre;
constexpr UINT kDetails[] = {IDC_GLUCOSE_VALUE,   IDC_GLUCOSE_UNIT,         IDC_GLUCOSE_COLOUR,
                             IDC_GLUCOSE_SAMPLE,  IDC_GLUCOSE_ERROR,        IDC_GLUCOSE_STATUS,
                             IDC_GLUCOSE_CONTEXT, IDC_GLUCOSE_CONTEXT_GROUP};

std::tm Time(int day, int hour) {
    std::tm time{};
    time.tm_year = 126;
    time.tm_mon = 4;
    time.tm_mday = day;
    time.tm_hour = hour;
    time.tm_min = 30;
    time.tm_sec = 5;
    return time;
}

class GlucoseCtrlTest : public ::testing::Test {
protected:
    void SetUp() override {
        platform::installStringTable(applicationStrings());
        platform::setPrompter(&m_prompter);
        m_window = new CGlucoseCtrl;
        m_window->Create(&m_area, nullptr, nullptr);
    }
    void TearDown() override { platform::setPrompter(nullptr); }

    QString Text(UINT id) const { return platform::GetDlgItemText(m_window, id); }
    // The ids among kDetails that are shown.
    std::vector<UINT> Shown() const {
        std::vector<UINT> shown;
        for (UINT id : kDetails)
            if (platform::GetDlgItem(m_window, id)->isVisibleTo(m_window))
                shown.push_back(id);
        return shown;
    }
    QTreeWidget* List(UINT id) const {
        return qobject_cast<QTreeWidget*>(platform::GetDlgItem(m_window, id));
    }
    QStringList Row(UINT id, int row) const {
        const QTreeWidgetItem* item = List(id)->topLevelItem(row);
        QStringList texts;
        for (int column = 0; item && column < item->columnCount(); ++column)
            texts << item->text(column);
        return texts;
    }
    void Select(int row) {
        List(IDC_GLUCOSE_RECORDS)->setCurrentItem(List(IDC_GLUCOSE_RECORDS)->topLevelItem(row));
    }
    QAbstractButton* Button(UINT id) const {
        return qobject_cast<QAbstractButton*>(platform::GetDlgItem(m_window, id));
    }
    void Type(UINT edit, const char* text) {
        qobject_cast<QLineEdit*>(platform::GetDlgItem(m_window, edit))->setText(QLatin1String(text));
    }

    QMdiArea m_area;
    RecordingPrompter m_prompter;
    CGlucoseCtrl* m_window = nullptr; // owned by its sub-window
};

TEST_F(GlucoseCtrlTest, EveryMeasurementAddsARowAndTheLaterOfOneSequenceNumberIsKept) {
    m_window->AddMeasurement(1, Time(7, 9), kKg, 1, 1, 0.0010);
    m_window->AddMeasurementWithStatus(12, Time(8, 23), kMol, 1, 1, 0x0001, 0.0061);
    m_window->AddMeasurementStatusOnly(300, Time(9, 0), 0x0004);
    m_window->AddMeasurementTimeOnly(4000, Time(10, 1));
    m_window->AddMeasurement(1, Time(11, 2), kKg, 1, 1, 0.0012);
    EXPECT_EQ(Row(IDC_GLUCOSE_RECORDS, 0), (QStringList{"0001", "09:30:05  May 07, 2026", "100.0 mg/dL"}));
    EXPECT_EQ(Row(IDC_GLUCOSE_RECORDS, 1), (QStringList{"0012", "23:30:05  May 08, 2026", "6.1 mmol/L"}));
    EXPECT_EQ(Row(IDC_GLUCOSE_RECORDS, 2), (QStringList{"0300", "00:30:05  May 09, 2026", "Sensor error"}));
    EXPECT_EQ(Row(IDC_GLUCOSE_RECORDS, 3), (QStringList{"4000", "01:30:05  May 10, 2026", ""}));
    EXPECT_EQ(Row(IDC_GLUCOSE_RECORDS, 4), (QStringList{"0001", "02:30:05  May 11, 2026", "120.0 mg/dL"}));
    Select(0);
    EXPECT_EQ(Text(IDC_GLUCOSE_VALUE), QStringLiteral("120.0"));
    EXPECT_EQ(m_window->Records().size(), 4u);
    m_window->ShowRecordCount(11);
    EXPECT_EQ(Text(IDC_GLUCOSE_COUNT), QStringLiteral("11"));
    m_window->ClearRecords();
    EXPECT_EQ(List(IDC_GLUCOSE_RECORDS)->topLevelItemCount(), 0);
    EXPECT_TRUE(m_window->Records().empty());
    EXPECT_TRUE(Shown().empty());
}

TEST_F(GlucoseCtrlTest, SelectedRecordShowsWhatWasMeasuredAndNothingOfTheRecordBefore) {
    using K = GlucoseContextKind;
    m_window->AddMeasurementWithStatus(1, Time(7, 9), kKg, 1, 2, 0x0040, 0.0013);
    m_window->AddContextItem(1, K::Meal, 2, 0);
    m_window->AddContextItem(1, K::HbA1c, 0, 5.8);
    m_window->AddContextItem(9, K::Meal, 1, 0); // no such record: nothing
    m_window->AddMeasurement(2, Time(7, 10), kMol, 0, 0, 0.0055);
    m_window->AddMeasurementStatusOnly(3, Time(7, 11), 0x0104);
    m_window->AddMeasurementTimeOnly(4, Time(7, 12));
    m_window->AddMeasurement(5, Time(7, 13), kKg, 1, 1, 0.0011);

    Select(0);
    EXPECT_EQ(Shown(),
              (std::vector<UINT>{IDC_GLUCOSE_VALUE, IDC_GLUCOSE_UNIT, IDC_GLUCOSE_COLOUR, IDC_GLUCOSE_SAMPLE,
                                 IDC_GLUCOSE_ERROR, IDC_GLUCOSE_CONTEXT, IDC_GLUCOSE_CONTEXT_GROUP}));
    EXPECT_EQ((QStringList{Text(IDC_GLUCOSE_VALUE), Text(IDC_GLUCOSE_UNIT), Text(IDC_GLUCOSE_SAMPLE),
                           Text(IDC_GLUCOSE_ERROR)}),
              (QStringList{"130.0", "mg/dL", "Finger, Capillary Plasma", "Sensor reported error: 0040h"}));
    EXPECT_EQ(m_window->View().Level(), GlucoseLevel::High);
    EXPECT_EQ(List(IDC_GLUCOSE_CONTEXT)->topLevelItemCount(), 2);
    EXPECT_EQ(Row(IDC_GLUCOSE_CONTEXT, 0), (QStringList{"Meal", "Postprandial (after meal)"}));
    EXPECT_EQ(Row(IDC_GLUCOSE_CONTEXT, 1), (QStringList{"HbA1c", "5.8%"}));

    Select(1);
    EXPECT_EQ(Shown(), (std::vector<UINT>{IDC_GLUCOSE_VALUE, IDC_GLUCOSE_UNIT, IDC_GLUCOSE_COLOUR}));
    EXPECT_EQ(Text(IDC_GLUCOSE_VALUE) + Text(IDC_GLUCOSE_UNIT), QStringLiteral("5.5mmol/L"));
    EXPECT_EQ(m_window->View().Level(), GlucoseLevel::Low);
    Select(2);
    EXPECT_EQ(Shown(), (std::vector<UINT>{IDC_GLUCOSE_STATUS}));
    EXPECT_EQ(Text(IDC_GLUCOSE_STATUS), QStringLiteral("Sensor reported status: 0104h"));
    Select(4);
    EXPECT_EQ(m_window->View().Level(), GlucoseLevel::Elevated);
    Select(3);
    EXPECT_TRUE(Shown().empty());
}

TEST_F(GlucoseCtrlTest, OperatorsFollowTheRadioButtonAndItsSequenceNumbers) {
    using Bytes = std::vector<uint8_t>;
    Bytes none{0x04};
    EXPECT_FALSE(m_window->BuildRacpOperator(none)) << "no radio button selected";
    Type(IDC_GLUCOSE_BELOW_EDIT, "42");
    Type(IDC_GLUCOSE_ABOVE_EDIT, "  7x");
    Type(IDC_GLUCOSE_BETWEEN_LOW, "300");
    Type(IDC_GLUCOSE_BETWEEN_HIGH, "65535");
    const std::pair<UINT, Bytes> cases[] = {
        {IDC_GLUCOSE_ALL, {0x04, 0x01}},
        {IDC_GLUCOSE_BELOW, {0x04, 0x02, 0x01, 0x2A, 0x00}},
        {IDC_GLUCOSE_ABOVE, {0x04, 0x03, 0x01, 0x07, 0x00}},
        {IDC_GLUCOSE_BETWEEN, {0x04, 0x04, 0x01, 0x2C, 0x01, 0xFF, 0xFF}},
        {IDC_GLUCOSE_FIRST, {0x04, 0x05}},
        {IDC_GLUCOSE_LAST, {0x04, 0x06}},
    };
    for (const auto& [radio, expected] : cases) {
        Button(radio)->setChecked(true);
        Bytes request{0x04};
        EXPECT_TRUE(m_window->BuildRacpOperator(request)) << radio;
        EXPECT_EQ(request, expected) << radio;
    }
    EXPECT_EQ(none, Bytes{0x04});
    EXPECT_TRUE(m_prompter.prompts.empty());
}

TEST_F(GlucoseCtrlTest, InvalidSequenceNumbersAreRefusedWithAMessageAndNothingBuilt) {
    const char* const one = "Enter a valid sequence number.";
    const char* const two =
        "Enter valid sequence numbers. Ensure that the lower limit is lower than the upper limit.";
    const std::tuple<UINT, UINT, const char*, const char*> cases[] = {
        {IDC_GLUCOSE_BELOW, IDC_GLUCOSE_BELOW_EDIT, "", one},
        {IDC_GLUCOSE_ABOVE, IDC_GLUCOSE_ABOVE_EDIT, "65536", one},
        {IDC_GLUCOSE_BETWEEN, IDC_GLUCOSE_BETWEEN_LOW, "-1", two},
        {IDC_GLUCOSE_BETWEEN, IDC_GLUCOSE_BETWEEN_HIGH, "", two},
    };
    Type(IDC_GLUCOSE_BETWEEN_LOW, "1");
    for (const auto& [radio, edit, text, message] : cases) {
        Button(radio)->setChecked(true);
        Type(edit, text);
        std::vector<uint8_t> request{0x01};
        EXPECT_FALSE(m_window->BuildRacpOperator(request));
        EXPECT_EQ(request, std::vector<uint8_t>{0x01});
        ASSERT_FALSE(m_prompter.prompts.empty());
        EXPECT_EQ(m_prompter.prompts.back().text, QLatin1String(message));
        EXPECT_EQ(m_prompter.prompts.back().caption, QStringLiteral("Invalid Sequence Number"));
        EXPECT_EQ(m_prompter.prompts.back().type, MB_OK | MB_ICONHAND);
        Type(edit, "1");
    }
    EXPECT_EQ(m_prompter.prompts.size(), 4u);
}

} // namespace
