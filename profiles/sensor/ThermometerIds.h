// Numeric ids of the thermometer window's controls.
#pragma once

// The pane's template id is IDD_THERMOMETER (res/resource.h).

// ---- Controls of the pane ------------------------------------------------------------------------
constexpr unsigned IDC_TEMP_GAUGE = 1040;
constexpr unsigned IDC_TEMP_VALUE = 1041;
constexpr unsigned IDC_TEMP_SITE = 1259;
