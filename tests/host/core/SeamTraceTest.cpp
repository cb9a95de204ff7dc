#include "../HostHarness.h"
#include "host/core/BtsnoopWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>

namespace orv::host::test {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<uint8_t>;

struct SnoopRecord {
    uint32_t flags;
    uint64_t timestamp;
    Bytes packet;
};

uint64_t bigEndian(const Bytes& bytes, size_t at, int count) {
    uint64_t value = 0;
    for (int i = 0; i < count; ++i) {
        value = value << 8 | bytes.at(at + static_cast<size_t>(i));
    }
    return value;
}

Bytes readFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<SnoopRecord> records(const Bytes& file) {
    std::vector<SnoopRecord> out;
    for (size_t at = 16; at + 24 <= file.size();) {
        const auto length = static_cast<size_t>(bigEndian(file, at + 4, 4));
        SnoopRecord record{static_cast<uint32_t>(bigEndian(file, at + 8, 4)), bigEndian(file, at + 16, 8),
                           Bytes(file.begin() + static_cast<long>(at + 24),
                                 file.begin() + static_cast<long>(at + 24 + length))};
        out.push_back(record);
        at += 24 + length;
    }
    return out;
}

// The ATT payload of an H4 ACL packet on the ATT channel, or nothing.
std::optional<Bytes> attOf(const SnoopRecord& record) {
    const Bytes& p = record.packet;
    if (p.size() < 9 || p[0] != 0x02 || p[7] != 0x04 || p[8] != 0x00) {
        return std::nullopt;
    }
    return Bytes(p.begin() + 9, p.end());
}

class DebugOutput : public ::testing::Test {
protected:
    void SetUp() override {
        dir = fs::path(::testing::TempDir()) / ("veyrahost-debug-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        orv::sim::setDebugOutputDirectory(dir.string());
        harness.load(gattWorld());
    }
    void TearDown() override {
        harness.freeAll(harness.takeEvents());
        OrvBleHostDeinit();
        orv::sim::setDebugOutputDirectory({});
        fs::remove_all(dir);
    }
    void startWithDebug() {
        const OrvBleHostInitParams params{};
        ASSERT_NE(OrvBleHostInit(1, 0, &params), 0u);
        ASSERT_EQ(OrvBleHostStartWnd(HostHarness::window()), 1);
        orv::sim::advance(1000);
        harness.freeAll(harness.takeEvents());
    }
    fs::path dir;
    HostHarness harness;
};

TEST_F(DebugOutput, CaptureHoldsConnectionEventsAndAttTrafficInOrder) {
    startWithDebug();
    const uint32_t cid = harness.connect("AA:BB:CC:DD:EE:01");
    ASSERT_EQ(OrvBleClientReadCharByHandle(cid, 9), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_CHAR_READ));
    ASSERT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_DISCONNECTED));
    OrvBleHostDeinit();

    const Bytes file = readFile(dir / "veyrahost.btsnoop");
    ASSERT_GE(file.size(), 16u);
    EXPECT_EQ(Bytes(file.begin(), file.begin() + 16),
              (Bytes{'b', 't', 's', 'n', 'o', 'o', 'p', 0, 0, 0, 0, 1, 0, 0, 0x03, 0xEA}));
    const auto all = records(file);
    ASSERT_EQ(all.size(), 4u);
    const Bytes& connected = all[0].packet;
    EXPECT_EQ(all[0].flags, 3u);
    ASSERT_EQ(connected.size(), 22u);
    EXPECT_EQ(Bytes(connected.begin(), connected.begin() + 5), (Bytes{0x04, 0x3E, 19, 0x01, 0x00}));
    EXPECT_EQ(bigEndian(Bytes{connected[6], connected[5]}, 0, 2), cid);
    EXPECT_EQ(Bytes(connected.begin() + 9, connected.begin() + 15),
              (Bytes{0x01, 0xEE, 0xDD, 0xCC, 0xBB, 0xAA}));
    EXPECT_EQ(all[1].flags, 0u);
    EXPECT_EQ(attOf(all[1]), (Bytes{0x0A, 0x09, 0x00}));
    EXPECT_EQ(all[2].flags, 1u);
    EXPECT_EQ(attOf(all[2]), (Bytes{0x0B, 0x01}));
    EXPECT_EQ(all[3].packet,
              (Bytes{0x04, 0x05, 4, 0x00, static_cast<uint8_t>(cid), static_cast<uint8_t>(cid >> 8), 0x16}));
    for (size_t i = 1; i < all.size(); ++i) {
        EXPECT_GE(all[i].timestamp, all[i - 1].timestamp);
    }
    EXPECT_EQ(all[0].timestamp % 1000, 0u) << "virtual milliseconds";

    const Bytes log = readFile(dir / "veyrahost.log");
    const std::string text(log.begin(), log.end());
    EXPECT_NE(text.find("ATT out, link " + std::to_string(cid) + ": 0A 09 00"), std::string::npos) << text;
    EXPECT_NE(text.find("ATT in, link " + std::to_string(cid) + ": 0B 01"), std::string::npos) << text;
}

