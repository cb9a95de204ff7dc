// The cycling window: speed, cadence and distance from a bike sensor's revolution counts, its features
// and location, and its SC Control Point.
#pragma once

#include "gatt/BleServiceEntry.h"
#include "gatt/CscCalculator.h"
#include "platform/WindowTimers.h"
#include "profiles/base/CChildFrame.h"
#include "profiles/base/CProfileCtrlView.h"

#include <QPixmap>
#include <QString>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <span>

class QComboBox;
class QLabel;

// Shows the Cycling Speed and Cadence service of the connected peer. Its requests go through the main
// window's queues; its location Update (ID_SC_UPDATE_LOCATION) is handled by the main window, its Set
// Value, Reset Distance and circumference Update by the window itself.
class CCycleSpeedCtrl : public CChildFrame {
    Q_OBJECT
public:
    explicit CCycleSpeedCtrl(QWidget* parent = nullptr);
    ~CCycleSpeedCtrl() override;

    // Finds the service's handles, reads its feature and location and subscribes to its measurement
    // (notifications) and control point (indications). Always true.
    void InitProfile(uint32_t cid, const BleServiceEntry& service);
    // Bits 0-2 of the CSC Feature value: wheel data, crank data, multiple locations.
    void ShowFeatures(uint8_t features);
    // A Sensor Location read; "Other" beyond the known locations.
    void ShowSensorLocation(uint8_t location);
    // A notification or indication; true when it was the measurement's or the control point's.
    bool OnCharacteristicValueNotified(uint16_t handle, std::span<const uint8_t> value);
    // (Re)starts the 30 s wait for a measurement, after which a message says that no data comes.
    void StartDataTimeout();
    // (Re)starts the 30 s wait for a control-point response, after which the device is disconnected.
    void StartControlPointTimeout();
    void StopControlPointTimeout();
    // The location chosen in the list; 0 without a selection.
    uint8_t GetSelectedSensorLocation() const;

    // The service's value (configuration) handle of a characteristic; 0 when it has none.
    uint16_t ValueHandle(uint16_t uuid) const;
    uint16_t ConfigHandle(uint16_t uuid) const;
    bool IsTimerRunning(UINT id) const { return m_timers.isRunning(id); }

    void DestroyWindow() override;

protected:
    void OnCreate() override;

private:
    void MapCommands();
    void OnResetDistance();
    void OnSetCumulativeValue();
    void OnCircumferenceChanged();
    void OnTimerExpired(UINT id);
    void OnMeasurement(std::span<const uint8_t> value);
    void OnControlPointResponse(std::span<const uint8_t> value);
    void OnCumulativeValueSet();
    void ShowSpeed(const CscCalculator::Rates& speed);
    void ShowCadence(const CscCalculator::Rates& cadence);
    void ShowTotalDistance();
    void SetWheelCircumference(uint16_t cm);
    void AddSupportedSensorLocation(uint8_t location);
    void ShowText(UINT id, const QString& text);

    CProfileCtrlView m_wndView;
    std::map<uint16_t, uint16_t> m_valueHandles;
    std::map<uint16_t, uint16_t> m_configHandles;
    CscCalculator m_csc;
    platform::WindowTimers m_timers;
    bool m_wheelDataSupported = false; // the feature flags only ever go on
    bool m_multipleLocationsSupported = false;
    // The value and text of the Set Value request awaiting its response.
    std::optional<std::pair<uint32_t, QString>> m_sentValue;
    std::map<UINT, QLabel*> m_labels; // by control id, found on first use
    QComboBox* m_locations = nullptr;
    QPixmap m_markOn;
    QPixmap m_markOff;
    std::array<QPixmap, 7> m_decorations;
};
