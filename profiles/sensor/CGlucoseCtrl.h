// The glucose window: the records a glucose meter reports, their details and context, and the
// choice of records the Record Access Control Point requests work on.
#pragma once

#include "gatt/Glucose.h"
#include "profiles/base/CChildFrame.h"
#include "profiles/sensor/CGlucoseCtrlView.h"

#include <QFont>
#include <cstdint>
#include <ctime>
#include <map>
#include <vector>

class QTreeWidgetItem;

// Keeps the records the main window decodes, one per sequence number, and lists every one received.
// Its buttons' commands (Read all, Delete all, Get Count, Read, Delete, the two Cancels) are handled
// by the main window.
class CGlucoseCtrl : public CChildFrame {
    Q_OBJECT
public:
    struct Record {
        uint16_t sequence = 0;
        std::tm time{}; // base time, normalised
        bool concentrationPresent = false;
        double concentration = 0; // in mol/L or kg/L as received
        uint8_t unit = GlucoseUnit::KgPerLitre;
        uint8_t location = 0;
        uint8_t type = 0;
        bool statusPresent = false;
        uint16_t status = 0;
        std::vector<GlucoseContextItem> items; // in arrival order
    };

    explicit CGlucoseCtrl(QWidget* parent = nullptr);
    ~CGlucoseCtrl() override;

    // Each stores a record (replacing one with the same sequence number) and appends a row to the list.
    void AddMeasurement(uint16_t seq, const std::tm& time, uint8_t unit, uint8_t location, uint8_t type,
                        double concentration);
    void AddMeasurementWithStatus(uint16_t seq, const std::tm& time, uint8_t unit, uint8_t location,
                                  uint8_t type, uint16_t status, double concentration);
    void AddMeasurementStatusOnly(uint16_t seq, const std::tm& time, uint16_t status);
    // A record with neither concentration nor status: an empty Measurement column, no details.
    void AddMeasurementTimeOnly(uint16_t seq, const std::tm& time);
    // Appends the item to the stored record with that sequence number; nothing when there is none.
    void AddContextItem(uint16_t seq, GlucoseContextKind kind, uint32_t code, double value);
    // "%d" as the number of stored records.
    void ShowRecordCount(uint16_t count);
    // Empties the list and the store and hides the details.
    void ClearRecords();
    // Appends the operator and operands the selected radio button asks for to request. False, with
    // nothing appended, when none is selected or a sequence number is invalid (a message box says so).
    bool BuildRacpOperator(std::vector<uint8_t>& request);

    const std::map<uint16_t, Record>& Records() const { return m_records; }

protected:
    void OnCreate() override;

private:
    void AddMeasurementRow(const Record& record);
    // Shows the details and the context of the stored record of the row that became current.
    void OnRecordSelChanged(QTreeWidgetItem* current);
    void ShowConcentrationDetails(const Record& record);
    void ShowContext(const Record& record);
    void ShowControls(std::initializer_list<UINT> ids, bool show);
    // Appends the edit's number, little-endian; false when the text is no 16-bit number.
    bool ReadSequenceNumber(UINT editId, std::vector<uint8_t>& request);
    // Tells the user the sequence numbers are invalid (message textId); returns false.
    bool RefuseSequenceNumbers(UINT textId);

    CGlucoseCtrlView m_wndView;
    QFont m_valueFont;
    QFont m_unitFont;
    std::map<uint16_t, Record> m_records;
};
