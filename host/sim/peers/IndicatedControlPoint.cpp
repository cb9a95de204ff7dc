// Simulated radio: a control point whose requests a peer answers by indication.
#include "IndicatedControlPoint.h"

namespace orv::sim {

IndicatedControlPoint::IndicatedControlPoint(PeerContext& context, uint16_t service, uint16_t uuid,
                                             Refusals refusals, Procedure procedure, Interrupts interrupts)
    : m_context(context), m_service(service), m_uuid(uuid), m_refusals(refusals),
      m_procedure(std::move(procedure)), m_interrupts(std::move(interrupts)) {}

uint8_t IndicatedControlPoint::onWrite(uint16_t handle, std::span<const uint8_t> value) {
    if (handle != valueHandle()) {
        return 0;
    }
    if (!m_context.indicating(handle)) {
        return m_refusals.improperlyConfigured;
    }
    if (m_busy && !(m_interrupts && m_interrupts(value))) {
        return m_refusals.alreadyInProgress;
    }
    m_busy = true;
    m_context.after(
        0, [this, request = std::vector<uint8_t>(value.begin(), value.end())] { m_procedure(request); });
    return 0;
}

void IndicatedControlPoint::respond(std::span<const uint8_t> response) {
    if (!m_context.answersControlPoints()) {
        return;
    }
    m_busy = false;
    m_context.indicate(valueHandle(), response);
}

} // namespace orv::sim
