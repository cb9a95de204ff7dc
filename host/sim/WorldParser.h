// Simulated radio: reading a world description from JSON.
#pragma once

#include "World.h"

#include <nlohmann/json_fwd.hpp>

#include <optional>
#include <string>

namespace orv::sim {

// Reads a world. Most members are optional and have a default; a member that is unknown, given twice,
// missing where required, of the wrong type or out of range, a peer kind without a model, a second peer
// with the address of another, or an unplugUsb event naming no USB device of the world makes the whole
// world invalid, with an error text naming the member ("peers[2].rssi.mean: ...").
class WorldParser {
public:
    static std::optional<World> parse(const std::string& text, std::string* error);

private:
    static World readWorld(const nlohmann::json& root);
    static DongleDescription readDongle(const nlohmann::json& node, const std::string& path);
    static UsbDeviceDescription readUsbDevice(const nlohmann::json& node, const std::string& path);
    static PeerDescription readPeer(const nlohmann::json& node, const std::string& path);
    static ScriptedEvent readEvent(const nlohmann::json& node, const std::string& path);
    static GattServiceDescription readService(const nlohmann::json& node, const std::string& path);
    static GattCharacteristicDescription readCharacteristic(const nlohmann::json& node,
                                                            const std::string& path);
    static ParameterRequestDescription readParameterRequest(const nlohmann::json& node,
                                                            const std::string& path);
};

} // namespace orv::sim
