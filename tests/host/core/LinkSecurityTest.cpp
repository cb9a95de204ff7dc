#include "../HostHarness.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace orv::host::test {
namespace {

using nlohmann::json;

const char* const kKeyboard = "AA:BB:CC:DD:EE:02";

// The keyboard's handles: 3 Device Name (read, write); 6 HID Information (read); 8 Report (read, notify;
// needs man-in-the-middle protection) with 9 its configuration; 11 HID Control Point (write without
// response). Everything else needs encryption.
json keyboardWorld(const std::string& passkey = "right", bool bonded = false) {
    json world = basicWorld();
    world["peers"] = json::array(
        {{{"address", kKeyboard},
          {"name", "Keys"},
          {"appearance", 961},
          {"security", "encryption"},
          {"passkeyInput", true},
          {"passkey", passkey},
          {"bonded", bonded},
          {"gatt",
           {{{"uuid", "1800"},
             {"characteristics", {{{"uuid", "2A00"}, {"properties", {"read", "write"}}, {"text", "Keys"}}}}},
            {{"uuid", "1812"},
             {"characteristics",
              {{{"uuid", "2A4A"}, {"properties", {"read"}}, {"value", "11 01 00 02"}},
               {{"uuid", "2A4D"}, {"properties", {"read", "notify"}}, {"value", "00"}, {"security", "mitm"}},
               {{"uuid", "2A4C"}, {"properties", {"writeWithoutResponse"}}, {"value", "00"}}}}}}}}});
    return world;
}

template <typename Record> const Record& record(const PostedEvent& event) {
    return *reinterpret_cast<const Record*>(event.lParam);
}

bool isSecurityCode(uint32_t code) {
    return code == BLE_EVT_JUST_WORKS_REQUEST || code == BLE_EVT_SECURITY_RESULT ||
           code == BLE_EVT_ENCRYPTION_RESULT || code == BLE_EVT_PASSKEY_DISPLAY;
}

class LinkSecurityTest : public ::testing::Test {
protected:
    void start(const json& world, const char* peer = kKeyboard) {
        harness.load(world);
        harness.startHost();
        cid = harness.connect(peer);
        address = addressOf(peer);
    }

    // Codes of the pairing and encryption events posted so far, in order.
    std::vector<uint32_t> securityCodes() const {
        std::vector<uint32_t> codes;
        for (const PostedEvent& event : HostHarness::posted) {
            if (isSecurityCode(event.code)) {
                codes.push_back(event.code);
            }
        }
        return codes;
    }

    // Asks for encryption and answers the Just Works question; the events stay queued.
    void pairJustWorks(int bond = 1) {
        ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
        ASSERT_TRUE(harness.advanceUntil(BLE_EVT_JUST_WORKS_REQUEST));
        ASSERT_EQ(OrvBleHostJustWorksResult(address, 1, bond), ORV_BLE_OK);
        ASSERT_TRUE(harness.advanceUntil(BLE_EVT_SECURITY_RESULT));
        orv::sim::advance(1000);
    }

    uint16_t securityResult() const {
        const auto events = harness.eventsWithCode(BLE_EVT_SECURITY_RESULT);
        EXPECT_EQ(events.size(), 1u);
        return events.empty() ? 0xFFFF : record<BleHostSecurityEvent>(events.back()).result;
    }

    std::vector<BleHostPairedDevice> bonds() const {
        uint16_t count = 0;
        BleHostPairedDevice* array = nullptr;
        EXPECT_EQ(OrvBleHostGetPairedDeviceList(&count, &array), 1);
        std::vector<BleHostPairedDevice> out(array, array + count);
        OrvBleHostFreePairedDeviceList(array);
        return out;
    }

    void TearDown() override { harness.freeAll(harness.takeEvents()); }

