// Numeric ids of the steering-wheel window's button pictures and of their pressed and released icons.
#pragma once

// The pane's template id is IDD_STEERING_WHEEL (res/resource.h); its title is IDS_STEERING_WHEEL.

// ---- Controls of the pane: one picture per button -----------------------------------------------------
constexpr unsigned IDC_MFSW_MENU_RIGHT = 1223;
constexpr unsigned IDC_MFSW_MENU_LEFT = 1224;
constexpr unsigned IDC_MFSW_MENU_UP = 1225;
constexpr unsigned IDC_MFSW_MENU_PICK = 1226;
constexpr unsigned IDC_MFSW_MENU_DOWN = 1227;
constexpr unsigned IDC_MFSW_VOLUME_UP = 1234;
constexpr unsigned IDC_MFSW_NEXT_TRACK = 1235;
constexpr unsigned IDC_MFSW_BUTTON_26 = 1236; // usage 0x26
constexpr unsigned IDC_MFSW_PLAY = 1237;
constexpr unsigned IDC_MFSW_PREVIOUS_TRACK = 1238;
constexpr unsigned IDC_MFSW_VOLUME_DOWN = 1239;

// ---- Icons: released, pressed ---------------------------------------------------------------------
constexpr unsigned IDI_MFSW_MENU_UP_RELEASED = 379;
constexpr unsigned IDI_MFSW_MENU_UP_PRESSED = 380;
constexpr unsigned IDI_MFSW_MENU_DOWN_RELEASED = 382;
constexpr unsigned IDI_MFSW_MENU_DOWN_PRESSED = 383;
constexpr unsigned IDI_MFSW_MENU_LEFT_RELEASED = 384;
constexpr unsigned IDI_MFSW_MENU_LEFT_PRESSED = 385;
constexpr unsigned IDI_MFSW_MENU_RIGHT_RELEASED = 386;
constexpr unsigned IDI_MFSW_MENU_RIGHT_PRESSED = 387;
constexpr unsigned IDI_MFSW_MENU_PICK_RELEASED = 392;
constexpr unsigned IDI_MFSW_MENU_PICK_PRESSED = 393;
constexpr unsigned IDI_MFSW_VOLUME_UP_RELEASED = 394;
constexpr unsigned IDI_MFSW_VOLUME_UP_PRESSED = 395;
constexpr unsigned IDI_MFSW_VOLUME_DOWN_RELEASED = 396;
constexpr unsigned IDI_MFSW_VOLUME_DOWN_PRESSED = 397;
constexpr unsigned IDI_MFSW_PLAY_RELEASED = 398;
constexpr unsigned IDI_MFSW_PLAY_PRESSED = 400;
constexpr unsigned IDI_MFSW_NEXT_TRACK_RELEASED = 402;
constexpr unsigned IDI_MFSW_NEXT_TRACK_PRESSED = 403;
constexpr unsigned IDI_MFSW_PREVIOUS_TRACK_RELEASED = 404;
constexpr unsigned IDI_MFSW_PREVIOUS_TRACK_PRESSED = 405;
constexpr unsigned IDI_MFSW_BUTTON_26_RELEASED = 406;
constexpr unsigned IDI_MFSW_BUTTON_26_PRESSED = 407;
