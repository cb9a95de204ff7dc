#include "profiles/sensor/CBloodPressureCtrl.h"

#include "gatt/DateTime.h"
#include "platform/DialogItems.h"
#include "platform/ui/Icons.h"
#include "profiles/sensor/BloodPressureIds.h"
#include "res/resource.h"
#include "ui_BloodPressurePane.h"

#include <QLabel>
#include <cmath>
#include <initializer_list>

namespace {

[[maybe_unused]] const bool kPaneRegistered =
    CProfileCtrlView::RegisterTemplate(IDD_BLOOD_PRESSURE, [](QWidget* pane) {
        Ui::BloodPressurePane form;
        form.setupUi(pane);
    });

constexpr int kImageSize = 24;
constexpr int kLargePoints = 32;
constexpr int kMediumPoints = 22;

QFont SansSerif(int points) {
    QFont font(QStringLiteral("Sans Serif"), points);
    font.setStyleHint(QFont::SansSerif);
    font.setStyleStrategy(QFont::PreferAntialias);
    return font;
}

// A measured number; no special value of the format reaches the number format.
QString Whole(double value) {
    return std::isfinite(value) ? QString::asprintf("%.0f", value) : QStringLiteral("--");
}

} // namespace

CBloodPressureCtrl::CBloodPressureCtrl(QWidget* parent) : CChildFrame(parent) {}

CBloodPressureCtrl::~CBloodPressureCtrl() = default;

void CBloodPressureCtrl::OnCreate() {
    m_wndView.Create(IDD_BLOOD_PRESSURE, PaneParent());
    setWindowTitle(QStringLiteral("Blood pressure"));
    m_largeFont = SansSerif(kLargePoints);
    m_mediumFont = SansSerif(kMediumPoints);
    for (UINT id : {IDC_BP_SYSTOLIC, IDC_BP_DIASTOLIC})
        platform::GetDlgItem(this, id)->setFont(m_largeFont);
    for (UINT id : {IDC_BP_MEAN_ARTERIAL, IDC_BP_PULSE})
        platform::GetDlgItem(this, id)->setFont(m_mediumFont);
    for (UINT id : {IDC_BP_PULSE_IMAGE, IDC_BP_DATE, IDC_BP_TIME, IDC_BP_ADDITIONAL_TEXT,
                    IDC_BP_ADDITIONAL_GROUP, IDC_BP_PULSE_UNIT, IDC_BP_PULSE}) {
        // A control that comes and goes keeps its place, so the others do not move.
        QWidget* control = platform::GetDlgItem(this, id);
        QSizePolicy policy = control->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        control->setSizePolicy(policy);
        control->setVisible(id == IDC_BP_PULSE);
    }
    m_pulseImage = CProfileCtrlView::IconToBitmap(platform::loadIcon(IDI_BP_PULSE), kImageSize, kImageSize);
    if (auto* picture = qobject_cast<QLabel*>(platform::GetDlgItem(this, IDC_BP_PULSE_IMAGE)))
        picture->setPixmap(m_pulseImage);
    InitScrollMetrics(&m_wndView);
}

void CBloodPressureCtrl::ShowPressure(bool kPa, double systolic, double diastolic, double meanArterial) {
    platform::SetDlgItemText(this, IDC_BP_SYSTOLIC, Whole(systolic));
    platform::SetDlgItemText(this, IDC_BP_DIASTOLIC, Whole(diastolic));
    platform::SetDlgItemText(this, IDC_BP_MEAN_ARTERIAL, Whole(meanArterial));
    const QString unit = kPa ? QStringLiteral("kPa") : QStringLiteral("mmHg");
    for (UINT id : {IDC_BP_SYSTOLIC_UNIT, IDC_BP_DIASTOLIC_UNIT, IDC_BP_MEAN_ARTERIAL_UNIT})
        platform::SetDlgItemText(this, id, unit);
    for (UINT id : {IDC_BP_PULSE_IMAGE, IDC_BP_PULSE, IDC_BP_PULSE_UNIT, IDC_BP_TIME, IDC_BP_DATE,
                    IDC_BP_ADDITIONAL_TEXT, IDC_BP_ADDITIONAL_GROUP})
        platform::GetDlgItem(this, id)->hide();
}

void CBloodPressureCtrl::ShowTimeStamp(const std::tm& time) {
    platform::SetDlgItemText(this, IDC_BP_TIME, FormatLocalTime(time, "%H:%M"));
    platform::SetDlgItemText(this, IDC_BP_DATE, FormatLocalTime(time, "%b-%d-%Y"));
    for (UINT id : {IDC_BP_TIME, IDC_BP_DATE})
        platform::GetDlgItem(this, id)->show();
}

void CBloodPressureCtrl::ShowPulseRate(double rate) {
    platform::SetDlgItemText(this, IDC_BP_PULSE, Whole(rate));
    for (UINT id : {IDC_BP_PULSE, IDC_BP_PULSE_IMAGE, IDC_BP_PULSE_UNIT})
        platform::GetDlgItem(this, id)->show();
}

void CBloodPressureCtrl::ShowUserAndStatus(uint8_t user, uint16_t status) {
    constexpr uint8_t kUnknownUser = 0xFF;
    QString text;
    if (user != kUnknownUser)
        text = QString::asprintf("User id: %03d", user);
    if (status != 0) {
        if (!text.isEmpty())
            text += QLatin1Char(' ');
        text += QString::asprintf("Status: %04X", status);
    }
    if (text.isEmpty())
        return;
    platform::SetDlgItemText(this, IDC_BP_ADDITIONAL_TEXT, text);
    for (UINT id : {IDC_BP_ADDITIONAL_TEXT, IDC_BP_ADDITIONAL_GROUP})
        platform::GetDlgItem(this, id)->show();
}
