// Simulated radio: a control point whose requests a peer answers by indication.
#pragma once

#include "PeerContext.h"

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

namespace orv::sim {

// The part of a peer model that keeps the rules every control point answered by indication shares
// (Record Access, User Control Point, SC Control Point): a write is refused with the profile's
// "improperly configured" error while the client has indications of the control point off, and with
// its "procedure already in progress" error while an earlier request has not been answered, unless
// the model lets the new request interrupt it (an abort). An accepted request runs after the write
// response, so whatever the procedure sends (notifications, the answering indication) follows it.
// The model ends each procedure with respond(), at once or later; a procedure that never responds
// keeps the control point busy until the link goes (reset()).
class IndicatedControlPoint {
public:
    // ATT errors of the profile.
    struct Refusals {
        uint8_t improperlyConfigured = 0;
        uint8_t alreadyInProgress = 0;
    };
    // Runs an accepted request: the written value, which may be empty.
    using Procedure = std::function<void(std::vector<uint8_t> request)>;
    // Whether request may be written while a procedure runs; it then runs as well.
    using Interrupts = std::function<bool(std::span<const uint8_t> request)>;

    // The control point is the characteristic value with that 16-bit UUID in the service with the
    // 16-bit UUID service, so that a peer listing several services binds the one of its own.
    IndicatedControlPoint(PeerContext& context, uint16_t service, uint16_t uuid, Refusals refusals,
                          Procedure procedure, Interrupts interrupts = {});

    // For the model's onWrite: 0 when the write is to another handle or is accepted, else the ATT error.
    uint8_t onWrite(uint16_t handle, std::span<const uint8_t> value);
    // Indicates response on the control point; the procedure is over. While the context does not
    // answer control points (a test hook), nothing is sent and the procedure never ends.
    void respond(std::span<const uint8_t> response);
    // A procedure runs: accepted and not yet answered.
    bool busy() const { return m_busy; }
    // The link went: a running procedure ends without a response.
    void reset() { m_busy = false; }

private:
    uint16_t valueHandle() const { return m_context.valueHandle(m_service, m_uuid); }

    PeerContext& m_context;
    uint16_t m_service;
    uint16_t m_uuid;
    Refusals m_refusals;
    Procedure m_procedure;
    Interrupts m_interrupts;
    bool m_busy = false;
};

} // namespace orv::sim
