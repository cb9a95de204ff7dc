// LE connection parameters asked for or agreed for a link.
#pragma once

#include <cstdint>

// Intervals in units of 1.25 ms, supervision timeout in units of 10 ms.
struct BleConnectionParameters {
    uint16_t intervalMin = 0;
    uint16_t intervalMax = 0;
    uint16_t slaveLatency = 0;
    uint16_t supervisionTimeout = 0;
};
