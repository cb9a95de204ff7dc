#include "profiles/control/CSecurityTagCtrl.h"

#include "gatt/SecurityTag.h"
#include "platform/DialogItems.h"
#include "platform/ui/Icons.h"
#include "profiles/control/SecurityTagIds.h"
#include "res/resource.h"
#include "ui_SecurityTagPane.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLabel>
#include <QProgressBar>
#include <QSpinBox>
#include <algorithm>

namespace {

[[maybe_unused]] const bool kPaneRegistered =
    CProfileCtrlView::RegisterTemplate(IDD_SECURITY_TAG, [](QWidget* pane) {
        Ui::SecurityTagPane form;
        form.setupUi(pane);
    });

constexpr int kImageSize = 24;

QPixmap Image(UINT iconId) {
    return CProfileCtrlView::IconToBitmap(platform::loadIcon(iconId), kImageSize, kImageSize);
}

} // namespace

CSecurityTagCtrl::CSecurityTagCtrl(QWidget* parent) : CChildFrame(parent) {}

CSecurityTagCtrl::~CSecurityTagCtrl() = default;

void CSecurityTagCtrl::OnCreate() {
    m_wndView.Create(IDD_SECURITY_TAG, PaneParent());
    setWindowTitle(QStringLiteral("Security tag"));
    m_distance = qobject_cast<QProgressBar*>(platform::GetDlgItem(this, IDC_TAG_DISTANCE));
    m_rssi = qobject_cast<QLabel*>(platform::GetDlgItem(this, IDC_TAG_RSSI));
    m_alertPicture = qobject_cast<QLabel*>(platform::GetDlgItem(this, IDC_TAG_ALERT_PICTURE));
    m_alertText = qobject_cast<QLabel*>(platform::GetDlgItem(this, IDC_TAG_ALERT_LEVEL));
    m_linkLoss = qobject_cast<QAbstractButton*>(platform::GetDlgItem(this, ID_TAG_LINK_LOSS_ALERT));
    m_noAlert = Image(IDI_TAG_NO_ALERT);
    m_lowAlert = Image(IDI_TAG_LOW_ALERT);
    m_highAlert = Image(IDI_TAG_HIGH_ALERT);
    if (m_alertPicture) {
        // The blinking picture keeps its place in the layout.
        QSizePolicy policy = m_alertPicture->sizePolicy();
        policy.setRetainSizeWhenHidden(true);
        m_alertPicture->setSizePolicy(policy);
        m_alertPicture->setPixmap(m_noAlert);
    }
    for (const UINT id : {ID_TAG_SET_LEVEL, ID_TAG_LINK_LOSS_ALERT, ID_TAG_PLAY_SOUND})
        BindCommandButton(id);
    InitScrollMetrics(&m_wndView);
}

void CSecurityTagCtrl::ShowRssi(int dBm) {
    if (m_distance)
        m_distance->setValue(std::clamp(-dBm, m_distance->minimum(), m_distance->maximum()));
    m_wndView.ShowText(m_rssi, QStringLiteral("%1dBm").arg(dBm));
}

int CSecurityTagCtrl::GetThreshold(UINT id) const {
    if (id != IDC_TAG_LOW_THRESHOLD && id != IDC_TAG_HIGH_THRESHOLD)
        return 0;
    const auto* edit = qobject_cast<const QSpinBox*>(platform::GetDlgItem(this, id));
    return edit ? edit->value() : 0;
}

const QPixmap& CSecurityTagCtrl::AlertImage(uint8_t level) const {
    switch (level) {
    case AlertLevel::MildAlert:
        return m_lowAlert;
    case AlertLevel::HighAlert:
        return m_highAlert;
    default:
        return m_noAlert;
    }
}

void CSecurityTagCtrl::ShowAlertLevel(uint8_t level) {
    const QString text = level == AlertLevel::MildAlert   ? QStringLiteral("Low Alert")
                         : level == AlertLevel::HighAlert ? QStringLiteral("High Alert")
                                                          : QStringLiteral("No Alert");
    if (m_alertPicture) {
        m_alertPicture->setPixmap(AlertImage(level));
        m_alertPicture->show();
    }
    m_wndView.ShowText(m_alertText, text);
}

void CSecurityTagCtrl::ShowAlertIcon(bool show) {
    if (m_alertPicture)
        m_alertPicture->setVisible(show);
}

void CSecurityTagCtrl::SetLinkLossAlert(bool checked) {
    if (m_linkLoss)
        m_linkLoss->setChecked(checked);
}

bool CSecurityTagCtrl::IsLinkLossAlertChecked() const {
    return m_linkLoss && m_linkLoss->isChecked();
}

uint8_t CSecurityTagCtrl::SelectedAlertLevel() const {
    const auto* levels = qobject_cast<const QComboBox*>(platform::GetDlgItem(this, IDC_TAG_LEVEL));
    return levels && levels->currentIndex() > 0 ? static_cast<uint8_t>(levels->currentIndex()) : 0;
}
