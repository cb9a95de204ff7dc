// The body-composition window: the sensor's features and its 25 most recent measurements, each
// joined from the packets the sensor splits it into.
#pragma once

#include "gatt/BleServiceEntry.h"
#include "profiles/base/CChildFrame.h"
#include "profiles/base/CProfileCtrlView.h"

#include <QString>
#include <cstdint>
#include <map>
#include <optional>
#include <span>

struct BodyCompositionMeasurement;
class BleDeviceRecord;
class QLabel;
class QListWidget;
class QTreeWidget;
class QTreeWidgetItem;

// Reads the Body Composition Feature when it is opened; each feature value (re)subscribes to the
// measurement's indications and, when it differs from the one before, builds one column per supported
// field. A continuation packet fills the last row when the packet before it started or continued that
// row. Every received field is also logged.
class CBodyCompCtrl : public CChildFrame {
    Q_OBJECT
public:
    static constexpr int kMaxRows = 25;

    explicit CBodyCompCtrl(QWidget* parent = nullptr);
    ~CBodyCompCtrl() override;

    // Keeps what the window needs of the peer (its connection and its Body Composition service) and
    // asks the main window to read the feature value. Runs at every opening of the profile windows.
    void InitProfile(const BleDeviceRecord& peer);
    // Every read result and every notification or indication: the feature value or a measurement
    // packet when handle is theirs, nothing otherwise.
    void OnMeasurement(uint16_t handle, std::span<const uint8_t> value);
    // After the user-data window deleted the user's data: with several users supported, the user
    // shows "N/A" and the table empties.
    void ClearValues();

    // raw times the feature's mass (height) resolution, in kg (m) when si, else in lb (in); false,
    // out untouched, when the resolution gives no value.
    bool ConvertMass(uint16_t raw, bool si, float& out) const;
    bool ConvertHeight(uint16_t raw, bool si, float& out) const;

    QTreeWidget* Records() const { return m_records; }
    // Column title -> column index of the table.
    const std::map<QString, int>& ColumnMap() const { return m_columnMap; }

protected:
    void OnCreate() override;

private:
    void EnableIndications(uint32_t features);
    void LayOutFeatures(uint32_t features);
    void ShowMeasurement(std::span<const uint8_t> value);
    // The row a packet fills: a new one for a first packet, the last one for a continuation; null
    // when there is none to fill.
    QTreeWidgetItem* RowFor(const BodyCompositionMeasurement& measurement);
    void ShowFields(QTreeWidgetItem* row, const BodyCompositionMeasurement& measurement);
    void SetCell(QTreeWidgetItem* row, const QString& title, const QString& text);

    std::map<uint16_t, uint16_t> m_valueHandles; // characteristic UUID -> value handle
    std::map<QString, int> m_columnMap;
    CProfileCtrlView m_wndView;
    uint32_t m_cid = 0;
    BleServiceEntry m_service;          // the peer's Body Composition service, as discovered
    std::optional<uint32_t> m_features; // unknown until the feature value arrives
    uint16_t m_massResolution = 0;
    uint16_t m_heightResolution = 0;
    bool m_lastRowOpen = false; // the last packet started or continued the last row
    QTreeWidget* m_records = nullptr;
    QListWidget* m_featureList = nullptr;
    QLabel* m_userId = nullptr;
};
