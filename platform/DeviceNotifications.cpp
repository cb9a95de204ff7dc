#include "platform/DeviceNotifications.h"

#include "platform/WindowMessages.h"
#include "veyrasim.h"

#include <map>
#include <set>

namespace platform {
namespace {

// The simulator calls its listeners on the thread that drives its clock, the UI thread, as do all
// callers of the functions here, so the tables need no lock.
struct Subscribers {
    std::map<HDEVNOTIFY, HWND> deviceWindows;
    uintptr_t nextNotification = 0x20000;
    std::set<HWND> powerWindows;
};

Subscribers& subscribers() {
    static Subscribers instance;
    return instance;
}

void postDeviceChange(uint32_t eventType) {
    // Copied: a window may unregister itself while the messages are posted.
    const auto windows = subscribers().deviceWindows;
    for (const auto& [notification, window] : windows)
        PostMessage(window, WM_DEVICECHANGE, eventType, 0);
}

void postPowerEvent(uint32_t powerEvent) {
    const auto windows = subscribers().powerWindows;
    for (HWND window : windows)
        PostMessage(window, WM_POWERBROADCAST, powerEvent, 0);
}

void updateDeviceListener() {
    if (subscribers().deviceWindows.empty())
        orv::sim::setDeviceChangeListener(nullptr);
    else
        orv::sim::setDeviceChangeListener(postDeviceChange);
}

void updatePowerListener() {
    if (subscribers().powerWindows.empty())
        orv::sim::setPowerListener(nullptr);
    else
        orv::sim::setPowerListener(postPowerEvent);
}

} // namespace

HDEVNOTIFY RegisterDeviceNotification(HWND window) {
    if (window == nullptr)
        return nullptr;
    auto& windows = subscribers().deviceWindows;
    for (const auto& [notification, registered] : windows) {
        if (registered == window)
            return notification;
    }
    auto notification = reinterpret_cast<HDEVNOTIFY>(subscribers().nextNotification++);
    windows.emplace(notification, window);
    updateDeviceListener();
    return notification;
}

bool UnregisterDeviceNotification(HDEVNOTIFY notification) {
    if (subscribers().deviceWindows.erase(notification) == 0)
        return false;
    updateDeviceListener();
    return true;
}

void attachPowerBroadcast(HWND window) {
    if (window == nullptr)
        return;
    subscribers().powerWindows.insert(window);
    updatePowerListener();
}

void detachPowerBroadcast(HWND window) {
    if (subscribers().powerWindows.erase(window) != 0)
        updatePowerListener();
}

} // namespace platform
