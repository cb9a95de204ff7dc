#include "host/sim/WorldParser.h"
#include "veyrasim.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <utility>

namespace orv::sim {
namespace {

TEST(MalformedWorld, IsRejectedWithAClearMessage) {
    const std::tuple<const char*, std::string, const char*> worlds[] = {
        {"NotJson", "{\"peers\": [", "not valid JSON"},
        {"SyntaxErrorOnItsLine", "{\"seed\": 1,\n  \"peers\": [}\n",
         "world is not valid JSON: line 2, column 13: syntax error while parsing value - unexpected '}'"},
        {"Empty", "", "not valid JSON"},
        {"NotAnObject", "[1, 2]", "world: expected an object"},
        {"DongleNotObject", R"({"dongle": 3})", "dongle: expected an object"},
        {"PresentNotBool", R"({"dongle": {"present": "yes"}})", "dongle.present"},
        {"UnknownStartup", R"({"dongle": {"startup": "maybe"}})", "dongle.startup"},
        {"NegativeDelay", R"({"dongle": {"startupDelayMs": -1}})", "dongle.startupDelayMs"},
        {"PeersNotArray", R"({"peers": {}})", "peers: expected an array"},
        {"BadAddress", R"({"peers": [{"address": "12:34:56:78:9A"}]})", "peers[0].address"},
        {"AddressWithoutColons", R"({"peers": [{"address": "12-34-56-78-9A-BC"}]})", "peers[0].address"},
        {"BadAddressType", R"({"peers": [{"address": "12:34:56:78:9A:BC", "addressType": "x"}]})",
         R"(peers[0].addressType: expected "public" or "random", got "x")"},
        {"PeerWithoutAddress", R"({"peers": [{"name": "x"}]})", "peers[0].address: required"},
        {"SameAddressTwice",
         R"({"peers": [{"address": "12:34:56:78:9A:BC"}, {"address": "12:34:56:78:9a:bc", "kind": "battery"}]})",
         "peers[1].address: 12:34:56:78:9A:BC (public) is already the address of peers[0]"},
        {"TxPowerOutOfRange", R"({"peers": [{"address": "12:34:56:78:9A:BC", "txPower": 300}]})",
         "peers[0].txPower: value 300 out of range -128..127"},
        {"NameNotString", R"({"peers": [{"address": "12:34:56:78:9A:BC", "name": 5}]})", "peers[0].name"},
        {"ZeroInterval", R"({"peers": [{"address": "12:34:56:78:9A:BC", "advIntervalMs": 0}]})",
         "advIntervalMs: value 0 out of range 1..4294967295"},
        {"RssiOutOfRange", R"({"peers": [{"address": "12:34:56:78:9A:BC", "rssi": {"mean": 50}}]})",
         "peers[0].rssi.mean: value 50 out of range -127..20"},
        {"JitterOutOfRange", R"({"peers": [{"address": "12:34:56:78:9A:BC", "rssi": {"jitter": 41}}]})",
         "peers[0].rssi.jitter: value 41 out of range 0..40"},
        {"SlaveIntervalWithoutMax",
         R"({"peers": [{"address": "12:34:56:78:9A:BC", "slaveInterval": {"min": 6}}]})",
         "peers[0].slaveInterval.max: required"},
        {"SlaveIntervalUpsideDown",
         R"({"peers": [{"address": "12:34:56:78:9A:BC", "slaveInterval": {"min": 24, "max": 6}}]})",
         "peers[0].slaveInterval: min 24 above max 6"},
        {"FloatSeed", R"({"seed": 1.5})", "world: seed: expected an integer"},
        {"NumberBeyondADouble", R"({"seed": 1e999})", "not valid JSON"},
        {"UnsignedBeyondTheField", R"({"seed": 18446744073709551615})",
         "world: seed: value 18446744073709551615 out of range 0..4294967295"},
        {"IntegerBeyond64Bits", R"({"seed": 18446744073709551616})",
         "world: seed: value out of range 0..4294967295"},
        {"NegativeBeyond64Bits", R"({"dongle": {"startupDelayMs": -9223372036854775809}})",
         "world: dongle.startupDelayMs: value out of range 0..18446744073709551615"},
        {"StartupErrorZero", R"({"dongle": {"startupError": 0}})",
         "dongle.startupError: value 0 out of range 1..2147483647"},
        {"UnknownAction", R"({"events": [{"at": 1, "action": "explode"}]})",
         R"(events[0].action: expected "unplugDongle", "unplugUsb", "suspend", "resume", "hostError" or )"
         R"("disconnect", got "explode")"},
        {"EventWithoutAction", R"({"events": [{"at": 1}]})", "events[0].action: required"},
        {"DisconnectWithoutAddress", R"({"events": [{"action": "disconnect"}]})",
         "events[0].address: required"},
        {"DisconnectReasonBeyondAByte",
         R"({"events": [{"action": "disconnect", "address": "12:34:56:78:9A:BC", "code": 256}]})",
         "events[0].code: value 256 out of range 0..255"},
        {"HostErrorBeyondItsText", R"({"events": [{"action": "hostError", "code": 2147483648}]})",
         "events[0].code: value 2147483648 out of range 0..2147483647"},
        {"EventAddressTypeUnknown",
         R"({"events": [{"action": "disconnect", "address": "12:34:56:78:9A:BC", "addressType": "bogus"}]})",
         R"(events[0].addressType: expected "public" or "random", got "bogus")"},
        {"UnknownWorldMember", R"({"peer": []})", "world: peer: unknown member"},
        {"UnknownDongleMember", R"({"dongle": {"prsent": false}})", "world: dongle.prsent: unknown member"},
        {"UnknownPeerMember", R"({"peers": [{"address": "12:34:56:78:9A:BC", "bond": true}]})",
         "peers[0].bond: unknown member"},
        {"UnknownRssiMember", R"({"peers": [{"address": "12:34:56:78:9A:BC", "rssi": {"jiter": 2}}]})",
         "peers[0].rssi.jiter: unknown member"},
        {"UnknownCharacteristicMember",
         R"({"peers": [{"address": "12:34:56:78:9A:BC", "gatt": [{"uuid": "1800",
                 "characteristics": [{"uuid": "2A00", "txt": "x"}]}]}]})",
         "peers[0].gatt[0].characteristics[0].txt: unknown member"},
        {"UnknownDescriptorMember", R"({"peers": [{"address": "12:34:56:78:9A:BC", "gatt": [{"uuid": "1800",
                 "characteristics": [{"uuid": "2A00", "descriptors": [{"uuid": "2901", "txt": "x"}]}]}]}]})",
         "characteristics[0].descriptors[0].txt: unknown member"},
        {"UnknownEventMember", R"({"events": [{"action": "suspend", "when": 5}]})",
         "events[0].when: unknown member"},
        {"ServiceWithoutUuid", R"({"peers": [{"address": "12:34:56:78:9A:BC", "gatt": [{}]}]})",
         "peers[0].gatt[0].uuid: required"},
        {"UnplugWithoutPath", R"({"events": [{"at": 1, "action": "unplugUsb"}]})", "interfacePath"},
        {"UnplugOfNoDevice", R"({"usbDevices": [{"interfacePath": "mouse"}],
                 "events": [{"action": "unplugUsb", "interfacePath": "mouse"},
                            {"action": "unplugUsb", "interfacePath": "keyboard"}]})",
         R"(world: events[1].interfacePath: no entry of usbDevices has "keyboard")"},
        {"PeersGivenTwice",
         R"({"peers": [{"address": "12:34:56:78:9A:BC"}], "peers": [{"address": "12:34:56:78:9A:BD"}]})",
         "world: peers: given twice"},
        {"SeedGivenTwice", R"({"seed": 1, "searchDurationMs": 0, "seed": 2})", "world: seed: given twice"},
        {"PeerMemberGivenTwice", R"({"peers": [{"address": "12:34:56:78:9A:BC", "name": "a"},
                 {"address": "12:34:56:78:9A:BD", "name": "b", "name": "c"}]})",
         "world: peers[1].name: given twice"},
        {"RssiMemberGivenTwice",
         R"({"peers": [{"address": "12:34:56:78:9A:BC", "rssi": {"mean": -50, "jitter": 2, "mean": -60}}]})",
         "world: peers[0].rssi.mean: given twice"},
        {"DescriptorMemberGivenTwice",
         R"({"peers": [{"address": "12:34:56:78:9A:BC", "gatt": [{"uuid": "1800",
                 "characteristics": [{"uuid": "2A00", "descriptors": [{"uuid": "2901"},
                                                                      {"uuid": "2902", "uuid": "2901"}]}]}]}]})",
         "world: peers[0].gatt[0].characteristics[0].descriptors[1].uuid: given twice"},
        {"UnknownKind", R"({"peers": [{"address": "12:34:56:78:9A:BC", "kind": "heartrate"}]})",
         R"(world: peers[0].kind: expected "heartRate", "battery", "weightScale", "bodyComposition", )"
         R"("cycling", "running", "environment", "phone", "securityTag", "bloodPressure", "glucose", )"
         R"("thermometer", "tyrePressure", "vehicleInformation", "keyboard", "mouse", "steeringWheel" or )"
         R"("remote", got "heartrate")"},
        {"EmptyKind", R"({"peers": [{"address": "12:34:56:78:9A:BC", "kind": ""}]})",
         R"(peers[0].kind: expected "heartRate", )"},
        {"UsbWithoutPath", R"({"usbDevices": [{"service": "x"}]})", "usbDevices[0].interfacePath"},
        {"UnknownSecurity", R"({"peers": [{"address": "12:34:56:78:9A:BC", "security": "bonded"}]})",
         "peers[0].security"},
        {"UnknownPasskey", R"({"peers": [{"address": "12:34:56:78:9A:BC", "passkey": "maybe"}]})",
         "peers[0].passkey"},
        {"PasskeyInputNotBool", R"({"peers": [{"address": "12:34:56:78:9A:BC", "passkeyInput": "yes"}]})",
         "peers[0].passkeyInput"},
        {"UnknownCharacteristicSecurity",
         R"({"peers": [{"address": "12:34:56:78:9A:BC", "gatt": [{"uuid":
                 "1800", "characteristics": [{"uuid": "2A00", "security": "strong"}]}]}]})",
         "peers[0].gatt[0].characteristics[0].security"},
        {"UnknownProperty", R"({"peers": [{"address": "12:34:56:78:9A:BC", "gatt": [{"uuid": "1800",
                 "characteristics": [{"uuid": "2A00", "properties": ["sing"]}]}]}]})",
         "unknown property"},
        {"ValueBeyond512Bytes",
         R"({"peers": [{"address": "12:34:56:78:9A:BC", "gatt": [{"uuid": "1800",
                 "characteristics": [{"uuid": "2A00", "text": ")" +
             std::string(513, 'x') + R"("}]}]}]})",
         "at most 512 bytes"},
    };
    for (const auto& [name, json, errorMentions] : worlds) {
        std::string error;
        EXPECT_FALSE(WorldParser::parse(json, &error)) << name;
        EXPECT_NE(error.find(errorMentions), std::string::npos) << name << ": " << error;
        EXPECT_EQ(error.find("json.exception"), std::string::npos) << name << ": " << error;
    }
}

