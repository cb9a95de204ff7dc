#include "../HostHarness.h"
#include "host/core/BtsnoopWriter.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

namespace orv::host::test {
namespace {

namespace fs = std::filesystem;

constexpr int64_t kWorldLoadedAt = 1796635815250; // 2026-12-07 09:30:15.250 UTC

// A btsnoop stamp: microseconds since year 0.
uint64_t snoopStamp(int64_t msSince1970) {
    return 0x00DCDDB30F2F8000ULL + static_cast<uint64_t>(msSince1970) * 1000;
}

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

struct SnoopRecord {
    uint32_t flags;
    uint64_t timestamp;
    Bytes packet;
};

std::vector<SnoopRecord> records(const Bytes& file) {
    std::vector<SnoopRecord> out;
    for (size_t at = 16; at + 24 <= file.size(); at += 24 + out.back().packet.size()) {
        const auto length = static_cast<long>(bigEndian(file, at + 4, 4));
        const auto first = file.begin() + static_cast<long>(at + 24);
        out.push_back({static_cast<uint32_t>(bigEndian(file, at + 8, 4)), bigEndian(file, at + 16, 8),
                       Bytes(first, first + length)});
    }
    return out;
}

class DebugOutput : public HostTest {
protected:
    void SetUp() override {
        dir = fs::path(::testing::TempDir()) / ("veyrahost-debug-" + std::to_string(::getpid()));
        fs::remove_all(dir);
        fs::create_directories(dir);
        orv::sim::setDebugOutputDirectory(dir.string());
        harness.load(gattWorld());
    }
    void TearDown() override {
        HostTest::TearDown();
        OrvBleHostDeinit();
        orv::sim::setWallClock(nullptr);
        orv::sim::setDebugOutputDirectory({});
        fs::remove_all(dir);
    }
    std::string log() const {
        const Bytes text = readFile(dir / "veyrahost.log");
        return std::string(text.begin(), text.end());
    }
    // The stamps of the text log's lines that go with capture records, in order.
    std::vector<uint64_t> loggedRecordTimes() const {
        std::vector<uint64_t> times;
        std::istringstream lines(log());
        for (std::string line; std::getline(lines, line);) {
            const size_t end = line.find(" ms] ");
            if (end == std::string::npos) {
                continue;
            }
            const std::string text = line.substr(end + 5);
            if (text.starts_with("ATT ") || text.starts_with("connection complete") ||
                text.starts_with("disconnection complete")) {
                times.push_back(std::stoull(line.substr(1, end - 1)));
            }
        }
        return times;
    }
    fs::path dir;
};

TEST_F(DebugOutput, CaptureHoldsConnectionEventsAndAttTrafficInOrder) {
    harness.startHost(true);
    EXPECT_EQ(readFile(dir / "veyrahost.btsnoop"),
              (Bytes{'b', 't', 's', 'n', 'o', 'o', 'p', 0, 0, 0, 0, 1, 0, 0, 0x03, 0xEA}))
        << "the header is on disk at once: a session killed now leaves a valid capture";
    cid = harness.connect("AA:BB:CC:DD:EE:01");
    EXPECT_EQ(harness.read(cid, 9).status, 0);
    ASSERT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_DISCONNECTED));
    OrvBleHostDeinit();

    const auto all = records(readFile(dir / "veyrahost.btsnoop"));
    ASSERT_EQ(all.size(), 4u);
    const Bytes& connected = all[0].packet;
    EXPECT_EQ(all[0].flags, 3u);
    ASSERT_EQ(connected.size(), 22u);
    EXPECT_EQ(Bytes(connected.begin(), connected.begin() + 5), (Bytes{0x04, 0x3E, 19, 0x01, 0x00}));
    EXPECT_EQ(connected[5] | connected[6] << 8, static_cast<int>(cid));
    EXPECT_EQ(Bytes(connected.begin() + 9, connected.begin() + 15),
              (Bytes{0x01, 0xEE, 0xDD, 0xCC, 0xBB, 0xAA}));
    const uint8_t low = static_cast<uint8_t>(cid), high = static_cast<uint8_t>(0x20 | cid >> 8);
    EXPECT_EQ(all[1].flags, 0u);
    EXPECT_EQ(all[1].packet, (Bytes{0x02, low, high, 7, 0, 3, 0, 0x04, 0x00, 0x0A, 0x09, 0x00}));
    EXPECT_EQ(all[2].flags, 1u);
    EXPECT_EQ(all[2].packet, (Bytes{0x02, low, high, 6, 0, 2, 0, 0x04, 0x00, 0x0B, 0x01}));
    EXPECT_EQ(all[3].packet, (Bytes{0x04, 0x05, 4, 0x00, low, static_cast<uint8_t>(cid >> 8), 0x16}));
    for (size_t i = 1; i < all.size(); ++i) {
        EXPECT_GE(all[i].timestamp, all[i - 1].timestamp);
    }
    EXPECT_EQ(all[0].timestamp % 1000, 0u) << "virtual milliseconds";
    EXPECT_NE(log().find("ATT out, link " + std::to_string(cid) + ": 0A 09 00"), std::string::npos) << log();
    EXPECT_NE(log().find("ATT in, link " + std::to_string(cid) + ": 0B 01"), std::string::npos) << log();
}

