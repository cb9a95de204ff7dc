// Numeric ids of the body-composition window's controls.
#pragma once

// The pane's template id is IDD_BODY_COMPOSITION (res/resource.h).

constexpr unsigned IDC_BC_RECORDS = 1340;  // list of the recent measurements
constexpr unsigned IDC_BC_FEATURES = 1357; // list of the supported features
constexpr unsigned IDC_BC_USER_ID = 1373;  // user of the last measurement
