// Simulated radio: reading a world description from JSON.
#include "WorldParser.h"

#include "AddressText.h"
#include "GattText.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <limits>
#include <stdexcept>

namespace orv::sim {
namespace {

using nlohmann::json;

struct WorldError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const std::string& path, const std::string& what) {
    throw WorldError(path + ": " + what);
}

const json* member(const json& node, const char* key) {
    const auto it = node.find(key);
    return it == node.end() ? nullptr : &*it;
}

void requireObject(const json& node, const std::string& path) {
    if (!node.is_object()) {
        fail(path, "expected an object");
    }
}

template <typename T> void readInt(const json& node, const char* key, const std::string& path, T& out) {
    const json* value = member(node, key);
    if (value == nullptr) {
        return;
    }
    const std::string where = path + "." + key;
    if (!value->is_number_integer()) {
        fail(where, "expected an integer");
    }
    // Read as unsigned where the text holds one, so that values beyond int64_t are not wrapped.
    if (value->is_number_unsigned()) {
        const auto number = value->get<uint64_t>();
        if (number > static_cast<uint64_t>(std::numeric_limits<T>::max())) {
            fail(where, "value " + std::to_string(number) + " out of range");
        }
        out = static_cast<T>(number);
        return;
    }
    const auto number = value->get<int64_t>();
    if (number < static_cast<int64_t>(std::numeric_limits<T>::min()) ||
        (number > 0 &&
         static_cast<uint64_t>(number) > static_cast<uint64_t>(std::numeric_limits<T>::max()))) {
        fail(where, "value " + std::to_string(number) + " out of range");
    }
    out = static_cast<T>(number);
}

template <typename T>
void readOptionalInt(const json& node, const char* key, const std::string& path, std::optional<T>& out) {
    if (member(node, key) == nullptr) {
        return;
    }
    T value{};
    readInt(node, key, path, value);
    out = value;
}

void readBool(const json& node, const char* key, const std::string& path, bool& out) {
    const json* value = member(node, key);
    if (value == nullptr) {
        return;
    }
    if (!value->is_boolean()) {
        fail(path + "." + key, "expected true or false");
    }
    out = value->get<bool>();
}

void readString(const json& node, const char* key, const std::string& path, std::string& out) {
    const json* value = member(node, key);
    if (value == nullptr) {
        return;
    }
    if (!value->is_string()) {
        fail(path + "." + key, "expected a string");
    }
    out = value->get<std::string>();
}

std::vector<std::string> readStringList(const json& node, const std::string& path) {
    if (!node.is_array()) {
        fail(path, "expected an array of strings");
    }
    std::vector<std::string> out;
    for (const json& item : node) {
        if (!item.is_string()) {
            fail(path, "expected an array of strings");
        }
        out.push_back(item.get<std::string>());
    }
    return out;
}

template <typename Reader>
void readArray(const json& node, const char* key, const std::string& path, Reader reader) {
    const json* list = member(node, key);
    if (list == nullptr) {
        return;
    }
    const std::string where = path.empty() ? key : path + "." + key;
    if (!list->is_array()) {
        fail(where, "expected an array");
    }
    for (size_t i = 0; i < list->size(); ++i) {
        reader((*list)[i], where + "[" + std::to_string(i) + "]");
    }
}

BleUuid readUuid(const json& node, const std::string& path) {
    std::string text;
    readString(node, "uuid", path, text);
    const auto uuid = parseUuid(text);
    if (!uuid) {
        fail(path + ".uuid",
             "expected \"XXXX\" or \"XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX\", got \"" + text + "\"");
    }
    return *uuid;
}

// An attribute value as "value" (hexadecimal bytes) or "text" (UTF-8).
std::vector<uint8_t> readValue(const json& node, const std::string& path) {
    std::string text;
    readString(node, "text", path, text);
    std::vector<uint8_t> value(text.begin(), text.end());
    std::string hex;
    readString(node, "value", path, hex);
    if (!hex.empty()) {
        const auto bytes = parseHex(hex);
        if (!bytes) {
            fail(path + ".value", "expected hexadecimal bytes, got \"" + hex + "\"");
        }
        value = *bytes;
    }
    if (value.size() > 512) {
        fail(path, "a value may hold at most 512 bytes");
    }
    return value;
}

uint8_t readProperties(const json& node, const std::string& path) {
    const json* value = member(node, "properties");
    if (value == nullptr) {
        return kPropertyRead;
    }
    if (value->is_number_integer()) {
        uint8_t properties = 0;
        readInt(node, "properties", path, properties);
        return properties;
    }
    static const std::pair<const char*, uint8_t> kNames[] = {
        {"broadcast", kPropertyBroadcast},
        {"read", kPropertyRead},
        {"writeWithoutResponse", kPropertyWriteWithoutResponse},
        {"write", kPropertyWrite},
        {"notify", kPropertyNotify},
        {"indicate", kPropertyIndicate},
        {"signedWrite", kPropertySignedWrite},
        {"extended", kPropertyExtended}};
    uint8_t properties = 0;
    for (const std::string& name : readStringList(*value, path + ".properties")) {
        const auto* it = std::find_if(std::begin(kNames), std::end(kNames),
                                      [&name](const auto& entry) { return name == entry.first; });
        if (it == std::end(kNames)) {
            fail(path + ".properties", "unknown property \"" + name + "\"");
        }
        properties |= it->second;
    }
    return properties;
}

PeerSecurity readSecurity(const json& node, const std::string& path) {
    std::string text = "none";
    readString(node, "security", path, text);
    if (text == "none") {
        return PeerSecurity::None;
    }
    if (text == "encryption") {
        return PeerSecurity::Encryption;
    }
    if (text == "mitm") {
        return PeerSecurity::Mitm;
    }
    fail(path + ".security", "expected \"none\", \"encryption\" or \"mitm\", got \"" + text + "\"");
}

PasskeyBehaviour readPasskey(const json& node, const std::string& path) {
    std::string text = "right";
    readString(node, "passkey", path, text);
    if (text == "right") {
        return PasskeyBehaviour::Right;
    }
    if (text == "wrong") {
        return PasskeyBehaviour::Wrong;
    }
    if (text == "none") {
        return PasskeyBehaviour::None;
    }
    fail(path + ".passkey", "expected \"right\", \"wrong\" or \"none\", got \"" + text + "\"");
}

StartupOutcome readStartup(const json& node, const std::string& path) {
    std::string text = "up";
    readString(node, "startup", path, text);
    if (text == "up") {
        return StartupOutcome::Up;
    }
    if (text == "failed") {
        return StartupOutcome::Failed;
    }
    if (text == "error") {
        return StartupOutcome::Error;
    }
    fail(path + ".startup", "expected \"up\", \"failed\" or \"error\", got \"" + text + "\"");
}

ScriptedAction readAction(const json& node, const std::string& path) {
    std::string text;
    readString(node, "action", path, text);
    if (text == "unplugDongle") {
        return ScriptedAction::UnplugDongle;
    }
    if (text == "unplugUsb") {
        return ScriptedAction::UnplugUsb;
    }
    if (text == "suspend") {
        return ScriptedAction::Suspend;
    }
    if (text == "resume") {
        return ScriptedAction::Resume;
    }
    if (text == "hostError") {
        return ScriptedAction::HostError;
    }
    if (text == "disconnect") {
        return ScriptedAction::Disconnect;
    }
    fail(path + ".action", "unknown action \"" + text + "\"");
}

} // namespace

