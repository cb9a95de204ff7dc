// Simulated radio: a peer acting as GATT client of the host's own database, over ATT.
#pragma once

#include "PeerContext.h"
#include "veyrahost.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <span>
#include <utility>
#include <vector>

namespace orv::sim {

// For the behaviour model of a peer that uses the PC's services (a phone, a key tag). The model
// hands it every PDU the host sends the peer as a client (PeerModel::onHostPdu) and resets it when
// the link goes.
//
// One ATT request is outstanding at a time; the operations wait in the order they were asked for,
// and each one's callback runs when it ends (0, or the ATT error the host answered). Write commands
// take their turn in that order; an indication is confirmed at once. Everything the peer receives
// (read values, write results, notifications, indications) is recorded for the test hook
// takePeerClientValues; notifications and indications also go to the value handler. There is no
// transaction time-out: a request the host never answers holds the queue until the link goes.
class PeerGattClient {
public:
    struct Characteristic {
        BleUuid uuid{};
        uint16_t valueHandle = 0;
        uint8_t properties = 0;
        uint16_t configHandle = 0; // 0 when it has no configuration descriptor
    };
    using Done = std::function<void(uint8_t error)>;
    using ReadDone = std::function<void(uint8_t error, const std::vector<uint8_t>& value)>;
    using ValueHandler =
        std::function<void(const Characteristic& characteristic, std::span<const uint8_t> value)>;

    explicit PeerGattClient(PeerContext& context) : m_context(context) {}

    // Finds the primary service with that UUID (ATT 0x0A when the host has none), its characteristics
    // and their configuration descriptors.
    void discover(const BleUuid& service, Done done = {});
    // A characteristic that discovery found (the first with that UUID), or null.
    const Characteristic* find(const BleUuid& uuid) const;

    // Reads a value; one of 22 bytes or more is read on to its end with blob reads.
    void read(uint16_t handle, ReadDone done = {});
    // Write request; a value longer than 20 bytes goes as a queued write.
    void write(uint16_t handle, std::vector<uint8_t> value, Done done = {});
    // Write command: the host does not answer.
    void writeCommand(uint16_t handle, std::vector<uint8_t> value);
    // Prepared writes of every value (in pieces of at most 18 bytes), then one execution: the host
    // takes them together. After a refused piece the queue is cancelled.
    void writeQueued(std::vector<std::pair<uint16_t, std::vector<uint8_t>>> values, Done done = {});
    // Writes the characteristic's configuration descriptor: 1 notifications, 2 indications, 0 off.
    void configure(const Characteristic& characteristic, uint16_t bits, Done done = {});

    void onValue(ValueHandler handler) { m_onValue = std::move(handler); }
    // A PDU from the host: the answer to the outstanding request, a notification or an indication.
    void received(std::span<const uint8_t> pdu);
    // The link is gone: the database found and every waiting operation are forgotten.
    void reset();

private:
    using Answer = std::function<void(std::span<const uint8_t> pdu)>;
    struct Part {
        uint16_t handle;
        uint16_t offset;
        std::vector<uint8_t> bytes;
    };

    void enqueue(std::function<void()> operation);
    // Starts the next waiting operation unless a request is outstanding.
    void next();
    void request(std::vector<uint8_t> pdu, Answer answer);
    void discoverCharacteristics(uint16_t from, uint16_t end, size_t first, Done done);
    void discoverDescriptors(size_t index, uint16_t end, Done done);
    void readFrom(uint16_t handle, std::vector<uint8_t> value, ReadDone done);
    void prepare(std::vector<Part> parts, size_t index, Done done);
    void finish(const Done& done, uint8_t error);
    void record(uint16_t handle, PeerClientValue::Kind kind, uint8_t error, std::span<const uint8_t> value);
    const Characteristic* byHandle(uint16_t handle) const;

    PeerContext& m_context;
    std::vector<Characteristic> m_characteristics;
    std::vector<uint16_t> m_declarations; // of each characteristic, in the same order
    std::deque<std::function<void()>> m_waiting;
    Answer m_answer; // set while a request is outstanding
    ValueHandler m_onValue;
};

} // namespace orv::sim
