// The vehicle information window: what a key fob reports about its vehicle, its position in a web
// map, and the fob's Delete Pairing.
#pragma once

#include "profiles/base/CChildFrame.h"
#include "profiles/base/CProfileCtrlView.h"

#include <QPixmap>
#include <QString>
#include <array>
#include <cstdint>
#include <map>
#include <optional>
#include <span>

class BleDeviceRecord;
class QLabel;
class QTreeWidget;

// The pane has no behaviour of its own.
using CVehicleInfoCtrlView = CProfileCtrlView;

// Every vehicle value is subscribed and read when the window opens; a value the vehicle has not
// reported shows "Not in sync". Values of a wrong length change nothing.
class CVehicleInfoCtrl : public CChildFrame {
    Q_OBJECT
public:
    // The position shown before the fob has sent one, 1e-7 degree.
    static constexpr int32_t kInitialLatitude = 42373616;
    static constexpr int32_t kInitialLongitude = -71109734;

    explicit CVehicleInfoCtrl(QWidget* parent = nullptr);
    ~CVehicleInfoCtrl() override;

    // Runs at every opening of the profile windows: takes the fob's handles, subscribes to and reads
    // every value with a configuration descriptor (AB13 first, down to AB0A), and enables "Remove
    // Pairing" when the fob has Delete Pairing.
    void InitProfile(const BleDeviceRecord& record);
    // Every read result and notification.
    void OnValueReceived(uint16_t handle, std::span<const uint8_t> value);
    // Every write result; true when it was the Delete Pairing write.
    bool OnWriteResponse(uint16_t handle, uint16_t status);

    void OnRemovePairing();
    // Opens the position in the user's browser; refuses while a coordinate is not in sync.
    void OnMapLinkClick();

    QTreeWidget* Stations() const { return m_stations; }
    const QPixmap& UnlockedPicture() const { return m_unlocked; }

protected:
    void OnCreate() override;

private:
    // A lock or trunk state: its text and picture.
    struct State {
        QString text;
        const QPixmap& picture;
    };

    void LoadPictures();
    // The ShowX members show a decoded value and return false when there is none (a wrong length).
    bool ShowValue(uint16_t vendorNumber, std::span<const uint8_t> value);
    bool ShowText(UINT id, const std::optional<QString>& text);
    bool ShowCoordinate(UINT id, std::optional<int32_t> coordinate, int32_t& stored);
    // 0 and 1 show their state; other values "Not in sync" with the picture unchanged.
    bool ShowStatus(UINT textId, UINT pictureId, std::optional<uint8_t> status, const State& zero,
                    const State& one);
    bool ShowStations(const std::optional<std::array<uint16_t, 5>>& ids);
    void SetText(UINT id, const QString& text);
    uint16_t Handle(uint16_t vendorNumber) const;

    CVehicleInfoCtrlView m_wndView;
    uint32_t m_cid = 0;
    std::map<uint16_t, uint16_t> m_valueHandles;  // vendor number -> value handle
    std::map<uint16_t, uint16_t> m_configHandles; // vendor number -> configuration handle
    int32_t m_latitude = kInitialLatitude;
    int32_t m_longitude = kInitialLongitude;
    bool m_removePairingEnabled = false;
    QTreeWidget* m_stations = nullptr;
    QPixmap m_registration;
    QPixmap m_locked;
    QPixmap m_unlocked;
    QPixmap m_trunkClosed;
    QPixmap m_trunkOpen;
    QPixmap m_odometer;
    QPixmap m_speedLimit;
    QPixmap m_fuel;
    QPixmap m_range;
    QPixmap m_position;
    QPixmap m_tyre;
    QPixmap m_warning;
};