    HostHarness harness;
    uint32_t cid = 0;
    BleTypedAddress address{};
};

TEST_F(LinkSecurityTest, JustWorksAsksThenReportsSecurityThenEncryption) {
    start(keyboardWorld());
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
    EXPECT_TRUE(HostHarness::posted.empty()) << "nothing is answered inside the call";
    const auto question = harness.advanceUntil(BLE_EVT_JUST_WORKS_REQUEST);
    ASSERT_TRUE(question);
    EXPECT_EQ(record<BleHostJustWorksEvent>(*question).address.lap, address.lap);
    ASSERT_EQ(OrvBleHostJustWorksResult(address, 1, 1), ORV_BLE_OK);
    orv::sim::advance(2000);

    EXPECT_EQ(securityCodes(), (std::vector<uint32_t>{BLE_EVT_JUST_WORKS_REQUEST, BLE_EVT_SECURITY_RESULT,
                                                      BLE_EVT_ENCRYPTION_RESULT}));
    EXPECT_EQ(securityResult(), BLE_SECURITY_SUCCESS);
    const auto& encryption =
        record<BleHostEncryptionEvent>(harness.eventsWithCode(BLE_EVT_ENCRYPTION_RESULT)[0]);
    EXPECT_EQ(encryption.cid, cid);
    EXPECT_EQ(encryption.result, 0);
    EXPECT_EQ(encryption.supplier, BLE_KEY_FROM_PAIRING);
}

TEST_F(LinkSecurityTest, BondingPairingStoresThePeersNameAndAppearance) {
    start(keyboardWorld());
    pairJustWorks(1);
    const auto stored = bonds();
    ASSERT_EQ(stored.size(), 1u);
    EXPECT_EQ(stored[0].address.lap, address.lap);
    EXPECT_STREQ(stored[0].name, "Keys");
    EXPECT_EQ(stored[0].appearance, 961);
}

TEST_F(LinkSecurityTest, PairingWithoutBondingStoresNothing) {
    start(keyboardWorld());
    pairJustWorks(0);
    EXPECT_EQ(securityResult(), BLE_SECURITY_SUCCESS);
    EXPECT_TRUE(bonds().empty());
}

TEST_F(LinkSecurityTest, RefusedJustWorksFailsWithoutEncryption) {
    start(keyboardWorld());
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_JUST_WORKS_REQUEST));
    ASSERT_EQ(OrvBleHostJustWorksResult(address, 0, 1), ORV_BLE_OK);
    orv::sim::advance(2000);
    EXPECT_EQ(securityResult(), BLE_SECURITY_FAILED);
    EXPECT_TRUE(harness.eventsWithCode(BLE_EVT_ENCRYPTION_RESULT).empty());
    EXPECT_TRUE(bonds().empty());
}

struct PasskeyCase {
    const char* behaviour;
    uint16_t result;
    uint64_t minimumDelayMs; // from the answer to the security result
    bool encrypted;
};

class PasskeyPairing : public LinkSecurityTest, public ::testing::WithParamInterface<PasskeyCase> {};

TEST_P(PasskeyPairing, EndsAsTheKeyboardsUserTypes) {
    start(keyboardWorld(GetParam().behaviour));
    ASSERT_EQ(OrvBleHostChangeSecurityLevel(1), ORV_BLE_OK);
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 2), ORV_BLE_OK);
    const auto display = harness.advanceUntil(BLE_EVT_PASSKEY_DISPLAY);
    ASSERT_TRUE(display);
    EXPECT_LE(record<BleHostPasskeyEvent>(*display).passkey, 999999u);
    ASSERT_EQ(OrvBleHostPasskeyNotificationResult(address, 1), ORV_BLE_OK);
    const uint64_t answered = orv::sim::now();
    const auto result = harness.advanceUntil(BLE_EVT_SECURITY_RESULT, 40000);
    ASSERT_TRUE(result);
    EXPECT_GE(result->at - answered, GetParam().minimumDelayMs);
    orv::sim::advance(1000);

    EXPECT_EQ(securityResult(), GetParam().result);
    EXPECT_EQ(harness.eventsWithCode(BLE_EVT_ENCRYPTION_RESULT).size(), GetParam().encrypted ? 1u : 0u);
    EXPECT_TRUE(harness.eventsWithCode(BLE_EVT_JUST_WORKS_REQUEST).empty());
    EXPECT_EQ(bonds().size(), GetParam().encrypted ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Behaviours, PasskeyPairing,
                         ::testing::Values(PasskeyCase{"right", BLE_SECURITY_SUCCESS, 1000, true},
                                           PasskeyCase{"wrong", BLE_SECURITY_FAILED, 1000, false},
                                           PasskeyCase{"none", BLE_SECURITY_TIMEOUT, 30000, false}),
                         [](const auto& info) { return std::string(info.param.behaviour); });

