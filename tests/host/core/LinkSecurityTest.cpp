#include "../HostHarness.h"

#include <gtest/gtest.h>

namespace orv::host::test {
namespace {

using nlohmann::json;

const char* const kKeyboard = "AA:BB:CC:DD:EE:02";

// The keyboard's handles: 3 Device Name (read, write); 6 HID Information (read); 8 Report (read, notify;
// needs man-in-the-middle protection) with 9 its configuration; 11 HID Control Point (write without
// response). Everything else needs encryption.
json keyboardWorld(const json& fields = json::object()) {
    json keyboard = json::parse(R"({"address": "AA:BB:CC:DD:EE:02", "name": "Keys", "appearance": 961,
      "security": "encryption", "passkeyInput": true, "gatt": [
        {"uuid": "1800", "characteristics": [{"uuid": "2A00", "properties": ["read", "write"], "text": "Keys"}]},
        {"uuid": "1812", "characteristics": [
          {"uuid": "2A4A", "properties": ["read"], "value": "11 01 00 02"},
          {"uuid": "2A4D", "properties": ["read", "notify"], "value": "00", "security": "mitm"},
          {"uuid": "2A4C", "properties": ["writeWithoutResponse"], "value": "00"}]}]})");
    keyboard.update(fields);
    json world = basicWorld();
    world["peers"] = json::array({keyboard});
    return world;
}

class LinkSecurityTest : public HostTest {
protected:
    void start(const json& world = keyboardWorld()) { cid = harness.startConnected(world, kKeyboard); }
    uint16_t securityResult() const {
        const auto events = harness.eventsWithCode(BLE_EVT_SECURITY_RESULT);
        EXPECT_EQ(events.size(), 1u);
        return events.empty() ? 0xFFFF : record<BleHostSecurityEvent>(events.back()).result;
    }
    // The names and appearances of the bonds.
    std::vector<std::pair<std::string, uint16_t>> bonds() const {
        std::vector<std::pair<std::string, uint16_t>> out;
        for (const BleHostPairedDevice& device : harness.pairedDevices())
            out.emplace_back(device.name, device.appearance);
        return out;
    }

