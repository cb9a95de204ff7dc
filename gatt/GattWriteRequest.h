// GATT client: one queued write (characteristic value or client characteristic configuration).
#pragma once

#include <cstdint>

struct GattWriteRequest {
    static constexpr int kMaxData = 128;
    static constexpr uint32_t kWriteRequest = 0; // acknowledged by the peer
    static constexpr uint32_t kWriteCommand = 1; // without response

    uint32_t cid = 0;
    uint16_t handle = 0;       // value handle; 0 = nothing to do
    uint16_t configHandle = 0; // non-zero: a configuration write to this descriptor
    uint8_t configValue = 0;   // 1 notifications, 2 indications
    uint8_t data[kMaxData] = {};
    uint8_t length = 0;
    uint32_t mode = kWriteRequest;
    // Times the peer refused this write for lack of security.
    uint8_t securityRefusals = 0;

    bool IsConfigurationWrite() const { return configHandle != 0; }
};
