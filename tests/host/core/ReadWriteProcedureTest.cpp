#include "ProcedureRecorder.h"
#include "host/core/ReadProcedure.h"
#include "host/core/WriteProcedure.h"

#include <gtest/gtest.h>

namespace orv::host::test {
namespace {

TEST(ReadProcedure, ContinuesWithBlobReadsWhileTheValueFillsTheMtu) {
    Recorder recorder;
    ReadProcedure read(recorder, 3);
    EXPECT_EQ(run(read, {Bytes(23, 'a'), Bytes{0x0D, 'b', 'c'}}),
              (std::vector<Bytes>{{0x0A, 3, 0}, {0x0C, 3, 0, 22, 0}}));
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

TEST(ReadProcedure, PeerThatNeverEndsItsValueIsCutAt512Bytes) {
    Recorder recorder;
    ReadProcedure read(recorder, 3);
    Bytes blob(23, 'b');
    blob[0] = 0x0D;
    EXPECT_EQ(run(read, std::vector<Bytes>(30, blob)).size(), 24u) << "23 parts of 22 bytes hold 506 bytes";
    EXPECT_EQ(recorder.read.size(), 512u);
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
