// GATT client: discovering the peer's database (primary services, characteristics, descriptors).
#pragma once

#include "AttProcedure.h"
#include "GattResults.h"

namespace orv::host {

// Each response must move the search forward (handles strictly increasing within their range);
// a response that does not ends the discovery with the status Invalid PDU, so a faulty peer
// cannot keep it going forever.
class DiscoveryProcedure : public AttProcedure {
public:
    explicit DiscoveryProcedure(GattResults& results) : m_results(results) {}

    std::vector<uint8_t> start() override;
    std::optional<std::vector<uint8_t>> next(std::span<const uint8_t> response) override;

private:
    enum class Phase { Services, Characteristics, Descriptors };

    std::optional<std::vector<uint8_t>> onServices(std::span<const uint8_t> response);
    std::optional<std::vector<uint8_t>> onCharacteristics(std::span<const uint8_t> response);
    std::optional<std::vector<uint8_t>> onDescriptors(std::span<const uint8_t> response);
    // The request for the current position, moving on to the next range or phase when one is done.
    std::optional<std::vector<uint8_t>> request();
    std::optional<std::vector<uint8_t>> finish(uint16_t status);
    uint32_t descriptorRangeEnd() const;

    GattResults& m_results;
    std::vector<DiscoveredService> m_services;
    Phase m_phase = Phase::Services;
    uint32_t m_next = 1; // first handle not searched yet in the current range
    size_t m_service = 0;
    size_t m_characteristic = 0;
};

} // namespace orv::host
