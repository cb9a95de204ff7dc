// Numeric ids of the application's resources: strings, commands, controls, templates, icons, timers.
#pragma once

// ---- Templates, menus, accelerators ---------------------------------------------------------------
constexpr unsigned IDD_ABOUTBOX = 100;
constexpr unsigned IDR_MAINFRAME = 128; // frame resource, menu 128, accelerator table 128, icon 128
constexpr unsigned IDR_PROFILE_CHILD = 169;
constexpr unsigned IDD_LOG = 223;
constexpr unsigned IDR_DEVICE_MENU = 225;
constexpr unsigned IDD_USER_PROMPT = 263;
constexpr unsigned IDD_HEART_RATE = 320;
constexpr unsigned IDD_CONNECT_PROGRESS = 322;

// ---- Strings ------------------------------------------------------------------------------------
constexpr unsigned IDS_MAIN = 1;
constexpr unsigned IDS_DEVICE_CONNECTIONS = 2;
constexpr unsigned IDS_DISCOVER_LABEL = 3;
constexpr unsigned IDS_DISCOVER_TIP = 4;
constexpr unsigned IDS_DISCOVER_DESC = 5;
constexpr unsigned IDS_CONNECT_LABEL = 6;
constexpr unsigned IDS_CONNECT_TIP = 7;
constexpr unsigned IDS_CONNECT_DESC = 8;
constexpr unsigned IDS_CONNECTION_PARAMETERS = 9;
constexpr unsigned IDS_MINIMUM = 10;
constexpr unsigned IDS_MAXIMUM = 11;
constexpr unsigned IDS_MINIMUM_DESC = 12;
constexpr unsigned IDS_MAXIMUM_DESC = 13;
constexpr unsigned IDS_LATENCY_TIP = 14;
constexpr unsigned IDS_LATENCY_DESC = 15;
constexpr unsigned IDS_TIMEOUT = 16;
constexpr unsigned IDS_TIMEOUT_DESC = 17;
constexpr unsigned IDS_QUICK_CONNECT = 18;
constexpr unsigned IDS_QUICK_CONNECT_DESC = 19;
constexpr unsigned IDS_UPDATE_PARAMETERS = 20;
constexpr unsigned IDS_UPDATE_PARAMETERS_DESC = 21;
constexpr unsigned IDS_ACCEPT_UPDATES = 22;
constexpr unsigned IDS_ACCEPT_UPDATES_DESC = 23;
constexpr unsigned IDS_RANDOM_ADDRESS = 24;
constexpr unsigned IDS_RANDOM_ADDRESS_DESC = 25;
constexpr unsigned IDS_DEBUG = 27;
constexpr unsigned IDS_SHOW_LOG = 28;
constexpr unsigned IDS_SHOW_LOG_DESC = 29;
constexpr unsigned IDS_ENABLE_LOG = 30;
constexpr unsigned IDS_ENABLE_LOG_DESC = 31;
constexpr unsigned IDS_HELP = 32;
constexpr unsigned IDS_ABOUT_LABEL = 33;
constexpr unsigned IDS_ABOUT_TIP = 34;
constexpr unsigned IDS_ABOUT_DESC = 35;
constexpr unsigned IDS_DISCONNECT_LABEL = 36;
constexpr unsigned IDS_DISCONNECT_DESC = 37;
constexpr unsigned IDS_LATENCY = 38;
constexpr unsigned IDS_PROP_GENERAL = 39;
constexpr unsigned IDS_PROP_GENERAL_DESC = 40;
constexpr unsigned IDS_PROP_ADDRESS = 41;
constexpr unsigned IDS_PROP_ADDRESS_DESC = 42;
constexpr unsigned IDS_PROP_NAME = 43;
constexpr unsigned IDS_PROP_NAME_DESC = 44;
constexpr unsigned IDS_PROP_RSSI = 45;
constexpr unsigned IDS_PROP_RSSI_DESC = 46;
constexpr unsigned IDS_PROP_FLAGS = 47;
constexpr unsigned IDS_PROP_FLAGS_DESC = 48;
constexpr unsigned IDS_PROP_FLAG_LIMITED = 49; // 49..58: the five flag rows, name then description
constexpr unsigned IDS_PROP_TX_LEVEL = 59;
constexpr unsigned IDS_PROP_TX_LEVEL_DESC = 60;
constexpr unsigned IDS_PROP_INTERVAL = 61;
constexpr unsigned IDS_PROP_INTERVAL_DESC = 62;
constexpr unsigned IDS_PROP_INTERVAL_MIN = 63;
constexpr unsigned IDS_PROP_INTERVAL_MIN_DESC = 64;
constexpr unsigned IDS_PROP_INTERVAL_MAX = 65;
constexpr unsigned IDS_PROP_INTERVAL_MAX_DESC = 66;
constexpr unsigned IDS_RENAMING_TITLE = 67;
constexpr unsigned IDS_RENAMING_TEXT = 68;
constexpr unsigned IDS_STATUS_DISCOVERING = 69;
constexpr unsigned IDS_STATUS_DISCONNECTING = 70;
constexpr unsigned IDS_STATUS_CONNECTING = 71;
constexpr unsigned IDS_STATUS_UPDATING_PARAMETERS = 72;
constexpr unsigned IDS_STATUS_RENAMING = 73;
constexpr unsigned IDS_STATUS_REMOVING_PAIRING = 74;
constexpr unsigned IDS_ADVANCED = 75;
constexpr unsigned IDS_HELP_CATEGORY = 76;
constexpr unsigned IDS_DONGLE_BUSY = 77;
constexpr unsigned IDS_PASSKEY_CAPTION = 79;
constexpr unsigned IDS_PASSKEY_PROMPT = 80;
constexpr unsigned IDS_INVALID_CONNECTION_PARAMETERS = 92;
constexpr unsigned IDS_ENABLE_MITM = 94;
constexpr unsigned IDS_SECURITY = 95;
constexpr unsigned IDS_ENABLE_MITM_DESC = 96;
constexpr unsigned IDS_STARTING_UP = 109;
constexpr unsigned IDS_INITIALIZING_USB = 110;
constexpr unsigned IDS_DISCONNECTING_FROM = 111;
constexpr unsigned IDS_DISCONNECTING = 112;
constexpr unsigned IDS_CONNECTING_TO = 113;
constexpr unsigned IDS_INITIATING_CONNECTION = 114;
constexpr unsigned IDS_DONGLE_UNPLUGGED = 116;
constexpr unsigned IDS_DONGLE_NOT_FOUND = 117;
constexpr unsigned IDS_DRIVER_NOT_INSTALLED = 118;
constexpr unsigned IDS_ALREADY_RUNNING = 119;
constexpr unsigned IDS_DEVICES_PANE = 155;
constexpr unsigned IDS_PROPERTIES_PANE = 158;
constexpr unsigned IDS_APP_TITLE = 57344; // AFX_IDS_APP_TITLE
constexpr unsigned IDS_READY = 57345;     // AFX_IDS_IDLEMESSAGE

