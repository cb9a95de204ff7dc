#include "../HostHarness.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace orv::host::test {
namespace {

using Bytes = std::vector<uint8_t>;

const std::string kStrap = "00:1A:7D:DA:71:01";
// The heart-rate sensor's own database: 3 Device Name, 6 Measurement with 7 its configuration,
// 9 Body Sensor Location, 11 Control Point.
constexpr uint16_t kDeviceName = 3;
constexpr uint16_t kMeasurement = 6;
constexpr uint16_t kMeasurementConfiguration = 7;
constexpr uint16_t kLocation = 9;
constexpr uint16_t kControlPoint = 11;

nlohmann::json strapWorld(uint32_t seed = 7) {
    nlohmann::json world = basicWorld();
    world["seed"] = seed;
    world["peers"] = nlohmann::json::array(
        {{{"kind", "heartRate"}, {"address", kStrap}, {"name", "Test Strap"}, {"advIntervalMs", 100}}});
    return world;
}

// A measurement as a client reads it, written here independently of the sensor's encoder.
struct Decoded {
    uint8_t flags = 0;
    uint16_t rate = 0;
    std::optional<uint16_t> energy;
    std::vector<uint16_t> rr;
};

std::optional<Decoded> decode(const Bytes& value) {
    if (value.size() < 2) {
        return std::nullopt;
    }
    Decoded out;
    out.flags = value[0];
    size_t at = 1;
    const auto take16 = [&value, &at]() -> std::optional<uint16_t> {
        if (at + 2 > value.size()) {
            return std::nullopt;
        }
        const auto v = static_cast<uint16_t>(value[at] | value[at + 1] << 8);
        at += 2;
        return v;
    };
    if ((out.flags & 0x01) != 0) {
        const auto rate = take16();
        if (!rate) {
            return std::nullopt;
        }
        out.rate = *rate;
    } else {
        out.rate = value[at++];
    }
    if ((out.flags & 0x08) != 0) {
        out.energy = take16();
        if (!out.energy) {
            return std::nullopt;
        }
    }
    if ((out.flags & 0x10) != 0) {
        if ((value.size() - at) % 2 != 0) {
            return std::nullopt;
        }
        while (const auto interval = take16()) {
            out.rr.push_back(*interval);
        }
    }
    if (at != value.size()) {
        return std::nullopt; // bytes no flag accounts for
    }
    return out;
}

struct Notification {
    uint32_t cid;
    uint16_t handle;
    Bytes value;
    uint64_t at;
};

class StrapSession {
public:
    explicit StrapSession(HostHarness& harness) : m_harness(harness) {}

    uint32_t open(uint32_t seed = 7) {
        m_harness.load(strapWorld(seed));
        m_harness.startHost();
        cid = m_harness.connect(kStrap);
        return cid;
    }
    // Writes the configuration and waits for its result; returns the result's status.
    uint16_t configure(uint32_t value, uint16_t configHandle = kMeasurementConfiguration) {
        EXPECT_EQ(OrvBleClientWriteConfiguration(cid, configHandle, 0, value), ORV_BLE_OK);
        return writeResult(configHandle);
    }
    uint16_t writeControlPoint(const Bytes& value) {
        EXPECT_EQ(OrvBleClientWriteCfmCharByHandle(cid, kControlPoint, 0, static_cast<uint8_t>(value.size()),
                                                   value.data()),
                  ORV_BLE_OK);
        return writeResult(kControlPoint);
    }
    std::optional<Bytes> read(uint16_t handle) {
        EXPECT_EQ(OrvBleClientReadCharByHandle(cid, handle), ORV_BLE_OK);
        const auto event = m_harness.advanceUntil(BLE_EVT_CHAR_READ);
        std::optional<Bytes> value;
        if (event) {
            const auto& record = *reinterpret_cast<const BleHostReadEvent*>(event->lParam);
            if (record.status == 0) {
                value = Bytes(record.value, record.value + record.length);
            }
        }
        keepNotifications();
        return value;
    }
    // Advances ms and returns the notifications posted meanwhile (with those already queued).
    std::vector<Notification> advance(uint64_t ms) {
        orv::sim::advance(ms);
        keepNotifications();
        return std::exchange(m_notifications, {});
    }
    // Moves the queued notifications aside and gives every queued record back.
    void keepNotifications() {
        const auto events = m_harness.takeEvents();
        for (const PostedEvent& event : events) {
            if (event.code == BLE_EVT_NOTIFICATION) {
                const auto& record = *reinterpret_cast<const BleHostNotificationEvent*>(event.lParam);
                m_notifications.push_back(
                    {record.cid, record.handle, Bytes(record.value, record.value + record.length), event.at});
            }
        }
        m_harness.freeAll(events);
    }

