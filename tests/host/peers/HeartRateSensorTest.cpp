#include "../HostHarness.h"
#include "gatt/HeartRate.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace orv::host::test {
namespace {

const std::string kStrap = "00:1A:7D:DA:71:01";
// The strap's own database: 3 Device Name, 6 Measurement with 7 its configuration, 9 Body Sensor
// Location, 11 Control Point.
constexpr uint16_t kMeasurement = 6;
constexpr uint16_t kConfiguration = 7;
constexpr uint16_t kControlPoint = 11;

// The application's decoding of a measurement, its flags byte kept for the checks.
struct Decoded : HeartRateMeasurement {
    uint8_t flags = 0;
};

class HeartRateSensor : public HostTest {
protected:
    void SetUp() override { open(); }
    void open(uint32_t seed = 7) {
        nlohmann::json world = peerWorld("heartRate", kStrap, {{"advIntervalMs", 100}});
        world["seed"] = seed;
        cid = harness.startConnected(world, kStrap);
    }
    uint16_t configure(uint32_t value) { return harness.configure(cid, kConfiguration, value); }
    // Advances ms; the measurements notified meanwhile.
    std::vector<Received> advance(uint64_t ms) {
        auto notifications = harness.receive(ms);
        for (const Received& n : notifications)
            EXPECT_EQ(n.handle, kMeasurement);
        return notifications;
    }
    std::vector<Decoded> measurements(uint64_t ms) {
        std::vector<Decoded> out;
        for (const Received& n : advance(ms)) {
            EXPECT_LE(n.value.size(), 20u);
            Decoded decoded{HeartRateMeasurement::decode(n.value).value_or(HeartRateMeasurement{}),
                            n.value.at(0)};
            const size_t length = (decoded.flags & 0x01 ? 3 : 2) + (decoded.energyExpended ? 2 : 0) +
                                  2 * decoded.rrIntervals.size();
            EXPECT_EQ(n.value.size(), length) << "cut short, or bytes no flag accounts for";
            out.push_back(decoded);
        }
        return out;
    }
};

// Configurations written one after the other, 2 s apart, then the notifications in the next 5 s; each
// sequence starts where the one before left the link.
TEST_F(HeartRateSensor, NotifiesOnceASecondWhileOn) {
    const std::tuple<const char*, std::vector<uint32_t>, size_t> sequences[] = {
        {"never", {}, 0}, {"on", {1}, 5}, {"on then off", {1, 0}, 0}, {"on, off, on", {1, 0, 1}, 5}};
    for (const auto& [name, configurations, count] : sequences) {
        SCOPED_TRACE(name);
        for (const uint32_t value : configurations) {
            ASSERT_EQ(configure(value), 0);
            advance(2000);
        }
        const auto notifications = advance(5000);
        ASSERT_EQ(notifications.size(), count);
        for (size_t i = 1; i < notifications.size(); ++i)
            EXPECT_EQ(notifications[i].at - notifications[i - 1].at, 1000u);
    }
}

// A contact detected without the contact feature (0x02) would show as a fourth contact state.
TEST_F(HeartRateSensor, MeasurementsArePlausibleAndTakeEveryForm) {
    ASSERT_EQ(configure(1), 0);
    const auto all = measurements(300000);
    ASSERT_EQ(all.size(), 300u);
    std::vector<uint16_t> energies;
    std::set<int> rateSizes, contacts, rrCounts, energyPresent;
    for (const Decoded& m : all) {
        EXPECT_GE(m.rate, 45);
        EXPECT_LE(m.rate, 200);
        EXPECT_EQ(m.flags & 0xE0, 0) << "reserved flag bits";
        for (const uint16_t interval : m.rrIntervals) {
            EXPECT_TRUE(interval >= 280 && interval <= 1450)
                << interval << " / 1024 s is no heartbeat of 45-200 bpm";
        }
        EXPECT_LE(m.rrIntervals.size(), std::max<size_t>(1, m.rate / 60 + 1))
            << "more beats than a second holds";
        if (m.energyExpended) {
            energies.push_back(*m.energyExpended);
        }
        rateSizes.insert(m.flags & 0x01);
        contacts.insert(m.flags & 0x06);
        rrCounts.insert(static_cast<int>(std::min<size_t>(m.rrIntervals.size(), 2)));
        energyPresent.insert(m.energyExpended.has_value());
    }
    EXPECT_TRUE(std::is_sorted(energies.begin(), energies.end()));
    ASSERT_GE(energies.size(), 2u);
    EXPECT_GT(energies.back(), energies.front()) << "energy expended grows";
    EXPECT_EQ(rateSizes, (std::set<int>{0x00, 0x01}));
    EXPECT_EQ(contacts, (std::set<int>{0x00, 0x04, 0x06}));
    EXPECT_EQ(rrCounts, (std::set<int>{0, 1, 2}));
    EXPECT_EQ(energyPresent, (std::set<int>{false, true}));
}

TEST_F(HeartRateSensor, ControlPointRefusesWhatItDoesNotKnow) {
    const std::tuple<const char*, uint8_t, Bytes, uint16_t> writes[] = {
        {"reset", 0, {0x01}, 0},   {"forced error first", 0x81, {0x01}, 0x81},
        {"zero", 0, {0x00}, 0x80}, {"two", 0, {0x02}, 0x80},
        {"last", 0, {0xFF}, 0x80}, {"two bytes", 0, {0x00, 0x01}, 0x80}};
    for (const auto& [name, forcedError, value, status] : writes) {
        ASSERT_TRUE(orv::sim::setPeerAttError(kStrap, kControlPoint, forcedError)) << name;
        EXPECT_EQ(harness.write(cid, kControlPoint, value), status) << name;
    }
}

// The host drops the link; the peer dropping it is checked with the body analyser's consent.
TEST_F(HeartRateSensor, ADroppedLinkEndsTheSubscription) {
    ASSERT_EQ(configure(1), 0);
    advance(2500);
    ASSERT_EQ(OrvBleHostDisconnect(cid), ORV_BLE_OK);
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_DISCONNECTED, 1000));
    advance(0);
    // Back within the same second: a measurement timer left running would notify the new link.
    cid = harness.connect(kStrap);
    EXPECT_TRUE(advance(5000).empty());
    EXPECT_EQ(harness.read(cid, kConfiguration).value, (Bytes{0x00, 0x00}));
}

TEST_F(HeartRateSensor, SameSeedGivesTheSameMeasurementsAnotherSeedOthers) {
    auto first20 = [this](uint32_t seed) {
        open(seed);
        EXPECT_EQ(configure(1), 0);
        std::vector<Bytes> values;
        for (const Received& n : advance(20000)) {
            values.push_back(n.value);
        }
        return values;
    };
    const auto seven = first20(7);
    EXPECT_EQ(seven.size(), 20u);
    EXPECT_EQ(first20(7), seven);
    EXPECT_NE(first20(8), seven);
}

} // namespace
} // namespace orv::host::test
