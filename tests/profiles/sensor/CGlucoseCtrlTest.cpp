// The glucose window: its record list, the details of a selected record and the operator its radio
// buttons build.
#include "profiles/sensor/CGlucoseCtrl.h"

#include "platform/DialogItems.h"
#include "platform/Prompter.h"
#include "platform/StringTable.h"
#include "platform/ui/CommandRouter.h"
#include "profiles/sensor/GlucoseIds.h"
#include "res/StringTable.h"
#include "support/RecordingPrompter.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QMdiArea>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

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
        for (UINT id : {ID_GLUCOSE_READ_ALL, ID_GLUCOSE_DELETE_ALL, ID_GLUCOSE_CANCEL_ALL,
                        ID_GLUCOSE_GET_COUNT, ID_GLUCOSE_READ, ID_GLUCOSE_DELETE, ID_GLUCOSE_CANCEL})
            m_mainTarget.onCommand(id, [this, id] { m_commands.push_back(id); });
        m_window = new CGlucoseCtrl;
        m_window->Create(&m_area, &m_router, &m_mainTarget);
        m_area.show();
    }
    void TearDown() override { platform::setPrompter(nullptr); }

    QString Text(UINT id) const { return platform::GetDlgItemText(m_window, id); }
    bool Shown(UINT id) const { return platform::GetDlgItem(m_window, id)->isVisibleTo(m_window); }
    QTreeWidget* List(UINT id) const {
        return qobject_cast<QTreeWidget*>(platform::GetDlgItem(m_window, id));
    }
    QStringList Row(UINT id, int row) const {
        QStringList texts;
        const QTreeWidgetItem* item = List(id)->topLevelItem(row);
        for (int column = 0; column < item->columnCount(); ++column)
            texts << item->text(column);
        return texts;
    }
    void Select(int row) {
        List(IDC_GLUCOSE_RECORDS)->setCurrentItem(List(IDC_GLUCOSE_RECORDS)->topLevelItem(row));
    }
    void Check(UINT radio) {
        qobject_cast<QAbstractButton*>(platform::GetDlgItem(m_window, radio))->setChecked(true);
    }
    void Type(UINT edit, const char* text) {
        qobject_cast<QLineEdit*>(platform::GetDlgItem(m_window, edit))->setText(QLatin1String(text));
    }

    QMdiArea m_area;
    platform::CommandRouter m_router;
    platform::CommandTarget m_mainTarget;
    RecordingPrompter m_prompter;
    CGlucoseCtrl* m_window = nullptr; // owned by its sub-window
    std::vector<UINT> m_commands;
};

TEST_F(GlucoseCtrlTest, RowsShowSequenceTimeAndMeasurement) {
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("Glucose"));
    m_window->AddMeasurement(1, Time(7, 9), GlucoseUnit::KgPerLitre, 1, 1, 0.0012);
    m_window->AddMeasurementWithStatus(12, Time(8, 23), GlucoseUnit::MolPerLitre, 1, 1, 0x0001, 0.0061);
    m_window->AddMeasurementStatusOnly(300, Time(9, 0), 0x0004);
    m_window->AddMeasurementTimeOnly(4000, Time(10, 1));
    EXPECT_EQ(Row(IDC_GLUCOSE_RECORDS, 0), (QStringList{"0001", "09:30:05  May 07, 2026", "120.0 mg/dL"}));
    EXPECT_EQ(Row(IDC_GLUCOSE_RECORDS, 1), (QStringList{"0012", "23:30:05  May 08, 2026", "6.1 mmol/L"}));
    EXPECT_EQ(Row(IDC_GLUCOSE_RECORDS, 2), (QStringList{"0300", "00:30:05  May 09, 2026", "Sensor error"}));
    EXPECT_EQ(Row(IDC_GLUCOSE_RECORDS, 3), (QStringList{"4000", "01:30:05  May 10, 2026", ""}));
}

