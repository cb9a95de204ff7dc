// Simulated radio: the Bluetooth Core limits on connection and scan parameters.
#include "ConnectionRules.h"

namespace orv::sim {

bool validConnectionParameters(const orv::host::ConnectionParameters& p) {
    const bool intervals = p.intervalMin >= 6 && p.intervalMin <= p.intervalMax && p.intervalMax <= 3200;
    const bool latency = p.slaveLatency <= 499;
    const bool timeout = p.supervisionTimeout >= 10 && p.supervisionTimeout <= 3200;
    // timeout * 10 ms > (1 + latency) * max * 1.25 ms * 2, in whole numbers.
    const bool longEnough =
        uint32_t{p.supervisionTimeout} * 4 > (uint32_t{p.slaveLatency} + 1) * p.intervalMax;
    return intervals && latency && timeout && longEnough;
}

bool validScanParameters(uint16_t interval, uint16_t window) {
    if (interval == 0xFFFF && window == 0xFFFF) {
        return true;
    }
    return interval >= 4 && interval <= 0x4000 && window >= 4 && window <= interval;
}

orv::host::LinkParameters linkParameters(const orv::host::ConnectionParameters& parameters) {
    return {parameters.intervalMax, parameters.slaveLatency, parameters.supervisionTimeout};
}

uint64_t connectionIntervalMs(const orv::host::ConnectionParameters& parameters) {
    const uint64_t ms = (uint64_t{linkParameters(parameters).interval} * 5 + 3) / 4;
    return ms == 0 ? 1 : ms;
}

} // namespace orv::sim
