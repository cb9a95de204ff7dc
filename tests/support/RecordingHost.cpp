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
