#include "host/core/WriteProcedure.h"

#include "ProcedureRecorder.h"

#include <gtest/gtest.h>

namespace orv::host {
namespace {

using test::Bytes;
using test::Recorder;
using test::run;

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
