// GATT server: answers a connected peer's ATT requests from the local database and the application.
#pragma once

#include "EventPoster.h"
#include "ServerDatabase.h"
#include "veyrahost.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <span>
#include <tuple>
#include <utility>
#include <vector>

namespace orv::host {

// Declarations and discovery are answered from the registered records. Reads of characteristics
// whose permission word has 0x10 and of Current Time's configuration, and writes of characteristics
// with 0x20, go to the application as events 514 and 515 and are answered by
// OrvBleServerReadResponse / OrvBleServerWriteResponse; so are all writes of configuration
// descriptors. Other values are served from the copies made at registration, other configurations
// from what the peer stored on this link. One peer transaction per link is open at a time, as ATT allows.
class LocalGattServer {
public:
    using Send = std::function<void(std::vector<uint8_t>)>;

    LocalGattServer(const ServerDatabase& database, EventPoster& poster)
        : m_database(database), m_poster(poster) {}

    // A request or command from the peer on link cid; answers go out through send.
    void onPeerPdu(uint32_t cid, std::span<const uint8_t> pdu, const Send& send);
    OrvBleResult readResponse(uint32_t cid, uint16_t handle, int32_t result, std::span<const uint8_t> data);
    OrvBleResult writeResponse(uint32_t cid, uint16_t handle, int32_t result);
    // Sends a notification of a characteristic that has the notify property.
    OrvBleResult notify(uint16_t handle, std::span<const uint8_t> data, const Send& send) const;
    void linkClosed(uint32_t cid) { m_links.erase(cid); }
    void reset() { m_links.clear(); }

private:
    enum class Kind { Service, Declaration, Value, Configuration };
    struct Attribute {
        Kind kind;
        const LocalService* service;
        const LocalCharacteristic* characteristic;
    };
    struct Pending {
        uint8_t opcode;
        uint16_t handle;
        uint16_t offset;
        std::vector<std::pair<uint16_t, std::vector<uint8_t>>> writes;
        Send send;
    };
    struct LinkState {
        std::optional<Pending> pending;
        std::map<uint16_t, std::vector<uint8_t>> configurations;
        std::vector<std::tuple<uint16_t, uint16_t, std::vector<uint8_t>>> prepared; // handle, offset, bytes
        std::deque<uint16_t> commands; // write commands given to the application, answered without a PDU
    };

    std::optional<Attribute> find(uint16_t handle) const;
    std::vector<uint8_t> storedValue(const LinkState& link, uint16_t handle,
                                     const Attribute& attribute) const;
    std::vector<uint8_t> findInformation(std::span<const uint8_t> pdu) const;
    std::vector<uint8_t> findByTypeValue(std::span<const uint8_t> pdu) const;
    std::vector<uint8_t> readByGroupType(std::span<const uint8_t> pdu) const;
    std::vector<uint8_t> readByType(std::span<const uint8_t> pdu) const;
    // Each returns the immediate answer, or nothing when the application answers (or none is due).
    std::optional<std::vector<uint8_t>> read(uint32_t cid, std::span<const uint8_t> pdu, const Send& send);
    std::optional<std::vector<uint8_t>> write(uint32_t cid, std::span<const uint8_t> pdu, const Send& send);
    std::optional<std::vector<uint8_t>> prepare(uint32_t cid, std::span<const uint8_t> pdu);
    std::optional<std::vector<uint8_t>> execute(uint32_t cid, std::span<const uint8_t> pdu, const Send& send);
    void postWrite(uint32_t cid, uint16_t handle,
                   const std::vector<std::pair<uint16_t, std::vector<uint8_t>>>& writes);
    // ATT error for writing length bytes to the attribute (with a write command or request), or 0.
    static uint8_t writeCheck(const Attribute& attribute, size_t length, bool command);

    const ServerDatabase& m_database;
    EventPoster& m_poster;
    std::map<uint32_t, LinkState> m_links;
};

} // namespace orv::host