TEST_F(GlucoseCtrlTest, SelectedRecordShowsItsDetailsAndContext) {
    m_window->AddMeasurementWithStatus(1, Time(7, 9), GlucoseUnit::KgPerLitre, 1, 2, 0x0040, 0.0013);
    m_window->AddContextItem(1, GlucoseContextKind::Meal, 2, 0);
    m_window->AddContextItem(1, GlucoseContextKind::HbA1c, 0, 5.8);
    m_window->AddContextItem(9, GlucoseContextKind::Meal, 1, 0); // no such record
    m_window->AddMeasurement(2, Time(7, 10), GlucoseUnit::MolPerLitre, 0, 0, 0.0055);
    Select(0);
    EXPECT_EQ(Text(IDC_GLUCOSE_VALUE), QStringLiteral("130.0"));
    EXPECT_EQ(Text(IDC_GLUCOSE_UNIT), QStringLiteral("mg/dL"));
    EXPECT_EQ(m_window->View().Level(), GlucoseLevel::High);
    EXPECT_EQ(Text(IDC_GLUCOSE_SAMPLE), QStringLiteral("Finger, Capillary Plasma"));
    EXPECT_EQ(Text(IDC_GLUCOSE_ERROR), QStringLiteral("Sensor reported error: 0040h"));
    for (UINT id : {IDC_GLUCOSE_VALUE, IDC_GLUCOSE_UNIT, IDC_GLUCOSE_COLOUR, IDC_GLUCOSE_SAMPLE,
                    IDC_GLUCOSE_ERROR, IDC_GLUCOSE_CONTEXT, IDC_GLUCOSE_CONTEXT_GROUP})
        EXPECT_TRUE(Shown(id)) << id;
    EXPECT_FALSE(Shown(IDC_GLUCOSE_STATUS));
    ASSERT_EQ(List(IDC_GLUCOSE_CONTEXT)->topLevelItemCount(), 2);
    EXPECT_EQ(Row(IDC_GLUCOSE_CONTEXT, 0), (QStringList{"Meal", "Postprandial (after meal)"}));
    EXPECT_EQ(Row(IDC_GLUCOSE_CONTEXT, 1), (QStringList{"HbA1c", "5.8%"}));

    Select(1);
    EXPECT_EQ(Text(IDC_GLUCOSE_VALUE), QStringLiteral("5.5"));
    EXPECT_EQ(m_window->View().Level(), GlucoseLevel::Low);
    for (UINT id : {IDC_GLUCOSE_SAMPLE, IDC_GLUCOSE_ERROR, IDC_GLUCOSE_CONTEXT, IDC_GLUCOSE_CONTEXT_GROUP})
        EXPECT_FALSE(Shown(id)) << id;
}

TEST_F(GlucoseCtrlTest, WithoutAConcentrationOnlyAStatusIsShown) {
    m_window->AddMeasurement(1, Time(7, 9), GlucoseUnit::KgPerLitre, 1, 1, 0.0011);
    m_window->AddMeasurementStatusOnly(2, Time(7, 10), 0x0104);
    m_window->AddMeasurementTimeOnly(3, Time(7, 11));
    Select(0);
    EXPECT_EQ(m_window->View().Level(), GlucoseLevel::Elevated);
    Select(1);
    EXPECT_EQ(Text(IDC_GLUCOSE_STATUS), QStringLiteral("Sensor reported status: 0104h"));
    EXPECT_TRUE(Shown(IDC_GLUCOSE_STATUS));
    for (UINT id :
         {IDC_GLUCOSE_VALUE, IDC_GLUCOSE_UNIT, IDC_GLUCOSE_COLOUR, IDC_GLUCOSE_SAMPLE, IDC_GLUCOSE_ERROR})
        EXPECT_FALSE(Shown(id)) << id;
    Select(0);
    Select(2);
    for (UINT id : {IDC_GLUCOSE_VALUE, IDC_GLUCOSE_UNIT, IDC_GLUCOSE_COLOUR, IDC_GLUCOSE_SAMPLE,
                    IDC_GLUCOSE_ERROR, IDC_GLUCOSE_STATUS})
        EXPECT_FALSE(Shown(id)) << id;
}

