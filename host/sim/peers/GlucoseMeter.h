// Glucose service: a simulated glucose meter whose records are reached through the Record Access
// Control Point.
#pragma once

#include "GlucoseRecords.h"
#include "IndicatedControlPoint.h"
#include "PeerContext.h"
#include "PeerModel.h"

#include <cstdint>
#include <span>
#include <variant>
#include <vector>

namespace orv::sim {

// Kind "glucose": Generic Access, Device Information and Glucose (Measurement and Measurement
// Context, notify; Feature, read; Record Access Control Point, write and indicate), the Glucose
// values behind an encrypted link. It holds twelve records (storedGlucoseRecords), kept while the
// world runs. The control point reports records (each measurement, then its context, kPaceMs apart,
// notified where notifications are on; then [06 00 01 01]), deletes them, counts them
// ([05 00 count]) and aborts a report ([06 00 03 01]), with the operators all, at most, at least,
// within, first and last on sequence numbers, and the response codes where they apply. Its writes
// are refused with 0x81 while indications are off and with 0x80 while a procedure runs (abort aside).
class GlucoseMeter : public PeerModel {
public:
    static constexpr uint64_t kPaceMs = 250;
    static constexpr uint8_t kProcedureAlreadyInProgress = 0x80;
    static constexpr uint8_t kImproperlyConfigured = 0x81;

    GlucoseMeter(Simulator& simulator, size_t peerIndex);

    std::vector<GattServiceDescription> baseDatabase() const override;
    void onConnect() override;
    void onDisconnect() override;
    uint8_t onWrite(uint16_t handle, std::span<const uint8_t> value) override;

private:
    // The records a request's operator selects, or the response code that refuses it.
    using Selection = std::variant<std::vector<size_t>, uint8_t>;

    void onRequest(const std::vector<uint8_t>& request);
    Selection select(std::span<const uint8_t> request) const;
    void report(std::vector<size_t> records, size_t next);
    void deleteRecords(const std::vector<size_t>& records);
    void respondCode(uint8_t requestOpCode, uint8_t responseCode);
    void notifyIfOn(uint16_t uuid, std::span<const uint8_t> value);

    PeerContext m_context;
    IndicatedControlPoint m_controlPoint;
    std::vector<GlucoseRecord> m_records;
};

} // namespace orv::sim
