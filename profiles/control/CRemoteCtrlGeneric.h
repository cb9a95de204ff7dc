// The generic HID remote window: a legacy HID remote's last report, its descriptor and its flags.
#pragma once

#include "profiles/base/CChildFrame.h"
#include "profiles/control/CTransparentProfileCtrlView.h"

#include <cstdint>
#include <span>

class CRemoteCtrlGeneric : public CChildFrame {
    Q_OBJECT
public:
    explicit CRemoteCtrlGeneric(QWidget* parent = nullptr);
    ~CRemoteCtrlGeneric() override;

    // The last report, "%02X " per byte.
    void ShowReport(std::span<const uint8_t> report);
    // The report descriptor, "%02X " per byte.
    void ShowReportMap(std::span<const uint8_t> descriptor);
    // Check boxes Virtual cable, Normally connectable, Reconnect initiate and Boot mode := bits 0 to 3.
    void SetHidFlags(uint16_t flags);

protected:
    void OnCreate() override;

private:
    CTransparentProfileCtrlView m_wndView;
};
