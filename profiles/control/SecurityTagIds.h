// Numeric ids of the security-tag window's controls, of the commands the main window handles for it,
// and of its icons.
#pragma once

// The pane's template id is IDD_SECURITY_TAG (res/resource.h).

// ---- Controls of the pane ------------------------------------------------------------------------
constexpr unsigned IDC_TAG_DISTANCE = 1000;       // progress bar, 20..127: the negated signal strength
constexpr unsigned IDC_TAG_LEVEL = 1007;          // the level "Set level" writes
constexpr unsigned IDC_TAG_LOW_THRESHOLD = 1014;  // spin edit -127..-20 (its spin is 1015)
constexpr unsigned IDC_TAG_HIGH_THRESHOLD = 1016; // spin edit -127..-20 (its spin is 1017)
constexpr unsigned IDC_TAG_RSSI = 1018;
constexpr unsigned IDC_TAG_ALERT_PICTURE = 1038;

// ---- Commands handled by the main window ---------------------------------------------------------
constexpr unsigned ID_TAG_SET_LEVEL = 1008;
constexpr unsigned ID_TAG_LINK_LOSS_ALERT = 1028;
// The "Local immediate alert" group and its level text, enabled while the local server is ready.
constexpr unsigned IDC_TAG_LOCAL_GROUP = 1033;
constexpr unsigned IDC_TAG_ALERT_LEVEL = 1035;
constexpr unsigned ID_TAG_PLAY_SOUND = 1036;

// ---- Icons ---------------------------------------------------------------------------------------
constexpr unsigned IDI_TAG_NO_ALERT = 453;
constexpr unsigned IDI_TAG_HIGH_ALERT = 454;
constexpr unsigned IDI_TAG_LOW_ALERT = 455;

// ---- Sounds --------------------------------------------------------------------------------------
constexpr unsigned IDR_WAVE_ALERT = 182; // played when the tag alerts the PC with "Play sound" on
