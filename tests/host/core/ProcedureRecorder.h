// Test support: records the outcomes of GATT client procedures and drives them with responses.
#pragma once

#include "host/core/AttProcedure.h"
#include "host/core/GattResults.h"

#include <cstdint>
#include <vector>

namespace orv::host::test {

using Bytes = std::vector<uint8_t>;

struct Recorder : GattResults {
    void databaseDiscovered(uint16_t status, const std::vector<DiscoveredService>& found) override {
        outcomes.push_back(status);
        services = found;
    }
    void readDone(uint16_t status, uint16_t, const std::vector<uint8_t>& value) override {
        outcomes.push_back(status);
        read = value;
    }
    void writeDone(uint16_t status, uint16_t handle) override {
        outcomes.push_back(status);
        written = handle;
    }
    void valueReceived(uint16_t, const std::vector<uint8_t>&, bool) override {}

    std::vector<uint16_t> outcomes;
    std::vector<DiscoveredService> services;
    Bytes read;
    uint16_t written = 0;
};

// Feeds responses to a procedure and returns the requests it made; stops when it finishes.
inline std::vector<Bytes> run(AttProcedure& procedure, const std::vector<Bytes>& responses) {
    std::vector<Bytes> requests{procedure.start()};
    for (const Bytes& response : responses) {
        auto next = procedure.next(response);
        if (!next) {
            break;
        }
        requests.push_back(*next);
    }
    return requests;
}

} // namespace orv::host::test
