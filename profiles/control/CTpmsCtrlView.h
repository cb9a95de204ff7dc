// The tyre-pressure window's pane: display mode radios and the three edits checked on leaving them.
#pragma once

#include "profiles/base/CProfileCtrlView.h"

class CTpmsCollectorCtrl;
class QLineEdit;

// Forwards the radios' clicks and the edits' loss of focus to its window, which runs each edit's
// check as the edit's command. A loss of focus counts only while the edit is shown and when the focus
// went to another control of the application: not when the window is being closed or the application
// left, nor for the edit's own context menu.
class CTpmsCtrlView : public CProfileCtrlView {
    Q_OBJECT
public:
    explicit CTpmsCtrlView(CTpmsCollectorCtrl& window);

    bool Create(UINT templateId, QWidget* parent) override;

    // Radio 1317: edit 1152 disabled, absolute display.
    void OnShowAbsolutePressure();
    // Radio 1318: edit 1152 enabled, relative display.
    void OnShowRelativePressure();
    // The checks of edits 1067, 1152 and 1267.
    void OnKillFocusLowThreshold();
    void OnKillFocusOffset();
    void OnKillFocusBlowOutThreshold();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    CTpmsCollectorCtrl& m_window;
    QLineEdit* m_lowThreshold = nullptr;
    QLineEdit* m_offset = nullptr;
    QLineEdit* m_blowOutThreshold = nullptr;
};
