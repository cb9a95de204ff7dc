// Numeric ids of the environment window's controls, commands, icons and poll timer.
#pragma once

// The pane's template id is IDD_ENVIRONMENT; the pressure icon is IDI_PRESSURE (res/resource.h).

// ---- Controls of the pane ------------------------------------------------------------------------
constexpr unsigned IDC_ENV_INTERVAL = 1200; // drop-down list of seconds
constexpr unsigned IDC_ENV_PRESSURE = 1260;
constexpr unsigned IDC_ENV_TEMPERATURE = 1329;
constexpr unsigned IDC_ENV_HUMIDITY = 1330;
constexpr unsigned IDC_ENV_ACCELERATION = 1331;
constexpr unsigned IDC_ENV_ANGULAR_VELOCITY = 1332;
constexpr unsigned IDC_ENV_MAGNETIC_FLUX = 1333;
constexpr unsigned IDC_ENV_DIRECTION = 1337;
constexpr unsigned IDC_ENV_PICTURE_PRESSURE = 1344;
constexpr unsigned IDC_ENV_PICTURE_TEMPERATURE = 1345;
constexpr unsigned IDC_ENV_PICTURE_HUMIDITY = 1346;
constexpr unsigned IDC_ENV_PICTURE_ACCELERATION = 1347;
constexpr unsigned IDC_ENV_PICTURE_ANGULAR_VELOCITY = 1348;
constexpr unsigned IDC_ENV_PICTURE_MAGNETIC_FLUX = 1349;
constexpr unsigned IDC_ENV_PICTURE_DIRECTION = 1351;

// ---- Commands ------------------------------------------------------------------------------------
constexpr unsigned ID_ENV_UPDATE_PRESSURE = 1325;
constexpr unsigned ID_ENV_UPDATE_HUMIDITY = 1326;
constexpr unsigned ID_ENV_UPDATE_ACCELERATION = 1327;
constexpr unsigned ID_ENV_AUTO_UPDATE = 1328; // the Enable check box
constexpr unsigned ID_ENV_UPDATE_TEMPERATURE = 1334;
constexpr unsigned ID_ENV_UPDATE_ANGULAR_VELOCITY = 1335;
constexpr unsigned ID_ENV_UPDATE_MAGNETIC_FLUX = 1336;
constexpr unsigned ID_ENV_CALIBRATE = 1356;

// ---- Icons ---------------------------------------------------------------------------------------
constexpr unsigned IDI_ENV_DIRECTION = 477;
constexpr unsigned IDI_ENV_ACCELERATION = 478;
constexpr unsigned IDI_ENV_ANGULAR_VELOCITY = 479;
constexpr unsigned IDI_ENV_HUMIDITY = 480;
constexpr unsigned IDI_ENV_TEMPERATURE = 481;
constexpr unsigned IDI_ENV_MAGNETIC_FLUX = 482;

// ---- Timer of the window -------------------------------------------------------------------------
constexpr unsigned TIMER_ENV_POLL = 2111;
