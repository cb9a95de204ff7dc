// The blood-pressure window: systolic, diastolic and mean arterial pressure, pulse, time, user, status.
#pragma once

#include "profiles/base/CChildFrame.h"
#include "profiles/base/CProfileCtrlView.h"

#include <QFont>
#include <QPixmap>
#include <cstdint>
#include <ctime>

// Shows the last measurement or cuff pressure the main window decodes from the peer's Blood Pressure
// service; it keeps no history.
class CBloodPressureCtrl : public CChildFrame {
    Q_OBJECT
public:
    explicit CBloodPressureCtrl(QWidget* parent = nullptr);
    ~CBloodPressureCtrl() override;

    // "%.0f" of each pressure ("--" for a special value) with its unit, "kPa" or "mmHg"; hides the
    // pulse, time, date and additional information until a later call shows them.
    void ShowPressure(bool kPa, double systolic, double diastolic, double meanArterial);
    // "%H:%M" and "%b-%d-%Y", both shown.
    void ShowTimeStamp(const std::tm& time);
    // "%.0f" ("--" for a special value) with its image and unit, shown.
    void ShowPulseRate(double rate);
    // "User id: %03d" unless user is 255, then "Status: %04X" unless status is 0, in the additional
    // information; nothing when both are left out.
    void ShowUserAndStatus(uint8_t user, uint16_t status);

    const QPixmap& PulseImage() const { return m_pulseImage; }

protected:
    void OnCreate() override;

private:
    CProfileCtrlView m_wndView;
    QFont m_largeFont;
    QFont m_mediumFont;
    QPixmap m_pulseImage;
};