    const BleTypedAddress address = addressOf(kKeyboard);
};

enum class Answer { Refuse, Accept, AcceptAndBond };

constexpr uint32_t kJustWorks = BLE_EVT_JUST_WORKS_REQUEST, kPasskey = BLE_EVT_PASSKEY_DISPLAY,
                   kSecurity = BLE_EVT_SECURITY_RESULT, kEncrypted = BLE_EVT_ENCRYPTION_RESULT;

// Each pairing on a world of its own: the keyboard's fields that differ, the level asked for, the
// answer, the pairing and encryption events in order and the result.
TEST_F(LinkSecurityTest, PairingEndsAsThePeerAndTheAnswerDecide) {
    constexpr Answer kBond = Answer::AcceptAndBond;
    const std::vector<uint32_t> kPaired{kJustWorks, kSecurity, kEncrypted};
    const std::vector<uint32_t> kPasskeyPaired{kPasskey, kSecurity, kEncrypted};
    const std::tuple<const char*, const char*, int, Answer, std::vector<uint32_t>, uint16_t> sequences[] = {
        {"just works bonding", "{}", 1, kBond, kPaired, 0},
        {"just works without bond", "{}", 1, Answer::Accept, kPaired, 0},
        {"just works refused", "{}", 1, Answer::Refuse, {kJustWorks, kSecurity}, BLE_SECURITY_FAILED},
        {"bonded peer uses its key", R"({"bonded": true})", 1, kBond, {kEncrypted, kSecurity}, 0},
        {"passkey typed right", "{}", 2, kBond, kPasskeyPaired, 0},
        {"passkey typed wrong", R"({"passkey": "wrong"})", 2, kBond, {kPasskey, kSecurity}, 1},
        {"passkey never typed", R"({"passkey": "none"})", 2, kBond, {kPasskey, kSecurity}, 2},
        {"protection without keyboard is just works", R"({"passkeyInput": false})", 2, kBond, kPaired, 0},
        {"unprotected bond pairs again for protection", R"({"bonded": true})", 2, kBond, kPasskeyPaired, 0}};
    for (const auto& [name, keyboard, level, answer, codes, result] : sequences) {
        SCOPED_TRACE(name);
        const json fields = json::parse(keyboard);
        start(keyboardWorld(fields));
        ASSERT_EQ(OrvBleHostSetEncryption(cid, level), ORV_BLE_OK);
        EXPECT_TRUE(HostHarness::posted.empty()) << "nothing is answered inside the call";
        orv::sim::advance(1000);
        const bool accept = answer != Answer::Refuse;
        if (const auto question = harness.eventsWithCode(kJustWorks); !question.empty()) {
            EXPECT_EQ(record<BleHostJustWorksEvent>(question[0]).address.lap, address.lap);
            ASSERT_EQ(OrvBleHostJustWorksResult(address, accept, answer == kBond), ORV_BLE_OK);
        }
        if (const auto display = harness.eventsWithCode(kPasskey); !display.empty()) {
            EXPECT_LE(record<BleHostPasskeyEvent>(display[0]).passkey, 999999u);
            ASSERT_EQ(OrvBleHostPasskeyNotificationResult(address, accept), ORV_BLE_OK);
        }
        const uint64_t answered = orv::sim::now();
        const auto securityEvent = harness.advanceUntil(kSecurity, 40000);
        ASSERT_TRUE(securityEvent);
        EXPECT_GE(securityEvent->at - answered, result == BLE_SECURITY_TIMEOUT ? 30000u : 0u);
        orv::sim::advance(1000);
        EXPECT_EQ(harness.codes(), codes);
        EXPECT_EQ(securityResult(), result);
        const uint16_t supplier = codes[0] == kEncrypted ? BLE_KEY_FROM_BOND : BLE_KEY_FROM_PAIRING;
        for (const PostedEvent& event : harness.eventsWithCode(kEncrypted)) {
            const auto& encryption = record<BleHostEncryptionEvent>(event);
            EXPECT_EQ(std::tuple(encryption.cid, encryption.result, encryption.supplier),
                      std::tuple(cid, 0, supplier));
        }
        const bool bonded = fields.value("bonded", false) || (result == 0 && answer == kBond);
        EXPECT_EQ(bonds(), (bonded ? decltype(bonds()){{"Keys", 961}} : decltype(bonds()){}));
    }
}

TEST_F(LinkSecurityTest, SecureLinkIsReportedAgainAndASecondRequestWhileSecuringIsRefused) {
    start();
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
    EXPECT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_E_BUSY);
    harness.freeQueued();
    ASSERT_TRUE(harness.advanceUntil(kJustWorks));
    ASSERT_EQ(OrvBleHostJustWorksResult(address, 1, 1), ORV_BLE_OK);
    orv::sim::advance(2000);
    harness.freeQueued();
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
    EXPECT_TRUE(HostHarness::posted.empty());
    orv::sim::advance(100);
    EXPECT_EQ(harness.codes(), (std::vector<uint32_t>{kEncrypted, kSecurity}));
}

// A Just Works key gives no protection against a man in the middle: asking for it pairs again, this
// time with a passkey; once protected, the same request is answered at once.
TEST_F(LinkSecurityTest, AnUnprotectedEncryptedLinkPairsAgainWithAPasskeyWhenProtectionIsAsked) {
    start();
    harness.pairJustWorks(cid, kKeyboard);
    harness.freeQueued();
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 2), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(kPasskey));
    ASSERT_EQ(OrvBleHostPasskeyNotificationResult(address, 1), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(kEncrypted, 40000));
    EXPECT_EQ(harness.codes(), (std::vector<uint32_t>{kPasskey, kSecurity, kEncrypted}));
    EXPECT_EQ(securityResult(), BLE_SECURITY_SUCCESS);
    EXPECT_EQ(record<BleHostEncryptionEvent>(harness.eventsWithCode(kEncrypted)[0]).supplier,
              BLE_KEY_FROM_PAIRING);
    harness.freeQueued();
    EXPECT_EQ(harness.read(cid, 8).status, 0) << "the report now needs no more protection";
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 2), ORV_BLE_OK);
    orv::sim::advance(100);
    EXPECT_EQ(harness.codes(), (std::vector<uint32_t>{kEncrypted, kSecurity}));
}

