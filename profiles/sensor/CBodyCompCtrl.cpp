#include "profiles/sensor/CBodyCompCtrl.h"

#include "app/COrvBleDemoApp.h"
#include "gatt/BleDeviceRecord.h"
#include "gatt/BodyComposition.h"
#include "gatt/Uuids.h"
#include "mainframe/CMainFrame.h"
#include "platform/DebugOutput.h"
#include "platform/DialogItems.h"
#include "platform/StringTable.h"
#include "profiles/base/ColumnFitter.h"
#include "profiles/base/ProfileLog.h"
#include "profiles/sensor/BodyCompIds.h"
#include "res/resource.h"
#include "ui_BodyCompPane.h"

#include <QLabel>
#include <QListWidget>
#include <QTreeWidget>
#include <array>

namespace {

[[maybe_unused]] const bool kPaneRegistered =
    CProfileCtrlView::RegisterTemplate(IDD_BODY_COMPOSITION, [](QWidget* pane) {
        Ui::BodyCompPane form;
        form.setupUi(pane);
    });

namespace Chr = CharacteristicUuid;
using Field = BodyCompositionField;

constexpr uint8_t kIndications = 2;
constexpr int kAlways = -1;

// What each feature bit adds to the window, in the order the columns are built.
struct FeatureRow {
    int bit;
    const char* column; // null: no column
    int width;
    const char* line; // null: no list line
};
constexpr std::array<FeatureRow, 12> kFeatureRows = {{
    {kAlways, "Body Fat percentage", 120, nullptr},
    {0, "Timestamp", 120, "Time Stamp"},
    {1, nullptr, 0, "Multiple Users"},
    {2, "Basal Metabolism", 120, "Basal Metabolism"},
    {3, "Muscle Percentage", 120, "Muscle Percentage"},
    {4, "Muscle Mass", 80, "Muscle Mass"},
    {5, "Fat Free Mass", 100, "Fat Free Mass"},
    {6, "Soft Lean Mass", 100, "Soft Lean Mass"},
    {7, "Body Water Mass", 100, "Body Water Mass"},
    {8, "Impedance", 80, "Impedance"},
    {9, "Weight", 80, "Weight"},
    {10, "Height", 80, "Height"},
}};
constexpr size_t kFirstFieldRow = 3; // the row of BodyCompositionField 0

QString ColumnOf(Field field) {
    return QString::fromLatin1(kFeatureRows[kFirstFieldRow + static_cast<size_t>(field)].column);
}

// The log line of a field, with its raw value.
QString FieldLogLine(Field field, uint16_t raw) {
    switch (field) {
    case Field::BasalMetabolism:
        return QString::asprintf("Basal_metabolism received = %ld\n", static_cast<long>(raw));
    case Field::MusclePercentage:
        return QString::asprintf("Muscle percentage received = %d\n", raw);
    case Field::MuscleMass:
        return QString::asprintf("Muscle Mass received = %d\n", raw);
    case Field::FatFreeMass:
        return QString::asprintf("Fat Free Mass received = %d\n", raw);
    case Field::SoftLeanMass:
        return QString::asprintf("Soft Lean Mass received = %d\n", raw);
    case Field::BodyWaterMass:
        return QString::asprintf("Body Water Mass received = %d\n", raw);
    case Field::Impedance:
        return QString::asprintf("Impedance received = %d\n", raw);
    case Field::Weight:
        return QString::asprintf("Weight received = %d\n", raw);
    case Field::Height:
        return QString::asprintf("Height received = %d\n", raw);
    }
    return {};
}

} // namespace

CBodyCompCtrl::CBodyCompCtrl(QWidget* parent) : CChildFrame(parent) {}

CBodyCompCtrl::~CBodyCompCtrl() = default;