TEST(WorldParser, ReadsEveryPeerField) {
    const auto world = WorldParser::parse(R"({"seed": 9, "searchDurationMs": 4000, "peers": [{
        "kind": "keyboard", "address": "12:34:56:78:9A:BC", "addressType": "random", "name": "Ключ",
        "txPower": -4, "appearance": 961, "slaveInterval": {"min": 6, "max": 24}, "adFlags": 5,
        "advIntervalMs": 250, "rssi": {"mean": -70, "jitter": 2}, "connectable": false, "bonded": true,
        "security": "encryption", "passkeyInput": true, "passkey": "none",
        "gatt": [{"uuid": "1812", "characteristics": [{"uuid": "2A4D", "security": "mitm"},
                                                        {"uuid": "2A4A", "value": "", "text": "x"}]}]},
        {"address": "12:34:56:78:9A:BC", "name": null}]})",
                                          nullptr);
    ASSERT_TRUE(world);
    EXPECT_EQ(world->seed, 9u);
    EXPECT_EQ(world->searchDurationMs, 4000u);
    ASSERT_EQ(world->peers.size(), 2u);
    const PeerDescription& peer = world->peers[0];
    EXPECT_EQ(peer.kind, "keyboard");
    EXPECT_EQ(std::tuple(peer.address.type, peer.address.nap, peer.address.uap, peer.address.lap),
              std::tuple(1, 0x1234, 0x56, 0x789ABCu));
    EXPECT_EQ(peer.name, "Ключ");
    EXPECT_EQ(peer.txPower, -4);
    EXPECT_EQ(peer.appearance, 961);
    EXPECT_EQ(peer.slaveInterval, (std::pair<uint16_t, uint16_t>{6, 24}));
    EXPECT_EQ(peer.adFlags, 5);
    EXPECT_EQ(peer.advIntervalMs, 250u);
    EXPECT_EQ(peer.rssi.mean, -70);
    EXPECT_EQ(peer.rssi.jitter, 2);
    EXPECT_FALSE(peer.connectable);
    EXPECT_TRUE(peer.bonded);
    EXPECT_EQ(peer.security, PeerSecurity::Encryption);
    EXPECT_TRUE(peer.passkeyInput);
    EXPECT_EQ(peer.passkey, PasskeyBehaviour::None);
    EXPECT_EQ(peer.gatt.at(0).characteristics.at(0).security, PeerSecurity::Mitm);
    EXPECT_FALSE(peer.gatt.at(0).characteristics.at(1).security) << "the peer's own need";
    EXPECT_EQ(peer.gatt.at(0).characteristics.at(1).properties, kPropertyRead);
    EXPECT_TRUE(peer.gatt.at(0).characteristics.at(1).value.empty()) << "an empty value wins over a text";
    const PeerDescription& plain = world->peers[1];
    EXPECT_FALSE(plain.name || plain.txPower || plain.appearance || plain.slaveInterval);
    EXPECT_EQ(plain.security, PeerSecurity::None);
    EXPECT_FALSE(plain.passkeyInput);
    EXPECT_EQ(plain.passkey, PasskeyBehaviour::Right);
}