// Counted from the host's last step: the request while the passkey question is left unanswered, the
// answer while the peer's user never types the passkey.
TEST_F(LinkSecurityTest, AnUnfinishedPasskeyPairingEndsAtThirtySeconds) {
    for (const bool answered : {false, true}) {
        SCOPED_TRACE(answered ? "passkey shown, never typed" : "passkey question never answered");
        start(keyboardWorld({{"passkey", "none"}}));
        ASSERT_EQ(OrvBleHostSetEncryption(cid, 2), ORV_BLE_OK);
        uint64_t lastStep = orv::sim::now();
        ASSERT_TRUE(harness.advanceUntil(kPasskey));
        if (answered) {
            ASSERT_EQ(OrvBleHostPasskeyNotificationResult(address, 1), ORV_BLE_OK);
            lastStep = orv::sim::now();
        }
        orv::sim::advanceTo(lastStep + 29999);
        EXPECT_TRUE(harness.eventsWithCode(kSecurity).empty()) << "still open just before 30 s";
        orv::sim::advanceTo(lastStep + 30000);
        EXPECT_EQ(securityResult(), BLE_SECURITY_TIMEOUT);
    }
}

enum class Cancel { Bonding, All, LinkDrop };

class PairingCancelled : public LinkSecurityTest, public ::testing::WithParamInterface<Cancel> {};

// During passkey entry: a cancelled pairing fails once (no time-out follows); a dropped link ends it
// without a security result, and answers for the gone link are refused.
TEST_P(PairingCancelled, EndsOnceWithoutATimeOut) {
    start(keyboardWorld({{"passkey", "none"}}));
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 2), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(kPasskey));
    ASSERT_EQ(OrvBleHostPasskeyNotificationResult(address, 1), ORV_BLE_OK);
    orv::sim::advance(3000);
    if (GetParam() == Cancel::LinkDrop) {
        ASSERT_TRUE(orv::sim::disconnectPeer(kKeyboard, 0x13));
        ASSERT_TRUE(harness.advanceUntil(BLE_EVT_DISCONNECTED));
        EXPECT_EQ(OrvBleHostCancelBonding(address), ORV_BLE_E_NOT_CONNECTED);
        EXPECT_EQ(OrvBleHostPasskeyNotificationResult(address, 1), ORV_BLE_E_NOT_CONNECTED);
    } else {
        ASSERT_EQ(GetParam() == Cancel::All ? OrvBleHostCancel() : OrvBleHostCancelBonding(address),
                  ORV_BLE_OK);
        EXPECT_TRUE(harness.eventsWithCode(kSecurity).empty()) << "answered later, not in the call";
    }
    orv::sim::advance(60000);
    const auto results = harness.eventsWithCode(kSecurity);
    if (GetParam() == Cancel::LinkDrop) {
        EXPECT_TRUE(results.empty());
        return;
    }
    EXPECT_EQ(securityResult(), BLE_SECURITY_FAILED);
    EXPECT_EQ(OrvBleHostCancelBonding(address), ORV_BLE_E_WRONG_STATE);
    EXPECT_EQ(OrvBleHostPasskeyNotificationResult(address, 1), ORV_BLE_E_WRONG_STATE);
}

INSTANTIATE_TEST_SUITE_P(Ways, PairingCancelled,
                         ::testing::Values(Cancel::Bonding, Cancel::All, Cancel::LinkDrop));

TEST_F(LinkSecurityTest, InjectedSecurityResultEndsThePairingWithItsCodeOnce) {
    start();
    ASSERT_TRUE(orv::sim::injectSecurityResult(kKeyboard, 0x0B));
    EXPECT_FALSE(orv::sim::injectSecurityResult("AA:BB:CC:DD:EE:99", 1));
    harness.pairJustWorks(cid, kKeyboard);
    EXPECT_EQ(securityResult(), 0x0B);
    EXPECT_TRUE(harness.eventsWithCode(kEncrypted).empty());
    EXPECT_TRUE(bonds().empty());
    harness.freeQueued();
    harness.pairJustWorks(cid, kKeyboard);
    EXPECT_EQ(securityResult(), BLE_SECURITY_SUCCESS) << "used once";
}