void CBodyCompCtrl::OnCreate() {
    m_wndView.Create(IDD_BODY_COMPOSITION, PaneParent());
    setWindowTitle(platform::LoadString(IDS_BODY_COMPOSITION));
    m_records = qobject_cast<QTreeWidget*>(platform::GetDlgItem(this, IDC_BC_RECORDS));
    m_featureList = qobject_cast<QListWidget*>(platform::GetDlgItem(this, IDC_BC_FEATURES));
    m_userId = qobject_cast<QLabel*>(platform::GetDlgItem(this, IDC_BC_USER_ID));
    m_records->setColumnCount(0); // the feature value decides the columns
    InitScrollMetrics(&m_wndView);
}

void CBodyCompCtrl::InitProfile(const BleDeviceRecord& peer) {
    m_cid = peer.cid;
    m_service = {};
    peer.FindService(MakeUuid16(ServiceUuid::BodyComposition), m_service);
    const uint16_t feature = BleDeviceRecord::GetHandle16(m_service, Chr::BodyCompositionFeature, false);
    m_valueHandles[Chr::BodyCompositionFeature] = feature;
    if (CMainFrame* mainFrame = AfxGetMainWnd())
        mainFrame->ReadCharacteristic(feature);
    m_records->setSelectionBehavior(QAbstractItemView::SelectRows);
    update();
}

void CBodyCompCtrl::OnMeasurement(uint16_t handle, std::span<const uint8_t> value) {
    if (handle == 0)
        return;
    const auto feature = m_valueHandles.find(Chr::BodyCompositionFeature);
    if (feature != m_valueHandles.end() && feature->second == handle) {
        const auto features = BodyCompositionFeatures::decode(value);
        if (features)
            EnableIndications(features->bits);
        else
            LogProfileLine(QStringLiteral("Body Composition Feature of %1 bytes is too short; ignored.")
                               .arg(value.size()));
        return;
    }
    const auto measurement = m_valueHandles.find(Chr::BodyCompositionMeasurement);
    if (measurement != m_valueHandles.end() && measurement->second == handle)
        ShowMeasurement(value);
}

void CBodyCompCtrl::EnableIndications(uint32_t features) {
    const uint16_t valueHandle =
        BleDeviceRecord::GetHandle16(m_service, Chr::BodyCompositionMeasurement, false);
    const uint16_t configHandle =
        BleDeviceRecord::GetHandle16(m_service, Chr::BodyCompositionMeasurement, true);
    m_valueHandles[Chr::BodyCompositionMeasurement] = valueHandle;
    platform::OutputDebugString(QStringLiteral("Enabling indications for body composition"));
    if (CMainFrame* mainFrame = AfxGetMainWnd())
        mainFrame->WriteClientConfiguration(m_cid, valueHandle, configHandle, kIndications);
    // The same value again only renews the subscription: the table keeps its rows.
    if (m_features != features)
        LayOutFeatures(features);
    LogProfileLine(QString::asprintf("Feature read = %ld\n", static_cast<long>(features)));
}

void CBodyCompCtrl::LayOutFeatures(uint32_t features) {
    m_features = features;
    const auto decoded = BodyCompositionFeatures::fromBits(features);
    m_massResolution = decoded.massResolution;
    m_heightResolution = decoded.heightResolution;

    m_columnMap.clear();
    QStringList titles;
    std::vector<int> widths;
    QStringList lines;
    for (const FeatureRow& row : kFeatureRows) {
        if (row.bit != kAlways && !(features & (1u << row.bit)))
            continue;
        if (row.column) {
            m_columnMap[QString::fromLatin1(row.column)] = static_cast<int>(titles.size());
            titles << QString::fromLatin1(row.column);
            widths.push_back(row.width);
        }
        if (row.line)
            lines << QString::fromLatin1(row.line);
    }
    m_records->clear();
    m_lastRowOpen = false;
    m_records->setColumnCount(static_cast<int>(titles.size()));
    m_records->setHeaderLabels(titles);
    ColumnFitter::Fit(m_records, std::move(widths));
    m_featureList->clear();
    m_featureList->addItems(lines);
}

