// Integer types, message ids and constants that the application's code uses with their Windows names.
#pragma once

#include <cstdint>

#ifndef TINDREL_WINTYPES_DEFINED
#define TINDREL_WINTYPES_DEFINED

using UINT = unsigned int;
using DWORD = uint32_t;
using WPARAM = uintptr_t;
using LPARAM = intptr_t;
using LRESULT = intptr_t;
using BOOL = int;
using HWND = void*;
using LONG = int32_t;
using HDEVNOTIFY = void*;

#ifndef TRUE
constexpr BOOL TRUE = 1;
#endif
#ifndef FALSE
constexpr BOOL FALSE = 0;
#endif

// Window messages.
constexpr UINT WM_TIMER = 0x0113;
constexpr UINT WM_DEVICECHANGE = 0x0219;
constexpr UINT WM_POWERBROADCAST = 0x0218;

// Error codes.
constexpr LONG ERROR_SUCCESS = 0;
constexpr LONG ERROR_FILE_NOT_FOUND = 2;
constexpr LONG ERROR_ACCESS_DENIED = 5;
constexpr LONG ERROR_INVALID_DATA = 13;
constexpr LONG ERROR_BUSY = 170;
constexpr LONG ERROR_ALREADY_EXISTS = 183;

// Message-box types and results.
constexpr UINT MB_OK = 0;
constexpr UINT MB_YESNO = 4;
constexpr UINT MB_ICONHAND = 0x10;
constexpr UINT MB_ICONEXCLAMATION = 0x30;
constexpr UINT MB_TASKMODAL = 0x2000;
constexpr UINT MB_SETFOREGROUND = 0x10000;
constexpr int IDOK = 1;
constexpr int IDCANCEL = 2;
constexpr int IDYES = 6;
constexpr int IDNO = 7;

// Device-change and power events (the wParam of WM_DEVICECHANGE and WM_POWERBROADCAST).
constexpr UINT DBT_DEVICEREMOVECOMPLETE = 0x8004;
constexpr UINT PBT_APMSUSPEND = 4;
constexpr UINT PBT_APMRESUMECRITICAL = 6;
constexpr UINT PBT_APMRESUMESUSPEND = 7;

#endif