// As the application does it: a refused read is sent again at once after asking for encryption; it
// waits for the pairing's end, successful or not. Each on a world of its own: the keyboard's fields that
// differ, the handle, the peer's answer before the link is secure enough, the level asked for and the
// answer to the read sent again.
TEST_F(LinkSecurityTest, ARefusedReadIsSentAgainOnceTheLinkIsSecured) {
    const std::tuple<const char*, const char*, uint16_t, uint8_t, int, uint8_t> refusals[] = {
        {"encryption needed", "{}", 6, 0x0F, 1, 0},
        {"protection needed", "{}", 8, 0x05, 2, 0},
        {"just works key gives no protection", "{}", 8, 0x05, 1, 0x05},
        {"failed pairing", R"({"passkey": "wrong"})", 6, 0x0F, 2, 0x0F}};
    for (const auto& [name, keyboard, handle, status, level, after] : refusals) {
        SCOPED_TRACE(name);
        start(keyboardWorld(json::parse(keyboard)));
        EXPECT_EQ(harness.read(cid, handle).status, status);
        ASSERT_EQ(OrvBleHostSetEncryption(cid, level), ORV_BLE_OK);
        ASSERT_EQ(OrvBleClientReadCharByHandle(cid, handle), ORV_BLE_OK);
        if (level == 2) {
            ASSERT_TRUE(harness.advanceUntil(kPasskey));
            ASSERT_EQ(OrvBleHostPasskeyNotificationResult(address, 1), ORV_BLE_OK);
        } else {
            ASSERT_TRUE(harness.advanceUntil(kJustWorks));
            ASSERT_EQ(OrvBleHostJustWorksResult(address, 1, 1), ORV_BLE_OK);
        }
        const auto read = harness.advanceUntil(BLE_EVT_CHAR_READ, 40000);
        ASSERT_TRUE(read);
        EXPECT_EQ(record<BleHostReadEvent>(*read).status, after);
        const auto codes = harness.codes();
        EXPECT_EQ(codes.back(), static_cast<uint32_t>(BLE_EVT_CHAR_READ))
            << "the read waited for the pairing";
        EXPECT_EQ(codes[1], kSecurity);
    }
}

// Requests wait as well: see the refused reads above.
TEST_F(LinkSecurityTest, AWriteCommandWaitsWhileTheLinkIsSecured) {
    start();
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
    const uint8_t suspend = 0x01;
    ASSERT_EQ(OrvBleClientWriteCharByHandle(cid, 0, 11, 1, &suspend), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(kJustWorks));
    ASSERT_EQ(OrvBleHostJustWorksResult(address, 1, 1), ORV_BLE_OK);
    orv::sim::advance(2000);
    EXPECT_EQ(harness.codes(),
              (std::vector<uint32_t>{kJustWorks, kSecurity, kEncrypted, BLE_EVT_CHAR_WRITTEN}));
    EXPECT_EQ(orv::sim::peerAttributeValue(kKeyboard, 11), Bytes{0x01}) << "sent once encrypted";
}

// Before init the same calls are no-ops (see the records' test).
TEST_F(LinkSecurityTest, RefusedCallsAreNeverAnswered) {
    start();
    EXPECT_EQ(OrvBleHostSetEncryption(cid, 0), ORV_BLE_E_INVALID_ARGUMENT);
    EXPECT_EQ(OrvBleHostSetEncryption(cid, 3), ORV_BLE_E_INVALID_ARGUMENT);
    EXPECT_EQ(OrvBleHostSetEncryption(cid + 1, 1), ORV_BLE_E_NOT_CONNECTED);
    EXPECT_EQ(OrvBleHostJustWorksResult(address, 1, 1), ORV_BLE_E_WRONG_STATE);
    EXPECT_EQ(OrvBleHostPasskeyNotificationResult(address, 1), ORV_BLE_E_WRONG_STATE);
    EXPECT_EQ(OrvBleHostJustWorksResult(addressOf("AA:BB:CC:DD:EE:09"), 1, 1), ORV_BLE_E_NOT_CONNECTED);
    EXPECT_EQ(OrvBleHostCancelBonding(address), ORV_BLE_E_WRONG_STATE);
    EXPECT_EQ(OrvBleHostCancel(), ORV_BLE_OK);
    EXPECT_EQ(OrvBleHostChangeSecurityLevel(1), ORV_BLE_OK);
    orv::sim::advance(60000);
    EXPECT_TRUE(HostHarness::posted.empty());
}

} // namespace
} // namespace orv::host::test
