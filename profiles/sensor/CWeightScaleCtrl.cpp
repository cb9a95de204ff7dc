#include "profiles/sensor/CWeightScaleCtrl.h"

#include "app/COrvBleDemoApp.h"
#include "gatt/BleDeviceRecord.h"
#include "gatt/Uuids.h"
#include "gatt/WeightScale.h"
#include "mainframe/CMainFrame.h"
#include "platform/DebugOutput.h"
#include "platform/DialogItems.h"
#include "platform/StringTable.h"
#include "profiles/base/ColumnFitter.h"
#include "profiles/base/ProfileLog.h"
#include "profiles/sensor/WeightScaleIds.h"
#include "res/resource.h"
#include "ui_WeightScalePane.h"

#include <QLabel>
#include <QListWidget>
#include <QTreeWidget>

namespace {

[[maybe_unused]] const bool kPaneRegistered =
    CProfileCtrlView::RegisterTemplate(IDD_WEIGHT_SCALE, [](QWidget* pane) {
        Ui::WeightScalePane form;
        form.setupUi(pane);
    });

namespace Chr = CharacteristicUuid;

constexpr uint8_t kIndications = 2;

struct Column {
    const char* title;
    int width;
};
constexpr Column kWeight{"Weight", 80};
constexpr Column kTimestamp{"Timestamp", 120};
constexpr Column kBmi{"BMI", 80};
constexpr Column kHeight{"Height", 80};

} // namespace

CWeightScaleCtrl::CWeightScaleCtrl(QWidget* parent) : CChildFrame(parent) {}

CWeightScaleCtrl::~CWeightScaleCtrl() = default;

void CWeightScaleCtrl::OnCreate() {
    m_wndView.Create(IDD_WEIGHT_SCALE, PaneParent());
    setWindowTitle(platform::LoadString(IDS_WEIGHT_SCALE));
    m_records = qobject_cast<QTreeWidget*>(platform::GetDlgItem(this, IDC_WS_RECORDS));
    m_featureList = qobject_cast<QListWidget*>(platform::GetDlgItem(this, IDC_WS_FEATURES));
    m_userId = qobject_cast<QLabel*>(platform::GetDlgItem(this, IDC_WS_USER_ID));
    m_records->setColumnCount(0); // the feature value decides the columns
    InitScrollMetrics(&m_wndView);
}

void CWeightScaleCtrl::InitProfile(const BleDeviceRecord& peer) {
    m_cid = peer.cid;
    m_service = {};
    peer.FindService(MakeUuid16(ServiceUuid::WeightScale), m_service);
    const uint16_t feature = BleDeviceRecord::GetHandle16(m_service, Chr::WeightScaleFeature, false);
    m_valueHandles[Chr::WeightScaleFeature] = feature;
    if (CMainFrame* mainFrame = AfxGetMainWnd())
        mainFrame->ReadCharacteristic(feature);
    m_records->setSelectionBehavior(QAbstractItemView::SelectRows);
    update();
}

void CWeightScaleCtrl::OnValueReceived(uint16_t handle, std::span<const uint8_t> value) {
    if (handle == 0)
        return;
    const auto measurement = m_valueHandles.find(Chr::WeightMeasurement);
    if (measurement != m_valueHandles.end() && measurement->second == handle) {
        ShowMeasurement(value);
        return;
    }
    const auto feature = m_valueHandles.find(Chr::WeightScaleFeature);
    if (feature == m_valueHandles.end() || feature->second != handle)
        return;
    const auto features = WeightScaleFeatures::decode(value);
    if (!features) {
        LogProfileLine(
            QStringLiteral("Weight Scale Feature of %1 bytes is too short; ignored.").arg(value.size()));
        return;
    }
    ShowFeatures(features->bits);
}

void CWeightScaleCtrl::ShowFeatures(uint16_t features) {
    const uint16_t valueHandle = BleDeviceRecord::GetHandle16(m_service, Chr::WeightMeasurement, false);
    const uint16_t configHandle = BleDeviceRecord::GetHandle16(m_service, Chr::WeightMeasurement, true);
    m_valueHandles[Chr::WeightMeasurement] = valueHandle;
    platform::OutputDebugString(QStringLiteral("Enabling indications for weight scale"));
    if (CMainFrame* mainFrame = AfxGetMainWnd())
        mainFrame->WriteClientConfiguration(m_cid, valueHandle, configHandle, kIndications);
    // The same value again only renews the subscription: the table keeps its rows.
    if (m_features != features)
        LayOutFeatures(features);
    LogProfileLine(QString::asprintf("Feature read = %d\n", features));
}

