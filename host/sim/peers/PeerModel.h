// Simulated radio: the behaviour model of a virtual peer, chosen by the peer's kind.
#pragma once

#include "../World.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace orv::sim {

class Simulator;

// What a peer does beyond serving its attribute table. Whatever a model sends reaches the host
// through the virtual clock's queue, so it may send, schedule and change attributes from any hook.
class PeerModel {
public:
    virtual ~PeerModel() = default;

    // The database the peer serves when its world entry lists none.
    virtual std::vector<GattServiceDescription> baseDatabase() const = 0;
    // The host connected; the link is up.
    virtual void onConnect() {}
    // The link is gone (either side dropped it, the dongle went away or the host shut down).
    virtual void onDisconnect() {}
    // The client writes value to the characteristic value at handle. Returns 0 to accept (the value
    // is then stored) or the ATT error to answer instead.
    virtual uint8_t onWrite(uint16_t handle, std::span<const uint8_t> value) {
        (void)handle;
        (void)value;
        return 0;
    }
    // The client reads the characteristic value at handle. Returns 0 to answer with the stored value
    // or the ATT error to answer instead.
    virtual uint8_t onRead(uint16_t handle) {
        (void)handle;
        return 0;
    }
    // The client stored configuration (bit 0 notify, bit 1 indicate) for the characteristic whose
    // value is at valueHandle.
    virtual void onConfiguration(uint16_t valueHandle, uint16_t configuration) {
        (void)valueHandle;
        (void)configuration;
    }
    // The link is encrypted now (after a pairing, or with the key of a bond).
    virtual void onEncrypted() {}
    // A PDU the host sent to the peer as a client of the host's own database: a response to the
    // peer's request, a notification or an indication.
    virtual void onHostPdu(std::span<const uint8_t> pdu) { (void)pdu; }
    // The signal strength (dBm) an RSSI read of the link reports now; nullopt: the world entry's model.
    virtual std::optional<int> rssi() { return std::nullopt; }

protected:
    // Generic Access with the peer's name as its Device Name (readable and writable).
    static GattServiceDescription genericAccess(const PeerDescription& peer);
    // Device Information with Manufacturer Name, Model Number and System ID, as health devices serve it.
    static GattServiceDescription deviceInformation(const std::string& manufacturer, const std::string& model,
                                                    std::vector<uint8_t> systemId);
    // The maker's vendor UUID 0000XXXX-4b7e-11e2-8c3a-5f8c2e10b7d4 for the vendor number XXXX.
    static BleUuid vendorUuid(uint16_t number);
};

// The kinds a world may give a peer, each with its model.
std::vector<std::string_view> peerKinds();
// The model of the world peer at peerIndex by its kind, or null for a peer without a kind, which only
// advertises and serves the database its world entry lists.
std::unique_ptr<PeerModel> createPeerModel(Simulator& simulator, size_t peerIndex);

// A characteristic of a peer's own database, with its value and descriptors.
GattCharacteristicDescription characteristic(const BleUuid& uuid, uint8_t properties,
                                             std::vector<uint8_t> value = {},
                                             std::vector<GattDescriptorDescription> descriptors = {});
GattCharacteristicDescription characteristic(uint16_t uuid, uint8_t properties,
                                             std::vector<uint8_t> value = {});

} // namespace orv::sim
