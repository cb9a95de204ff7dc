// The glucose window's pane: the record's texts in their colours and the colour box of its level.
#pragma once

#include "gatt/GlucoseText.h"
#include "profiles/base/CProfileCtrlView.h"

class CGlucoseCtrlView : public CProfileCtrlView {
    Q_OBJECT
public:
    explicit CGlucoseCtrlView(QWidget* parent = nullptr);

    // Paints the colour box green, orange or red for the level.
    void SetLevel(GlucoseLevel level);

protected:
    // Value, unit and sample texts dark blue, error and status texts red, the colour box in the
    // colour of the level.
    void OnCtlColor(QWidget* control) override;

private:
    void PaintColourBox(QWidget* box) const;

    GlucoseLevel m_level = GlucoseLevel::Low;
};