TEST_F(GlucoseCtrlTest, ARepeatedSequenceNumberAddsARowAndReplacesTheRecord) {
    m_window->AddMeasurement(5, Time(7, 9), GlucoseUnit::KgPerLitre, 1, 1, 0.0010);
    m_window->AddMeasurement(5, Time(7, 10), GlucoseUnit::KgPerLitre, 1, 1, 0.0012);
    ASSERT_EQ(List(IDC_GLUCOSE_RECORDS)->topLevelItemCount(), 2);
    Select(0);
    EXPECT_EQ(Text(IDC_GLUCOSE_VALUE), QStringLiteral("120.0"));
    m_window->ClearRecords();
    EXPECT_EQ(List(IDC_GLUCOSE_RECORDS)->topLevelItemCount(), 0);
    EXPECT_TRUE(m_window->Records().empty());
    EXPECT_FALSE(Shown(IDC_GLUCOSE_VALUE));
    m_window->ShowRecordCount(11);
    EXPECT_EQ(Text(IDC_GLUCOSE_COUNT), QStringLiteral("11"));
}

TEST_F(GlucoseCtrlTest, OperatorsFollowTheRadioButtonAndItsSequenceNumbers) {
    using Bytes = std::vector<uint8_t>;
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
        Check(radio);
        Bytes request{0x04};
        EXPECT_TRUE(m_window->BuildRacpOperator(request)) << radio;
        EXPECT_EQ(request, expected) << radio;
    }
    EXPECT_TRUE(m_prompter.prompts.empty());
}

TEST_F(GlucoseCtrlTest, InvalidSequenceNumbersAreRefusedWithAMessageAndNothingBuilt) {
    const std::tuple<UINT, UINT, const char*, const char*> cases[] = {
        {IDC_GLUCOSE_BELOW, IDC_GLUCOSE_BELOW_EDIT, "", "Enter a valid sequence number."},
        {IDC_GLUCOSE_ABOVE, IDC_GLUCOSE_ABOVE_EDIT, "65536", "Enter a valid sequence number."},
        {IDC_GLUCOSE_BETWEEN, IDC_GLUCOSE_BETWEEN_LOW, "-1",
         "Enter valid sequence numbers. Ensure that the lower limit is lower than the upper limit."},
        {IDC_GLUCOSE_BETWEEN, IDC_GLUCOSE_BETWEEN_HIGH, "",
         "Enter valid sequence numbers. Ensure that the lower limit is lower than the upper limit."},
    };
    Type(IDC_GLUCOSE_BETWEEN_LOW, "1");
    Type(IDC_GLUCOSE_BETWEEN_HIGH, "2");
    for (const auto& [radio, edit, text, message] : cases) {
        Check(radio);
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

TEST_F(GlucoseCtrlTest, NoRadioButtonBuildsNothing) {
    std::vector<uint8_t> request{0x01};
    EXPECT_FALSE(m_window->BuildRacpOperator(request));
    EXPECT_EQ(request.size(), 1u);
    EXPECT_TRUE(m_prompter.prompts.empty());
}

TEST_F(GlucoseCtrlTest, ButtonsIssueTheirCommandsToTheMainWindow) {
    const std::vector<UINT> ids = {ID_GLUCOSE_READ_ALL,  ID_GLUCOSE_DELETE_ALL, ID_GLUCOSE_CANCEL_ALL,
                                   ID_GLUCOSE_GET_COUNT, ID_GLUCOSE_READ,       ID_GLUCOSE_DELETE,
                                   ID_GLUCOSE_CANCEL};
    for (UINT id : ids)
        qobject_cast<QAbstractButton*>(platform::GetDlgItem(m_window, id))->click();
    EXPECT_EQ(m_commands, ids);
}

} // namespace
