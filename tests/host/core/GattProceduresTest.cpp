#include "host/core/DiscoveryProcedure.h"
#include "host/core/ReadProcedure.h"
#include "host/core/WriteProcedure.h"

#include <gtest/gtest.h>

namespace orv::host {
namespace {

using Bytes = std::vector<uint8_t>;

struct Recorder : GattResults {
    void databaseDiscovered(uint16_t status, const std::vector<DiscoveredService>& found) override {
        outcomes.push_back(status);
        services = found;
    }
    void readDone(uint16_t status, uint16_t, const std::vector<uint8_t>& value) override {
        outcomes.push_back(status);
        read = value;
    }
    void writeDone(uint16_t status, uint16_t handle) override {
        outcomes.push_back(status);
        written = handle;
    }
    void valueReceived(uint16_t, const std::vector<uint8_t>&, bool) override {}

    std::vector<uint16_t> outcomes;
    std::vector<DiscoveredService> services;
    Bytes read;
    uint16_t written = 0;
};

// Feeds responses to a procedure and returns the requests it made; stops when it finishes.
std::vector<Bytes> run(AttProcedure& procedure, const std::vector<Bytes>& responses) {
    std::vector<Bytes> requests{procedure.start()};
    for (const Bytes& response : responses) {
        auto next = procedure.next(response);
        if (!next) {
            break;
        }
        requests.push_back(*next);
    }
    return requests;
}

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

struct BadResponse {
    const char* name;
    Bytes response;
    uint16_t status;
};

class DiscoveryWithBadServiceResponse : public ::testing::TestWithParam<BadResponse> {};

TEST_P(DiscoveryWithBadServiceResponse, EndsWithAStatusAndNoServices) {
    Recorder recorder;
    DiscoveryProcedure discovery(recorder);
    discovery.start();
    EXPECT_FALSE(discovery.next(GetParam().response));
    EXPECT_EQ(recorder.outcomes, std::vector<uint16_t>{GetParam().status});
    EXPECT_TRUE(recorder.services.empty());
}

INSTANTIATE_TEST_SUITE_P(
    Responses, DiscoveryWithBadServiceResponse,
    ::testing::Values(BadResponse{"NoEntries", {0x11, 6}, 0x04},
                      BadResponse{"LengthByteMissing", {0x11}, 0x04},
                      BadResponse{"OddLength", {0x11, 5, 1, 0, 4, 0, 0x0F}, 0x04},
                      BadResponse{"TruncatedEntry", {0x11, 6, 1, 0, 4, 0, 0x0F, 0x18, 9}, 0x04},
                      BadResponse{"EndBeforeStart", {0x11, 6, 4, 0, 1, 0, 0x0F, 0x18}, 0x04},
                      BadResponse{"ZeroStart", {0x11, 6, 0, 0, 1, 0, 0x0F, 0x18}, 0x04},
                      BadResponse{"AttError", {0x01, 0x10, 1, 0, 0x05}, 0x05}),
    [](const auto& info) { return std::string(info.param.name); });

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

TEST(ReadProcedure, ContinuesWithBlobReadsWhileTheValueFillsTheMtu) {
    Recorder recorder;
    ReadProcedure read(recorder, 3);
    const Bytes full(23, 'a');
    const auto requests = run(read, {full, Bytes{0x0D, 'b', 'c'}});
    EXPECT_EQ(requests, (std::vector<Bytes>{{0x0A, 3, 0}, {0x0C, 3, 0, 22, 0}}));
    EXPECT_EQ(recorder.read.size(), 24u);
    EXPECT_EQ(recorder.outcomes, std::vector<uint16_t>{0});
}

TEST(ReadProcedure, ValueThatIsNotLongEndsTheBlobReads) {
    Recorder recorder;
    ReadProcedure read(recorder, 3);
    run(read, {Bytes(23, 'a'), Bytes{0x01, 0x0C, 3, 0, 0x0B}});
    EXPECT_EQ(recorder.outcomes, std::vector<uint16_t>{0});
    EXPECT_EQ(recorder.read.size(), 22u);
}

TEST(WriteProcedure, WrongEchoCancelsThePreparedWrite) {
    Recorder recorder;
    WriteProcedure write(recorder, 9, 0, Bytes(30, 'w'));
    const auto first = write.start();
    Bytes echo = first;
    echo[0] = 0x17;
    echo.back() = 'X';
    const auto cancel = write.next(echo);
    ASSERT_TRUE(cancel);
    EXPECT_EQ(*cancel, (Bytes{0x18, 0}));
    EXPECT_FALSE(write.next(Bytes{0x19}));
    EXPECT_EQ(recorder.outcomes, std::vector<uint16_t>{0x04});
    EXPECT_EQ(recorder.written, 9);
}

TEST(WriteProcedure, ShortWriteAtAnOffsetIsPrepared) {
    Recorder recorder;
    WriteProcedure write(recorder, 9, 4, Bytes{1, 2});
    EXPECT_EQ(write.start(), (Bytes{0x16, 9, 0, 4, 0, 1, 2}));
    EXPECT_EQ(write.next(Bytes{0x17, 9, 0, 4, 0, 1, 2}), (Bytes{0x18, 1}));
    EXPECT_FALSE(write.next(Bytes{0x19}));
    EXPECT_EQ(recorder.outcomes, std::vector<uint16_t>{0});
}

} // namespace
} // namespace orv::host
