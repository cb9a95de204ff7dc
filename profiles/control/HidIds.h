// Numeric ids of the HID window's controls and of the commands its buttons send to the main window.
#pragma once

// The pane's template id is IDD_HID (res/resource.h). The generic remote's pane (IDD_REMOTE_GENERIC)
// shows its last report and its descriptor in the same controls as this one.

// ---- Controls of the pane ------------------------------------------------------------------------
constexpr unsigned IDC_HID_INPUT_REPORT = 1045; // the last report notified
constexpr unsigned IDC_HID_DESCRIPTOR = 1053;   // the report map
constexpr unsigned IDC_HID_CONTROL_COMMAND = 1059;
constexpr unsigned IDC_HID_INFORMATION = 1062;
constexpr unsigned IDC_HID_BOOT_PROTOCOL = 1063;
constexpr unsigned IDC_HID_REPORT_PROTOCOL = 1064;
constexpr unsigned IDC_HID_OUTPUT_REPORT = 1067;
constexpr unsigned IDC_HID_FEATURE_REPORT = 1068;
constexpr unsigned IDC_HID_OUTPUT_REPORT_ID = 1200;
constexpr unsigned IDC_HID_FEATURE_REPORT_ID = 1201;

// ---- Commands (the pane's buttons), handled by the main window ---------------------------------------
constexpr unsigned ID_HID_SEND_CONTROL_POINT = 1060;
constexpr unsigned ID_HID_SET_PROTOCOL_MODE = 1065;
constexpr unsigned ID_HID_GET_PROTOCOL_MODE = 1066;
constexpr unsigned ID_HID_SET_OUTPUT_REPORT = 1297;
constexpr unsigned ID_HID_GET_OUTPUT_REPORT = 1298;
constexpr unsigned ID_HID_SET_FEATURE_REPORT = 1299;
constexpr unsigned ID_HID_GET_FEATURE_REPORT = 1300;
