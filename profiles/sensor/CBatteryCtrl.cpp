#include "profiles/sensor/CBatteryCtrl.h"

#include "platform/DialogItems.h"
#include "platform/StringTable.h"
#include "platform/ui/Icons.h"
#include "profiles/sensor/BatteryIds.h"
#include "res/resource.h"
#include "ui_BatteryPane.h"

#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <algorithm>

namespace {

[[maybe_unused]] const bool kPaneRegistered =
    CProfileCtrlView::RegisterTemplate(IDD_BATTERY, [](QWidget* pane) {
        Ui::BatteryPane form;
        form.setupUi(pane);
    });

constexpr int kFullLevel = 100;
constexpr int kWarningSize = 16;
const QColor kCriticalColour(255, 0, 0);

} // namespace

CBatteryCtrl::CBatteryCtrl(QWidget* parent)
    : CChildFrame(parent), m_timers([this](UINT id) { OnTimer(id); }) {}

CBatteryCtrl::~CBatteryCtrl() = default;

void CBatteryCtrl::OnCreate() {
    m_wndView.Create(IDD_BATTERY, PaneParent());
    setWindowTitle(QStringLiteral("Battery"));
    if (auto* bar = qobject_cast<QProgressBar*>(platform::GetDlgItem(this, IDC_BATTERY_BAR))) {
        bar->setRange(0, kFullLevel);
        m_savedBarColour = bar->palette().color(QPalette::Highlight);
    }
    platform::SetDlgItemText(this, IDC_BATTERY_PERCENT, QStringLiteral("N/A "));
    // The blinking icon and the warning keep their place in the pane while hidden.
    for (UINT id : {IDC_BATTERY_WARNING_IMAGE, IDC_BATTERY_WARNING_TEXT}) {
        if (QWidget* control = platform::GetDlgItem(this, id)) {
            QSizePolicy policy = control->sizePolicy();
            policy.setRetainSizeWhenHidden(true);
            control->setSizePolicy(policy);
        }
    }
    BindCommandButton(ID_BATTERY_UPDATE);
    InitScrollMetrics(&m_wndView);
}

void CBatteryCtrl::SetBatteryLevel(int level) {
    if (level == 0)
        ShowCritical();
    else
        ShowNormal();
    // The bar cannot show a value outside its range: a level above it fills the bar.
    if (auto* bar = qobject_cast<QProgressBar*>(platform::GetDlgItem(this, IDC_BATTERY_BAR)))
        bar->setValue(std::clamp(level, 0, kFullLevel));
    platform::SetDlgItemText(this, IDC_BATTERY_PERCENT, QStringLiteral("%1%").arg(level));
}

void CBatteryCtrl::ShowNormal() {
    if (m_blinkTimer != 0) {
        m_timers.killTimer(m_blinkTimer);
        m_blinkTimer = 0;
    }
    for (UINT id : {IDC_BATTERY_WARNING_IMAGE, IDC_BATTERY_WARNING_TEXT})
        if (QWidget* control = platform::GetDlgItem(this, id))
            control->hide();
    SetBarColour(m_savedBarColour);
}

// Also a repeated critical reading starts the blinking afresh and brings the window to the front.
void CBatteryCtrl::ShowCritical() {
    SetBarColour(kCriticalColour);
    m_warning =
        CProfileCtrlView::IconToBitmap(platform::loadIcon(IDI_BATTERY_WARNING), kWarningSize, kWarningSize);
    if (auto* picture = qobject_cast<QLabel*>(platform::GetDlgItem(this, IDC_BATTERY_WARNING_IMAGE))) {
        picture->setPixmap(m_warning);
        picture->show();
    }
    m_blinkTimer = m_timers.setTimer(TIMER_BATTERY_BLINK, kBatteryBlinkPeriodMs);
    platform::SetDlgItemText(this, IDC_BATTERY_WARNING_TEXT, platform::LoadString(IDS_BATTERY_CRITICAL));
    if (QWidget* warning = platform::GetDlgItem(this, IDC_BATTERY_WARNING_TEXT))
        warning->show();
    ActivateInMdiArea();
}

void CBatteryCtrl::ClearBatteryLevel() {
    if (auto* bar = qobject_cast<QProgressBar*>(platform::GetDlgItem(this, IDC_BATTERY_BAR)))
        bar->setValue(0);
    platform::SetDlgItemText(this, IDC_BATTERY_PERCENT, QStringLiteral("N/A"));
}

void CBatteryCtrl::OnTimer(UINT id) {
    if (m_blinkTimer == 0 || id != m_blinkTimer)
        return;
    if (QWidget* picture = platform::GetDlgItem(this, IDC_BATTERY_WARNING_IMAGE))
        picture->setHidden(!picture->isHidden());
}

// The bar is drawn in the palette's highlight colour, in every colour group, so that the colour
// also holds while the window is inactive.
void CBatteryCtrl::SetBarColour(const QColor& colour) {
    QWidget* bar = platform::GetDlgItem(this, IDC_BATTERY_BAR);
    if (!bar)
        return;
    QPalette palette = bar->palette();
    palette.setColor(QPalette::Highlight, colour);
    bar->setPalette(palette);
}

void CBatteryCtrl::ActivateInMdiArea() {
    auto* subWindow = qobject_cast<QMdiSubWindow*>(parentWidget());
    if (!subWindow || !subWindow->mdiArea())
        return;
    subWindow->mdiArea()->setActiveSubWindow(subWindow);
}
