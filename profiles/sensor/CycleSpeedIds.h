// Numeric ids of the cycling window's controls, its own commands, icons and timers.
#pragma once

// The pane's template id is IDD_CSC; the location Update is ID_SC_UPDATE_LOCATION (res/resource.h).

// ---- Controls of the pane ------------------------------------------------------------------------
constexpr unsigned IDC_CSC_PICTURE_LOCATION = 1000;
constexpr unsigned IDC_CSC_LOCATIONS = 1130; // drop-down list of the supported locations
constexpr unsigned IDC_CSC_MARK_WHEEL = 1201;
constexpr unsigned IDC_CSC_MARK_CRANK = 1202;
constexpr unsigned IDC_CSC_MARK_LOCATIONS = 1205;
constexpr unsigned IDC_CSC_CUMULATIVE_VALUE = 1220; // edit
constexpr unsigned IDC_CSC_CIRCUMFERENCE = 1221;    // edit
constexpr unsigned IDC_CSC_PICTURE_SETTINGS = 1227;
constexpr unsigned IDC_CSC_SPEED = 1231;
constexpr unsigned IDC_CSC_CADENCE = 1232;
constexpr unsigned IDC_CSC_AVERAGE_SPEED = 1233;
constexpr unsigned IDC_CSC_AVERAGE_CADENCE = 1234;
constexpr unsigned IDC_CSC_DISTANCE = 1235;
constexpr unsigned IDC_CSC_WHEEL_REVOLUTIONS = 1236;
constexpr unsigned IDC_CSC_CRANK_REVOLUTIONS = 1237;
constexpr unsigned IDC_CSC_LOCATION = 1239;
constexpr unsigned IDC_CSC_PICTURE_SPEED = 1253;
constexpr unsigned IDC_CSC_PICTURE_CADENCE = 1254;
constexpr unsigned IDC_CSC_PICTURE_WHEEL = 1255;
constexpr unsigned IDC_CSC_PICTURE_DISTANCE = 1256;
constexpr unsigned IDC_CSC_PICTURE_CRANK = 1257;

// ---- Commands ------------------------------------------------------------------------------------
constexpr unsigned ID_CSC_SET_VALUE = 1131; // the running window's Calibrate Sensor has the same id
constexpr unsigned ID_CSC_RESET_DISTANCE = 1219;
constexpr unsigned ID_CSC_CIRCUMFERENCE = 1223;

// ---- Icons ---------------------------------------------------------------------------------------
constexpr unsigned IDI_CSC_SPEED = 412;
constexpr unsigned IDI_CSC_DISTANCE = 413;
constexpr unsigned IDI_CSC_WHEEL = 414;
constexpr unsigned IDI_CSC_CRANK = 416;
constexpr unsigned IDI_CSC_BICYCLE = 417;

// ---- Timers of the window ------------------------------------------------------------------------
constexpr unsigned TIMER_CSC_NO_DATA = 8;
constexpr unsigned TIMER_CSC_CONTROL_POINT = 9;
constexpr unsigned TIMER_CSC_SPEED = 10;
constexpr unsigned TIMER_CSC_CADENCE = 11;
