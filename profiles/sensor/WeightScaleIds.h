// Numeric ids of the weight-scale window's controls.
#pragma once

// The pane's template id is IDD_WEIGHT_SCALE (res/resource.h).

constexpr unsigned IDC_WS_RECORDS = 1285;  // list of the recent measurements
constexpr unsigned IDC_WS_FEATURES = 1120; // list of the supported features
constexpr unsigned IDC_WS_USER_ID = 1372;  // user of the last measurement
