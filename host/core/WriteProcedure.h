// GATT client: writing a value with a write request, or with prepared writes when it does not fit.
#pragma once

#include "AttProcedure.h"
#include "GattResults.h"

namespace orv::host {

class WriteProcedure : public AttProcedure {
public:
    WriteProcedure(GattResults& results, uint16_t handle, uint16_t offset, std::vector<uint8_t> value);

    std::vector<uint8_t> start() override;
    std::optional<std::vector<uint8_t>> next(std::span<const uint8_t> response) override;

private:
    std::vector<uint8_t> prepareRequest() const;
    std::vector<uint8_t> executeRequest(bool commit) const;
    std::optional<std::vector<uint8_t>> finish(uint16_t status);
    std::optional<std::vector<uint8_t>> afterPrepare(std::span<const uint8_t> response);

    enum class Phase { Single, Preparing, Executing, Cancelling };

    GattResults& m_results;
    uint16_t m_handle;
    uint16_t m_offset;
    std::vector<uint8_t> m_value;
    Phase m_phase;
    size_t m_sent = 0;      // bytes of the value prepared so far
    uint16_t m_failure = 0; // status reported after a cancelled long write
};

} // namespace orv::host
