// GATT client: one procedure, a sequence of ATT requests each waiting for its response.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace orv::host {

// A procedure reports its own outcome (through whatever it was given) when next() returns nothing.
class AttProcedure {
public:
    virtual ~AttProcedure() = default;
    virtual std::vector<uint8_t> start() = 0;
    // Takes the response (or error response) to the last request; returns the next request, or
    // nothing when the procedure is finished.
    virtual std::optional<std::vector<uint8_t>> next(std::span<const uint8_t> response) = 0;
};

} // namespace orv::host