// The LE Connection Complete record carries what the link runs at: the longest interval of the range,
// the latency and the supervision timeout, those the host set before connecting or the controller's own.
TEST_F(DebugOutput, ConnectionRecordCarriesTheParametersTheLinkRunsAt) {
    struct Row {
        const char* name;
        std::optional<ConnectionParameters> set;
        Bytes fields; // interval, latency, timeout as the record holds them
    };
    const Row rows[] = {
        {"the controller's own", std::nullopt, {40, 0, 0, 0, 0xF4, 0x01}},
        {"set by the host", ConnectionParameters{6, 12, 4, 300}, {12, 0, 4, 0, 0x2C, 0x01}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        harness.load(gattWorld());
        harness.startHost(true);
        if (row.set) {
            ASSERT_EQ(OrvBleHostSetConnectionParams(0xFFFF, 0xFFFF, row.set->intervalMin, row.set->intervalMax,
                                                    row.set->slaveLatency, row.set->supervisionTimeout),
                      ORV_BLE_OK);
            ASSERT_TRUE(harness.advanceUntil(BLE_EVT_CONN_PARAMS_SET));
        }
        harness.connect("AA:BB:CC:DD:EE:01");
        harness.freeQueued();
        OrvBleHostDeinit();

        const auto all = records(readFile(dir / "veyrahost.btsnoop"));
        ASSERT_EQ(all.size(), 1u);
        const Bytes& connected = all[0].packet;
        ASSERT_EQ(connected.size(), 22u);
        EXPECT_EQ(Bytes(connected.begin() + 15, connected.begin() + 21), row.fields);
    }
}

// Virtual time 0 is dated by the wall clock read when the world is loaded; each record carries that date
// plus the controller's time at which it crossed, the time the text log stamps its line with.
TEST_F(DebugOutput, CaptureIsDatedByTheClockItWasWrittenUnderAndAgreesWithTheLog) {
    orv::sim::setWallClock([] { return kWorldLoadedAt; });
    harness.load(gattWorld());
    harness.startHost(true);
    orv::sim::advance(7000);
    ASSERT_EQ(OrvBleHostConnect(addressOf("AA:BB:CC:DD:EE:01")), ORV_BLE_OK);
    const auto connected = harness.advanceUntil(BLE_EVT_CONNECT_RESULT);
    ASSERT_TRUE(connected);
    cid = record<BleHostConnectEvent>(*connected).cid;
    harness.freeQueued();
    EXPECT_EQ(harness.read(cid, 9).status, 0);
    orv::sim::advance(11000);
    ASSERT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_OK);
    const auto disconnected = harness.advanceUntil(BLE_EVT_DISCONNECTED);
    ASSERT_TRUE(disconnected);
    harness.freeQueued();
    OrvBleHostDeinit();

    const auto all = records(readFile(dir / "veyrahost.btsnoop"));
    ASSERT_EQ(all.size(), 4u);
    EXPECT_EQ(all.front().timestamp, snoopStamp(kWorldLoadedAt + static_cast<int64_t>(connected->at)));
    EXPECT_EQ(all.back().timestamp, snoopStamp(kWorldLoadedAt + static_cast<int64_t>(disconnected->at)));
    const std::vector<uint64_t> logged = loggedRecordTimes();
    ASSERT_EQ(logged.size(), all.size()) << log();
    for (size_t i = 0; i < all.size(); ++i) {
        EXPECT_EQ(all[i].timestamp, snoopStamp(kWorldLoadedAt + static_cast<int64_t>(logged[i]))) << i;
    }
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
    EXPECT_EQ(bigEndian(file, 20, 4), 9u + 0xFFFBu);
    EXPECT_EQ(file.size(), 16u + 24u + 9u + 0xFFFBu);
    EXPECT_EQ(file[40 + 3] | file[40 + 4] << 8, 0xFFFF) << "ACL length";
    EXPECT_EQ(file[40 + 5] | file[40 + 6] << 8, 0xFFFB) << "L2CAP length";
}

TEST_F(DebugOutput, PairingAndWarningsAreLogged) {
    harness.startHost(true);
    cid = harness.connect("AA:BB:CC:DD:EE:01");
    harness.pairJustWorks(cid, "AA:BB:CC:DD:EE:01");
    ::testing::internal::CaptureStderr();
    OrvBleHostFreeMessageContents(2, 0x1000);
    ::testing::internal::GetCapturedStderr();
    OrvBleHostDeinit();
    const std::string link = "link " + std::to_string(cid);
    EXPECT_NE(log().find("pairing, " + link), std::string::npos) << log();
    EXPECT_NE(log().find("pairing complete, " + link + ", status 0"), std::string::npos) << log();
    EXPECT_NE(log().find("encryption change, " + link + ", status 0"), std::string::npos) << log();
    EXPECT_NE(log().find("was not handed out"), std::string::npos) << "warnings go to the text log too";
}

TEST_F(DebugOutput, NothingIsWrittenWithoutDebugAndAnUnwritableDirectoryIsLogged) {
    harness.startHost();
    harness.connect("AA:BB:CC:DD:EE:01");
    EXPECT_FALSE(fs::exists(dir / "veyrahost.btsnoop"));
    EXPECT_FALSE(fs::exists(dir / "veyrahost.log"));
    OrvBleHostDeinit();
    orv::sim::setDebugOutputDirectory((dir / "missing" / "deeper").string());
    ::testing::internal::CaptureStderr();
    harness.startHost(true);
    EXPECT_NE(::testing::internal::GetCapturedStderr().find("cannot write"), std::string::npos);
    EXPECT_EQ(OrvBleHostStartDeviceSearch(0), ORV_BLE_OK) << "the host still starts";
}

} // namespace
} // namespace orv::host::test
