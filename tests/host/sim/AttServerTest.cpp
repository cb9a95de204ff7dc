#include "host/sim/AttServer.h"
#include "host/sim/GattText.h"
#include "host/sim/peers/PeerModel.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orv::sim {
namespace {

using Bytes = std::vector<uint8_t>;
using Answer = std::optional<Bytes>;

// Hexadecimal PDUs separated by "|", e.g. "16 06 00 00 00 61 | 18 01".
std::vector<Bytes> pdus(const std::string& text) {
    std::vector<Bytes> out;
    std::stringstream in(text);
    for (std::string part; std::getline(in, part, '|');) {
        out.push_back(*parseHex(part));
    }
    return out;
}

// "-" for no answer.
Answer answer(const std::string& text) {
    return text == "-" ? std::nullopt : Answer(*parseHex(text));
}

GattCharacteristicDescription characteristic(const char* uuid, uint8_t properties, Bytes value,
                                             std::optional<PeerSecurity> security = std::nullopt) {
    GattCharacteristicDescription c;
    c.uuid = *parseUuid(uuid);
    c.properties = properties;
    c.value = std::move(value);
    c.security = security;
    return c;
}

// Records what the server tells it and refuses value writes with refusal.
class RecordingModel : public PeerModel {
public:
    std::vector<GattServiceDescription> baseDatabase() const override { return {}; }
    uint8_t onWrite(uint16_t, std::span<const uint8_t> value) override {
        writes.emplace_back(value.begin(), value.end());
        return refusal;
    }
    void onConfiguration(uint16_t valueHandle, uint16_t configuration) override {
        configurations.emplace_back(valueHandle, configuration);
    }
    uint8_t refusal = 0;
    std::vector<Bytes> writes;
    std::vector<std::pair<uint16_t, uint16_t>> configurations;
};

enum class Link { Plain, Encrypted, Authenticated };

// Handles: 1 Battery (to 6): 3 level (read, notify, 64) with 4 its configuration, 6 a 128-bit vendor
// value (write only). 7 Generic Access (to 9): 9 Device Name (read, write, "Old"). 10 Bond Management
// (to 14): 12 Control Point (write; needs encryption), 14 Feature (read). 15 vendor (to 19): 17 value
// (read, write, write without response, notify; needs man-in-the-middle protection, "ab") with 18 its
// configuration and 19 a user description.
AttServer server(Link link, RecordingModel* model = nullptr) {
    std::vector<GattServiceDescription> services{
        {*parseUuid("180F"),
         {characteristic("2A19", 0x12, {0x64}),
          characteristic("0000fff1-4b7e-11e2-8c3a-5f8c2e10b7d4", 0x08, {})}},
        {*parseUuid("1800"), {characteristic("2A00", 0x0A, {'O', 'l', 'd'})}},
        {*parseUuid("181E"),
         {characteristic("2AA4", 0x08, {}, PeerSecurity::Encryption), characteristic("2AA5", 0x02, {0x10})}},
        {*parseUuid("FFF0"), {characteristic("FFF1", 0x1E, {'a', 'b'}, PeerSecurity::Mitm)}}};
    services[3].characteristics[0].descriptors = {{*parseUuid("2902"), {0, 0}}, {*parseUuid("2901"), {'d'}}};
    AttServer built(buildAttributeTable(services));
    built.setLinkSecurity(link != Link::Plain, link == Link::Authenticated);
    built.setModel(model);
    return built;
}

struct Exchange {
    const char* name;
    Link link;
    const char* requests; // the answer to the last one is checked
    const char* answer;
    uint16_t handle = 0; // and then this attribute's value, when given
    const char* value = "";
    bool reported = false; // the write listener heard of a stored value
};

TEST(AttServer, AnswersEachRequestWithTheExpectedBytes) {
    const Link P = Link::Plain, E = Link::Encrypted, A = Link::Authenticated;
    const Exchange exchanges[] = {
        {"PrimaryServices", P, "10 0100 FFFF 0028", "11 06 0100 0600 0F18 0700 0900 0018 0A00 0E00 1E18"},
        {"NoMoreServices", P, "10 1400 FFFF 0028", "01 10 1400 0A"},
        {"SecondaryGroupTypeUnsupported", P, "10 0100 FFFF 0129", "01 10 0100 10"},
        {"ReversedRange", P, "10 0500 0100 0028", "01 10 0500 01"},
        {"ZeroStart", P, "08 0000 0600 0328", "01 08 0000 01"},
        {"ShortRangedRequest", P, "08 0100", "01 08 0000 04"},
        {"CharacteristicsStopAtAUuidOfAnotherSize", P, "08 0100 0600 0328", "09 07 0200 12 0300 192A"},
        {"ConfigurationDescriptor", P, "04 0400 0400", "05 01 0400 0229"},
        {"Read", P, "0A 0300", "0B 64"},
        {"ReadOfWriteOnly", P, "0A 0600", "01 0A 0600 02"},
        {"ReadOfUnknownHandle", P, "0A 2800", "01 0A 2800 01"},
        {"ReadBlobPastTheEnd", P, "0C 0300 0200", "01 0C 0300 07"},
        {"ReadBlobAtTheEnd", P, "0C 0900 0300", "0D"},
        {"WriteOfReadOnly", P, "12 0300 01", "01 12 0300 03", 3, "64"},
        {"ConfigurationOfWrongLength", P, "12 0400 01", "01 12 0400 0D", 4, "0000"},
        {"Configuration", P, "12 0400 0100", "13", 4, "0100", true},
        {"WriteCommandHasNoAnswer", P, "52 0400 0100", "-", 4, "0100", true},
        {"RefusedWriteCommandHasNoAnswerEither", P, "52 0600 01", "-", 6, ""},
        {"Mtu", P, "02 0002", "03 1700"},
        {"UnknownRequest", P, "20 01", "01 20 0000 06"},
        {"UnknownCommandIgnored", P, "7F 01", "-"},
        {"Confirmation", P, "1E", "-"},
        {"Empty", P, "", "-"},
        {"PreparedWritesApplyOnExecute", P, "16 0600 0000 6162 | 16 0600 0200 63 | 18 01", "19", 6, "616263",
         true},
        {"PreparedWriteIsEchoedAndWaits", P, "16 0600 0200 63", "17 0600 0200 63", 6, ""},
        {"CancelledPreparedWrites", P, "16 0600 0000 61 | 18 00 | 18 01", "19", 6, ""},
        {"PreparedWriteWithAGap", P, "16 0600 0500 61 | 18 01", "01 18 0600 07", 6, ""},
        {"ProtectedReadOnPlainLink", P, "0A 1100", "01 0A 1100 05"},
        {"ProtectedReadOnEncryptedLink", E, "0A 1100", "01 0A 1100 05"},
        {"ProtectedReadOnAuthenticatedLink", A, "0A 1100", "0B 6162"},
        {"ProtectedConfigurationOnPlainLink", P, "12 1200 0100", "01 12 1200 05", 18, "0000"},
        {"ProtectedConfigurationOnAuthenticatedLink", A, "12 1200 0100", "13", 18, "0100", true},
        {"ProtectedReadByType", P, "08 0F00 1300 F1FF", "01 08 1100 05"},
        {"PreparedProtectedConfigurationRefusedAtOnce", P, "16 1200 0000 0100", "01 16 1200 05"},
        {"PreparedConfigurationOfAnotherLength", A, "16 1200 0000 010000 | 18 01", "01 18 1200 0D", 18,
         "0000"},
        {"ControlPointOnPlainLink", P, "12 0C00 03", "01 12 0C00 0F"},
        {"DeleteBondOnEncryptedLink", E, "12 0C00 03", "13", 12, "03", true},
        {"DeleteAllBondsIsNotSupported", E, "12 0C00 01", "01 12 0C00 80", 12, ""},
        {"DeleteOtherBondsIsNotSupported", E, "12 0C00 04", "01 12 0C00 80"},
        {"EmptyControlPointWrite", E, "12 0C00", "01 12 0C00 80"},
        {"PreparedControlPointOpCodeAtExecute", E, "16 0C00 0000 01 | 18 01", "01 18 0C00 80", 12, ""},
        {"OpenFeatureOnPlainLink", P, "0A 0E00", "0B 10"}};
    for (const Exchange& c : exchanges) {
        AttServer peer = server(c.link);
        size_t reported = 0;
        peer.setWriteListener([&](const PeerAttribute&) { ++reported; });
        Answer last;
        for (const Bytes& request : pdus(c.requests))
            last = peer.handle(request);
        EXPECT_EQ(last, answer(c.answer)) << c.name;
        if (c.handle != 0) {
            EXPECT_EQ(peer.attribute(c.handle)->value, *parseHex(c.value)) << c.name;
            EXPECT_EQ(reported, c.reported ? 1u : 0u) << c.name << ": only an accepted write is reported";
        }
    }
}

TEST(AttServer, SilentServerAnswersNoRequestButTakesCommandsAndANewLinkStartsUnencrypted) {
    AttServer peer = server(Link::Authenticated);
    peer.setLinkSecurity(false, true);
    EXPECT_EQ(peer.handle(Bytes{0x0A, 17, 0}), (Bytes{0x01, 0x0A, 17, 0, 0x05}));
    peer.setSilent(true);
    EXPECT_FALSE(peer.handle(Bytes{0x0A, 3, 0}));
    peer.handle(Bytes{0x52, 4, 0, 1, 0});
    EXPECT_EQ(peer.attribute(4)->value, (Bytes{1, 0}));
}

struct ModelCase {
    const char* name;
    uint8_t refusal;
    const char* requests;
    const char* answer;
    const char* value;  // of the value at 17 afterwards
    const char* writes; // the values the model judged
    std::vector<std::pair<uint16_t, uint16_t>> configurations;
};

// The model judges whole values before they are stored and hears of every stored configuration.
TEST(PeerModelHook, SeesWritesBeforeTheyAreStored) {
    const ModelCase cases[] = {
        {"Accepted", 0, "12 1100 0708", "13", "0708", "0708", {}},
        {"Refused", 0x80, "12 1100 07", "01 12 1100 80", "6162", "07", {}},
        {"RefusedCommand", 0x80, "52 1100 07", "-", "6162", "07", {}},
        {"RefusedPreparedJudgedWhole",
         0x81,
         "16 1100 0000 78 | 16 1100 0100 79 | 18 01",
         "01 18 1100 81",
         "6162",
         "7879",
         {}},
        {"Configurations", 0, "12 1200 0100 | 12 1200 0000", "13", "6162", "", {{17, 1}, {17, 0}}},
        {"MalformedConfiguration", 0, "12 1200 01", "01 12 1200 0D", "6162", "", {}},
        {"OtherDescriptor", 0, "12 1300 0100", "01 12 1300 03", "6162", "", {}}};
    for (const ModelCase& c : cases) {
        RecordingModel model;
        model.refusal = c.refusal;
        AttServer peer = server(Link::Authenticated, &model);
        Answer last;
        for (const Bytes& request : pdus(c.requests))
            last = peer.handle(request);
        EXPECT_EQ(last, answer(c.answer)) << c.name;
        EXPECT_EQ(peer.attribute(17)->value, *parseHex(c.value)) << c.name;
        EXPECT_EQ(model.writes, std::string(c.writes).empty() ? std::vector<Bytes>{} : pdus(c.writes))
            << c.name;
        EXPECT_EQ(model.configurations, c.configurations) << c.name;
    }
}

} // namespace
} // namespace orv::sim
