// Numeric ids of the time window's controls and of its own timers.
#pragma once

// The pane's template id is IDD_TIME (res/resource.h).

// ---- Controls of the pane ------------------------------------------------------------------------
constexpr unsigned IDC_TIME_HOUR = 1067;
constexpr unsigned IDC_TIME_ZONE = 1149; // its selection is a command of the main window
constexpr unsigned IDC_TIME_MINUTE = 1152;
constexpr unsigned IDC_TIME_UPDATE = 1175; // "Update Time", a command of the main window
constexpr unsigned IDC_TIME_DAYS_SINCE_UPDATE = 1177;
constexpr unsigned IDC_TIME_HOURS_SINCE_UPDATE = 1178;
constexpr unsigned IDC_TIME_LAST_UPDATE_RESULT = 1179;
constexpr unsigned IDC_TIME_UPDATE_STATE = 1180;
constexpr unsigned IDC_TIME_CANCEL_UPDATE = 1181;    // the window's own command
constexpr unsigned IDC_TIME_SIMULATE_TIMEOUT = 1182; // a command of the main window
constexpr unsigned IDC_TIME_CALENDAR = 1184;         // a picked date is a command of the main window
constexpr unsigned IDC_TIME_DST_NAME = 1246;
constexpr unsigned IDC_TIME_DST_DAY = 1247;
constexpr unsigned IDC_TIME_DST_MONTH = 1248;
constexpr unsigned IDC_TIME_DST_YEAR = 1249;
constexpr unsigned IDC_TIME_DST_HOUR = 1250;
constexpr unsigned IDC_TIME_DST_MINUTE = 1251;
constexpr unsigned IDC_TIME_DST_SECOND = 1252;

// ---- Timers of the window ------------------------------------------------------------------------
constexpr unsigned TIMER_TIME_CLOCK = 4;     // the clock: each second until a whole minute, then each minute
constexpr unsigned TIMER_TIME_REFERENCE = 5; // a reference update the client asked for times out
