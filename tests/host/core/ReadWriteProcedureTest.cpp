#include "ProcedureRecorder.h"
#include "host/core/ReadProcedure.h"
#include "host/core/WriteProcedure.h"

#include <gtest/gtest.h>

namespace orv::host::test {
namespace {

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
} // namespace orv::host::test
