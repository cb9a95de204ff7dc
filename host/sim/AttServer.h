// Simulated radio: the ATT server of a virtual peer, answering the host's requests from its table.
#pragma once

#include "PeerAttribute.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <tuple>
#include <vector>

namespace orv::sim {

class PeerModel;

class AttServer {
public:
    using Pdu = std::vector<uint8_t>;

    explicit AttServer(std::vector<PeerAttribute> table) : m_table(std::move(table)) {}

    // The answer to one PDU from the client: a response or error for a request, nothing for a command,
    // a confirmation, or a request to a silent attribute.
    std::optional<Pdu> handle(std::span<const uint8_t> pdu);

    PeerAttribute* attribute(uint16_t handle);
    const std::vector<PeerAttribute>& table() const { return m_table; }
    // Makes every read and write of that handle answer with error (0 clears it).
    void setError(uint16_t handle, uint8_t error);
    void setSilent(bool silent) { m_silent = silent; }
    // The security of the link the client uses (a new link starts unencrypted).
    void setLinkSecurity(bool encrypted, bool authenticated);
    // Called after every accepted write of a value: request, command or executed prepared write.
    void setWriteListener(std::function<void(const PeerAttribute&)> listener) {
        m_written = std::move(listener);
    }
    // The peer's behaviour model (may be null, not owned): it may refuse value reads and writes and
    // hears of every stored configuration.
    void setModel(PeerModel* model) { m_model = model; }

private:
    Pdu readByGroupType(std::span<const uint8_t> pdu) const;
    Pdu readByType(std::span<const uint8_t> pdu) const;
    Pdu findInformation(std::span<const uint8_t> pdu) const;
    std::optional<Pdu> read(std::span<const uint8_t> pdu);
    std::optional<Pdu> write(std::span<const uint8_t> pdu);
    void writeCommand(std::span<const uint8_t> pdu);
    std::optional<Pdu> prepareWrite(std::span<const uint8_t> pdu);
    Pdu executeWrite(std::span<const uint8_t> pdu);
    // ATT error for writing value to attribute with the given write property, 0 when allowed.
    uint8_t writeRefusal(const PeerAttribute& attribute, size_t length, uint8_t property) const;
    // ATT error when the link is not secure enough for the attribute, 0 when it is.
    uint8_t securityRefusal(const PeerAttribute& attribute) const;
    void written(const PeerAttribute& attribute) const;
    // The model's ATT error for writing value to attribute, 0 when it accepts (or there is no model).
    uint8_t modelRefusal(const PeerAttribute& attribute, std::span<const uint8_t> value) const;
    // The model's ATT error for reading the attribute, 0 when it may be read (or there is no model).
    uint8_t modelReadRefusal(const PeerAttribute& attribute) const;
    // Handle of the characteristic value that the descriptor at handle belongs to.
    uint16_t valueHandleOf(uint16_t descriptorHandle) const;

    std::vector<PeerAttribute> m_table;
    std::vector<std::tuple<uint16_t, uint16_t, std::vector<uint8_t>>> m_prepared; // handle, offset, bytes
    bool m_silent = false;
    bool m_encrypted = false;
    bool m_authenticated = false;
    std::function<void(const PeerAttribute&)> m_written;
    PeerModel* m_model = nullptr;
};

} // namespace orv::sim
