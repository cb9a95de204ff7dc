#include "profiles/sensor/CTemperatureCtrl.h"

#include "platform/DialogItems.h"
#include "profiles/sensor/ThermometerIds.h"
#include "res/resource.h"
#include "ui_ThermometerPane.h"

#include <QProgressBar>
#include <algorithm>
#include <cmath>

namespace {

[[maybe_unused]] const bool kPaneRegistered =
    CProfileCtrlView::RegisterTemplate(IDD_THERMOMETER, [](QWidget* pane) {
        Ui::ThermometerPane form;
        form.setupUi(pane);
    });

} // namespace

CTemperatureCtrl::CTemperatureCtrl(QWidget* parent)
    : CChildFrame(parent), m_typeNames{{1, QStringLiteral("Armpit")},
                                       {2, QStringLiteral("Body(General)")},
                                       {3, QStringLiteral("Ear")},
                                       {4, QStringLiteral("Finger")},
                                       {5, QStringLiteral("Gastro-intestinal tract")},
                                       {6, QStringLiteral("Mouth")},
                                       {7, QStringLiteral("Rectum")},
                                       {8, QStringLiteral("Toe")},
                                       {9, QStringLiteral("Tympanum")}} {}

CTemperatureCtrl::~CTemperatureCtrl() = default;

void CTemperatureCtrl::OnCreate() {
    m_wndView.Create(IDD_THERMOMETER, PaneParent());
    setWindowTitle(QStringLiteral("Thermometer"));
    if (auto* gauge = qobject_cast<QProgressBar*>(platform::GetDlgItem(this, IDC_TEMP_GAUGE)))
        gauge->setRange(kGaugeMinimum, kGaugeMaximum);
    InitScrollMetrics(&m_wndView);
}

void CTemperatureCtrl::ShowTemperature(int unitFlag, float value) {
    if (!std::isfinite(value)) {
        platform::SetDlgItemText(this, IDC_TEMP_VALUE, QStringLiteral("N/A"));
        return;
    }
    // Limited before it becomes an integer: a float beyond an int's range has no integer value.
    const float limited =
        std::clamp(value, static_cast<float>(kGaugeMinimum), static_cast<float>(kGaugeMaximum));
    if (auto* gauge = qobject_cast<QProgressBar*>(platform::GetDlgItem(this, IDC_TEMP_GAUGE)))
        gauge->setValue(static_cast<int>(limited));
    const QString unit = unitFlag == 1 ? QStringLiteral("F") : QStringLiteral("C");
    platform::SetDlgItemText(this, IDC_TEMP_VALUE,
                             QString::asprintf("%.01f", static_cast<double>(value)) + QChar(0x00B0) + unit);
}

void CTemperatureCtrl::ShowTemperatureType(uint32_t type) {
    // A code without a name joins the map with an empty one.
    platform::SetDlgItemText(this, IDC_TEMP_SITE, m_typeNames[static_cast<uint16_t>(type)]);
}
