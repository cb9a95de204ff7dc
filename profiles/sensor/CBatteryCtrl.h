// The battery window: the peer's battery level as a bar and a percentage, with a warning at 0 %.
#pragma once

#include "platform/WindowTimers.h"
#include "profiles/base/CChildFrame.h"
#include "profiles/base/CProfileCtrlView.h"

#include <QColor>
#include <QPixmap>

// Shows the levels the main window reads and receives from the peer's Battery service; its Update
// button (command ID_BATTERY_UPDATE) is handled by the main window.
class CBatteryCtrl : public CChildFrame {
    Q_OBJECT
public:
    explicit CBatteryCtrl(QWidget* parent = nullptr);
    ~CBatteryCtrl() override;

    // Shows level in percent; a level above 100 fills the bar. 0 is critical: red bar, warning text,
    // a warning icon blinking every 500 ms, and the window comes to the front of its MDI area (again
    // at every reading of 0). Any other level ends the warning and gives the bar its colour back.
    void SetBatteryLevel(int level);
    // Position 0 and "N/A" while a new reading is awaited; the colour and the warning stay.
    void ClearBatteryLevel();

    // The bar's colour as the window found it when it was created.
    QColor SavedBarColour() const { return m_savedBarColour; }
    // The warning icon as the picture shows it; null before the first critical reading.
    const QPixmap& WarningImage() const { return m_warning; }

protected:
    void OnCreate() override;

private:
    void ShowNormal();
    void ShowCritical();
    void OnTimer(UINT id);
    void SetBarColour(const QColor& colour);
    void ActivateInMdiArea();

    CProfileCtrlView m_wndView;
    QColor m_savedBarColour;
    QPixmap m_warning;
    platform::WindowTimers m_timers;
    UINT m_blinkTimer = 0; // 0 while the warning does not blink
};
