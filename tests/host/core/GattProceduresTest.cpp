// The GATT client procedures on their own: the requests they send for the responses they are fed.
#include "host/core/AttProcedure.h"
#include "host/core/DiscoveryProcedure.h"
#include "host/core/GattResults.h"
#include "host/core/ReadProcedure.h"
#include "host/core/WriteProcedure.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

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

TEST(DiscoveryProcedure, AResponseWithoutAUsableServiceEndsWithAStatusAndNoServices) {
    const Bytes service{0x11, 6, 1, 0, 4, 0, 0x0F, 0x18};
    const std::tuple<const char*, std::vector<Bytes>, uint16_t> responses[] = {
        {"NoEntries", {{0x11, 6}}, 0x04},
        {"LengthByteMissing", {{0x11}}, 0x04},
        {"OddLength", {{0x11, 5, 1, 0, 4, 0, 0x0F}}, 0x04},
        {"TruncatedEntry", {{0x11, 6, 1, 0, 4, 0, 0x0F, 0x18, 9}}, 0x04},
        {"EndBeforeStart", {{0x11, 6, 4, 0, 1, 0, 0x0F, 0x18}}, 0x04},
        {"ZeroStart", {{0x11, 6, 0, 0, 1, 0, 0x0F, 0x18}}, 0x04},
        {"TheSameServiceAgain", {service, service}, 0x04},
        {"AttError", {{0x01, 0x10, 1, 0, 0x05}}, 0x05},
        {"NoServiceAtAll", {{0x01, 0x10, 1, 0, 0x0A}}, 0}};
    for (const auto& [name, response, status] : responses) {
        Recorder recorder;
        DiscoveryProcedure discovery(recorder);
        EXPECT_EQ(run(discovery, response).size(), response.size()) << name;
        EXPECT_EQ(recorder.outcomes, std::vector<uint16_t>{status}) << name;
        EXPECT_TRUE(recorder.services.empty()) << name;
    }
}

TEST(DiscoveryProcedure, LastServiceEndingAt0xFFFFEndsTheServiceSearch) {
    Recorder recorder;
    DiscoveryProcedure discovery(recorder);
    discovery.start();
    const auto next = discovery.next(Bytes{0x11, 6, 1, 0, 0xFF, 0xFF, 0x0F, 0x18});
    ASSERT_TRUE(next);
    EXPECT_EQ(*next, (Bytes{0x08, 1, 0, 0xFF, 0xFF, 0x03, 0x28}));
}

Bytes response(uint8_t opcode, size_t length) {
    Bytes pdu(1 + length, 'v');
    pdu[0] = opcode;
    return pdu;
}

// A part shorter than 22 bytes, a value that is not long, or 512 bytes in all end the blob reads. Parts
// longer than the MTU (the client drops those before) put the total exactly at the cap.
TEST(ReadProcedure, ReadsOnWithBlobsUntilAShortPartTheEndOrTheCap) {
    const std::tuple<const char*, std::vector<Bytes>, size_t, size_t> cases[] = {
        // the peer's responses, the requests the procedure sends, the length of the value it reports
        {"ShortValue", {response(0x0B, 21)}, 1, 21},
        {"FullPartThenShortOne", {response(0x0B, 22), response(0x0D, 21)}, 2, 43},
        {"NotLong", {response(0x0B, 22), Bytes{0x01, 0x0C, 3, 0, 0x0B}}, 2, 22},
        {"OneByteBelowTheCap", {response(0x0B, 489), response(0x0D, 22), response(0x0D, 0)}, 3, 511},
        {"AtTheCap", {response(0x0B, 490), response(0x0D, 22), response(0x0D, 0)}, 2, 512},
        {"NeverEnding", std::vector<Bytes>(30, response(0x0D, 22)), 24, 512}};
    for (const auto& [name, responses, requests, length] : cases) {
        Recorder recorder;
        ReadProcedure read(recorder, 3);
        EXPECT_EQ(run(read, responses).size(), requests) << name;
        EXPECT_EQ(recorder.read.size(), length) << name;
        EXPECT_EQ(recorder.outcomes, std::vector<uint16_t>{0}) << name;
    }
    Recorder recorder;
    ReadProcedure read(recorder, 3);
    EXPECT_EQ(run(read, {response(0x0B, 22)}), (std::vector<Bytes>{{0x0A, 3, 0}, {0x0C, 3, 0, 22, 0}}));
}

TEST(WriteProcedure, WrongEchoCancelsThePreparedWrite) {
    Recorder recorder;
    WriteProcedure write(recorder, 9, 0, Bytes(30, 'w'));
    Bytes echo = write.start();
    echo[0] = 0x17;
    echo.back() = 'X';
    EXPECT_EQ(write.next(echo), (Bytes{0x18, 0}));
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
