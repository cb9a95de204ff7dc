// The environment window: pressure, temperature, humidity, motion and a compass direction, read on
// demand or polled, and the magnetometer's calibration.
#pragma once

#include "gatt/UuidFunctions.h"
#include "platform/WindowTimers.h"
#include "profiles/base/CChildFrame.h"
#include "profiles/base/CProfileCtrlView.h"

#include <QPixmap>
#include <array>
#include <cstdint>
#include <map>

class BleDeviceRecord;
class QCheckBox;
class QComboBox;

// Shows the Environmental Sensing service of the connected peer with the maker's motion sensors. It
// subscribes to nothing: every value is read, by its row's Update button or by the poll timer while
// automatic update is on. Its requests go through the main window's queues.
class CEnvironmentCtrl : public CChildFrame {
    Q_OBJECT
public:
    explicit CEnvironmentCtrl(QWidget* parent = nullptr);
    ~CEnvironmentCtrl() override;

    // Finds the peer's characteristics and reads each; on every opening of the profile windows.
    void InitProfile(const BleDeviceRecord* peer);
    // Every successful read result of the connection; values not of this window change nothing.
    void OnCharacteristicValue(uint16_t handle, int length, const uint8_t* data);
    // Every write result, success or failure.
    void OnWriteResponse(uint16_t handle, uint16_t result);
    // Ends a calibration under way (the progress window's Stop).
    void StopCalibration();

    bool IsAutoUpdate() const { return m_autoUpdate; }
    bool IsCalibrating() const { return m_calibrating; }
    bool IsTimerRunning(UINT id) const { return m_timers.isRunning(id); }

    void DestroyWindow() override;

protected:
    void OnCreate() override;

private:
    void MapCommands();
    // The check box's state: polls at the chosen interval, or stops polling (and, when asked, drops
    // every request not yet sent).
    void OnAutoUpdate(bool clearQueues);
    // Reads every present value; a poll leaves out those still waiting in the read queue.
    void Refresh(bool poll);
    void Read(const BleUuid& uuid) const;
    void OnCalibrate();
    void ShowPictures();
    uint16_t Handle(const BleUuid& uuid) const;
    bool Has(const BleUuid& uuid) const { return Handle(uuid) != 0; }
    void ShowText(UINT id, const QString& text);

    bool m_autoUpdate = false;
    CProfileCtrlView m_wndView;
    platform::WindowTimers m_timers;
    std::map<BleUuid, uint16_t, BleUuidOrder> m_handles; // the peer's characteristics of this window
    std::array<QPixmap, 7> m_pictures;
    bool m_calibrating = false;
    QCheckBox* m_enable = nullptr;
    QComboBox* m_interval = nullptr;
};
