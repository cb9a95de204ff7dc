// Numeric ids of the user-data window's controls, commands and timer.
#pragma once

// The pane's template id is IDD_USER_DATA (res/resource.h).

// ---- Controls of the pane ------------------------------------------------------------------------
constexpr unsigned IDC_UD_REGISTER_GROUP = 1370;
constexpr unsigned IDC_UD_REGISTER_LABEL = 1366;
constexpr unsigned IDC_UD_REGISTER_CODE = 1067;
constexpr unsigned IDC_UD_CONSENT_GROUP = 1371;
constexpr unsigned IDC_UD_CONSENT_LABEL = 1368;
constexpr unsigned IDC_UD_CONSENT_INDEX = 1152;
constexpr unsigned IDC_UD_CONSENT_CODE = 1069;
constexpr unsigned IDC_UD_USER_INDEX = 1361;
constexpr unsigned IDC_UD_FIRST_NAME = 1235;
constexpr unsigned IDC_UD_CHANGES = 1230; // database change increment
constexpr unsigned IDC_UD_STATUS = 1369;

// ---- Commands (the window's own buttons) -------------------------------------------------------
constexpr unsigned ID_UD_REGISTER = 1352;
constexpr unsigned ID_UD_CONSENT = 1353;
constexpr unsigned ID_UD_UPDATE_NAME = 1363;
constexpr unsigned ID_UD_DELETE_USER = 1364;

// ---- Timers of the window ------------------------------------------------------------------------
constexpr unsigned TIMER_UD_RESPONSE = 25; // a control-point request waits for its response
