// Simulated radio: the behaviour model of a virtual peer, chosen by the peer's kind.
#include "PeerModel.h"

#include "../../core/AttProtocol.h"
#include "../Simulator.h"
#include "HeartRateSensor.h"

namespace orv::sim {
namespace {

namespace att = orv::host::att;

constexpr uint16_t kGenericAccess = 0x1800;
constexpr uint16_t kDeviceName = 0x2A00;
constexpr uint8_t kReadWrite = 0x0A;

} // namespace

GattServiceSpec PeerModel::genericAccess(const PeerSpec& peer) {
    GattCharacteristicSpec name;
    name.uuid = att::uuid16(kDeviceName);
    name.properties = kReadWrite;
    const std::string text = peer.name.value_or("");
    name.value.assign(text.begin(), text.end());
    GattServiceSpec service;
    service.uuid = att::uuid16(kGenericAccess);
    service.characteristics = {name};
    return service;
}

std::unique_ptr<PeerModel> createPeerModel(Simulator& simulator, size_t peerIndex) {
    const std::string& kind = simulator.world().peers.at(peerIndex).kind;
    if (kind == "heartRate") {
        return std::make_unique<HeartRateSensor>(simulator, peerIndex);
    }
    return nullptr;
}

} // namespace orv::sim