std::optional<World> WorldParser::parse(const std::string& text, std::string* error) {
    try {
        return readWorld(json::parse(text));
    } catch (const json::exception& e) {
        // Syntax errors, numbers beyond a double and any other complaint of the JSON library.
        if (error != nullptr) {
            *error = std::string("world is not valid JSON: ") + e.what();
        }
    } catch (const WorldError& e) {
        if (error != nullptr) {
            *error = std::string("world: ") + e.what();
        }
    }
    return std::nullopt;
}

World WorldParser::readWorld(const json& root) {
    requireObject(root, "world");
    World world;
    readInt(root, "seed", "world", world.seed);
    readInt(root, "searchDurationMs", "world", world.searchDurationMs);
    if (const json* dongle = member(root, "dongle")) {
        world.dongle = readDongle(*dongle, "dongle");
    }
    readArray(root, "usbDevices", "", [&world](const json& node, const std::string& path) {
        world.otherUsbDevices.push_back(readUsbDevice(node, path));
    });
    readArray(root, "peers", "", [&world](const json& node, const std::string& path) {
        world.peers.push_back(readPeer(node, path));
    });
    readArray(root, "events", "", [&world](const json& node, const std::string& path) {
        world.events.push_back(readEvent(node, path));
    });
    return world;
}

