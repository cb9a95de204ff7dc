// The tyre-pressure window: one tyre sensor's pressure, temperature and wheel position, its alarms,
// its thresholds and the removal of its pairing.
#pragma once

#include "platform/WindowTimers.h"
#include "profiles/base/CChildFrame.h"
#include "profiles/control/CTpmsCtrlView.h"

#include <veyrahost.h>

#include <QPixmap>
#include <QString>
#include <cstdint>
#include <map>
#include <span>
#include <vector>

class BleDeviceRecord;
class QLabel;
class QLineEdit;

// Pressures are kept in absolute psi; the relative display shows them minus the offset. The
// low-pressure threshold is kept in the settings ("Threshold Pressure" under "Settings") from one
// window to the next; offset and display mode last as long as the window, the blow-out values come
// from the sensor.
class CTpmsCollectorCtrl : public CChildFrame {
    Q_OBJECT
public:
    enum class DisplayMode { Absolute = 0, Relative = 1 };

    static constexpr double kDefaultLowThreshold = 26.0;
    static constexpr double kDefaultBlowOut = 15.0;
    static constexpr double kDefaultOffset = 14.5;
    static constexpr UINT kBlinkPeriodMs = 500;

    explicit CTpmsCollectorCtrl(QWidget* parent = nullptr);
    ~CTpmsCollectorCtrl() override;

    // Stops the blink timers and saves the low-pressure threshold, then closes the window. The user's
    // close of the window does the same.
    void DestroyWindow() override;

    // Runs at every opening of the profile windows: takes the sensor's handles, queues the first reads
    // and the subscriptions, and decides "Remove Pairing". The stored threshold and the pictures are
    // loaded the first time only; threshold, offset and mode the user set stay.
    void InitProfile(const BleDeviceRecord& device);
    // Every read result and notification.
    void OnValueReceived(uint16_t handle, std::span<const uint8_t> value);
    // Every write result, success or failure.
    void OnWriteResponse(uint16_t handle, uint16_t status);

    void OnUpdate();
    void OnRemovePairing();
    void OnTimer(UINT id);
    void SetDisplayMode(DisplayMode mode);
    // Edit id of the pane lost the focus: its check runs as the edit's command, so that a lost link
    // closing the window while the check's message is shown waits until the check is over.
    void OnEditKillFocus(UINT id);
    // The checks of the edits; one at a time: while one shows its message, the others do nothing.
    void OnLowThresholdKillFocus();
    void OnOffsetKillFocus();
    void OnBlowOutThresholdKillFocus();

    void UpdateAlarm();
    void ShowBlowOutPressure(double psi);
    void ShowPosition(uint8_t position);
    void RefreshPressureDisplays();
    // The blow-out threshold in kPa as it is written; the threshold takes the value that kPa stands for.
    uint16_t PsiToKpa();

    DisplayMode Mode() const { return m_mode; }
    double Pressure() const { return m_pressure; }
    double LowThreshold() const { return m_lowThreshold; }
    double BlowOutPressure() const { return m_blowOut; }
    bool IsTimerRunning(UINT id) const { return m_timers.isRunning(id); }
    // The pictures the alarm shows: normal, low pressure, blow-out.
    const QPixmap& NormalPicture() const { return m_normalPicture; }
    const QPixmap& LowPressurePicture() const { return m_lowPressurePicture; }
    const QPixmap& BlowOutPicture() const { return m_blowOutPicture; }

protected:
    void OnCreate() override;

private:
    void OnDestroy();
    void LoadThreshold();
    void SaveThreshold() const;
    void LoadAlarmPictures();
    void ShowPressure(std::span<const uint8_t> value);
    void ShowTemperature(std::span<const uint8_t> value);
    // The message (stop icon); then the edit shows value ("%2.1lf", relative in relative mode), has
    // the focus and its text selected.
    void ShowValidationError(UINT editId, const QString& message, double value);
    // A refused blow-out threshold: the message, and the sensor's threshold back in the edit and as
    // the one Update writes.
    void RefuseBlowOutThreshold(const QString& message);
    // The message, then the edit shows text and has the focus, with the text selected when asked.
    void PromptAndRestore(UINT editId, const QString& message, const QString& text, bool select);
    // Closes the progress window once no write queued by Update or Remove Pairing awaits its result.
    void WriteDone(uint16_t handle);
    bool QueueWrite(uint16_t handle, std::vector<uint8_t> value);
    // What the relative display subtracts: the offset, or 0 in absolute mode.
    double Shown() const;
    QString Text(UINT id) const;
    void SetText(UINT id, const QString& text);
    void Log(const QString& text) const;
    uint16_t Handle(uint16_t vendorNumber) const;

    CTpmsCtrlView m_wndView;
    platform::WindowTimers m_timers;
    uint32_t m_cid = 0;
    BleTypedAddress m_address{};
    std::map<uint16_t, uint16_t> m_valueHandles;  // vendor number -> value handle
    std::map<uint16_t, uint16_t> m_configHandles; // vendor number -> configuration handle
    bool m_loaded = false;                        // threshold and pictures loaded
    DisplayMode m_mode = DisplayMode::Absolute;
    double m_pressure = 0.0;
    double m_lowThreshold = kDefaultLowThreshold;
    double m_blowOut = kDefaultBlowOut;
    double m_blowOutThreshold = kDefaultBlowOut;
    double m_offset = kDefaultOffset;
    bool m_pressureReceived = false;
    uint8_t m_position = 0xFF;         // as last read or confirmed
    uint8_t m_selectedPosition = 0xFF; // as last requested
    bool m_removePairingEnabled = false;
    bool m_validating = false;
    std::vector<uint16_t> m_pendingWrites; // handles of the writes awaiting their result
    QLabel* m_alarm = nullptr;
    QPixmap m_normalPicture;
    QPixmap m_temperaturePicture;
    QPixmap m_lowPressurePicture;
    QPixmap m_positionPicture;
    QPixmap m_blowOutPicture;
    QPixmap m_warningPicture;
};
