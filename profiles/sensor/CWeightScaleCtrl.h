// The weight-scale window: the scale's features and its 25 most recent measurements.
#pragma once

#include "gatt/BleServiceEntry.h"
#include "profiles/base/CChildFrame.h"
#include "profiles/base/CProfileCtrlView.h"

#include <cstdint>
#include <map>
#include <optional>
#include <span>

class BleDeviceRecord;
struct WeightMeasurement;
class QLabel;
class QListWidget;
class QTreeWidget;

// Reads the Weight Scale Feature when it is opened; each feature value (re)subscribes to the Weight
// Measurement indications and, when it differs from the one before, lays the table out for it. Every
// received field is also logged.
class CWeightScaleCtrl : public CChildFrame {
    Q_OBJECT
public:
    static constexpr int kMaxRows = 25;

    explicit CWeightScaleCtrl(QWidget* parent = nullptr);
    ~CWeightScaleCtrl() override;

    // Keeps what the window needs of the peer (its connection and its Weight Scale service) and asks
    // the main window to read the feature value. Runs at every opening of the profile windows.
    void InitProfile(const BleDeviceRecord& peer);
    // Every read result and every notification or indication: the Weight Measurement or the feature
    // value when handle is theirs, nothing otherwise.
    void OnValueReceived(uint16_t handle, std::span<const uint8_t> value);
    // After the user-data window deleted the user's data: with several users supported, the user
    // shows "N/A" and the table empties.
    void ClearUserDisplay();

    // raw times the feature's weight (height) resolution, in kg (m) when si, else in lb (in); false,
    // out untouched, when the resolution gives no value.
    bool GetWeightValue(uint16_t raw, bool si, float& out) const;
    bool GetHeightValue(uint16_t raw, bool si, float& out) const;

    QTreeWidget* Records() const { return m_records; }

protected:
    void OnCreate() override;

private:
    void ShowFeatures(uint16_t features);
    void LayOutFeatures(uint16_t features);
    void ShowMeasurement(std::span<const uint8_t> value);
    void AddRow(const WeightMeasurement& measurement);

    std::map<uint16_t, uint16_t> m_valueHandles; // characteristic UUID -> value handle
    CProfileCtrlView m_wndView;
    uint32_t m_cid = 0;
    BleServiceEntry m_service;          // the peer's Weight Scale service, as discovered
    std::optional<uint16_t> m_features; // unknown until the feature value arrives
    uint16_t m_weightResolution = 0;
    uint16_t m_heightResolution = 0;
    QTreeWidget* m_records = nullptr;
    QListWidget* m_featureList = nullptr;
    QLabel* m_userId = nullptr;
};
