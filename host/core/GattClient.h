// GATT client: the client procedures of one link over its ATT bearer.
#pragma once

#include "AttProcedure.h"
#include "GattResults.h"
#include "veyrahost.h"

#include <array>
#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <span>
#include <utility>
#include <vector>

namespace orv::host {

// One ATT request is in flight at a time; procedures wait their turn in order. At most one read
// (and one discovery) and one write may be outstanding; further ones are refused with
// ORV_BLE_E_BUSY. A request unanswered for 30 s ends the bearer: the client then refuses
// everything and asks its link to go down.
class GattClient {
public:
    // What the client needs from its link.
    class Bearer {
    public:
        virtual void sendPdu(std::vector<uint8_t> pdu) = 0;
        virtual uint32_t startTimer(uint64_t delayMs) = 0;
        virtual void cancelTimer(uint32_t timerId) = 0;
        virtual void transactionTimedOut() = 0;

    protected:
        ~Bearer() = default;
    };

    GattClient(Bearer& bearer, GattResults& results) : m_bearer(bearer), m_results(results) {}

    OrvBleResult discover();
    OrvBleResult read(uint16_t handle);
    OrvBleResult writeRequest(uint16_t handle, uint16_t offset, std::vector<uint8_t> value);
    OrvBleResult writeCommand(uint16_t handle, std::vector<uint8_t> value);
    OrvBleResult writeConfiguration(uint16_t configHandle, uint16_t value);

    // While held (the link's security is being set up) requests and write commands wait; releasing
    // the hold sends them. A request already sent is answered as usual.
    void hold(bool held);

    // Responses, notifications and indications from the peer.
    void onPdu(std::span<const uint8_t> pdu);
    // The oldest PDU handed to the bearer has been transmitted.
    void onSent();
    void onTimer(uint32_t timerId);

private:
    enum class Kind { Read, Write, Discovery };
    struct Queued {
        Kind kind;
        std::unique_ptr<AttProcedure> procedure;
    };

    OrvBleResult admit(Kind kind);
    void enqueue(Kind kind, std::unique_ptr<AttProcedure> procedure);
    void startNext();
    void send(std::vector<uint8_t> pdu, std::optional<uint16_t> writeCommandHandle = std::nullopt);
    void sendRequest(std::vector<uint8_t> pdu);
    void onResponse(std::span<const uint8_t> pdu);
    // A PDU longer than the MTU: logged and dropped; when it answers the request in flight, that
    // transaction ends with the status Invalid PDU.
    void onOversized(std::span<const uint8_t> pdu);
    void onValue(std::span<const uint8_t> pdu, bool indication);
    bool busy(Kind kind) const { return m_busy[static_cast<size_t>(kind)]; }
    void setBusy(Kind kind, bool value) { m_busy[static_cast<size_t>(kind)] = value; }

    Bearer& m_bearer;
    GattResults& m_results;
    std::deque<Queued> m_waiting;
    std::optional<Queued> m_active;
    uint8_t m_activeOpcode = 0;
    std::optional<uint32_t> m_timer;
    // One entry per PDU handed to the bearer and not yet transmitted: the handle of a write command.
    std::deque<std::optional<uint16_t>> m_unsent;
    std::array<bool, 3> m_busy{}; // per Kind: one outstanding at a time
    bool m_timedOut = false;
    bool m_held = false;
    std::optional<std::pair<uint16_t, std::vector<uint8_t>>> m_heldCommand; // handle and PDU
};

} // namespace orv::host
