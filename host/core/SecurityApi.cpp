// Security: pairing, encryption and bond-removal requests of the C interface.
//
// This build of the library cannot pair or encrypt: each such request is checked like every other
// call and then refused with ORV_BLE_E_NOT_SUPPORTED and a log line, so that callers see the refusal.
// Bond removal works on the bond store.
#include "HostLibrary.h"
#include "HostLog.h"
#include "veyrahost.h"

namespace {

OrvBleResult refuse(const char* call) {
    if (const OrvBleResult ready = orv::host::HostLibrary::instance().readiness(); ready != ORV_BLE_OK) {
        return ready;
    }
    orv::host::hostLog() << "veyrahost: " << call
                         << ": pairing and encryption are not supported by this library\n";
    return ORV_BLE_E_NOT_SUPPORTED;
}

} // namespace

extern "C" {

OrvBleResult OrvBleHostChangeSecurityLevel(int /*mitm*/) {
    return refuse("OrvBleHostChangeSecurityLevel");
}

OrvBleResult OrvBleHostSetEncryption(uint32_t /*cid*/, int /*level*/) {
    return refuse("OrvBleHostSetEncryption");
}

OrvBleResult OrvBleHostJustWorksResult(BleTypedAddress /*address*/, int /*accept*/, int /*bond*/) {
    return refuse("OrvBleHostJustWorksResult");
}

OrvBleResult OrvBleHostPasskeyNotificationResult(BleTypedAddress /*address*/, int /*accept*/) {
    return refuse("OrvBleHostPasskeyNotificationResult");
}

OrvBleResult OrvBleHostCancelBonding(BleTypedAddress /*address*/) {
    return refuse("OrvBleHostCancelBonding");
}

OrvBleResult OrvBleHostCancel(void) {
    return refuse("OrvBleHostCancel");
}

OrvBleResult OrvBleHostDebond(BleTypedAddress address) {
    return orv::host::HostLibrary::instance().removeBond(address);
}

} // extern "C"
