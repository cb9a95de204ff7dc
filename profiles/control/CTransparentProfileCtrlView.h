// Pane of the HID and generic remote windows: a profile pane whose edits are white.
#pragma once

#include "profiles/base/CProfileCtrlView.h"

// Edits, read-only ones included, get a white background; every other control is coloured as in
// any profile pane.
class CTransparentProfileCtrlView : public CProfileCtrlView {
    Q_OBJECT
public:
    using CProfileCtrlView::CProfileCtrlView;

protected:
    void OnCtlColor(QWidget* control) override;
};
