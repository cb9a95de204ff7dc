// Numeric ids of the running window's controls, its commands (handled by the main window), icons and
// timers.
#pragma once

// The pane's template id is IDD_RSC; the location Update is ID_SC_UPDATE_LOCATION (res/resource.h).

// ---- Controls of the pane ------------------------------------------------------------------------
constexpr unsigned IDC_RSC_DISTANCE_EDIT = 1067;
constexpr unsigned IDC_RSC_FEATURES = 1120;  // list box
constexpr unsigned IDC_RSC_LOCATIONS = 1130; // drop-down list of the supported locations
constexpr unsigned IDC_RSC_PICTURE_LOCATION = 1197;
constexpr unsigned IDC_RSC_STATUS_PICTURE = 1198; // walking or running
constexpr unsigned IDC_RSC_PICTURE_STRIDE = 1200;
constexpr unsigned IDC_RSC_DISTANCE = 1240;
constexpr unsigned IDC_RSC_SPEED = 1241;
constexpr unsigned IDC_RSC_CADENCE = 1242;
constexpr unsigned IDC_RSC_STRIDE = 1243;
constexpr unsigned IDC_RSC_LOCATION = 1245;
constexpr unsigned IDC_RSC_PICTURE_CADENCE = 1258;

// ---- Commands, handled by the main window -------------------------------------------------------
constexpr unsigned ID_RSC_SET_DISTANCE = 1129;
constexpr unsigned ID_RSC_CALIBRATE = 1131; // the cycling window's Set Value has the same id

// ---- Icons ---------------------------------------------------------------------------------------
constexpr unsigned IDI_RSC_WALKING = 301;
constexpr unsigned IDI_RSC_CADENCE = 429;
constexpr unsigned IDI_RSC_STRIDE = 430;
constexpr unsigned IDI_RSC_RUNNING = 431;

// ---- Timers of the window ------------------------------------------------------------------------
constexpr unsigned TIMER_RSC_CONTROL_POINT = 6;
constexpr unsigned TIMER_RSC_NO_DATA = 7;
