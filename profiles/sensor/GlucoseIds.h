// Numeric ids of the glucose window's controls and of the record-access commands of its buttons.
#pragma once

// The pane's template id is IDD_GLUCOSE (res/resource.h).

// ---- Controls of the pane ------------------------------------------------------------------------
constexpr unsigned IDC_GLUCOSE_BELOW_EDIT = 1067;  // "upper limit" of "Below sequence number"
constexpr unsigned IDC_GLUCOSE_ABOVE_EDIT = 1068;  // "lower limit" of "Above sequence number"
constexpr unsigned IDC_GLUCOSE_BETWEEN_LOW = 1069; // "lower limit" of "Between sequence numbers:"
constexpr unsigned IDC_GLUCOSE_RECORDS = 1070;     // "Stored records"
constexpr unsigned IDC_GLUCOSE_VALUE = 1073;
constexpr unsigned IDC_GLUCOSE_COLOUR = 1074;
constexpr unsigned IDC_GLUCOSE_UNIT = 1075;
constexpr unsigned IDC_GLUCOSE_SAMPLE = 1076;
constexpr unsigned IDC_GLUCOSE_ERROR = 1077;
constexpr unsigned IDC_GLUCOSE_STATUS = 1078;
constexpr unsigned IDC_GLUCOSE_CONTEXT = 1079;       // list of the record's context
constexpr unsigned IDC_GLUCOSE_CONTEXT_GROUP = 1080; // "Measurement details"
constexpr unsigned IDC_GLUCOSE_BETWEEN_HIGH = 1152;  // "upper limit" of "Between sequence numbers:"
constexpr unsigned IDC_GLUCOSE_ALL = 1290;
constexpr unsigned IDC_GLUCOSE_BELOW = 1291;
constexpr unsigned IDC_GLUCOSE_FIRST = 1292;
constexpr unsigned IDC_GLUCOSE_ABOVE = 1293;
constexpr unsigned IDC_GLUCOSE_LAST = 1294;
constexpr unsigned IDC_GLUCOSE_BETWEEN = 1295;
constexpr unsigned IDC_GLUCOSE_COUNT = 1296;

// ---- Commands (buttons handled by the main window) ------------------------------------------------
constexpr unsigned ID_GLUCOSE_CANCEL_ALL = 337; // "Cancel" beside "Read all"
constexpr unsigned ID_GLUCOSE_READ_ALL = 1071;
constexpr unsigned ID_GLUCOSE_DELETE_ALL = 1072;
constexpr unsigned ID_GLUCOSE_GET_COUNT = 1286;
constexpr unsigned ID_GLUCOSE_READ = 1287;
constexpr unsigned ID_GLUCOSE_DELETE = 1288;
constexpr unsigned ID_GLUCOSE_CANCEL = 1289;
