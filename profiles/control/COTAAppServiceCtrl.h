// The over-the-air update window of a peer that runs its application: the application's index.
#pragma once

#include "profiles/base/CChildFrame.h"
#include "profiles/base/CProfileCtrlView.h"
#include "profiles/control/OtaReadings.h"

#include <cstdint>

class BleDeviceRecord;

// The window's pane has no behaviour of its own: a plain profile pane built from its template.
using COTAAppServiceView = CProfileCtrlView;

// Reads the peer's Current Application once when opened and shows it; writes nothing, subscribes to
// nothing, transfers nothing.
class COTAAppServiceCtrl : public CChildFrame {
    Q_OBJECT
public:
    explicit COTAAppServiceCtrl(QWidget* parent = nullptr);
    ~COTAAppServiceCtrl() override;

    // Finds Current Application in device's application-side update service and queues its read.
    void InitHandles(const BleDeviceRecord* device);
    // Every read result of the peer: shows a one-byte Current Application value (see ShowOtaReading).
    void OnCharacteristicRead(uint16_t handle, uint16_t length, const uint8_t* data);

protected:
    void OnCreate() override;

private:
    COTAAppServiceView m_wndView;
    OtaHandleMap m_handles;
};