void CBodyCompCtrl::ShowMeasurement(std::span<const uint8_t> value) {
    const auto measurement = BodyCompositionMeasurement::decode(value, m_features.value_or(0));
    if (!measurement) {
        LogProfileLine(
            QStringLiteral("Body Composition Measurement of %1 bytes is shorter than its fields; ignored.")
                .arg(value.size()));
        return;
    }
    LogProfileLine(QString::asprintf("Flag received = %d\n", measurement->flags));
    QTreeWidgetItem* row = RowFor(*measurement);
    m_lastRowOpen = row != nullptr;
    if (row)
        ShowFields(row, *measurement);
}

QTreeWidgetItem* CBodyCompCtrl::RowFor(const BodyCompositionMeasurement& measurement) {
    if (measurement.continuation) {
        const int count = m_records->topLevelItemCount();
        if (m_lastRowOpen && count > 0)
            return m_records->topLevelItem(count - 1);
        LogProfileLine(
            QStringLiteral("Body Composition continuation without the packet before it; dropped."));
        return nullptr;
    }
    LogProfileLine(QString::asprintf("Body Fat percentage received = %d\n", *measurement.bodyFat));
    if (*measurement.bodyFat == BodyCompositionMeasurement::kUnsuccessful)
        return nullptr;
    if (m_records->topLevelItemCount() >= kMaxRows)
        delete m_records->takeTopLevelItem(0);
    auto* row = new QTreeWidgetItem(m_records);
    row->setText(0, QString::asprintf("%.2lf", *measurement.bodyFat * 0.1));
    if (measurement.timeStamp) {
        SetCell(row, QStringLiteral("Timestamp"), measurement.timeStamp->text());
        LogProfileLine(QStringLiteral("Timestamp received = %1\n").arg(measurement.timeStamp->text()));
    }
    if (measurement.userId) {
        m_wndView.ShowText(m_userId, QString::number(*measurement.userId));
        LogProfileLine(QString::asprintf("User ID received = %d\n", *measurement.userId));
    }
    return row;
}

void CBodyCompCtrl::ShowFields(QTreeWidgetItem* row, const BodyCompositionMeasurement& measurement) {
    const bool imperial = measurement.imperial();
    const auto converted = [this, imperial](bool (CBodyCompCtrl::*convert)(uint16_t, bool, float&) const,
                                            uint16_t raw) -> std::optional<float> {
        float value = 0;
        if (!(this->*convert)(raw, !imperial, value))
            return std::nullopt;
        return value;
    };
    for (const auto& [field, raw] : measurement.fields) {
        QString text;
        switch (field) {
        case Field::BasalMetabolism:
            text = QString::asprintf("%ld KJ", static_cast<long>(raw));
            break;
        case Field::MusclePercentage:
        case Field::Impedance:
            text = QString::asprintf("%.1f", raw * 0.1);
            break;
        case Field::Height:
            text = HeightText(converted(&CBodyCompCtrl::ConvertHeight, raw), imperial);
            break;
        default: // the masses
            text = MassText(converted(&CBodyCompCtrl::ConvertMass, raw), imperial);
            break;
        }
        SetCell(row, ColumnOf(field), text);
        LogProfileLine(FieldLogLine(field, raw));
    }
}

void CBodyCompCtrl::SetCell(QTreeWidgetItem* row, const QString& title, const QString& text) {
    const auto column = m_columnMap.find(title);
    if (column != m_columnMap.end())
        row->setText(column->second, text);
}

void CBodyCompCtrl::ClearValues() {
    if (!(m_features.value_or(0) & BodyCompositionFeature::MultipleUsers))
        return;
    m_wndView.ShowText(m_userId, QStringLiteral("N/A"));
    m_records->clear();
    m_lastRowOpen = false;
}

bool CBodyCompCtrl::ConvertMass(uint16_t raw, bool si, float& out) const {
    const auto value = MassValue(raw, m_massResolution, !si);
    if (value)
        out = *value;
    return value.has_value();
}

bool CBodyCompCtrl::ConvertHeight(uint16_t raw, bool si, float& out) const {
    const auto value = HeightValue(raw, m_heightResolution, !si);
    if (value)
        out = *value;
    return value.has_value();
}