TEST_F(LinkSecurityTest, MitmAskedOfAPeerWithoutKeyboardFallsBackToJustWorks) {
    json world = keyboardWorld();
    world["peers"][0]["passkeyInput"] = false;
    start(world);
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 2), ORV_BLE_OK);
    EXPECT_TRUE(harness.advanceUntil(BLE_EVT_JUST_WORKS_REQUEST));
    EXPECT_TRUE(harness.eventsWithCode(BLE_EVT_PASSKEY_DISPLAY).empty());
}

TEST_F(LinkSecurityTest, BondedPeerIsEncryptedWithoutPairing) {
    start(keyboardWorld("right", true));
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
    orv::sim::advance(2000);
    EXPECT_EQ(securityCodes(), (std::vector<uint32_t>{BLE_EVT_ENCRYPTION_RESULT, BLE_EVT_SECURITY_RESULT}));
    EXPECT_EQ(securityResult(), BLE_SECURITY_SUCCESS);
    EXPECT_EQ(record<BleHostEncryptionEvent>(harness.eventsWithCode(BLE_EVT_ENCRYPTION_RESULT)[0]).supplier,
              BLE_KEY_FROM_BOND);
}

TEST_F(LinkSecurityTest, BondMadeByPairingEncryptsTheNextConnectionWithoutPairing) {
    start(keyboardWorld());
    pairJustWorks(1);
    ASSERT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_DISCONNECTED));
    harness.freeAll(harness.takeEvents());
    cid = harness.connect(kKeyboard);
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
    orv::sim::advance(2000);
    EXPECT_EQ(securityCodes(), (std::vector<uint32_t>{BLE_EVT_ENCRYPTION_RESULT, BLE_EVT_SECURITY_RESULT}));
}

TEST_F(LinkSecurityTest, BondWithoutProtectionIsPairedAgainWhenProtectionIsAsked) {
    start(keyboardWorld("right", true));
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 2), ORV_BLE_OK);
    EXPECT_TRUE(harness.advanceUntil(BLE_EVT_PASSKEY_DISPLAY));
    EXPECT_TRUE(harness.eventsWithCode(BLE_EVT_SECURITY_RESULT).empty());
}

TEST_F(LinkSecurityTest, SecondRequestWhileSecuringIsRefused) {
    start(keyboardWorld());
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
    EXPECT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_E_BUSY);
}

TEST_F(LinkSecurityTest, LinkAlreadySecureIsReportedAgainWithoutPairing) {
    start(keyboardWorld());
    pairJustWorks(1);
    harness.freeAll(harness.takeEvents());
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
    EXPECT_TRUE(HostHarness::posted.empty());
    orv::sim::advance(100);
    EXPECT_EQ(securityCodes(), (std::vector<uint32_t>{BLE_EVT_ENCRYPTION_RESULT, BLE_EVT_SECURITY_RESULT}));
}

TEST_F(LinkSecurityTest, CancelBondingDuringPasskeyEntryFailsThePairingOnce) {
    start(keyboardWorld("none"));
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 2), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_PASSKEY_DISPLAY));
    ASSERT_EQ(OrvBleHostPasskeyNotificationResult(address, 1), ORV_BLE_OK);
    orv::sim::advance(3000);
    ASSERT_EQ(OrvBleHostCancelBonding(address), ORV_BLE_OK);
    EXPECT_TRUE(harness.eventsWithCode(BLE_EVT_SECURITY_RESULT).empty()) << "answered later, not in the call";
    orv::sim::advance(60000);
    EXPECT_EQ(securityResult(), BLE_SECURITY_FAILED) << "and no time-out follows";
    EXPECT_EQ(OrvBleHostCancelBonding(address), ORV_BLE_E_WRONG_STATE);
}

TEST_F(LinkSecurityTest, CancelBondingOnAGoneLinkIsAHarmlessNoOp) {
    start(keyboardWorld());
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_JUST_WORKS_REQUEST));
    ASSERT_TRUE(orv::sim::disconnectPeer(kKeyboard, 0x13));
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_DISCONNECTED));
    EXPECT_EQ(OrvBleHostCancelBonding(address), ORV_BLE_E_NOT_CONNECTED);
    EXPECT_EQ(OrvBleHostJustWorksResult(address, 1, 1), ORV_BLE_E_NOT_CONNECTED);
    orv::sim::advance(60000);
    EXPECT_TRUE(harness.eventsWithCode(BLE_EVT_SECURITY_RESULT).empty());
}