    uint32_t cid = 0;

private:
    uint16_t writeResult(uint16_t handle) {
        const auto event = m_harness.advanceUntil(BLE_EVT_CHAR_WRITTEN);
        uint16_t status = 0xFFFF;
        if (event) {
            const auto& record = *reinterpret_cast<const BleHostWriteEvent*>(event->lParam);
            EXPECT_EQ(record.handle, handle);
            status = record.status;
        }
        keepNotifications();
        return status;
    }

    HostHarness& m_harness;
    std::vector<Notification> m_notifications;
};

std::vector<Decoded> decodeAll(const std::vector<Notification>& notifications) {
    std::vector<Decoded> out;
    for (const Notification& n : notifications) {
        const auto decoded = decode(n.value);
        EXPECT_TRUE(decoded) << "malformed measurement of " << n.value.size() << " bytes";
        if (decoded) {
            out.push_back(*decoded);
        }
    }
    return out;
}

class HeartRateSensor : public ::testing::Test {
protected:
    void SetUp() override { session.open(); }
    void TearDown() override {
        session.keepNotifications();
        EXPECT_EQ(orv::sim::liveRecordCount(), 0u);
    }

    HostHarness harness;
    StrapSession session{harness};
};

TEST_F(HeartRateSensor, ServesGenericAccessAndHeartRate) {
    ASSERT_EQ(OrvBleClientDiscoverDatabase(session.cid), ORV_BLE_OK);
    const auto event = harness.advanceUntil(BLE_EVT_DATABASE_DISCOVERED);
    ASSERT_TRUE(event);
    const auto& db = *reinterpret_cast<const BleHostDatabaseEvent*>(event->lParam);
    ASSERT_EQ(db.serviceCount, 2);
    EXPECT_EQ(db.services[0].uuid.uuid16, 0x1800);
    ASSERT_EQ(db.services[0].characteristicCount, 1);
    EXPECT_EQ(db.services[0].characteristics[0].uuid.uuid16, 0x2A00);
    EXPECT_EQ(db.services[0].characteristics[0].valueHandle, kDeviceName);
    const BleHostServiceRecord& heartRate = db.services[1];
    EXPECT_EQ(heartRate.uuid.uuid16, 0x180D);
    ASSERT_EQ(heartRate.characteristicCount, 3);
    const BleHostCharacteristicRecord* c = heartRate.characteristics;
    EXPECT_EQ(c[0].uuid.uuid16, 0x2A37);
    EXPECT_EQ(c[0].valueHandle, kMeasurement);
    EXPECT_EQ(c[0].properties, 0x10);
    ASSERT_EQ(c[0].descriptorCount, 1);
    EXPECT_EQ(c[0].descriptors[0].uuid.uuid16, 0x2902);
    EXPECT_EQ(c[0].descriptors[0].handle, kMeasurementConfiguration);
    EXPECT_EQ(c[1].uuid.uuid16, 0x2A38);
    EXPECT_EQ(c[1].valueHandle, kLocation);
    EXPECT_EQ(c[1].properties, 0x02);
    EXPECT_EQ(c[2].uuid.uuid16, 0x2A39);
    EXPECT_EQ(c[2].valueHandle, kControlPoint);
    EXPECT_EQ(c[2].properties, 0x08);
}

TEST_F(HeartRateSensor, DeviceNameIsThePeersName) {
    EXPECT_EQ(session.read(kDeviceName), (Bytes{'T', 'e', 's', 't', ' ', 'S', 't', 'r', 'a', 'p'}));
}

TEST_F(HeartRateSensor, BodySensorLocationIsChest) {
    EXPECT_EQ(session.read(kLocation), Bytes{0x01});
}

TEST_F(HeartRateSensor, NothingIsNotifiedBeforeSubscribing) {
    EXPECT_TRUE(session.advance(10000).empty());
}

TEST_F(HeartRateSensor, SubscribedSensorNotifiesOnceASecond) {
    ASSERT_EQ(session.configure(1), 0);
    const auto notifications = session.advance(5000);
    ASSERT_EQ(notifications.size(), 5u);
    for (size_t i = 0; i < notifications.size(); ++i) {
        EXPECT_EQ(notifications[i].cid, session.cid);
        EXPECT_EQ(notifications[i].handle, kMeasurement);
        if (i > 0) {
            EXPECT_EQ(notifications[i].at - notifications[i - 1].at, 1000u);
        }
    }
    std::set<Bytes> values;
    std::set<uint8_t> flags;
    for (const Notification& n : notifications) {
        values.insert(n.value);
        flags.insert(n.value.at(0));
    }
    EXPECT_GT(values.size(), 1u);
    EXPECT_GT(flags.size(), 1u) << "every measurement in the same form";
}

TEST_F(HeartRateSensor, MeasurementsArePlausibleAndFitOneNotification) {
    ASSERT_EQ(session.configure(1), 0);
    const auto notifications = session.advance(300000);
    ASSERT_EQ(notifications.size(), 300u);
    for (const Notification& n : notifications) {
        EXPECT_LE(n.value.size(), 20u);
    }
    for (const Decoded& m : decodeAll(notifications)) {
        EXPECT_GE(m.rate, 45);
        EXPECT_LE(m.rate, 200);
        EXPECT_NE(m.flags & 0x06, 0x02) << "contact detected without the contact feature";
        EXPECT_EQ(m.flags & 0xE0, 0) << "reserved flag bits";
        const double beat = 60.0 * 1024.0 / m.rate;
        for (const uint16_t interval : m.rr) {
            EXPECT_NEAR(interval, beat, beat * 0.04) << "RR interval at " << m.rate << " bpm";
        }
        if (m.rr.size() > 1) {
            EXPECT_LE(m.rr.size(), static_cast<size_t>(m.rate / 60 + 1)) << "more beats than a second holds";
        }
    }
}

TEST_F(HeartRateSensor, MeasurementsCoverEveryForm) {
    ASSERT_EQ(session.configure(1), 0);
    const auto measurements = decodeAll(session.advance(120000));
    const auto any = [&measurements](auto predicate) {
        return std::any_of(measurements.begin(), measurements.end(), predicate);
    };
    EXPECT_TRUE(any([](const Decoded& m) { return (m.flags & 0x01) == 0; })) << "8-bit rate";
    EXPECT_TRUE(any([](const Decoded& m) { return (m.flags & 0x01) != 0; })) << "16-bit rate";
    EXPECT_TRUE(any([](const Decoded& m) { return (m.flags & 0x06) == 0x00; })) << "no contact feature";
    EXPECT_TRUE(any([](const Decoded& m) { return (m.flags & 0x06) == 0x04; })) << "no contact";
    EXPECT_TRUE(any([](const Decoded& m) { return (m.flags & 0x06) == 0x06; })) << "in contact";
    EXPECT_TRUE(any([](const Decoded& m) { return m.energy.has_value(); })) << "energy";
    EXPECT_TRUE(any([](const Decoded& m) { return !m.energy.has_value(); })) << "no energy";
    EXPECT_TRUE(any([](const Decoded& m) { return m.rr.empty(); })) << "no RR";
    EXPECT_TRUE(any([](const Decoded& m) { return m.rr.size() == 1; })) << "one RR";
    EXPECT_TRUE(any([](const Decoded& m) { return m.rr.size() > 1; })) << "several RR";
}

TEST_F(HeartRateSensor, EnergyExpendedGrowsOverTime) {
    ASSERT_EQ(session.configure(1), 0);
    std::vector<uint16_t> energies;
    for (const Decoded& m : decodeAll(session.advance(300000))) {
        if (m.energy) {
            energies.push_back(*m.energy);
        }
    }
    ASSERT_GE(energies.size(), 2u);
    EXPECT_TRUE(std::is_sorted(energies.begin(), energies.end()));
    EXPECT_GT(energies.back(), energies.front());
}

TEST_F(HeartRateSensor, UnsubscribingStopsTheMeasurements) {
    ASSERT_EQ(session.configure(1), 0);
    EXPECT_EQ(session.advance(3000).size(), 3u);
    ASSERT_EQ(session.configure(0), 0);
    session.advance(0); // measurements sent before the configuration arrived
    EXPECT_TRUE(session.advance(10000).empty());
}

TEST_F(HeartRateSensor, ResubscribingStartsAgain) {
    ASSERT_EQ(session.configure(1), 0);
    session.advance(2000);
    ASSERT_EQ(session.configure(0), 0);
    session.advance(0);
    ASSERT_EQ(session.configure(1), 0);
    EXPECT_EQ(session.advance(3000).size(), 3u);
}

TEST_F(HeartRateSensor, ResetEnergyExpendedStartsTheCountAgain) {
    ASSERT_EQ(session.configure(1), 0);
    std::optional<uint16_t> before;
    for (const Decoded& m : decodeAll(session.advance(120000))) {
        before = m.energy.value_or(before.value_or(0));
    }
    ASSERT_TRUE(before);
    ASSERT_GE(*before, 5) << "too little energy to see a reset";
    const uint64_t resetAt = orv::sim::now();
    ASSERT_EQ(session.writeControlPoint({0x01}), 0);
    std::optional<Notification> after;
    for (const Notification& n : session.advance(30000)) {
        if (!after && n.at > resetAt && decode(n.value)->energy) {
            after = n;
        }
    }
    ASSERT_TRUE(after);
    const uint16_t energy = *decode(after->value)->energy;
    EXPECT_LT(energy, *before);
    EXPECT_LE(energy, (after->at - resetAt) / 1000 + 1) << "at most about 1 kJ per second since the reset";
}

TEST_F(HeartRateSensor, ForcedAttErrorAnswersBeforeTheControlPoint) {
    ASSERT_TRUE(orv::sim::setPeerAttError(kStrap, kControlPoint, 0x81));
    EXPECT_EQ(session.writeControlPoint({0x01}), 0x81);
    ASSERT_TRUE(orv::sim::setPeerAttError(kStrap, kControlPoint, 0));
    EXPECT_EQ(session.writeControlPoint({0x01}), 0);
}

class HeartRateControlPoint : public HeartRateSensor, public ::testing::WithParamInterface<Bytes> {};

TEST_P(HeartRateControlPoint, UnknownOpCodeIsRefusedWith0x80) {
    EXPECT_EQ(session.writeControlPoint(GetParam()), 0x80);
}

INSTANTIATE_TEST_SUITE_P(OpCodes, HeartRateControlPoint,
                         ::testing::Values(Bytes{0x00}, Bytes{0x02}, Bytes{0xFF}, Bytes{0x00, 0x01}));

// How the link goes away.
enum class Drop { ByPeer, ByHost };

class HeartRateLinkDrop : public HeartRateSensor, public ::testing::WithParamInterface<Drop> {};

TEST_P(HeartRateLinkDrop, EndsTheSubscription) {
    ASSERT_EQ(session.configure(1), 0);
    session.advance(2500);
    if (GetParam() == Drop::ByPeer) {
        ASSERT_TRUE(orv::sim::disconnectPeer(kStrap, 0x13));
    } else {
        ASSERT_EQ(OrvBleHostDisconnect(session.cid), ORV_BLE_OK);
    }
    ASSERT_TRUE(harness.advanceUntil(BLE_EVT_DISCONNECTED, 1000));
    session.keepNotifications();
    // Back within the same second: a measurement timer left running would notify the new link.
    session.cid = harness.connect(kStrap);
    EXPECT_TRUE(session.advance(5000).empty());
    EXPECT_EQ(session.read(kMeasurementConfiguration), (Bytes{0x00, 0x00}));
}

INSTANTIATE_TEST_SUITE_P(Ways, HeartRateLinkDrop, ::testing::Values(Drop::ByPeer, Drop::ByHost),
                         [](const auto& info) { return info.param == Drop::ByPeer ? "ByPeer" : "ByHost"; });

TEST(HeartRateSensorWorld, WorldDatabaseIsServedAndFollowed) {
    HostHarness harness;
    nlohmann::json world = strapWorld();
    world["peers"][0]["gatt"] = {
        {{"uuid", "180F"},
         {"characteristics", {{{"uuid", "2A19"}, {"properties", {"read"}}, {"value", "64"}}}}},
        {{"uuid", "180D"}, {"characteristics", {{{"uuid", "2A37"}, {"properties", {"notify"}}}}}}};
    harness.load(world);
    harness.startHost();
    StrapSession session(harness);
    session.cid = harness.connect(kStrap);
    // 1 Battery (2, 3 level), 4 Heart Rate (5, 6 measurement, 7 configuration).
    EXPECT_EQ(session.read(3), Bytes{0x64});
    ASSERT_EQ(session.configure(1, 7), 0);
    const auto notifications = session.advance(3000);
    ASSERT_EQ(notifications.size(), 3u);
    EXPECT_EQ(notifications[0].handle, 6);
    session.keepNotifications();
}

std::vector<Bytes> firstMeasurements(uint32_t seed) {
    HostHarness harness;
    StrapSession session(harness);
    session.open(seed);
    EXPECT_EQ(session.configure(1), 0);
    std::vector<Bytes> values;
    for (const Notification& n : session.advance(20000)) {
        values.push_back(n.value);
    }
    return values;
}

TEST(HeartRateSensorSeed, SameSeedGivesTheSameMeasurements) {
    const auto first = firstMeasurements(7);
    EXPECT_EQ(first.size(), 20u);
    EXPECT_EQ(firstMeasurements(7), first);
}

TEST(HeartRateSensorSeed, AnotherSeedGivesOtherMeasurements) {
    EXPECT_NE(firstMeasurements(8), firstMeasurements(7));
}

} // namespace
} // namespace orv::host::test
