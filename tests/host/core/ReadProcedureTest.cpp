#include "host/core/ReadProcedure.h"

#include "ProcedureRecorder.h"

#include <gtest/gtest.h>

namespace orv::host {
namespace {

using test::Bytes;
using test::Recorder;
using test::run;

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

TEST(ReadProcedure, PeerThatNeverEndsItsValueIsCutAt512Bytes) {
    Recorder recorder;
    ReadProcedure read(recorder, 3);
    Bytes blob(23, 'b');
    blob[0] = 0x0D;
    const auto requests = run(read, std::vector<Bytes>(30, blob));
    EXPECT_EQ(requests.size(), 24u) << "23 full parts of 22 bytes hold 506 bytes, the 24th passes 512";
    EXPECT_EQ(recorder.read.size(), 512u);
}

} // namespace
} // namespace orv::host