TEST_F(DebugOutput, CaptureHeaderIsOnDiskAsSoonAsTheHostIsUp) {
    startWithDebug();
    EXPECT_EQ(readFile(dir / "veyrahost.btsnoop").size(), 16u) << "a session killed now leaves a valid capture";
}

TEST(BtsnoopWriter, PduBeyondTheLengthFieldsIsRecordedCutWithItsOriginalLength) {
    const fs::path path = fs::path(::testing::TempDir()) / ("veyrahost-long-" + std::to_string(::getpid()));
    BtsnoopWriter writer;
    ASSERT_TRUE(writer.open(path.string()));
    writer.att(0, 0x40, Bytes(70000, 0x1B), true);
    writer.close();
    const Bytes file = readFile(path);
    fs::remove(path);
    ASSERT_GE(file.size(), 16u + 24u + 9u);
    EXPECT_EQ(bigEndian(file, 16, 4), 70009u) << "original length";
    const uint64_t included = bigEndian(file, 20, 4);
    EXPECT_EQ(included, 9u + 0xFFFBu);
    EXPECT_EQ(file.size(), 16u + 24u + included);
    EXPECT_EQ(file[40 + 3] | file[40 + 4] << 8, 0xFFFF) << "ACL length";
    EXPECT_EQ(file[40 + 5] | file[40 + 6] << 8, 0xFFFB) << "L2CAP length";
}

TEST_F(DebugOutput, PairingPassesThroughTheTraceAndIsLogged) {
    startWithDebug();
    const uint32_t cid = harness.connect("AA:BB:CC:DD:EE:01");
    ASSERT_EQ(OrvBleHostSetEncryption(cid, 1), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_JUST_WORKS_REQUEST));
    ASSERT_EQ(OrvBleHostJustWorksResult(addressOf("AA:BB:CC:DD:EE:01"), 1, 1), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_ENCRYPTION_RESULT));
    OrvBleHostDeinit();

    const Bytes log = readFile(dir / "veyrahost.log");
    const std::string text(log.begin(), log.end());
    const std::string link = "link " + std::to_string(cid);
    EXPECT_NE(text.find("pairing, " + link), std::string::npos) << text;
    EXPECT_NE(text.find("pairing complete, " + link + ", status 0"), std::string::npos) << text;
    EXPECT_NE(text.find("encryption change, " + link + ", status 0"), std::string::npos) << text;
}

TEST_F(DebugOutput, WarningsGoToTheTextLogToo) {
    startWithDebug();
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(OrvBleHostStopDeviceSearch(), ORV_BLE_E_WRONG_STATE);
    OrvBleHostFreeMessageContents(2, 0x1000);
    ::testing::internal::GetCapturedStderr();
    OrvBleHostDeinit();
    const Bytes log = readFile(dir / "veyrahost.log");
    EXPECT_NE(std::string(log.begin(), log.end()).find("was not handed out"), std::string::npos);
}

TEST_F(DebugOutput, NothingIsWrittenWithoutDebug) {
    harness.startHost();
    harness.connect("AA:BB:CC:DD:EE:01");
    EXPECT_FALSE(fs::exists(dir / "veyrahost.btsnoop"));
    EXPECT_FALSE(fs::exists(dir / "veyrahost.log"));
}

TEST_F(DebugOutput, UnwritableDirectoryIsLoggedAndTheHostStillStarts) {
    orv::sim::setDebugOutputDirectory((dir / "missing" / "deeper").string());
    ::testing::internal::CaptureStderr();
    startWithDebug();
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("cannot write"), std::string::npos);
    EXPECT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_OK);
}

} // namespace
} // namespace orv::host::test
