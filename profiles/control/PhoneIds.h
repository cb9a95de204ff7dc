// Numeric ids of the phone window's controls, of the commands the main window handles for it, and of its
// icons.
#pragma once

// The pane's template id is IDD_PHONE and its context menu IDR_PHONE_MENU (res/resource.h).

// ---- Controls and commands of the pane ----------------------------------------------------------
// The main window's update handlers enable the ranges 1082-1098 (alert status and ringer) and
// 1099-1102 (notifications).
constexpr unsigned IDC_PHONE_RING = 1082;
constexpr unsigned IDC_PHONE_VIBRATE = 1083;
constexpr unsigned IDC_PHONE_DISPLAY = 1084;
constexpr unsigned IDC_PHONE_RING_PICTURE = 1085;
constexpr unsigned IDC_PHONE_VIBRATE_PICTURE = 1086;
constexpr unsigned IDC_PHONE_DISPLAY_PICTURE = 1087;
constexpr unsigned IDC_PHONE_RINGER_NORMAL = 1093;
constexpr unsigned IDC_PHONE_RINGER_MUTE = 1094;
constexpr unsigned IDC_PHONE_NORMAL_PICTURE = 1095;
constexpr unsigned IDC_PHONE_MUTE_PICTURE = 1096;
constexpr unsigned IDC_PHONE_RINGER_GROUP = 1097;
constexpr unsigned IDC_PHONE_STATUS_GROUP = 1098;
constexpr unsigned IDC_PHONE_CATEGORY = 1099;
constexpr unsigned IDC_PHONE_ADD = 1100;
constexpr unsigned IDC_PHONE_LIST = 1101;
constexpr unsigned IDC_PHONE_NOTIFICATIONS_GROUP = 1102;
constexpr unsigned IDC_PHONE_TEXT = 1068;
constexpr unsigned ID_PHONE_TOGGLE_READ = 32778;    // button "Toggle", menu "Toggle read/unread status"
constexpr unsigned ID_PHONE_DELETE_RECORDS = 32779; // button "Delete", menu "Delete record"

// ---- Icons ---------------------------------------------------------------------------------------
constexpr unsigned IDI_PHONE_NO_STATUS = 345; // the template's vibrate picture, before the peer subscribes
constexpr unsigned IDI_PHONE_RINGING = 418;
constexpr unsigned IDI_PHONE_VIBRATING = 420;
constexpr unsigned IDI_PHONE_DISPLAY = 422;
constexpr unsigned IDI_PHONE_RINGER_NORMAL = 424;
constexpr unsigned IDI_PHONE_RINGER_MUTED = 426;
