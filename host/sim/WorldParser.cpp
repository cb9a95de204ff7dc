// Simulated radio: reading a world description from JSON.
#include "WorldParser.h"

#include "AddressText.h"

#include <nlohmann/json.hpp>

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

template <typename Reader> void readArray(const json& root, const char* key, Reader reader) {
    const json* list = member(root, key);
    if (list == nullptr) {
        return;
    }
    if (!list->is_array()) {
        fail(key, "expected an array");
    }
    for (size_t i = 0; i < list->size(); ++i) {
        reader((*list)[i], std::string(key) + "[" + std::to_string(i) + "]");
    }
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
    fail(path + ".action", "unknown action \"" + text + "\"");
}

} // namespace

std::optional<World> WorldParser::parse(const std::string& text, std::string* error) {
    try {
        return readWorld(json::parse(text));
    } catch (const json::parse_error& e) {
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
    readArray(root, "usbDevices", [&world](const json& node, const std::string& path) {
        world.otherUsbDevices.push_back(readUsbDevice(node, path));
    });
    readArray(root, "peers", [&world](const json& node, const std::string& path) {
        world.peers.push_back(readPeer(node, path));
    });
    readArray(root, "events", [&world](const json& node, const std::string& path) {
        world.events.push_back(readEvent(node, path));
    });
    return world;
}

DongleSpec WorldParser::readDongle(const json& node, const std::string& path) {
    requireObject(node, path);
    DongleSpec dongle;
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

UsbDeviceSpec WorldParser::readUsbDevice(const json& node, const std::string& path) {
    requireObject(node, path);
    UsbDeviceSpec device;
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

PeerSpec WorldParser::readPeer(const json& node, const std::string& path) {
    requireObject(node, path);
    PeerSpec peer;
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
    return event;
}

} // namespace orv::sim
