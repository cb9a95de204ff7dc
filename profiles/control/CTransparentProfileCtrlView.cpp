#include "profiles/control/CTransparentProfileCtrlView.h"

#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTextEdit>

void CTransparentProfileCtrlView::OnCtlColor(QWidget* control) {
    if (!qobject_cast<QLineEdit*>(control) && !qobject_cast<QPlainTextEdit*>(control) &&
        !qobject_cast<QTextEdit*>(control)) {
        CProfileCtrlView::OnCtlColor(control);
        return;
    }
    QPalette palette = control->palette();
    for (const QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled})
        palette.setColor(group, QPalette::Base, Qt::white);
    control->setPalette(palette);
}
