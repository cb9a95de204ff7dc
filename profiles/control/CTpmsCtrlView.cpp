#include "profiles/control/CTpmsCtrlView.h"

#include "platform/DialogItems.h"
#include "profiles/control/CTpmsCollectorCtrl.h"
#include "profiles/control/TpmsIds.h"

#include <QAbstractButton>
#include <QFocusEvent>
#include <QLineEdit>

CTpmsCtrlView::CTpmsCtrlView(CTpmsCollectorCtrl& window) : m_window(window) {}

bool CTpmsCtrlView::Create(UINT templateId, QWidget* parent) {
    if (!CProfileCtrlView::Create(templateId, parent))
        return false;
    const auto edit = [this](UINT id) {
        auto* found = qobject_cast<QLineEdit*>(platform::GetDlgItem(this, id));
        if (found)
            found->installEventFilter(this);
        return found;
    };
    m_lowThreshold = edit(IDC_TPMS_LOW_THRESHOLD);
    m_offset = edit(IDC_TPMS_OFFSET);
    m_blowOutThreshold = edit(IDC_TPMS_BLOW_OUT_THRESHOLD);
    if (auto* absolute = qobject_cast<QAbstractButton*>(platform::GetDlgItem(this, IDC_TPMS_SHOW_ABSOLUTE)))
        connect(absolute, &QAbstractButton::clicked, this, &CTpmsCtrlView::OnShowAbsolutePressure);
    if (auto* relative = qobject_cast<QAbstractButton*>(platform::GetDlgItem(this, IDC_TPMS_SHOW_RELATIVE)))
        connect(relative, &QAbstractButton::clicked, this, &CTpmsCtrlView::OnShowRelativePressure);
    return true;
}

void CTpmsCtrlView::OnShowAbsolutePressure() {
    if (m_offset)
        m_offset->setEnabled(false);
    m_window.SetDisplayMode(CTpmsCollectorCtrl::DisplayMode::Absolute);
}

void CTpmsCtrlView::OnShowRelativePressure() {
    if (m_offset)
        m_offset->setEnabled(true);
    m_window.SetDisplayMode(CTpmsCollectorCtrl::DisplayMode::Relative);
}

void CTpmsCtrlView::OnKillFocusLowThreshold() {
    m_window.OnLowThresholdKillFocus();
}

void CTpmsCtrlView::OnKillFocusOffset() {
    m_window.OnOffsetKillFocus();
}

void CTpmsCtrlView::OnKillFocusBlowOutThreshold() {
    m_window.OnBlowOutThresholdKillFocus();
}

bool CTpmsCtrlView::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::FocusOut)
        return CProfileCtrlView::eventFilter(watched, event);
    const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
    auto* edit = qobject_cast<QLineEdit*>(watched);
    if (!edit || !edit->isVisible() || reason == Qt::ActiveWindowFocusReason ||
        reason == Qt::PopupFocusReason)
        return false;
    if (edit == m_lowThreshold)
        m_window.OnEditKillFocus(IDC_TPMS_LOW_THRESHOLD);
    else if (edit == m_offset)
        m_window.OnEditKillFocus(IDC_TPMS_OFFSET);
    else if (edit == m_blowOutThreshold)
        m_window.OnEditKillFocus(IDC_TPMS_BLOW_OUT_THRESHOLD);
    // A refused value gave the edit the focus back with its text selected: the edit must not go on to
    // leave the focus, which would drop that selection.
    return edit->window()->focusWidget() == edit;
}
