// Simulated radio: what a peer's behaviour model may use (clock, randomness, attributes, link).
#include "PeerContext.h"

#include "../../core/AttProtocol.h"
#include "../SimController.h"
#include "../Simulator.h"

#include <algorithm>

namespace orv::sim {
namespace {

namespace att = orv::host::att;

std::mt19937 peerRandom(uint32_t worldSeed, size_t peerIndex) {
    std::seed_seq seed{worldSeed, static_cast<uint32_t>(peerIndex)};
    return std::mt19937(seed);
}

// Attributes that end a characteristic's descriptors: the next characteristic or service.
bool startsDeclaration(const PeerAttribute& attribute) {
    return attribute.groupEnd != 0 || att::sameUuid(attribute.type, MakeUuid16(att::kCharacteristic));
}

att::Pdu valuePdu(uint8_t opcode, uint16_t handle, std::span<const uint8_t> value) {
    att::Pdu pdu{opcode};
    att::put16(pdu, handle);
    pdu.insert(pdu.end(), value.begin(), value.end());
    return pdu;
}

constexpr uint8_t kNotifyBit = 0x01;
constexpr uint8_t kIndicateBit = 0x02;

} // namespace

PeerContext::PeerContext(Simulator& simulator, size_t peerIndex)
    : m_simulator(simulator), m_peerIndex(peerIndex),
      m_random(peerRandom(simulator.world().seed, peerIndex)) {}

PeerContext::~PeerContext() {
    cancelTimers();
}

const PeerDescription& PeerContext::description() const {
    return m_simulator.world().peers.at(m_peerIndex);
}

AttServer& PeerContext::attributes() const {
    return m_simulator.peerServer(m_peerIndex);
}

uint64_t PeerContext::now() const {
    return m_simulator.scheduler().now();
}

void PeerContext::after(uint64_t delayMs, std::function<void()> action) {
    m_simulator.scheduler().scheduleIn(delayMs, std::move(action), this);
}

void PeerContext::cancelTimers() {
    m_simulator.scheduler().cancel(this);
}

uint16_t PeerContext::valueHandle(uint16_t uuid) const {
    return valueHandle(MakeUuid16(uuid));
}

uint16_t PeerContext::valueHandle(const BleUuid& uuid) const {
    for (const PeerAttribute& attribute : attributes().table()) {
        if (attribute.isValue && att::sameUuid(attribute.type, uuid)) {
            return attribute.handle;
        }
    }
    return 0;
}

uint16_t PeerContext::valueHandle(uint16_t service, uint16_t uuid) const {
    return valueHandle(service, MakeUuid16(uuid));
}

uint16_t PeerContext::valueHandle(uint16_t service, const BleUuid& uuid) const {
    const std::vector<PeerAttribute>& table = attributes().table();
    const std::vector<uint8_t> serviceValue{static_cast<uint8_t>(service),
                                            static_cast<uint8_t>(service >> 8)};
    const auto declaration = std::find_if(table.begin(), table.end(), [&](const PeerAttribute& attribute) {
        return attribute.groupEnd != 0 && att::sameUuid(attribute.type, MakeUuid16(att::kPrimaryService)) &&
               attribute.value == serviceValue;
    });
    if (declaration == table.end()) {
        return 0;
    }
    const auto value = std::find_if(declaration, table.end(), [&](const PeerAttribute& attribute) {
        return attribute.handle <= declaration->groupEnd && attribute.isValue &&
               att::sameUuid(attribute.type, uuid);
    });
    return value == table.end() || value->handle > declaration->groupEnd ? 0 : value->handle;
}

PeerAttribute* PeerContext::configurationOf(uint16_t valueHandle) const {
    AttServer& server = attributes();
    for (auto handle = static_cast<uint16_t>(valueHandle + 1);
         PeerAttribute* attribute = server.attribute(handle); ++handle) {
        if (startsDeclaration(*attribute)) {
            return nullptr;
        }
        if (attribute->isConfiguration) {
            return attribute;
        }
    }
    return nullptr;
}

void PeerContext::forgetSubscriptions() const {
    for (const PeerAttribute& attribute : attributes().table())
        if (attribute.isValue)
            if (PeerAttribute* configuration = configurationOf(attribute.handle))
                configuration->value = {0, 0};
}

bool PeerContext::notify(uint16_t handle, std::span<const uint8_t> value) const {
    SimController* controller = m_simulator.controller();
    return controller != nullptr &&
           controller->connections().peerSends(description().address,
                                               valuePdu(att::kHandleValueNotification, handle, value));
}

bool PeerContext::indicate(uint16_t handle, std::span<const uint8_t> value) const {
    SimController* controller = m_simulator.controller();
    return controller != nullptr &&
           controller->connections().peerIndicates(description().address,
                                                   valuePdu(att::kHandleValueIndication, handle, value));
}

bool PeerContext::answersControlPoints() const {
    return !m_simulator.peerState(m_peerIndex).controlPointsUnanswered;
}

bool PeerContext::failsControlPoints() const {
    return m_simulator.peerState(m_peerIndex).controlPointsFailing;
}

bool PeerContext::notifying(uint16_t valueHandle) const {
    const PeerAttribute* configuration = configurationOf(valueHandle);
    return configuration != nullptr && !configuration->value.empty() &&
           (configuration->value[0] & kNotifyBit);
}

bool PeerContext::indicating(uint16_t valueHandle) const {
    const PeerAttribute* configuration = configurationOf(valueHandle);
    return configuration != nullptr && !configuration->value.empty() &&
           (configuration->value[0] & kIndicateBit);
}

bool PeerContext::send(std::vector<uint8_t> pdu) const {
    SimController* controller = m_simulator.controller();
    return controller != nullptr &&
           controller->connections().peerSends(description().address, std::move(pdu));
}

void PeerContext::record(PeerClientValue value) const {
    m_simulator.peerClientValues(m_peerIndex).push_back(std::move(value));
}

void PeerContext::forgetBond() const {
    m_simulator.peerState(m_peerIndex).bondForgotten = true;
}

bool PeerContext::disconnect(uint8_t reason) const {
    SimController* controller = m_simulator.controller();
    return controller != nullptr && controller->connections().peerDisconnects(description().address, reason);
}

void PeerContext::recordWrite(uint16_t handle, std::span<const uint8_t> value) const {
    m_simulator.peerState(m_peerIndex).recordedWrites.push_back({handle, {value.begin(), value.end()}});
}

} // namespace orv::sim
