// Numeric ids of the heart-rate window's controls, its Reset command and its icons.
#pragma once

// The pane's template id is IDD_HEART_RATE (res/resource.h).

// ---- Controls of the pane ------------------------------------------------------------------------
constexpr unsigned IDC_HR_HEART_RATE = 1030;
constexpr unsigned IDC_HR_RR_INTERVALS = 1031;
constexpr unsigned IDC_HR_LOCATION = 1032;
constexpr unsigned IDC_HR_ENERGY_EXPENDED = 1034;
constexpr unsigned IDC_HR_PICTURE_RATE = 1112;
constexpr unsigned IDC_HR_PICTURE_RR = 1113;
constexpr unsigned IDC_HR_PICTURE_ENERGY = 1114;
constexpr unsigned IDC_HR_CONTACT_IMAGE = 1115;
constexpr unsigned IDC_HR_CONTACT_TEXT = 1116;

// ---- Commands ------------------------------------------------------------------------------------
constexpr unsigned ID_HR_RESET_ENERGY = 1046; // the Reset button, handled by the main window

// ---- Icons ---------------------------------------------------------------------------------------
constexpr unsigned IDI_HR_RATE = 409;
constexpr unsigned IDI_HR_RR = 410;
constexpr unsigned IDI_HR_ENERGY = 411;
