// Device-change and power notifications: the simulated dongle's events, posted to registered windows.
#pragma once

#include "platform/WinTypes.h"

namespace platform {

// Registers the window for WM_DEVICECHANGE (wParam = the event type, lParam = 0). Registering a window
// again returns the handle it already has; it is notified once. nullptr for a null window.
HDEVNOTIFY RegisterDeviceNotification(HWND window);
// False for a null or unknown handle.
bool UnregisterDeviceNotification(HDEVNOTIFY notification);

// Registers the window for WM_POWERBROADCAST (wParam = the power event, lParam = 0), once per window.
void attachPowerBroadcast(HWND window);
void detachPowerBroadcast(HWND window);

} // namespace platform
