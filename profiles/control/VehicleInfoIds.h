// Numeric ids of the vehicle information window's controls, command and icons.
#pragma once

// The pane's template id is IDD_VEHICLE_INFO (res/resource.h).

// ---- Controls of the pane ------------------------------------------------------------------------
constexpr unsigned IDC_VI_STATIONS = 1268; // list of the preset radio stations
constexpr unsigned IDC_VI_SPEED_LIMIT = 1270;
constexpr unsigned IDC_VI_ODOMETER = 1271;
constexpr unsigned IDC_VI_TRUNK = 1272;
constexpr unsigned IDC_VI_LOCK = 1273;
constexpr unsigned IDC_VI_REGISTRATION = 1274;
constexpr unsigned IDC_VI_FUEL = 1275;
constexpr unsigned IDC_VI_RANGE = 1276;
constexpr unsigned IDC_VI_LATITUDE = 1277;
constexpr unsigned IDC_VI_LONGITUDE = 1278;
constexpr unsigned IDC_VI_TYRE_FIRST = 1279; // 1279 to 1283: the five tyres
constexpr unsigned IDC_VI_MAP_LINK = 1284;   // opens the position in a web map
constexpr unsigned IDC_VI_REGISTRATION_PICTURE = 1299;
constexpr unsigned IDC_VI_LOCK_PICTURE = 1300;
constexpr unsigned IDC_VI_TRUNK_PICTURE = 1301;
constexpr unsigned IDC_VI_ODOMETER_PICTURE = 1302;
constexpr unsigned IDC_VI_SPEED_LIMIT_PICTURE = 1303;
constexpr unsigned IDC_VI_FUEL_PICTURE = 1304;
constexpr unsigned IDC_VI_RANGE_PICTURE = 1305;
constexpr unsigned IDC_VI_LATITUDE_PICTURE = 1306;
constexpr unsigned IDC_VI_LONGITUDE_PICTURE = 1307;
constexpr unsigned IDC_VI_TYRE_PICTURE = 1308;
constexpr unsigned IDC_VI_WARNING_PICTURE = 1319;

// ---- Commands ------------------------------------------------------------------------------------
constexpr unsigned ID_VI_REMOVE_PAIRING = 1269;

// ---- Icons ---------------------------------------------------------------------------------------
constexpr unsigned IDI_VI_REGISTRATION = 433;
constexpr unsigned IDI_VI_LOCKED = 434;
constexpr unsigned IDI_VI_UNLOCKED = 435;
constexpr unsigned IDI_VI_ODOMETER = 436;
constexpr unsigned IDI_VI_SPEED_LIMIT = 437;
constexpr unsigned IDI_VI_FUEL = 438;
constexpr unsigned IDI_VI_RANGE = 439;
constexpr unsigned IDI_VI_POSITION = 440;
constexpr unsigned IDI_VI_TRUNK_CLOSED = 442;
constexpr unsigned IDI_VI_TRUNK_OPEN = 443;
constexpr unsigned IDI_VI_TYRE = 444;
constexpr unsigned IDI_VI_WARNING = 463;