DongleDescription WorldParser::readDongle(const json& node, const std::string& path) {
    requireObject(node, path);
    DongleDescription dongle;
    readBool(node, "present", path, dongle.present);
    readBool(node, "driver", path, dongle.driver);
    readBool(node, "busy", path, dongle.busy);
    readBool(node, "initFails", path, dongle.initFails);
    readBool(node, "startWndFails", path, dongle.startWndFails);
    dongle.startup = readStartup(node, path);
    readInt(node, "startupError", path, dongle.startupError);
    readInt(node, "startupDelayMs", path, dongle.startupDelayMs);
    return dongle;
}

UsbDeviceDescription WorldParser::readUsbDevice(const json& node, const std::string& path) {
    requireObject(node, path);
    UsbDeviceDescription device;
    if (const json* ids = member(node, "hardwareIds")) {
        device.hardwareIds = readStringList(*ids, path + ".hardwareIds");
    }
    readString(node, "service", path, device.service);
    readString(node, "interfacePath", path, device.interfacePath);
    if (device.interfacePath.empty()) {
        fail(path + ".interfacePath", "required");
    }
    return device;
}

PeerDescription WorldParser::readPeer(const json& node, const std::string& path) {
    requireObject(node, path);
    PeerDescription peer;
    readString(node, "kind", path, peer.kind);
    std::string type = "public";
    readString(node, "addressType", path, type);
    if (type != "public" && type != "random") {
        fail(path + ".addressType", "expected \"public\" or \"random\"");
    }
    std::string address;
    readString(node, "address", path, address);
    const auto parsed = parseAddress(address, type == "random" ? 1 : 0);
    if (!parsed) {
        fail(path + ".address", "expected \"XX:XX:XX:XX:XX:XX\", got \"" + address + "\"");
    }
    peer.address = *parsed;
    if (const json* name = member(node, "name"); name != nullptr && !name->is_null()) {
        peer.name.emplace();
        readString(node, "name", path, *peer.name);
    }
    readOptionalInt(node, "txPower", path, peer.txPower);
    readOptionalInt(node, "appearance", path, peer.appearance);
    if (const json* range = member(node, "slaveInterval")) {
        requireObject(*range, path + ".slaveInterval");
        std::pair<uint16_t, uint16_t> interval{0, 0};
        readInt(*range, "min", path + ".slaveInterval", interval.first);
        readInt(*range, "max", path + ".slaveInterval", interval.second);
        peer.slaveInterval = interval;
    }
    readInt(node, "adFlags", path, peer.adFlags);
    readInt(node, "advIntervalMs", path, peer.advIntervalMs);
    if (peer.advIntervalMs == 0) {
        fail(path + ".advIntervalMs", "must be at least 1");
    }
    if (const json* rssi = member(node, "rssi")) {
        requireObject(*rssi, path + ".rssi");
        readInt(*rssi, "mean", path + ".rssi", peer.rssi.mean);
        readInt(*rssi, "jitter", path + ".rssi", peer.rssi.jitter);
        if (peer.rssi.mean < -127 || peer.rssi.mean > 20 || peer.rssi.jitter < 0 || peer.rssi.jitter > 40) {
            fail(path + ".rssi", "mean must lie in -127..20 dBm and jitter in 0..40");
        }
    }
    readBool(node, "connectable", path, peer.connectable);
    readBool(node, "advertising", path, peer.advertising);
    readBool(node, "bonded", path, peer.bonded);
    peer.security = readSecurity(node, path);
    readBool(node, "passkeyInput", path, peer.passkeyInput);
    peer.passkey = readPasskey(node, path);
    readArray(node, "gatt", path, [&peer](const json& item, const std::string& where) {
        peer.gatt.push_back(readService(item, where));
    });
    if (const json* request = member(node, "parameterRequest")) {
        peer.parameterRequest = readParameterRequest(*request, path + ".parameterRequest");
    }
    return peer;
}

