// The running window: a foot pod's speed, cadence, stride, distance and gait, its features and
// location, and its SC Control Point.
#pragma once

#include "gatt/BleServiceEntry.h"
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
class QListWidget;

// Shows the Running Speed and Cadence service of the connected peer. Its Set Distance, Calibrate
// Sensor and location Update commands are handled by the main window (profiles/sensor/
// MainFrameRunningSpeed.cpp), which uses the functions below.
class CRunningSpeedCtrl : public CChildFrame {
    Q_OBJECT
public:
    explicit CRunningSpeedCtrl(QWidget* parent = nullptr);
    ~CRunningSpeedCtrl() override;

    // Finds the service's handles, reads its feature and location and subscribes to its measurement
    // (notifications) and control point (indications); the feature list starts again. Always true.
    void InitProfile(uint32_t cid, const BleServiceEntry& service);
    // The RSC Feature value: one line per supported feature.
    void ShowFeatures(uint16_t features);
    // A Sensor Location read; "Unknown" beyond the known locations.
    void ShowSensorLocation(uint8_t location);
    // A notification or indication; true when it was the measurement's or the control point's.
    bool OnCharacteristicValueNotified(uint16_t handle, std::span<const uint8_t> value);
    void StartDataTimeout();
    void StartControlPointTimeout();
    void StopControlPointTimeout();
    uint8_t GetSelectedSensorLocation() const;
    // The distance typed in, in 1/10 m; false (after a message box saying what it must be) otherwise.
    bool GetTotalDistance(uint32_t& distance) const;
    // A Set Cumulative Value request with distance (and the text typed) was sent.
    void OnTotalDistanceSent(uint32_t distance);

    uint16_t ValueHandle(uint16_t uuid) const;
    uint16_t ConfigHandle(uint16_t uuid) const;
    uint32_t TotalDistance() const { return m_totalDistance; }
    // The picture of the gait shown: running or walking.
    const QPixmap& GaitImage(bool running) const { return running ? m_running : m_walking; }
    bool IsTimerRunning(UINT id) const { return m_timers.isRunning(id); }

    void DestroyWindow() override;

protected:
    void OnCreate() override;

private:
    void MapCommands();
    void OnTimerExpired(UINT id);
    void OnMeasurement(std::span<const uint8_t> value);
    void OnControlPointResponse(std::span<const uint8_t> value);
    void ShowTotalDistance();
    void AddSupportedLocation(uint8_t location);
    void ShowText(UINT id, const QString& text);

    CProfileCtrlView m_wndView;
    uint32_t m_totalDistance = 0; // 1/10 m, the last received or set
    platform::WindowTimers m_timers;
    bool m_totalDistanceSupported = false; // the feature flags only ever go on
    bool m_calibrationSupported = false;
    bool m_multipleLocationsSupported = false;
    std::map<uint16_t, uint16_t> m_valueHandles;
    std::map<uint16_t, uint16_t> m_configHandles;
    // The distance and text of the Set Cumulative Value request awaiting its response.
    std::optional<std::pair<uint32_t, QString>> m_sentDistance;
    std::map<UINT, QLabel*> m_labels; // by control id, found on first use
    QLabel* m_status = nullptr;
    QListWidget* m_features = nullptr;
    QComboBox* m_locations = nullptr;
    QPixmap m_walking;
    QPixmap m_running;
    std::array<QPixmap, 3> m_decorations;
};
