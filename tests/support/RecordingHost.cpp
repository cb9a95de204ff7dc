#include "support/RecordingHost.h"

int RecordingHost::OrvBleHostGetPairedDeviceList(uint16_t* count, BleHostPairedDevice** array) {
    Record(__func__);
    if (!pairedListResult)
        return 0;
    *count = static_cast<uint16_t>(pairedDevices.size());
    *array = pairedDevices.empty() ? nullptr : pairedDevices.data();
    return 1;
}

std::vector<HostCall> RecordingHost::callsNamed(const std::string& name) const {
    std::vector<HostCall> out;
    for (const auto& call : calls)
        if (call.name == name)
            out.push_back(call);
    return out;
}

OrvBleResult RecordingHost::OrvBleServerAddDatabase(uint16_t id, uint16_t count,
                                                    BleServerServiceRecord* services) {
    uint16_t next = 1;
    for (uint16_t s = 0; s < count; ++s) {
        ++next;
        for (uint16_t c = 0; c < services[s].characteristicCount; ++c) {
            BleServerCharacteristicRecord& characteristic = services[s].characteristics[c];
            characteristic.valueHandle = static_cast<uint16_t>(next + 1);
            next = static_cast<uint16_t>(next + 2);
            if (characteristic.properties & kPropertyNotify)
                characteristic.configHandle = next++;
        }
    }
    return Record(__func__, id, count);
}