ScriptedEvent WorldParser::readEvent(const json& node, const std::string& path) {
    requireObject(node, path);
    ScriptedEvent event;
    readInt(node, "at", path, event.at);
    event.action = readAction(node, path);
    readString(node, "interfacePath", path, event.interfacePath);
    readInt(node, "code", path, event.code);
    if (event.action == ScriptedAction::UnplugUsb && event.interfacePath.empty()) {
        fail(path + ".interfacePath", "required for unplugUsb");
    }
    if (event.action == ScriptedAction::Disconnect) {
        std::string type = "public";
        readString(node, "addressType", path, type);
        std::string address;
        readString(node, "address", path, address);
        const auto parsed = parseAddress(address, type == "random" ? 1 : 0);
        if (!parsed) {
            fail(path + ".address", "expected \"XX:XX:XX:XX:XX:XX\", got \"" + address + "\"");
        }
        event.address = *parsed;
        if (event.code == 0) {
            event.code = 0x13; // remote user terminated the connection
        }
    }
    return event;
}

GattServiceDescription WorldParser::readService(const json& node, const std::string& path) {
    requireObject(node, path);
    GattServiceDescription service;
    service.uuid = readUuid(node, path);
    readArray(node, "characteristics", path, [&service](const json& item, const std::string& where) {
        service.characteristics.push_back(readCharacteristic(item, where));
    });
    return service;
}

GattCharacteristicDescription WorldParser::readCharacteristic(const json& node, const std::string& path) {
    requireObject(node, path);
    GattCharacteristicDescription characteristic;
    characteristic.uuid = readUuid(node, path);
    characteristic.properties = readProperties(node, path);
    characteristic.value = readValue(node, path);
    readInt(node, "readError", path, characteristic.readError);
    readInt(node, "writeError", path, characteristic.writeError);
    readBool(node, "silent", path, characteristic.silent);
    if (member(node, "security") != nullptr) {
        characteristic.security = readSecurity(node, path);
    }
    readArray(node, "descriptors", path, [&characteristic](const json& item, const std::string& where) {
        requireObject(item, where);
        characteristic.descriptors.push_back({readUuid(item, where), readValue(item, where)});
    });
    return characteristic;
}

ParameterRequestDescription WorldParser::readParameterRequest(const json& node, const std::string& path) {
    requireObject(node, path);
    ParameterRequestDescription request;
    readInt(node, "afterMs", path, request.afterMs);
    readInt(node, "intervalMin", path, request.intervalMin);
    readInt(node, "intervalMax", path, request.intervalMax);
    readInt(node, "slaveLatency", path, request.slaveLatency);
    readInt(node, "supervisionTimeout", path, request.supervisionTimeout);
    return request;
}

} // namespace orv::sim
