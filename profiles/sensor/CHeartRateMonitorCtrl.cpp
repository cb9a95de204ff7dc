#include "profiles/sensor/CHeartRateMonitorCtrl.h"

#include "gatt/HeartRate.h"
#include "platform/DialogItems.h"
#include "platform/ui/Icons.h"
#include "profiles/sensor/HeartRateIds.h"
#include "res/resource.h"
#include "ui_HeartRatePane.h"

#include <QLabel>

namespace {

[[maybe_unused]] const bool kPaneRegistered =
    CProfileCtrlView::RegisterTemplate(IDD_HEART_RATE, [](QWidget* pane) {
        Ui::HeartRatePane form;
        form.setupUi(pane);
    });

constexpr int kImageSize = 24;

QPixmap Image(UINT iconId) {
    return CProfileCtrlView::IconToBitmap(platform::loadIcon(iconId), kImageSize, kImageSize);
}

const QString kNotAvailable = QStringLiteral("N/A");

} // namespace

CHeartRateMonitorCtrl::CHeartRateMonitorCtrl(QWidget* parent) : CChildFrame(parent) {}

CHeartRateMonitorCtrl::~CHeartRateMonitorCtrl() = default;

void CHeartRateMonitorCtrl::OnCreate() {
    m_wndView.Create(IDD_HEART_RATE, PaneParent());
    setWindowTitle(QStringLiteral("Heart rate"));
    m_rate = Label(IDC_HR_HEART_RATE);
    m_rrIntervals = Label(IDC_HR_RR_INTERVALS);
    m_energyExpended = Label(IDC_HR_ENERGY_EXPENDED);
    m_location = Label(IDC_HR_LOCATION);
    m_contactImage = Label(IDC_HR_CONTACT_IMAGE);
    m_contactText = Label(IDC_HR_CONTACT_TEXT);
    ClearEnergyExpended();
    BindCommandButton(ID_HR_RESET_ENERGY);

    m_inContact = Image(IDI_MARK_ON);
    m_notInContact = Image(IDI_MARK_OFF);
    const std::array<std::pair<UINT, UINT>, 3> decorations = {{
        {IDC_HR_PICTURE_RATE, IDI_HR_RATE},
        {IDC_HR_PICTURE_RR, IDI_HR_RR},
        {IDC_HR_PICTURE_ENERGY, IDI_HR_ENERGY},
    }};
    for (size_t i = 0; i < decorations.size(); ++i) {
        m_decorations[i] = Image(decorations[i].second);
        if (QLabel* picture = Label(decorations[i].first))
            picture->setPixmap(m_decorations[i]);
    }
    InitScrollMetrics(&m_wndView);
}

QLabel* CHeartRateMonitorCtrl::Label(UINT id) const {
    return qobject_cast<QLabel*>(platform::GetDlgItem(this, id));
}

void CHeartRateMonitorCtrl::ShowHeartRate(uint16_t rate) {
    m_wndView.ShowText(m_rate, QStringLiteral("%1 bpm").arg(rate));
}

void CHeartRateMonitorCtrl::ShowRRIntervals(std::span<const uint16_t> values) {
    QString text;
    for (uint16_t value : values)
        text += QString::number(value) + QLatin1Char(' ');
    if (values.size() == 1)
        text += QStringLiteral("ticks");
    m_wndView.ShowText(m_rrIntervals, text);
}

void CHeartRateMonitorCtrl::ClearRRIntervals() {
    m_wndView.ShowText(m_rrIntervals, kNotAvailable);
}

void CHeartRateMonitorCtrl::ShowEnergyExpended(uint16_t kilojoules) {
    m_wndView.ShowText(m_energyExpended, QStringLiteral("%1 kJ").arg(kilojoules));
}

void CHeartRateMonitorCtrl::ClearEnergyExpended() {
    m_wndView.ShowText(m_energyExpended, kNotAvailable);
}

void CHeartRateMonitorCtrl::ShowSensorContact(uint32_t state) {
    switch (static_cast<SensorContact>(state)) {
    case SensorContact::Unknown:
        SetContact(m_notInContact, QStringLiteral("Sensor contact unknown"));
        return;
    case SensorContact::NotInContact:
        SetContact(m_notInContact, QStringLiteral("Sensor disconnected"));
        return;
    case SensorContact::InContact:
        SetContact(m_inContact, QStringLiteral("Sensor in contact"));
        return;
    }
}

void CHeartRateMonitorCtrl::ShowBodySensorLocation(uint32_t location) {
    m_wndView.ShowText(m_location, BodySensorLocationName(location));
}

void CHeartRateMonitorCtrl::SetContact(const QPixmap& image, const QString& text) {
    // The state repeats in nearly every measurement: only a change is drawn.
    if (m_contactImage && m_contactImage->pixmap().cacheKey() != image.cacheKey())
        m_contactImage->setPixmap(image);
    m_wndView.ShowText(m_contactText, text);
}
