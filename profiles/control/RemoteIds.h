// Numeric ids of the remote-control windows' controls, the forwarding command and the remote's bitmaps.
#pragma once

// The panes' template ids are IDD_REMOTE and IDD_REMOTE_GENERIC (res/resource.h). The generic window
// shows its last report in IDC_HID_INPUT_REPORT and its descriptor in IDC_HID_DESCRIPTOR (HidIds.h).

// ---- Controls of the remote's pane -----------------------------------------------------------------
constexpr unsigned IDC_REMOTE_PICTURE = 1042;

// ---- Controls of the generic window's pane: the Flags bits 0 to 3 --------------------------------------
constexpr unsigned IDC_REMOTE_FLAG_VIRTUAL_CABLE = 1049;
constexpr unsigned IDC_REMOTE_FLAG_NORMALLY_CONNECTABLE = 1050;
constexpr unsigned IDC_REMOTE_FLAG_RECONNECT_INITIATE = 1051;
constexpr unsigned IDC_REMOTE_FLAG_BOOT_MODE = 1052;

// ---- Commands ------------------------------------------------------------------------------------
// The check box "Forward HID reports to system", handled by the main window.
constexpr unsigned ID_FORWARD_HID_REPORTS = 1043;

// ---- Bitmaps -------------------------------------------------------------------------------------
constexpr unsigned IDB_REMOTE_BACKGROUND = 185; // the lit keys are 186 to 221 (the key table)