TEST_F(LinkSecurityTest, CancelEndsThePairingUnderWay) {
    start(keyboardWorld());
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_JUST_WORKS_REQUEST));
    ASSERT_EQ(OrvBleHostCancel(), ORV_BLE_OK);
    orv::sim::advance(60000);
    EXPECT_EQ(securityResult(), BLE_SECURITY_FAILED);
    EXPECT_EQ(OrvBleHostJustWorksResult(address, 1, 1), ORV_BLE_E_WRONG_STATE);
}

class InjectedSecurityResult : public LinkSecurityTest, public ::testing::WithParamInterface<uint16_t> {};

TEST_P(InjectedSecurityResult, EndsThePairingWithThatResult) {
    start(keyboardWorld());
    ASSERT_TRUE(orv::sim::injectSecurityResult(kKeyboard, GetParam()));
    pairJustWorks(1);
    EXPECT_EQ(securityResult(), GetParam());
    const bool success = GetParam() == BLE_SECURITY_SUCCESS;
    EXPECT_EQ(harness.eventsWithCode(BLE_EVT_ENCRYPTION_RESULT).size(), success ? 1u : 0u);
    EXPECT_EQ(bonds().size(), success ? 1u : 0u);
}

INSTANTIATE_TEST_SUITE_P(Results, InjectedSecurityResult, ::testing::Values(0, 1, 2, 0x0B));

TEST_F(LinkSecurityTest, InjectedResultIsUsedOnce) {
    start(keyboardWorld());
    ASSERT_TRUE(orv::sim::injectSecurityResult(kKeyboard, 1));
    EXPECT_FALSE(orv::sim::injectSecurityResult("AA:BB:CC:DD:EE:99", 1));
    pairJustWorks(1);
    harness.freeAll(harness.takeEvents());
    pairJustWorks(1);
    EXPECT_EQ(securityResult(), BLE_SECURITY_SUCCESS);
}

struct Refusal {
    const char* name;
    uint16_t handle;
    uint8_t status; // the peer's answer before the link is secure enough
    int level;
};

class SecurityRefusal : public LinkSecurityTest, public ::testing::WithParamInterface<Refusal> {};

// As the application does it: a refused read is sent again at once after asking for encryption.
TEST_P(SecurityRefusal, ReadIsRefusedUntilTheLinkIsSecureThenSucceeds) {
    start(keyboardWorld());
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, GetParam().handle), ORV_BLE_OK);
    const auto refused = harness.advanceUntil(BLE_EVT_CHAR_READ);
    ASSERT_TRUE(refused);
    EXPECT_EQ(record<BleHostReadEvent>(*refused).status, GetParam().status);
    harness.freeAll(harness.takeEvents());

    ASSERT_EQ(OrvBleHostSetEncryption(cid, GetParam().level), ORV_BLE_OK);
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, GetParam().handle), ORV_BLE_OK);
    if (GetParam().level == 2) {
        ASSERT_TRUE(harness.advanceUntil(BLE_EVT_PASSKEY_DISPLAY));
        ASSERT_EQ(OrvBleHostPasskeyNotificationResult(address, 1), ORV_BLE_OK);
    } else {
        ASSERT_TRUE(harness.advanceUntil(BLE_EVT_JUST_WORKS_REQUEST));
        ASSERT_EQ(OrvBleHostJustWorksResult(address, 1, 1), ORV_BLE_OK);
    }
    const auto read = harness.advanceUntil(BLE_EVT_CHAR_READ, 40000);
    ASSERT_TRUE(read);
    EXPECT_EQ(record<BleHostReadEvent>(*read).status, 0);
    EXPECT_FALSE(harness.eventsWithCode(BLE_EVT_ENCRYPTION_RESULT).empty())
        << "the read waited for encryption";
}

