// Simulated radio: reading a world description from JSON.
#include "WorldParser.h"

#include "AddressText.h"
#include "DuplicateMemberCheck.h"
#include "GattText.h"
#include "peers/PeerModel.h"

#include <nlohmann/json.hpp>

#include <algorithm>
#include <functional>
#include <initializer_list>
#include <limits>
#include <stdexcept>
#include <string_view>
#include <type_traits>

namespace orv::sim {
namespace {

using nlohmann::json;

struct WorldError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Host error codes are shown as signed 32-bit numbers.
constexpr uint32_t kMaxHostError = 2147483647;
constexpr uint8_t kMaxHciReason = 255;
constexpr size_t kMaxValueLength = 512;

// An empty path is the world itself.
[[noreturn]] void fail(const std::string& path, const std::string& what) {
    throw WorldError(path.empty() ? what : path + ": " + what);
}

std::string memberPath(const std::string& path, const std::string& key) {
    return path.empty() ? key : path + "." + key;
}

const json* member(const json& node, const char* key) {
    const auto it = node.find(key);
    return it == node.end() ? nullptr : &*it;
}

void requireMember(const json& node, const char* key, const std::string& path) {
    if (member(node, key) == nullptr) {
        fail(memberPath(path, key), "required");
    }
}

// A misspelt member would silently leave its default in place, so every member must be one of known.
void requireObject(const json& node, const std::string& path, std::initializer_list<std::string_view> known) {
    if (!node.is_object()) {
        fail(path, "expected an object");
    }
    for (const auto& item : node.items()) {
        if (std::find(known.begin(), known.end(), item.key()) == known.end()) {
            fail(memberPath(path, item.key()), "unknown member");
        }
    }
}

bool beyond64Bits(double number) {
    return number >= static_cast<double>(std::numeric_limits<uint64_t>::max()) ||
           number <= static_cast<double>(std::numeric_limits<int64_t>::min());
}

// An integer in min..max, by default the whole range of T.
template <typename T>
void readInt(const json& node, const char* key, const std::string& path, T& out,
             std::type_identity_t<T> min = std::numeric_limits<T>::min(),
             std::type_identity_t<T> max = std::numeric_limits<T>::max()) {
    const json* value = member(node, key);
    if (value == nullptr) {
        return;
    }
    const std::string where = memberPath(path, key);
    const std::string range = " out of range " + std::to_string(+min) + ".." + std::to_string(+max);
    if (!value->is_number_integer()) {
        // The library reads an integer beyond 64 bits as a floating-point number.
        if (value->is_number_float() && beyond64Bits(value->get<double>())) {
            fail(where, "value" + range);
        }
        fail(where, "expected an integer");
    }
    // Read as unsigned where the text holds one, so that values beyond int64_t are not wrapped.
    if (value->is_number_unsigned()) {
        const auto number = value->get<uint64_t>();
        if (number > static_cast<uint64_t>(max) || (min > 0 && number < static_cast<uint64_t>(min))) {
            fail(where, "value " + std::to_string(number) + range);
        }
        out = static_cast<T>(number);
        return;
    }
    const auto number = value->get<int64_t>();
    if (number < static_cast<int64_t>(min) ||
        (number > 0 && static_cast<uint64_t>(number) > static_cast<uint64_t>(max))) {
        fail(where, "value " + std::to_string(number) + range);
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
        fail(memberPath(path, key), "expected true or false");
    }
    out = value->get<bool>();
}

void readString(const json& node, const char* key, const std::string& path, std::string& out) {
    const json* value = member(node, key);
    if (value == nullptr) {
        return;
    }
    if (!value->is_string()) {
        fail(memberPath(path, key), "expected a string");
    }
    out = value->get<std::string>();
}

std::string requiredString(const json& node, const char* key, const std::string& path) {
    requireMember(node, key, path);
    std::string text;
    readString(node, key, path, text);
    return text;
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
    const std::string where = memberPath(path, key);
    if (!list->is_array()) {
        fail(where, "expected an array");
    }
    for (size_t i = 0; i < list->size(); ++i) {
        reader((*list)[i], where + "[" + std::to_string(i) + "]");
    }
}

// "a", "b" or "c".
template <typename Names> std::string nameList(const Names& names) {
    std::string text;
    size_t index = 0;
    for (const auto& name : names) {
        text += index == 0 ? "" : index + 1 == std::size(names) ? " or " : ", ";
        text.append("\"").append(name).append("\"");
        ++index;
    }
    return text;
}

template <typename E> using Choices = std::initializer_list<std::pair<const char*, E>>;

// One of the names of choices; fallback when the member is absent, which without one is refused.
template <typename E>
E readChoice(const json& node, const char* key, const std::string& path, Choices<E> choices,
             std::optional<E> fallback) {
    if (member(node, key) == nullptr && fallback) {
        return *fallback;
    }
    const std::string text = requiredString(node, key, path);
    std::vector<std::string_view> names;
    for (const auto& [name, choice] : choices) {
        if (text == name) {
            return choice;
        }
        names.push_back(name);
    }
    fail(memberPath(path, key), "expected " + nameList(names) + ", got \"" + text + "\"");
}

// A peer's behaviour: one of the kinds with a model. A peer without behaviour leaves the member out.
std::string readKind(const json& node, const std::string& path) {
    std::string kind;
    if (member(node, "kind") == nullptr) {
        return kind;
    }
    readString(node, "kind", path, kind);
    const std::vector<std::string_view> kinds = peerKinds();
    if (std::find(kinds.begin(), kinds.end(), kind) == kinds.end()) {
        fail(memberPath(path, "kind"), "expected " + nameList(kinds) + ", got \"" + kind + "\"");
    }
    return kind;
}

BleTypedAddress readAddress(const json& node, const std::string& path) {
    const uint8_t type = readChoice<uint8_t>(node, "addressType", path, {{"public", 0}, {"random", 1}}, 0);
    const std::string text = requiredString(node, "address", path);
    const auto address = parseAddress(text, type);
    if (!address) {
        fail(path + ".address", "expected \"XX:XX:XX:XX:XX:XX\", got \"" + text + "\"");
    }
    return *address;
}

BleUuid readUuid(const json& node, const std::string& path) {
    const std::string text = requiredString(node, "uuid", path);
    const auto uuid = parseUuid(text);
    if (!uuid) {
        fail(path + ".uuid",
             "expected \"XXXX\" or \"XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX\", got \"" + text + "\"");
    }
    return *uuid;
}

// An attribute value as "value" (hexadecimal bytes) or "text" (UTF-8); "value" wins, even when empty.
std::vector<uint8_t> readValue(const json& node, const std::string& path) {
    std::string text;
    readString(node, "text", path, text);
    std::vector<uint8_t> value(text.begin(), text.end());
    if (member(node, "value") != nullptr) {
        std::string hex;
        readString(node, "value", path, hex);
        const auto bytes = parseHex(hex);
        if (!bytes) {
            fail(path + ".value", "expected hexadecimal bytes, got \"" + hex + "\"");
        }
        value = *bytes;
    }
    if (value.size() > kMaxValueLength) {
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
    return readChoice<PeerSecurity>(node, "security", path,
                                    {{"none", PeerSecurity::None},
                                     {"encryption", PeerSecurity::Encryption},
                                     {"mitm", PeerSecurity::Mitm}},
                                    PeerSecurity::None);
}

// Two peers with one identity (address type and address) would show as one device.
void requireDistinctAddresses(const std::vector<PeerDescription>& peers) {
    for (size_t i = 0; i < peers.size(); ++i) {
        for (size_t j = 0; j < i; ++j) {
            if (sameAddress(peers[i].address, peers[j].address)) {
                fail("peers[" + std::to_string(i) + "].address",
                     formatAddress(peers[i].address) +
                         (peers[i].address.type == 0 ? " (public)" : " (random)") +
                         " is already the address of peers[" + std::to_string(j) + "]");
            }
        }
    }
}

// An unplugUsb event that names no other USB device would quietly remove nothing.
void requireKnownInterfaces(const World& world) {
    for (size_t i = 0; i < world.events.size(); ++i) {
        const ScriptedEvent& event = world.events[i];
        if (event.action != ScriptedAction::UnplugUsb ||
            std::any_of(world.otherUsbDevices.begin(), world.otherUsbDevices.end(),
                        [&event](const UsbDeviceDescription& device) {
                            return device.interfacePath == event.interfacePath;
                        })) {
            continue;
        }
        fail("events[" + std::to_string(i) + "].interfacePath",
             "no entry of usbDevices has \"" + event.interfacePath + "\"");
    }
}

// The library's complaint without its "[json.exception.…]" tag; a syntax error starts with its line and
// column.
std::string plainText(const json::exception& e) {
    std::string_view text = e.what();
    if (const size_t tag = text.find("] "); text.starts_with("[json.exception.") && tag != text.npos) {
        text.remove_prefix(tag + 2);
    }
    constexpr std::string_view kPrefix = "parse error at ";
    if (text.starts_with(kPrefix)) {
        text.remove_prefix(kPrefix.size());
    }
    return std::string(text);
}

} // namespace

std::optional<World> WorldParser::parse(const std::string& text, std::string* error) {
    try {
        DuplicateMemberCheck check;
        const json root = json::parse(text, std::ref(check));
        if (!check.duplicate().empty()) {
            fail(check.duplicate(), "given twice");
        }
        return readWorld(root);
    } catch (const json::exception& e) {
        // Syntax errors, numbers beyond a double and any other complaint of the JSON library.
        if (error != nullptr) {
            *error = "world is not valid JSON: " + plainText(e);
        }
    } catch (const WorldError& e) {
        if (error != nullptr) {
            *error = std::string("world: ") + e.what();
        }
    }
    return std::nullopt;
}

World WorldParser::readWorld(const json& root) {
    requireObject(root, "", {"seed", "searchDurationMs", "dongle", "usbDevices", "peers", "events"});
    World world;
    readInt(root, "seed", "", world.seed);
    readInt(root, "searchDurationMs", "", world.searchDurationMs);
    if (const json* dongle = member(root, "dongle")) {
        world.dongle = readDongle(*dongle, "dongle");
    }
    readArray(root, "usbDevices", "", [&world](const json& node, const std::string& path) {
        world.otherUsbDevices.push_back(readUsbDevice(node, path));
    });
    readArray(root, "peers", "", [&world](const json& node, const std::string& path) {
        world.peers.push_back(readPeer(node, path));
    });
    requireDistinctAddresses(world.peers);
    readArray(root, "events", "", [&world](const json& node, const std::string& path) {
        world.events.push_back(readEvent(node, path));
    });
    requireKnownInterfaces(world);
    return world;
}

DongleDescription WorldParser::readDongle(const json& node, const std::string& path) {
    requireObject(node, path,
                  {"present", "driver", "busy", "initFails", "startWndFails", "startup", "startupError",
                   "startupDelayMs"});
    DongleDescription dongle;
    readBool(node, "present", path, dongle.present);
    readBool(node, "driver", path, dongle.driver);
    readBool(node, "busy", path, dongle.busy);
    readBool(node, "initFails", path, dongle.initFails);
    readBool(node, "startWndFails", path, dongle.startWndFails);
    dongle.startup = readChoice<StartupOutcome>(
        node, "startup", path,
        {{"up", StartupOutcome::Up}, {"failed", StartupOutcome::Failed}, {"error", StartupOutcome::Error}},
        StartupOutcome::Up);
    readInt(node, "startupError", path, dongle.startupError, 1u, kMaxHostError);
    readInt(node, "startupDelayMs", path, dongle.startupDelayMs);
    return dongle;
}

UsbDeviceDescription WorldParser::readUsbDevice(const json& node, const std::string& path) {
    requireObject(node, path, {"hardwareIds", "service", "interfacePath"});
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
    requireObject(node, path,
                  {"kind", "address", "addressType", "name", "txPower", "appearance", "slaveInterval",
                   "adFlags", "advIntervalMs", "rssi", "connectable", "advertising", "bonded", "security",
                   "passkeyInput", "passkey", "parameterRequest", "gatt"});
    PeerDescription peer;
    peer.kind = readKind(node, path);
    peer.address = readAddress(node, path);
    if (const json* name = member(node, "name"); name != nullptr && !name->is_null()) {
        peer.name.emplace();
        readString(node, "name", path, *peer.name);
    }
    readOptionalInt(node, "txPower", path, peer.txPower);
    readOptionalInt(node, "appearance", path, peer.appearance);
    if (const json* range = member(node, "slaveInterval")) {
        const std::string where = path + ".slaveInterval";
        requireObject(*range, where, {"min", "max"});
        std::pair<uint16_t, uint16_t> interval{0, 0};
        requireMember(*range, "min", where);
        requireMember(*range, "max", where);
        readInt(*range, "min", where, interval.first);
        readInt(*range, "max", where, interval.second);
        if (interval.first > interval.second) {
            fail(where,
                 "min " + std::to_string(interval.first) + " above max " + std::to_string(interval.second));
        }
        peer.slaveInterval = interval;
    }
    readInt(node, "adFlags", path, peer.adFlags);
    readInt(node, "advIntervalMs", path, peer.advIntervalMs, 1u);
    if (const json* rssi = member(node, "rssi")) {
        const std::string where = path + ".rssi";
        requireObject(*rssi, where, {"mean", "jitter"});
        readInt(*rssi, "mean", where, peer.rssi.mean, -127, 20);
        readInt(*rssi, "jitter", where, peer.rssi.jitter, 0, 40);
    }
    readBool(node, "connectable", path, peer.connectable);
    readBool(node, "advertising", path, peer.advertising);
    readBool(node, "bonded", path, peer.bonded);
    peer.security = readSecurity(node, path);
    readBool(node, "passkeyInput", path, peer.passkeyInput);
    peer.passkey = readChoice<PasskeyBehaviour>(node, "passkey", path,
                                                {{"right", PasskeyBehaviour::Right},
                                                 {"wrong", PasskeyBehaviour::Wrong},
                                                 {"none", PasskeyBehaviour::None}},
                                                PasskeyBehaviour::Right);
    readArray(node, "gatt", path, [&peer](const json& item, const std::string& where) {
        peer.gatt.push_back(readService(item, where));
    });
    if (const json* request = member(node, "parameterRequest")) {
        peer.parameterRequest = readParameterRequest(*request, path + ".parameterRequest");
    }
    return peer;
}

ScriptedEvent WorldParser::readEvent(const json& node, const std::string& path) {
    requireObject(node, path, {"at", "action", "interfacePath", "code", "address", "addressType"});
    ScriptedEvent event;
    readInt(node, "at", path, event.at);
    event.action = readChoice<ScriptedAction>(node, "action", path,
                                              {{"unplugDongle", ScriptedAction::UnplugDongle},
                                               {"unplugUsb", ScriptedAction::UnplugUsb},
                                               {"suspend", ScriptedAction::Suspend},
                                               {"resume", ScriptedAction::Resume},
                                               {"hostError", ScriptedAction::HostError},
                                               {"disconnect", ScriptedAction::Disconnect}},
                                              std::nullopt);
    readString(node, "interfacePath", path, event.interfacePath);
    if (event.action == ScriptedAction::UnplugUsb && event.interfacePath.empty()) {
        fail(path + ".interfacePath", "required for unplugUsb");
    }
    const bool disconnect = event.action == ScriptedAction::Disconnect;
    readInt(node, "code", path, event.code, 0u, disconnect ? kMaxHciReason : kMaxHostError);
    if (disconnect || member(node, "address") != nullptr || member(node, "addressType") != nullptr) {
        event.address = readAddress(node, path);
    }
    if (disconnect && event.code == 0) {
        event.code = 0x13; // remote user terminated the connection
    }
    return event;
}

GattServiceDescription WorldParser::readService(const json& node, const std::string& path) {
    requireObject(node, path, {"uuid", "characteristics"});
    GattServiceDescription service;
    service.uuid = readUuid(node, path);
    readArray(node, "characteristics", path, [&service](const json& item, const std::string& where) {
        service.characteristics.push_back(readCharacteristic(item, where));
    });
    return service;
}

GattCharacteristicDescription WorldParser::readCharacteristic(const json& node, const std::string& path) {
    requireObject(node, path,
                  {"uuid", "properties", "value", "text", "readError", "writeError", "silent", "security",
                   "descriptors"});
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
        requireObject(item, where, {"uuid", "value", "text"});
        characteristic.descriptors.push_back({readUuid(item, where), readValue(item, where)});
    });
    return characteristic;
}

ParameterRequestDescription WorldParser::readParameterRequest(const json& node, const std::string& path) {
    requireObject(node, path,
                  {"afterMs", "intervalMin", "intervalMax", "slaveLatency", "supervisionTimeout"});
    ParameterRequestDescription request;
    readInt(node, "afterMs", path, request.afterMs);
    readInt(node, "intervalMin", path, request.intervalMin);
    readInt(node, "intervalMax", path, request.intervalMax);
    readInt(node, "slaveLatency", path, request.slaveLatency);
    readInt(node, "supervisionTimeout", path, request.supervisionTimeout);
    return request;
}

} // namespace orv::sim
