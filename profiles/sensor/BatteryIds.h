// Numeric ids of the battery window's controls, its Update command, its icon and its timer.
#pragma once

// The pane's template id is IDD_BATTERY (res/resource.h); the warning text is IDS_BATTERY_CRITICAL.

// ---- Controls of the pane ------------------------------------------------------------------------
constexpr unsigned IDC_BATTERY_BAR = 1000;
constexpr unsigned IDC_BATTERY_PERCENT = 1021;
constexpr unsigned IDC_BATTERY_WARNING_TEXT = 1375;
constexpr unsigned IDC_BATTERY_WARNING_IMAGE = 1376;

// ---- Commands ------------------------------------------------------------------------------------
constexpr unsigned ID_BATTERY_UPDATE = 1057; // the Update button, handled by the main window

// ---- Icons ---------------------------------------------------------------------------------------
constexpr unsigned IDI_BATTERY_WARNING = 491;

// ---- Timers of the window ------------------------------------------------------------------------
constexpr unsigned TIMER_BATTERY_BLINK = 25;
constexpr unsigned kBatteryBlinkPeriodMs = 500;