// Every world in docs/examples and every JSON block of the documentation.
TEST(WorldLoading, DocumentedExamplesLoad) {
    const auto read = [](const std::filesystem::path& path) {
        std::ifstream in(path);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    std::vector<std::pair<std::string, std::string>> examples; // where, world
    for (const auto& entry : std::filesystem::directory_iterator(TINDREL_SOURCE_DIR "/docs/examples")) {
        examples.emplace_back(entry.path(), read(entry.path()));
    }
    const std::regex block("```json\n([^`]*)```");
    for (const char* page : {TINDREL_SOURCE_DIR "/docs/worlds.md", TINDREL_SOURCE_DIR "/README.md"}) {
        const std::string text = read(page);
        for (std::sregex_iterator it(text.begin(), text.end(), block), end; it != end; ++it) {
            examples.emplace_back(page, (*it)[1]);
        }
    }
    for (const auto& [where, json] : examples) {
        std::string error;
        EXPECT_TRUE(loadWorldJson(json, &error)) << where << ": " << error;
    }
    EXPECT_GE(examples.size(), 4u);
}

TEST(WorldLoading, AFolderNamedAsTheWorldFileIsSaidToBeOne) {
    const std::filesystem::path folder =
        std::filesystem::path(::testing::TempDir()) / "veyrasim-world-folder";
    std::filesystem::create_directories(folder);
    std::string error;
    EXPECT_FALSE(loadWorldFile(folder.string(), &error));
    EXPECT_EQ(error, "cannot read world file " + folder.string() + ": it is a folder");
    std::filesystem::remove(folder);
}

TEST(WorldLoading, ReplacesTheWorldAndItsClockOrKeepsItWithAClearError) {
    std::string error;
    ASSERT_TRUE(loadWorldJson(R"({"dongle": {"driver": false}})", &error));
    advance(5000);
    EXPECT_FALSE(loadWorldJson(R"({"dongle": {"driver": 1}})", &error));
    EXPECT_EQ(presentUsbDevices().at(0).service, "") << "the malformed world changed nothing";
    EXPECT_EQ(now(), 5000u);
    EXPECT_FALSE(loadWorldFile("/nonexistent/world.json", &error));
    EXPECT_NE(error.find("/nonexistent/world.json"), std::string::npos);
    const std::string path = ::testing::TempDir() + "veyrasim-env-world.json";
    std::ofstream(path) << R"({"dongle": {"present": false}})";
    ::setenv("TINDREL_SIM_WORLD", path.c_str(), 1);
    EXPECT_TRUE(loadDefaultWorld(&error)) << error;
    EXPECT_TRUE(presentUsbDevices().empty()) << "the environment names the default world";
    EXPECT_EQ(now(), 0u) << "the clock starts again";
    ::unsetenv("TINDREL_SIM_WORLD");
    EXPECT_TRUE(loadDefaultWorld(&error));
    EXPECT_FALSE(presentUsbDevices().empty());
    std::remove(path.c_str());
}

} // namespace
} // namespace orv::sim
