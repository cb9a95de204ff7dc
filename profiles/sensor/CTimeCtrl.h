// The time window: the clock, zone and daylight-saving state the PC serves as the peer's time server.
#pragma once

#include "gatt/CivilTime.h"
#include "gatt/CurrentTime.h"
#include "gatt/ZoneRules.h"
#include "platform/WindowTimers.h"
#include "profiles/base/CChildFrame.h"
#include "profiles/base/CProfileCtrlView.h"

#include <QFont>
#include <array>
#include <cstdint>

// Keeps its own clock, started from the local time and the system zone's rules; the user may change
// date, time and zone to simulate updates. The main window reads the served values from it and
// handles the pane's commands (date picked, "Update Time", zone selected, the time-out check); the
// window handles "Cancel Update" itself. Timers 4 (clock) and 5 (reference time-out) are its own.
class CTimeCtrl : public CChildFrame {
    Q_OBJECT
public:
    explicit CTimeCtrl(QWidget* parent = nullptr);
    ~CTimeCtrl() override;

    // Served values. Current Time's byte 9 (adjust reason) is 0; the caller sets it.
    std::array<uint8_t, 10> GetCurrentTimeValue() const;
    std::array<uint8_t, 8> GetNextDstChangeValue() const;
    // The time zone and the DST offset in force: 0 in standard time, the zone's offset in daylight time.
    std::array<uint8_t, 2> GetLocalTimeInfoValue() const;
    std::array<uint8_t, 4> GetReferenceTimeInfoValue() const;
    std::array<uint8_t, 2> GetTimeUpdateStateValue() const;

    // The clock, zone and daylight-saving state from the system again; a successful update.
    void SyncWithSystemTime();
    // The calendar's date becomes the clock's; true when the next daylight-saving change moved.
    bool OnDateSelected();
    // Hour and minute from the edits; true when the time changed. Invalid values: a message, no change.
    bool OnSetTime(bool* dstChanged);
    // The zone list's selection: item 1 is an hour east of the zone, item 0 the zone; true on a change.
    bool OnDstSelected();
    // A Get Reference Update from the peer: pending until timer 5 when the time-out is simulated, else
    // at once a successful update.
    void OnGetReferenceUpdate();
    // Ends a pending update: "Timeout" or "Cancelled". Nothing when none is pending.
    void EndReferenceUpdate(bool timeout);
    // Check 1182 ("Timeout Reference Update Request from Client") read into the time-out flag.
    void OnTimeoutCheck();
    bool IsUpdatePending() const { return m_bUpdatePending; }

    void DestroyWindow() override;

protected:
    void OnCreate() override;

private:
    void OnTimer(UINT id);
    void OnClockTick();
    void OnMinuteTick();
    void LoadClock();
    // The zone record: time zone, daylight rules, DST offset, next change, the zone list.
    void LoadZone();
    // Recomputes the daylight-saving side for a new moment; true when the next change moved.
    bool ApplyMoment(const CivilTime& moment);
    void SetNextChange(const std::optional<CivilTime>& change);
    void MoveDate(int days);
    void StartClock();
    void ShowTime();
    void ShowCalendarDate();
    void ShowDst();
    void ShowSinceUpdate();
    void ShowUpdateState();
    void ShowUpdateResult();

    CProfileCtrlView m_wndView;
    platform::WindowTimers m_timers;
    QFont m_boldFont;

    CivilTime m_clock;
    int m_nDayOfWeek = 1;     // 1 Monday ... 7 Sunday
    int m_nTimeZone = -128;   // 15-minute units; -128 until known
    int m_nDstOffset = 255;   // DST offset code after the next change; 255 until known
    int m_nZoneSelection = 0; // 255 when the zone could not be read
    CivilTime m_nextChange;
    bool m_bZoneRead = false;
    bool m_bHasDaylightRule = false;
    ZoneChangeRule m_standardDate;
    ZoneChangeRule m_daylightDate;
    uint8_t m_nZoneDstOffset = 0; // the zone's DST offset code in daylight time
    bool m_bDaylightTime = false;

    TimeSinceUpdate m_sinceUpdate;
    uint8_t m_nUpdateResult = 0;
    uint8_t m_nUpdateState = 0;
    bool m_bUpdatePending = false;
    bool m_bSimulateTimeout = false;
    bool m_bFirstClockPhase = true;
    bool m_bShowingDate = false; // the window itself moves the calendar: not a date picked
};
