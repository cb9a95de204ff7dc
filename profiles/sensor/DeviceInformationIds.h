// Numeric ids of the device-information window's controls.
#pragma once

// The pane's template id is IDD_DEVICE_INFORMATION (res/resource.h).

// ---- Controls of the pane ------------------------------------------------------------------------
constexpr unsigned IDC_DEVICE_INFORMATION_LIST = 1069;
