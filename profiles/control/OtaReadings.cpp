#include "profiles/control/OtaReadings.h"

#include "app/COrvBleDemoApp.h"
#include "gatt/BleDeviceRecord.h"
#include "mainframe/CMainFrame.h"
#include "platform/DialogItems.h"
#include "profiles/base/ProfileLog.h"

void InitOtaHandles(const BleDeviceRecord& device, uint16_t service, std::span<const OtaReading> readings,
                    OtaHandleMap& handles) {
    handles.clear();
    const BleUuid serviceUuid = MakeVendorUuid(service);
    for (const OtaReading& reading : readings) {
        const BleUuid characteristic = MakeVendorUuid(reading.characteristic);
        const uint16_t handle = device.GetHandle(serviceUuid, characteristic, false);
        if (handle == 0)
            continue;
        handles[characteristic] = handle;
        if (CMainFrame* mainFrame = AfxGetMainWnd())
            mainFrame->ReadCharacteristic(handle);
    }
}

void ShowOtaReading(const QWidget* window, std::span<const OtaReading> readings, const OtaHandleMap& handles,
                    uint16_t handle, std::span<const uint8_t> value) {
    if (handle == 0 || value.size() != 1)
        return;
    for (const OtaReading& reading : readings) {
        const auto found = handles.find(MakeVendorUuid(reading.characteristic));
        if (found == handles.end() || found->second != handle)
            continue;
        const int number = value[0];
        platform::SetDlgItemText(window, reading.control, QString::number(number));
        LogProfileLine(QString::asprintf(reading.logFormat, number));
        return;
    }
}