// ---- Commands --------------------------------------------------------------------------------
constexpr unsigned ID_DISCOVER = 310;
constexpr unsigned ID_CONNECT = 311;
constexpr unsigned ID_PARAM_MIN = 314;
constexpr unsigned ID_PARAM_MAX = 315;
constexpr unsigned ID_PARAM_LATENCY = 316;
constexpr unsigned ID_PARAM_TIMEOUT = 317;
constexpr unsigned ID_UPDATE_PARAMETERS = 318;
constexpr unsigned ID_QUICK_CONNECT = 327;
constexpr unsigned ID_ENABLE_LOG = 329;
constexpr unsigned ID_REMOVE_PAIRING = 333;
constexpr unsigned ID_RENAME_DEVICE = 353;
constexpr unsigned ID_SHOW_LOG = 1055;
constexpr unsigned ID_RANDOM_ADDRESS = 1081;
constexpr unsigned ID_ACCEPT_UPDATES = 1117;
constexpr unsigned ID_ABOUT = 32775;
constexpr unsigned ID_ENABLE_MITM = 32799;
constexpr unsigned ID_INDICATOR_CAPS = 59137;

// ---- Controls ---------------------------------------------------------------------------------
constexpr unsigned IDC_PROGRESS_BAR = 1000;
constexpr unsigned IDC_PROGRESS_TEXT = 1003;
constexpr unsigned IDC_PROGRESS_STOP = 1044;
constexpr unsigned IDC_LOG_EDIT = 1054;
constexpr unsigned IDC_ABOUT_LINK = 1068;
constexpr unsigned IDC_PROMPT_EDIT = 1067;
constexpr unsigned IDC_PROMPT_TEXT = 1228;
constexpr unsigned IDC_DEVICE_TREE = 4;
constexpr unsigned IDC_PROPERTY_GRID = 2;
constexpr unsigned IDC_DEVICE_PANE = 323;
constexpr unsigned IDC_PROPERTIES_PANE = 325;

// ---- Icons -----------------------------------------------------------------------------------
constexpr unsigned IDI_ABOUT = 289;
constexpr unsigned IDI_ABOUT_PICTURE = 374;
constexpr unsigned IDI_DISCOVER = 388;
constexpr unsigned IDI_CONNECT = 389;
constexpr unsigned IDI_DISCONNECT = 390;
constexpr unsigned IDI_UPDATE_PARAMETERS = 391;
constexpr unsigned IDI_SHOW_LOG = 452;

// ---- Main-window timers ------------------------------------------------------------------------
constexpr unsigned TIMER_CLOSE = 3;
constexpr unsigned TIMER_RESUME = 4; // the wait before the host library restarts after a system resume
