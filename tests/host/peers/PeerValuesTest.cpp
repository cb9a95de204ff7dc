// What the simulated bike sensor, foot pod and weather station send, decoded by the application's own
// decoders: a known state gives its reading, and minutes of each built-in peer stay within what its
// simulation keeps.
#include "../HostHarness.h"
#include "gatt/CscCalculator.h"
#include "gatt/CscMeasurement.h"
#include "gatt/EnvironmentValues.h"
#include "gatt/RscMeasurement.h"
#include "host/sim/peers/CyclingSensor.h"
#include "host/sim/peers/EnvironmentStation.h"

#include <QRegularExpression>

#include <cmath>
#include <functional>

namespace orv::host::test {
namespace {

using orv::sim::CyclingSensor;

// The average speed and cadence that the cycling window computes from twenty seconds of a bike sensor
// whose wheel and crank turn at these rates.
std::pair<float, float> ride(double wheelPerSecond, double crankPerSecond) {
    CyclingSensor::Revolutions wheel{3000}, crank{1000};
    CscCalculator calculator;
    std::pair<float, float> averages;
    for (uint64_t ms = 0; ms <= 20000; ms += 1000) {
        wheel.turn(wheelPerSecond, ms, 1000);
        crank.turn(crankPerSecond, ms, 1000);
        const auto measurement = CscMeasurement::decode(CyclingSensor::measurement(wheel, crank));
        if (const auto speed =
                calculator.AddWheel(measurement->wheel->revolutions, measurement->wheel->eventTime))
            averages.first = speed->average;
        if (const auto cadence =
                calculator.AddCrank(measurement->crank->revolutions, measurement->crank->eventTime).cadence)
            averages.second = cadence->average;
    }
    return averages;
}

TEST(PeerValues, AKnownStateGivesItsReading) {
    EXPECT_NEAR(ride(4, 1.5).first, 4 * 1.75 * 3.6, 0.01) << "km/h of a wheel turning 4 times a second";
    EXPECT_NEAR(ride(4, 1.5).second, 90, 0.01) << "rpm of a crank turning 1.5 times a second";
    for (const double heading : {30.0, 200.0}) {
        const auto flux = DecodeMagneticFlux(orv::sim::EnvironmentStation::flux(heading), true);
        EXPECT_NEAR(CompassDirection(flux.value()), heading, 0.3) << "the direction of a board heading there";
    }
}

const std::string kBike = "00:1A:7D:DA:71:07";
const std::string kPod = "00:1A:7D:DA:71:08";
const std::string kStation = "00:1A:7D:DA:71:09";

// Rides that start from counts a ridden bike has, whose distance grows, and whose first cadences
// are those of the pedalling rider.
void checkBike(const std::vector<Bytes>& values) {
    CscCalculator calculator;
    float firstKm = -1;
    size_t cadences = 0;
    for (const Bytes& value : values) {
        const auto measurement = CscMeasurement::decode(value);
        ASSERT_TRUE(measurement && measurement->wheel && measurement->crank);
        const auto speed =
            calculator.AddWheel(measurement->wheel->revolutions, measurement->wheel->eventTime);
        EXPECT_LE(speed.value_or(CscCalculator::Rates{}).instantaneous, 45);
        firstKm = firstKm < 0 ? calculator.TotalDistance() : firstKm;
        const auto cadence =
            calculator.AddCrank(measurement->crank->revolutions, measurement->crank->eventTime);
        if (cadence.cadence && ++cadences <= 10) {
            EXPECT_GE(cadence.cadence->average, 50) << cadences;
            EXPECT_LE(cadence.cadence->average, 115) << cadences;
        }
    }
    EXPECT_GT(firstKm, 1);
    EXPECT_LT(firstKm, 20);
    EXPECT_GT(calculator.TotalDistance(), firstKm + 0.2) << "a few minutes' ride";
}

// Walking and running speeds and cadences; each stride the distance of a step at that speed; the
// total distance growing with the speed.
void checkPod(const std::vector<Bytes>& values) {
    std::optional<uint32_t> firstDistance, lastDistance;
    double metres = 0; // covered since the first distance, one second a value
    for (const Bytes& value : values) {
        const auto measurement = RscMeasurement::decode(value);
        ASSERT_TRUE(measurement);
        const double speed = measurement->speed / 256.0; // m/s
        EXPECT_GE(speed, 1.19);
        EXPECT_LE(speed, 4.2);
        EXPECT_GE(measurement->cadence, measurement->running ? 155 : 100);
        EXPECT_LE(measurement->cadence, measurement->running ? 180 : 120);
        if (measurement->strideLength) {
            EXPECT_NEAR(*measurement->strideLength, speed * 60 / measurement->cadence * 100, 1);
        }
        metres += firstDistance ? speed : 0;
        if (measurement->totalDistance) {
            firstDistance = firstDistance.value_or(*measurement->totalDistance);
            lastDistance = measurement->totalDistance;
        }
    }
    ASSERT_TRUE(firstDistance && lastDistance);
    EXPECT_NEAR((*lastDistance - *firstDistance) / 10.0, metres, metres * 0.05);
}

// The numbers of the text a reading shows, its unit left out.
std::vector<double> shown(const std::optional<EnvironmentReading>& reading) {
    std::vector<double> numbers;
    const QString text = reading ? reading->text.section(QStringLiteral(" ("), 0, 0) : QString();
    for (const QString& number :
         text.split(QRegularExpression(QStringLiteral("[^-.0-9]+")), Qt::SkipEmptyParts))
        numbers.push_back(number.toDouble());
    return numbers;
}

class BuiltInPeers : public HostTest {
protected:
    void open(const std::string& peer, uint32_t seed = 0) {
        nlohmann::json world = builtInWorld();
        world["seed"] = seed != 0 ? seed : world["seed"].get<uint32_t>();
        cid = harness.startConnected(world, peer);
    }
    // Three minutes of what the peer sends after the configuration of its measurement (at 7) is written.
    std::vector<Bytes> notified(const std::string& peer, uint16_t configuration, uint32_t seed = 0) {
        open(peer, seed);
        EXPECT_EQ(harness.configure(cid, 7, configuration), 0);
        std::vector<Bytes> values;
        for (const Received& received : harness.receive(180000))
            values.push_back(received.value);
        return values;
    }
};

TEST_F(BuiltInPeers, TheBikeRidesFromItsCountsAndNotifiesOnlyWhenAsked) {
    checkBike(notified(kBike, 1));
    checkBike(notified(kBike, 1, 1)); // its crank has not turned yet when the first measurement goes
    EXPECT_TRUE(notified(kBike, 2).empty());
}

TEST_F(BuiltInPeers, ThePodStridesAtItsSpeed) {
    checkPod(notified(kPod, 1));
}

TEST_F(BuiltInPeers, TheStationReadsWithinItsWeather) {
    const struct {
        uint16_t handle;
        std::function<std::optional<EnvironmentReading>(const Bytes&)> read;
        std::vector<std::pair<double, double>> ranges;
    } readings[] = {
        {6, PressureReading, {{100800, 101850}}},
        {10, TemperatureReading, {{18, 24}}},
        {16, HumidityReading, {{35, 55}}},
        {24,
         [](const Bytes& v) { return MagneticFluxReading(DecodeMagneticFlux(v, true).value()); },
         {{-0.2, 0.2}, {-0.2, 0.2}, {0.4, 0.4}}},
    };
    open(kStation);
    for (int second = 0; second < 60; ++second, orv::sim::advance(1000)) {
        for (const auto& r : readings) {
            const std::vector<double> numbers = shown(r.read(harness.read(cid, r.handle).value));
            ASSERT_EQ(numbers.size(), r.ranges.size()) << r.handle;
            for (size_t i = 0; i < numbers.size(); ++i) {
                EXPECT_GE(numbers[i], r.ranges[i].first) << r.handle;
                EXPECT_LE(numbers[i], r.ranges[i].second) << r.handle;
            }
        }
    }
}

// A station whose world adds a vendor service: only its calibration (3) refuses what it does not take;
// the vendor's own value (6) takes anything.
TEST_F(BuiltInPeers, TheStationRefusesOnlyWhatItsCalibrationDoesNotTake) {
    const auto gatt = nlohmann::json::parse(R"([
        {"uuid": "181A", "characteristics": [{"uuid": "0000AAA4-4b7e-11e2-8c3a-5f8c2e10b7d4", "properties": ["write"]}]},
        {"uuid": "0000fff0-4b7e-11e2-8c3a-5f8c2e10b7d4",
         "characteristics": [{"uuid": "0000fff1-4b7e-11e2-8c3a-5f8c2e10b7d4", "properties": ["write"]}]}])");
    cid = harness.startConnected(peerWorld("environment", kStation, {{"gatt", gatt}}), kStation);
    const std::tuple<uint16_t, Bytes, uint16_t> writes[] = {{3, {0x01}, 0},    {3, {0x00}, 0},
                                                            {3, {0x02}, 0x13}, {3, {0x01, 0x00}, 0x0D},
                                                            {6, {0x02}, 0},    {6, {0x01, 0x00}, 0}};
    for (const auto& [handle, value, status] : writes)
        EXPECT_EQ(harness.write(cid, handle, value), status) << handle << " " << int(value[0]);
}

} // namespace
} // namespace orv::host::test
