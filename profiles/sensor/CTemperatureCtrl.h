// The thermometer window: the temperature as a number and on a gauge, and the measurement site.
#pragma once

#include "profiles/base/CChildFrame.h"
#include "profiles/base/CProfileCtrlView.h"

#include <QString>
#include <cstdint>
#include <map>

// Shows what the main window decodes from the peer's Health Thermometer service.
class CTemperatureCtrl : public CChildFrame {
    Q_OBJECT
public:
    static constexpr int kGaugeMinimum = -40;
    static constexpr int kGaugeMaximum = 100;

    explicit CTemperatureCtrl(QWidget* parent = nullptr);
    ~CTemperatureCtrl() override;

    // "%.01f°" followed by "F" (unitFlag 1) or "C", and the gauge at the value limited to its range;
    // a value that is not a number shows "N/A" and leaves the gauge where it was.
    void ShowTemperature(int unitFlag, float value);
    // The site's name ("Armpit" ... "Tympanum"); an empty text for a code without a name.
    void ShowTemperatureType(uint32_t type);

protected:
    void OnCreate() override;

private:
    CProfileCtrlView m_wndView;
    std::map<uint16_t, QString> m_typeNames;
};