void CWeightScaleCtrl::LayOutFeatures(uint16_t features) {
    m_features = features;
    const auto decoded = WeightScaleFeatures::fromBits(features);
    m_weightResolution = decoded.weightResolution;
    m_heightResolution = decoded.heightResolution;

    std::vector<Column> columns = {kWeight};
    QStringList lines;
    if (features & WeightScaleFeature::TimeStamp) {
        columns.push_back(kTimestamp);
        lines << QStringLiteral("Time Stamp");
    }
    if (features & WeightScaleFeature::MultipleUsers)
        lines << QStringLiteral("Multiple Users");
    if (features & WeightScaleFeature::Bmi) {
        columns.push_back(kBmi);
        columns.push_back(kHeight);
        lines << QStringLiteral("Body Mass Index");
    }
    m_records->clear();
    m_records->setColumnCount(static_cast<int>(columns.size()));
    QStringList titles;
    std::vector<int> widths;
    for (const Column& column : columns) {
        titles << QString::fromLatin1(column.title);
        widths.push_back(column.width);
    }
    m_records->setHeaderLabels(titles);
    ColumnFitter::Fit(m_records, std::move(widths));
    m_featureList->clear();
    m_featureList->addItems(lines);
}

void CWeightScaleCtrl::ShowMeasurement(std::span<const uint8_t> value) {
    const auto measurement = WeightMeasurement::decode(value, m_features.value_or(0));
    if (!measurement) {
        LogProfileLine(QStringLiteral("Weight Measurement of %1 bytes is shorter than its fields; ignored.")
                           .arg(value.size()));
        return;
    }
    LogProfileLine(QString::asprintf("Flag received = %d\n", measurement->flags));
    LogProfileLine(QString::asprintf("Weight received = %d\n", measurement->weight));
    if (measurement->weight == WeightMeasurement::kUnsuccessful)
        return;
    AddRow(*measurement);
}

void CWeightScaleCtrl::AddRow(const WeightMeasurement& measurement) {
    if (m_records->topLevelItemCount() >= kMaxRows)
        delete m_records->takeTopLevelItem(0);
    const bool imperial = measurement.imperial();
    auto* row = new QTreeWidgetItem(m_records);
    float weight = 0;
    const bool weighed = GetWeightValue(measurement.weight, !imperial, weight);
    row->setText(0, MassText(weighed ? std::optional<float>(weight) : std::nullopt, imperial));
    int column = 1;
    if (measurement.timeStamp) {
        row->setText(column++, measurement.timeStamp->text());
        LogProfileLine(QStringLiteral("Timestamp received = %1\n").arg(measurement.timeStamp->text()));
    } else if (m_features.value_or(0) & WeightScaleFeature::TimeStamp) {
        ++column;
    }
    if (measurement.userId) {
        m_wndView.ShowText(m_userId, QString::number(*measurement.userId));
        LogProfileLine(QString::asprintf("User ID received = %d\n", *measurement.userId));
    }
    if (measurement.bmi && measurement.height) {
        row->setText(column, QString::asprintf("%.1lf", *measurement.bmi * 0.1));
        float height = 0;
        const bool measured = GetHeightValue(*measurement.height, !imperial, height);
        row->setText(column + 1,
                     HeightText(measured ? std::optional<float>(height) : std::nullopt, imperial));
        LogProfileLine(QString::asprintf("Height received = %d\n", *measurement.height));
        LogProfileLine(QString::asprintf("BMI received = %d\n", *measurement.bmi));
    }
}

void CWeightScaleCtrl::ClearUserDisplay() {
    if (!(m_features.value_or(0) & WeightScaleFeature::MultipleUsers))
        return;
    m_wndView.ShowText(m_userId, QStringLiteral("N/A"));
    m_records->clear();
}

bool CWeightScaleCtrl::GetWeightValue(uint16_t raw, bool si, float& out) const {
    const auto value = MassValue(raw, m_weightResolution, !si);
    if (value)
        out = *value;
    return value.has_value();
}

bool CWeightScaleCtrl::GetHeightValue(uint16_t raw, bool si, float& out) const {
    const auto value = HeightValue(raw, m_heightResolution, !si);
    if (value)
        out = *value;
    return value.has_value();
}