INSTANTIATE_TEST_SUITE_P(Attributes, SecurityRefusal,
                         ::testing::Values(Refusal{"EncryptionNeeded", 6, 0x0F, 1},
                                           Refusal{"DeviceNameNeedsEncryption", 3, 0x0F, 1},
                                           Refusal{"ProtectionNeeded", 8, 0x05, 2}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(LinkSecurityTest, JustWorksKeyDoesNotOpenWhatNeedsProtection) {
    start(keyboardWorld());
    pairJustWorks(1);
    harness.freeAll(harness.takeEvents());
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 8), ORV_BLE_OK);
    const auto read = harness.advanceUntil(BLE_EVT_CHAR_READ);
    ASSERT_TRUE(read);
    EXPECT_EQ(record<BleHostReadEvent>(*read).status, 0x05);
}

TEST_F(LinkSecurityTest, RequestsWaitWhileABondedLinkIsEncrypted) {
    start(keyboardWorld("right", true));
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
    const uint8_t name[] = {'K'};
    ASSERT_EQ(OrvBleClientWriteCfmCharByHandle(cid, 3, 0, 1, name), ORV_BLE_OK);
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 6), ORV_BLE_OK);
    orv::sim::advance(2000);
    std::vector<uint32_t> order;
    for (const PostedEvent& event : HostHarness::posted) {
        order.push_back(event.code);
    }
    EXPECT_EQ(order, (std::vector<uint32_t>{BLE_EVT_ENCRYPTION_RESULT, BLE_EVT_SECURITY_RESULT,
                                            BLE_EVT_CHAR_WRITTEN, BLE_EVT_CHAR_READ}));
    EXPECT_EQ(record<BleHostWriteEvent>(harness.eventsWithCode(BLE_EVT_CHAR_WRITTEN)[0]).status, 0);
    EXPECT_EQ(record<BleHostReadEvent>(harness.eventsWithCode(BLE_EVT_CHAR_READ)[0]).status, 0);
}

TEST_F(LinkSecurityTest, WriteCommandWaitsUntilThePairedLinkIsEncrypted) {
    start(keyboardWorld());
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
    const uint8_t suspend = 0x01;
    ASSERT_EQ(OrvBleClientWriteCharByHandle(cid, 0, 11, 1, &suspend), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_JUST_WORKS_REQUEST));
    EXPECT_EQ(orv::sim::peerAttributeValue(kKeyboard, 11), std::vector<uint8_t>{0x00});
    ASSERT_EQ(OrvBleHostJustWorksResult(address, 1, 1), ORV_BLE_OK);
    orv::sim::advance(2000);
    std::vector<uint32_t> order;
    for (const PostedEvent& event : HostHarness::posted) {
        order.push_back(event.code);
    }
    EXPECT_EQ(order, (std::vector<uint32_t>{BLE_EVT_JUST_WORKS_REQUEST, BLE_EVT_SECURITY_RESULT,
                                            BLE_EVT_ENCRYPTION_RESULT, BLE_EVT_CHAR_WRITTEN}));
    EXPECT_EQ(orv::sim::peerAttributeValue(kKeyboard, 11), std::vector<uint8_t>{0x01});
}

TEST_F(LinkSecurityTest, RequestsGoOnAfterAFailedPairing) {
    start(keyboardWorld("wrong"));
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 2), ORV_BLE_OK);
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 6), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_PASSKEY_DISPLAY));
    ASSERT_EQ(OrvBleHostPasskeyNotificationResult(address, 1), ORV_BLE_OK);
    const auto read = harness.advanceUntil(BLE_EVT_CHAR_READ, 40000);
    ASSERT_TRUE(read);
    EXPECT_EQ(record<BleHostReadEvent>(*read).status, 0x0F);
    EXPECT_EQ(securityResult(), BLE_SECURITY_FAILED);
}

TEST_F(LinkSecurityTest, DroppedLinkEndsThePairingWithoutASecurityResult) {
    start(keyboardWorld("none"));
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 2), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_PASSKEY_DISPLAY));
    ASSERT_EQ(OrvBleHostPasskeyNotificationResult(address, 1), ORV_BLE_OK);
    ASSERT_TRUE(orv::sim::disconnectPeer(kKeyboard, 0x13));
    orv::sim::advance(60000);
    EXPECT_FALSE(harness.eventsWithCode(BLE_EVT_DISCONNECTED).empty());
    EXPECT_TRUE(harness.eventsWithCode(BLE_EVT_SECURITY_RESULT).empty());
}

} // namespace
} // namespace orv::host::test
