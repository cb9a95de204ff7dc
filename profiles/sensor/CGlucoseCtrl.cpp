#include "profiles/sensor/CGlucoseCtrl.h"

#include "gatt/DateTime.h"
#include "gatt/GlucoseText.h"
#include "gatt/ValueText.h"
#include "platform/DialogItems.h"
#include "platform/Prompter.h"
#include "platform/StringTable.h"
#include "profiles/base/ColumnFitter.h"
#include "profiles/sensor/GlucoseIds.h"
#include "res/resource.h"
#include "ui_GlucosePane.h"

#include <QAbstractButton>
#include <QLineEdit>
#include <QTreeWidget>

namespace {

[[maybe_unused]] const bool kPaneRegistered =
    CProfileCtrlView::RegisterTemplate(IDD_GLUCOSE, [](QWidget* pane) {
        Ui::GlucosePane form;
        form.setupUi(pane);
    });

constexpr int kValuePoints = 32;
constexpr int kUnitPoints = 16;

QFont SansSerif(int points) {
    QFont font(QStringLiteral("Sans Serif"), points);
    font.setStyleHint(QFont::SansSerif);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

void PutLe16(std::vector<uint8_t>& bytes, uint16_t value) {
    bytes.push_back(static_cast<uint8_t>(value & 0xFF));
    bytes.push_back(static_cast<uint8_t>(value >> 8));
}

} // namespace

CGlucoseCtrl::CGlucoseCtrl(QWidget* parent) : CChildFrame(parent) {}

CGlucoseCtrl::~CGlucoseCtrl() = default;

void CGlucoseCtrl::OnCreate() {
    m_wndView.Create(IDD_GLUCOSE, PaneParent());
    setWindowTitle(QStringLiteral("Glucose"));
    if (auto* list = qobject_cast<QTreeWidget*>(platform::GetDlgItem(this, IDC_GLUCOSE_RECORDS))) {
        list->setHeaderLabels({QStringLiteral("Seq"), QStringLiteral("Time"), QStringLiteral("Measurement")});
        list->setColumnWidth(0, 40);
        list->setColumnWidth(1, 150);
        list->setColumnWidth(2, 100);
        connect(list, &QTreeWidget::currentItemChanged, this,
                [this](QTreeWidgetItem* current) { OnRecordSelChanged(current); });
    }
    if (auto* context = qobject_cast<QTreeWidget*>(platform::GetDlgItem(this, IDC_GLUCOSE_CONTEXT))) {
        context->setHeaderLabels({QStringLiteral("Parameter"), QStringLiteral("Value")});
        ColumnFitter::Fit(context, {175, 200});
    }
    m_valueFont = SansSerif(kValuePoints);
    m_unitFont = SansSerif(kUnitPoints);
    platform::GetDlgItem(this, IDC_GLUCOSE_VALUE)->setFont(m_valueFont);
    platform::GetDlgItem(this, IDC_GLUCOSE_UNIT)->setFont(m_unitFont);
    for (UINT id : {IDC_GLUCOSE_VALUE, IDC_GLUCOSE_UNIT, IDC_GLUCOSE_COLOUR, IDC_GLUCOSE_SAMPLE,
                    IDC_GLUCOSE_ERROR, IDC_GLUCOSE_STATUS, IDC_GLUCOSE_CONTEXT, IDC_GLUCOSE_CONTEXT_GROUP}) {
        // The details come and go with the selection; the rest of the pane keeps its place.
        QWidget* control = platform::GetDlgItem(this, id);
        QSizePolicy policy = control->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        control->setSizePolicy(policy);
        control->hide();
    }
    const std::pair<UINT, const char*> cues[] = {{IDC_GLUCOSE_BELOW_EDIT, "upper limit"},
                                                 {IDC_GLUCOSE_BETWEEN_HIGH, "upper limit"},
                                                 {IDC_GLUCOSE_ABOVE_EDIT, "lower limit"},
                                                 {IDC_GLUCOSE_BETWEEN_LOW, "lower limit"}};
    for (const auto& [id, cue] : cues)
        if (auto* edit = qobject_cast<QLineEdit*>(platform::GetDlgItem(this, id)))
            edit->setPlaceholderText(QLatin1String(cue));
    for (UINT id : {ID_GLUCOSE_READ_ALL, ID_GLUCOSE_DELETE_ALL, ID_GLUCOSE_CANCEL_ALL, ID_GLUCOSE_GET_COUNT,
                    ID_GLUCOSE_READ, ID_GLUCOSE_DELETE, ID_GLUCOSE_CANCEL})
        BindCommandButton(id);
    InitScrollMetrics(&m_wndView);
}

void CGlucoseCtrl::AddMeasurement(uint16_t seq, const std::tm& time, uint8_t unit, uint8_t location,
                                  uint8_t type, double concentration) {
    Record record{seq, time, true, concentration, unit, location, type, false, 0, {}};
    AddMeasurementRow(record);
}

void CGlucoseCtrl::AddMeasurementWithStatus(uint16_t seq, const std::tm& time, uint8_t unit, uint8_t location,
                                            uint8_t type, uint16_t status, double concentration) {
    Record record{seq, time, true, concentration, unit, location, type, true, status, {}};
    AddMeasurementRow(record);
}

void CGlucoseCtrl::AddMeasurementStatusOnly(uint16_t seq, const std::tm& time, uint16_t status) {
    Record record{seq, time, false, 0, GlucoseUnit::KgPerLitre, 0, 0, true, status, {}};
    AddMeasurementRow(record);
}

void CGlucoseCtrl::AddMeasurementTimeOnly(uint16_t seq, const std::tm& time) {
    Record record{seq, time, false, 0, GlucoseUnit::KgPerLitre, 0, 0, false, 0, {}};
    AddMeasurementRow(record);
}

void CGlucoseCtrl::AddMeasurementRow(const Record& record) {
    m_records[record.sequence] = record;
    auto* list = qobject_cast<QTreeWidget*>(platform::GetDlgItem(this, IDC_GLUCOSE_RECORDS));
    if (!list)
        return;
    const std::optional<double> concentration =
        record.concentrationPresent ? std::optional<double>(record.concentration) : std::nullopt;
    auto* row = new QTreeWidgetItem(
        {QString::asprintf("%04d", record.sequence), FormatLocalTime(record.time, "%H:%M:%S  %b %d, %Y"),
         GlucoseMeasurementText(concentration, record.unit, record.statusPresent)});
    row->setData(0, Qt::UserRole, record.sequence);
    list->addTopLevelItem(row);
}

void CGlucoseCtrl::AddContextItem(uint16_t seq, GlucoseContextKind kind, uint32_t code, double value) {
    const auto found = m_records.find(seq);
    if (found != m_records.end())
        found->second.items.push_back({kind, code, value});
}

void CGlucoseCtrl::ShowRecordCount(uint16_t count) {
    platform::SetDlgItemText(this, IDC_GLUCOSE_COUNT, QString::number(count));
}

void CGlucoseCtrl::ClearRecords() {
    if (auto* list = qobject_cast<QTreeWidget*>(platform::GetDlgItem(this, IDC_GLUCOSE_RECORDS)))
        list->clear();
    m_records.clear();
    ShowControls({IDC_GLUCOSE_VALUE, IDC_GLUCOSE_COLOUR, IDC_GLUCOSE_UNIT, IDC_GLUCOSE_SAMPLE,
                  IDC_GLUCOSE_ERROR, IDC_GLUCOSE_STATUS, IDC_GLUCOSE_CONTEXT, IDC_GLUCOSE_CONTEXT_GROUP},
                 false);
}

void CGlucoseCtrl::ShowControls(std::initializer_list<UINT> ids, bool show) {
    for (UINT id : ids)
        if (QWidget* control = platform::GetDlgItem(this, id))
            control->setVisible(show);
}

void CGlucoseCtrl::OnRecordSelChanged(QTreeWidgetItem* current) {
    if (!current)
        return;
    const auto found = m_records.find(static_cast<uint16_t>(current->data(0, Qt::UserRole).toUInt()));
    if (found == m_records.end())
        return;
    const Record& record = found->second;
    if (record.concentrationPresent) {
        ShowConcentrationDetails(record);
    } else if (record.statusPresent) {
        platform::SetDlgItemText(this, IDC_GLUCOSE_STATUS,
                                 QString::asprintf("Sensor reported status: %04Xh", record.status));
        ShowControls(
            {IDC_GLUCOSE_ERROR, IDC_GLUCOSE_VALUE, IDC_GLUCOSE_SAMPLE, IDC_GLUCOSE_COLOUR, IDC_GLUCOSE_UNIT},
            false);
        ShowControls({IDC_GLUCOSE_STATUS}, true);
    } else {
        // Nothing was measured: no earlier record's details stay beside this one.
        ShowControls({IDC_GLUCOSE_VALUE, IDC_GLUCOSE_COLOUR, IDC_GLUCOSE_UNIT, IDC_GLUCOSE_SAMPLE,
                      IDC_GLUCOSE_ERROR, IDC_GLUCOSE_STATUS},
                     false);
    }
    ShowContext(record);
}

void CGlucoseCtrl::ShowConcentrationDetails(const Record& record) {
    const ShownConcentration shown = ShowConcentration(record.concentration, record.unit);
    platform::SetDlgItemText(this, IDC_GLUCOSE_VALUE, QString::asprintf("%.01f", shown.value));
    platform::SetDlgItemText(this, IDC_GLUCOSE_UNIT, shown.unit);
    m_wndView.SetLevel(shown.level);
    const QString sample = GlucoseSampleText(record.location, record.type);
    platform::SetDlgItemText(this, IDC_GLUCOSE_SAMPLE, sample);
    const bool error = record.statusPresent && record.status != 0;
    if (error)
        platform::SetDlgItemText(this, IDC_GLUCOSE_ERROR,
                                 QString::asprintf("Sensor reported error: %04Xh", record.status));
    ShowControls({IDC_GLUCOSE_STATUS}, false);
    ShowControls({IDC_GLUCOSE_VALUE, IDC_GLUCOSE_UNIT, IDC_GLUCOSE_COLOUR}, true);
    ShowControls({IDC_GLUCOSE_SAMPLE}, !sample.isEmpty());
    ShowControls({IDC_GLUCOSE_ERROR}, error);
}

void CGlucoseCtrl::ShowContext(const Record& record) {
    auto* list = qobject_cast<QTreeWidget*>(platform::GetDlgItem(this, IDC_GLUCOSE_CONTEXT));
    const bool any = !record.items.empty();
    if (list && any) {
        list->clear();
        for (const GlucoseContextItem& item : record.items)
            list->addTopLevelItem(
                new QTreeWidgetItem({GlucoseContextParameter(item.kind), GlucoseContextValue(item)}));
    }
    ShowControls({IDC_GLUCOSE_CONTEXT, IDC_GLUCOSE_CONTEXT_GROUP}, any);
}

bool CGlucoseCtrl::BuildRacpOperator(std::vector<uint8_t>& request) {
    const auto checked = [this](UINT id) {
        const auto* radio = qobject_cast<QAbstractButton*>(platform::GetDlgItem(this, id));
        return radio && radio->isChecked();
    };
    std::vector<uint8_t> operand;
    if (checked(IDC_GLUCOSE_ALL)) {
        operand = {RacpOperator::AllRecords};
    } else if (checked(IDC_GLUCOSE_BELOW) || checked(IDC_GLUCOSE_ABOVE)) {
        const bool below = checked(IDC_GLUCOSE_BELOW);
        operand = {below ? RacpOperator::LessOrEqual : RacpOperator::GreaterOrEqual,
                   kRacpFilterSequenceNumber};
        if (!ReadSequenceNumber(below ? IDC_GLUCOSE_BELOW_EDIT : IDC_GLUCOSE_ABOVE_EDIT, operand))
            return RefuseSequenceNumbers(IDS_INVALID_SEQUENCE_NUMBER);
    } else if (checked(IDC_GLUCOSE_BETWEEN)) {
        operand = {RacpOperator::WithinRange, kRacpFilterSequenceNumber};
        if (!ReadSequenceNumber(IDC_GLUCOSE_BETWEEN_LOW, operand) ||
            !ReadSequenceNumber(IDC_GLUCOSE_BETWEEN_HIGH, operand))
            return RefuseSequenceNumbers(IDS_INVALID_SEQUENCE_NUMBERS);
    } else if (checked(IDC_GLUCOSE_FIRST)) {
        operand = {RacpOperator::FirstRecord};
    } else if (checked(IDC_GLUCOSE_LAST)) {
        operand = {RacpOperator::LastRecord};
    } else {
        return false;
    }
    request.insert(request.end(), operand.begin(), operand.end());
    return true;
}

bool CGlucoseCtrl::RefuseSequenceNumbers(UINT textId) {
    platform::prompter().messageBox(this, platform::LoadString(textId),
                                    platform::LoadString(IDS_INVALID_SEQUENCE_NUMBER_CAPTION),
                                    MB_OK | MB_ICONHAND);
    return false;
}

bool CGlucoseCtrl::ReadSequenceNumber(UINT editId, std::vector<uint8_t>& request) {
    uint16_t value = 0;
    if (!ParseEditUInt16(platform::GetDlgItemText(this, editId), &value))
        return false;
    PutLe16(request, value);
    return true;
}
