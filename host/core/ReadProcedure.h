// GATT client: reading a characteristic value, continued with blob reads while the value fills the MTU.
#pragma once

#include "AttProcedure.h"
#include "GattResults.h"

namespace orv::host {

class ReadProcedure : public AttProcedure {
public:
    ReadProcedure(GattResults& results, uint16_t handle) : m_results(results), m_handle(handle) {}

    std::vector<uint8_t> start() override;
    std::optional<std::vector<uint8_t>> next(std::span<const uint8_t> response) override;

private:
    std::optional<std::vector<uint8_t>> finish(uint16_t status);

    GattResults& m_results;
    uint16_t m_handle;
    std::vector<uint8_t> m_value;
    bool m_blob = false;
};

} // namespace orv::host
