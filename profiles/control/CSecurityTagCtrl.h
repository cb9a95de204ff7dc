// The security-tag window: the tag's signal strength and distance, its alert settings and the PC's
// own alert level.
#pragma once

#include "profiles/base/CChildFrame.h"
#include "profiles/base/CProfileCtrlView.h"

#include <QPixmap>
#include <cstdint>

class QAbstractButton;
class QLabel;
class QProgressBar;

// A plain pane: every command of it (1008, 1028, 1036, the local group 1033-1035) and the signal
// strength logic belong to the main window, which calls the operations below.
class CSecurityTagCtrl : public CChildFrame {
    Q_OBJECT
public:
    explicit CSecurityTagCtrl(QWidget* parent = nullptr);
    ~CSecurityTagCtrl() override;

    // The distance bar at -dBm (held within its range 20..127) and the text "<dBm>dBm".
    void ShowRssi(int dBm);
    // The threshold edit IDC_TAG_LOW_THRESHOLD or IDC_TAG_HIGH_THRESHOLD as a number; 0 for another id.
    int GetThreshold(UINT id) const;
    // Shows picture 1038 with the image of the level and its text: 1 "Low Alert", 2 "High Alert",
    // any other "No Alert".
    void ShowAlertLevel(uint8_t level);
    void ShowAlertIcon(bool show);
    // Check box "Set alert on link loss".
    void SetLinkLossAlert(bool checked);
    bool IsLinkLossAlertChecked() const;
    // The level chosen for "Set level": 0, 1 or 2.
    uint8_t SelectedAlertLevel() const;

    // The images of picture 1038, 24 x 24 pixels: no alert, low alert, high alert.
    const QPixmap& AlertImage(uint8_t level) const;

protected:
    void OnCreate() override;

private:
    CProfileCtrlView m_wndView;
    QProgressBar* m_distance = nullptr;
    QLabel* m_rssi = nullptr;
    QLabel* m_alertPicture = nullptr;
    QLabel* m_alertText = nullptr;
    QAbstractButton* m_linkLoss = nullptr;
    QPixmap m_noAlert;
    QPixmap m_lowAlert;
    QPixmap m_highAlert;
};
