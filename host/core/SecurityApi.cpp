// Security: pairing, encryption and bond-removal requests of the C interface.
#include "HostLibrary.h"
#include "veyrahost.h"

using orv::host::HostLibrary;

namespace {

HostLibrary& library() {
    return HostLibrary::instance();
}

} // namespace

extern "C" {

OrvBleResult OrvBleHostChangeSecurityLevel(int mitm) {
    if (const OrvBleResult ready = library().readiness(); ready != ORV_BLE_OK) {
        return ready;
    }
    library().links().setMitm(mitm != 0);
    return ORV_BLE_OK;
}

OrvBleResult OrvBleHostSetEncryption(uint32_t cid, int level) {
    if (const OrvBleResult ready = library().readiness(); ready != ORV_BLE_OK) {
        return ready;
    }
    if (level != 1 && level != 2) {
        return ORV_BLE_E_INVALID_ARGUMENT;
    }
    return library().links().setEncryption(cid, level);
}

OrvBleResult OrvBleHostJustWorksResult(BleTypedAddress address, int accept, int bond) {
    if (const OrvBleResult ready = library().readiness(); ready != ORV_BLE_OK) {
        return ready;
    }
    return library().links().answerJustWorks(address, accept != 0, bond != 0);
}

OrvBleResult OrvBleHostPasskeyNotificationResult(BleTypedAddress address, int accept) {
    if (const OrvBleResult ready = library().readiness(); ready != ORV_BLE_OK) {
        return ready;
    }
    return library().links().answerPasskey(address, accept != 0);
}

OrvBleResult OrvBleHostCancelBonding(BleTypedAddress address) {
    if (const OrvBleResult ready = library().readiness(); ready != ORV_BLE_OK) {
        return ready;
    }
    return library().links().cancelBonding(address);
}

OrvBleResult OrvBleHostCancel(void) {
    if (const OrvBleResult ready = library().readiness(); ready != ORV_BLE_OK) {
        return ready;
    }
    library().links().cancelPairings();
    return ORV_BLE_OK;
}

OrvBleResult OrvBleHostDebond(BleTypedAddress address) {
    return library().removeBond(address);
}

} // extern "C"
