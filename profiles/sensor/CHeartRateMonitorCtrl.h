// The heart-rate window: rate, RR intervals, energy expended, sensor contact and body sensor location.
#pragma once

#include "profiles/base/CChildFrame.h"
#include "profiles/base/CProfileCtrlView.h"

#include <QPixmap>
#include <array>
#include <cstdint>
#include <span>

class QLabel;

// Shows what the main window decodes from the peer's Heart Rate service; its Reset button (command
// ID_HR_RESET_ENERGY) is handled by the main window.
class CHeartRateMonitorCtrl : public CChildFrame {
    Q_OBJECT
public:
    explicit CHeartRateMonitorCtrl(QWidget* parent = nullptr);
    ~CHeartRateMonitorCtrl() override;

    // "<rate> bpm".
    void ShowHeartRate(uint16_t rate);
    // Each value followed by a blank; "ticks" after a single value only.
    void ShowRRIntervals(std::span<const uint16_t> values);
    void ClearRRIntervals();
    // "<kilojoules> kJ".
    void ShowEnergyExpended(uint16_t kilojoules);
    void ClearEnergyExpended();
    // 0 contact unknown, 1 not in contact, 2 in contact (SensorContact); other states change nothing.
    void ShowSensorContact(uint32_t state);
    // The Body Sensor Location name; "Unknown" beyond the known values.
    void ShowBodySensorLocation(uint32_t location);

    // The images the contact picture shows.
    const QPixmap& InContactImage() const { return m_inContact; }
    const QPixmap& NotInContactImage() const { return m_notInContact; }

protected:
    void OnCreate() override;

private:
    QLabel* Label(UINT id) const;
    void SetContact(const QPixmap& image, const QString& text);

    CProfileCtrlView m_wndView;
    // The pane's controls, found once when it is built: a display call comes with every notification.
    QLabel* m_rate = nullptr;
    QLabel* m_rrIntervals = nullptr;
    QLabel* m_energyExpended = nullptr;
    QLabel* m_location = nullptr;
    QLabel* m_contactImage = nullptr;
    QLabel* m_contactText = nullptr;
    QPixmap m_inContact;
    QPixmap m_notInContact;
    std::array<QPixmap, 3> m_decorations;
};
