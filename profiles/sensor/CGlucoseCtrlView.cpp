#include "profiles/sensor/CGlucoseCtrlView.h"

#include "platform/DialogItems.h"
#include "profiles/sensor/GlucoseIds.h"

#include <QColor>
#include <QPalette>
#include <QVariant>

namespace {

const QColor kText(21, 41, 83);
const QColor kWarning(255, 51, 51);
const QColor kLevelColours[] = {QColor(0, 140, 0), QColor(255, 128, 0), QColor(255, 0, 0)};

UINT ControlId(const QWidget* control) {
    return control->property(platform::kControlIdProperty).toUInt();
}

void SetTextColour(QWidget* control, const QColor& colour) {
    QPalette palette = control->palette();
    palette.setColor(QPalette::WindowText, colour);
    control->setPalette(palette);
}

} // namespace

CGlucoseCtrlView::CGlucoseCtrlView(QWidget* parent) : CProfileCtrlView(parent) {}

void CGlucoseCtrlView::OnCtlColor(QWidget* control) {
    CProfileCtrlView::OnCtlColor(control);
    switch (ControlId(control)) {
    case IDC_GLUCOSE_VALUE:
    case IDC_GLUCOSE_UNIT:
    case IDC_GLUCOSE_SAMPLE:
        SetTextColour(control, kText);
        break;
    case IDC_GLUCOSE_ERROR:
    case IDC_GLUCOSE_STATUS:
        SetTextColour(control, kWarning);
        break;
    case IDC_GLUCOSE_COLOUR:
        PaintColourBox(control);
        break;
    default:
        break;
    }
}

void CGlucoseCtrlView::SetLevel(GlucoseLevel level) {
    m_level = level;
    if (QWidget* box = platform::GetDlgItem(this, IDC_GLUCOSE_COLOUR))
        PaintColourBox(box);
}

void CGlucoseCtrlView::PaintColourBox(QWidget* box) const {
    QPalette palette = box->palette();
    palette.setColor(QPalette::Window, kLevelColours[static_cast<int>(m_level)]);
    box->setPalette(palette);
    box->setAutoFillBackground(true);
}
