// The main window's routing steps that the running and the cycling window share: their feature and
// location reads, their notifications and the results of writes to their subscriptions and control
// point. Used by MainFrameRunningSpeed.cpp and MainFrameCycleSpeed.cpp with the window of each.
#pragma once

#include "gatt/GattWriteRequest.h"
#include "gatt/SpeedAndCadence.h"
#include "gatt/Uuids.h"
#include "gatt/ValueText.h"
#include "mainframe/CMainFrame.h"
#include "platform/StringTable.h"
#include "res/resource.h"

#include <span>

namespace speed_and_cadence {

inline QString Hex(std::span<const uint8_t> value) {
    return BytesToHexString(value.data(), static_cast<int>(value.size()), QStringLiteral(" "), false);
}

// A read of the window's feature (logged with prefix) or Sensor Location. The feature is the value's first
// two bytes, little-endian (a one-byte value is that byte).
template <class Window>
void OnRead(CMainFrame& frame, Window& window, uint16_t featureUuid, const char* prefix, uint16_t handle,
            std::span<const uint8_t> value) {
    const bool feature = handle == window.ValueHandle(featureUuid);
    if (handle == 0 || (!feature && handle != window.ValueHandle(CharacteristicUuid::SensorLocation)))
        return;
    if (value.empty()) {
        frame.AddLogMessage(QStringLiteral("Value of handle %1 is empty; ignored.").arg(handle));
        return;
    }
    if (!feature) {
        window.ShowSensorLocation(value[0]);
        return;
    }
    frame.AddLogMessage(QLatin1String(prefix) + Hex(value));
    window.ShowFeatures(static_cast<uint16_t>(value[0] | (value.size() > 1 ? value[1] << 8 : 0)));
}

// Every notification and indication: offered to the window (and logged with prefix when taken); then
// the progress window goes, whatever the value was.
template <class Window>
void OnNotification(CMainFrame& frame, Window& window, const char* prefix, uint16_t handle,
                    std::span<const uint8_t> value) {
    if (window.OnCharacteristicValueNotified(handle, value))
        frame.AddLogMessage(QLatin1String(prefix) + Hex(value));
    frame.HideProgress();
}

// A completed write (head: the request it completed, as it was) or a failed one. Subscribing to the
// measurement starts the wait for data; indications of the control point on, the supported locations
// are asked for; every control-point write starts the wait for its response. A failed control-point
// write hides the progress window and ends that wait, since no response will come.
template <class Window>
void OnWritten(CMainFrame& frame, Window& window, uint16_t measurementUuid, uint16_t handle, uint16_t status,
               const GattWriteRequest* head) {
    const uint16_t controlPoint = window.ValueHandle(CharacteristicUuid::ScControlPoint);
    if (status != 0) {
        if (controlPoint != 0 && handle == controlPoint) {
            frame.HideProgress();
            window.StopControlPointTimeout();
        }
        return;
    }
    if (!head)
        return;
    if (head->configHandle != 0 && head->configHandle == window.ConfigHandle(measurementUuid))
        window.StartDataTimeout();
    if (head->configHandle != 0 &&
        head->configHandle == window.ConfigHandle(CharacteristicUuid::ScControlPoint) && controlPoint != 0) {
        const uint8_t query[] = {ScOpCode::RequestSupportedLocations};
        frame.WriteCharacteristic(frame.GetConnectionHandle(), controlPoint, sizeof query, query,
                                  GattWriteRequest::kWriteRequest);
        frame.ShowProgress(platform::LoadString(IDS_CONTROL_POINT_OPERATION),
                           platform::LoadString(IDS_QUERYING_LOCATIONS), true, true);
    }
    if (controlPoint != 0 && head->handle == controlPoint)
        window.StartControlPointTimeout();
}

} // namespace speed_and_cadence
