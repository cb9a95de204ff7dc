#include "host/core/DiscoveryProcedure.h"

#include "ProcedureRecorder.h"

#include <gtest/gtest.h>

namespace orv::host {
namespace {

using test::Bytes;
using test::Recorder;
using test::run;

TEST(DiscoveryProcedure, WalksServicesCharacteristicsAndDescriptors) {
    Recorder recorder;
    DiscoveryProcedure discovery(recorder);
    const auto requests =
        run(discovery, {Bytes{0x11, 6, 1, 0, 4, 0, 0x0F, 0x18}, Bytes{0x01, 0x10, 5, 0, 0x0A},
                        Bytes{0x09, 7, 2, 0, 0x12, 3, 0, 0x19, 0x2A}, Bytes{0x01, 0x08, 3, 0, 0x0A},
                        Bytes{0x05, 1, 4, 0, 0x02, 0x29}});
    const std::vector<Bytes> expected{{0x10, 1, 0, 0xFF, 0xFF, 0x00, 0x28},
                                      {0x10, 5, 0, 0xFF, 0xFF, 0x00, 0x28},
                                      {0x08, 1, 0, 4, 0, 0x03, 0x28},
                                      {0x08, 3, 0, 4, 0, 0x03, 0x28},
                                      {0x04, 4, 0, 4, 0}};
    EXPECT_EQ(requests, expected);
    ASSERT_EQ(recorder.outcomes, std::vector<uint16_t>{0});
    ASSERT_EQ(recorder.services.size(), 1u);
    ASSERT_EQ(recorder.services[0].characteristics.size(), 1u);
    EXPECT_EQ(recorder.services[0].characteristics[0].valueHandle, 3);
    ASSERT_EQ(recorder.services[0].characteristics[0].descriptors.size(), 1u);
    EXPECT_EQ(recorder.services[0].characteristics[0].descriptors[0].handle, 4);
}

TEST(DiscoveryProcedure, AResponseWithoutAUsableServiceEndsWithAStatusAndNoServices) {
    const std::tuple<const char*, Bytes, uint16_t> responses[] = {
        {"NoEntries", {0x11, 6}, 0x04},
        {"LengthByteMissing", {0x11}, 0x04},
        {"OddLength", {0x11, 5, 1, 0, 4, 0, 0x0F}, 0x04},
        {"TruncatedEntry", {0x11, 6, 1, 0, 4, 0, 0x0F, 0x18, 9}, 0x04},
        {"EndBeforeStart", {0x11, 6, 4, 0, 1, 0, 0x0F, 0x18}, 0x04},
        {"ZeroStart", {0x11, 6, 0, 0, 1, 0, 0x0F, 0x18}, 0x04},
        {"AttError", {0x01, 0x10, 1, 0, 0x05}, 0x05},
        {"NoServiceAtAll", {0x01, 0x10, 1, 0, 0x0A}, 0}};
    for (const auto& [name, response, status] : responses) {
        Recorder recorder;
        DiscoveryProcedure discovery(recorder);
        discovery.start();
        EXPECT_FALSE(discovery.next(response)) << name;
        EXPECT_EQ(recorder.outcomes, std::vector<uint16_t>{status}) << name;
        EXPECT_TRUE(recorder.services.empty()) << name;
    }
}

TEST(DiscoveryProcedure, RefusesResponsesThatDoNotMoveForward) {
    Recorder recorder;
    DiscoveryProcedure discovery(recorder);
    discovery.start();
    auto next = discovery.next(Bytes{0x11, 6, 1, 0, 4, 0, 0x0F, 0x18});
    ASSERT_TRUE(next);
    EXPECT_FALSE(discovery.next(Bytes{0x11, 6, 1, 0, 4, 0, 0x0F, 0x18})) << "the same service again";
    EXPECT_EQ(recorder.outcomes, std::vector<uint16_t>{0x04});
}

TEST(DiscoveryProcedure, LastServiceEndingAt0xFFFFEndsTheServiceSearch) {
    Recorder recorder;
    DiscoveryProcedure discovery(recorder);
    discovery.start();
    const auto next = discovery.next(Bytes{0x11, 6, 1, 0, 0xFF, 0xFF, 0x0F, 0x18});
    ASSERT_TRUE(next);
    EXPECT_EQ(*next, (Bytes{0x08, 1, 0, 0xFF, 0xFF, 0x03, 0x28}));
}

} // namespace
} // namespace orv::host
