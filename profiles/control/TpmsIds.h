// Numeric ids of the tyre-pressure window's controls, commands, timers and icons.
#pragma once

// The pane's template id is IDD_TPMS and its normal alarm picture is IDI_PRESSURE (res/resource.h).

// ---- Controls of the pane ------------------------------------------------------------------------
constexpr unsigned IDC_TPMS_LOW_THRESHOLD = 1067; // edit, psi
constexpr unsigned IDC_TPMS_OFFSET = 1152;        // edit, psi
constexpr unsigned IDC_TPMS_POSITION_LIST = 1200; // drop-down list of the wheel positions
constexpr unsigned IDC_TPMS_PRESSURE = 1260;
constexpr unsigned IDC_TPMS_TEMPERATURE = 1263;
constexpr unsigned IDC_TPMS_BLOW_OUT = 1264;
constexpr unsigned IDC_TPMS_POSITION = 1265;
constexpr unsigned IDC_TPMS_SPARE_PICTURE = 1266;      // hidden
constexpr unsigned IDC_TPMS_BLOW_OUT_THRESHOLD = 1267; // edit, psi
constexpr unsigned IDC_TPMS_ALARM_PICTURE = 1309;
constexpr unsigned IDC_TPMS_TEMPERATURE_PICTURE = 1310;
constexpr unsigned IDC_TPMS_BLOW_OUT_PICTURE = 1311;
constexpr unsigned IDC_TPMS_POSITION_PICTURE = 1312;
constexpr unsigned IDC_TPMS_POSITION_LIST_PICTURE = 1313;
constexpr unsigned IDC_TPMS_LOW_THRESHOLD_PICTURE = 1314;
constexpr unsigned IDC_TPMS_BLOW_OUT_THRESHOLD_PICTURE = 1315;
constexpr unsigned IDC_TPMS_SHOW_ABSOLUTE = 1317;
constexpr unsigned IDC_TPMS_SHOW_RELATIVE = 1318;
constexpr unsigned IDC_TPMS_THRESHOLD_WARNING_PICTURE = 1320; // hidden

// ---- Commands ------------------------------------------------------------------------------------
constexpr unsigned ID_TPMS_REMOVE_PAIRING = 1224;
constexpr unsigned ID_TPMS_UPDATE = 1262;

// ---- Timers of the window ------------------------------------------------------------------------
constexpr unsigned TIMER_TPMS_LOW_PRESSURE = 1111; // blinks the low-pressure alarm
constexpr unsigned TIMER_TPMS_BLOW_OUT = 1112;     // blinks the blow-out alarm

// ---- Icons ---------------------------------------------------------------------------------------
constexpr unsigned IDI_TPMS_TEMPERATURE = 448;
constexpr unsigned IDI_TPMS_LOW_PRESSURE = 449; // also the low-pressure threshold's picture
constexpr unsigned IDI_TPMS_POSITION = 450;
constexpr unsigned IDI_TPMS_BLOW_OUT = 451; // also the blow-out pressure's pictures
constexpr unsigned IDI_TPMS_WARNING = 466;
