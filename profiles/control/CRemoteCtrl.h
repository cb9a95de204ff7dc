// The remote-control window: a picture of the remote with its held keys lit, replayed as keystrokes.
#pragma once

#include "profiles/base/CChildFrame.h"
#include "profiles/base/CProfileCtrlView.h"

#include <cstdint>
#include <span>

class CRemotePict;

// Its check box (command ID_FORWARD_HID_REPORTS) is handled by the main window, which keeps the
// forwarding flag in step with this window's.
class CRemoteCtrl : public CChildFrame {
    Q_OBJECT
public:
    explicit CRemoteCtrl(QWidget* parent = nullptr);
    ~CRemoteCtrl() override;

    // A key report is a list of HID keyboard usages, 0 meaning none: the keys of the table it names
    // are lit (and no other), and while forwarding each is pressed and released on the desktop, in
    // report order. A key the desktop did not take is reported to the main window.
    void OnKeyReport(std::span<const uint8_t> report);

    void SetForwarding(bool forwarding) { m_bForwarding = forwarding; }
    bool IsForwarding() const { return m_bForwarding; }
    bool IsForwardingBoxChecked() const;
    CRemotePict* Picture() const;

protected:
    void OnCreate() override;

private:
    void ForwardKey(uint16_t virtualKey);

    CProfileCtrlView m_wndView;
    bool m_bForwarding = false;
};
