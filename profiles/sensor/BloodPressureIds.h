// Numeric ids of the blood-pressure window's controls and its icon.
#pragma once

// The pane's template id is IDD_BLOOD_PRESSURE (res/resource.h).

// ---- Controls of the pane ------------------------------------------------------------------------
constexpr unsigned IDC_BP_PULSE_IMAGE = 1105;
constexpr unsigned IDC_BP_PULSE = 1106;
constexpr unsigned IDC_BP_MEAN_ARTERIAL = 1107;
constexpr unsigned IDC_BP_SYSTOLIC_UNIT = 1108;
constexpr unsigned IDC_BP_TIME = 1109;
constexpr unsigned IDC_BP_ADDITIONAL_TEXT = 1110;
constexpr unsigned IDC_BP_ADDITIONAL_GROUP = 1111;
constexpr unsigned IDC_BP_DIASTOLIC = 1112;
constexpr unsigned IDC_BP_SYSTOLIC = 1113;
constexpr unsigned IDC_BP_DIASTOLIC_UNIT = 1114;
constexpr unsigned IDC_BP_MEAN_ARTERIAL_UNIT = 1115;
constexpr unsigned IDC_BP_PULSE_UNIT = 1116;
constexpr unsigned IDC_BP_DATE = 1117;

// ---- Icons ---------------------------------------------------------------------------------------
constexpr unsigned IDI_BP_PULSE = 408;
