// Numeric ids of the notification-center window's controls and of the commands its own buttons issue.
#pragma once

// The pane's template id is IDD_ANCS (res/resource.h).

// ---- Controls of the pane ------------------------------------------------------------------------
constexpr unsigned IDC_ANCS_CATEGORY = 1200;
constexpr unsigned IDC_ANCS_COUNT = 1351;
constexpr unsigned IDC_ANCS_ADDED = 1334;
constexpr unsigned IDC_ANCS_MODIFIED = 1335;
constexpr unsigned IDC_ANCS_REMOVED = 1336;
constexpr unsigned IDC_ANCS_SILENT = 1337;
constexpr unsigned IDC_ANCS_IMPORTANT = 1338;
constexpr unsigned IDC_ANCS_CATEGORY_LIST = 1339;
constexpr unsigned IDC_ANCS_ATTRIBUTE_LIST = 1340;

// ---- Commands handled by the window itself -------------------------------------------------------
constexpr unsigned ID_ANCS_ADD = 1342;
constexpr unsigned ID_ANCS_MODIFY = 1343;
constexpr unsigned ID_ANCS_DELETE = 1288;
constexpr unsigned ID_ANCS_UPDATE = 1132;
