// The debugger output: off by default, one message per line when its category is on.
#include "platform/DebugOutput.h"
#include "support/DebugOutputRecorder.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(DebugOutput, IsOffUntilALoggingRuleTurnsItOnThenWritesEachTextAsOneLineWithoutItsTrailingNewline) {
    EXPECT_FALSE(lcDebugger().isDebugEnabled());

    DebugOutputRecorder recorder;
    for (const char* text : {"one\n", "two\n\n", "three", ""})
        OutputDebugString(QString::fromLatin1(text));
    EXPECT_EQ(recorder.lines(), (std::vector<QString>{"one", "two\n", "three", ""}));
}

} // namespace
} // namespace platform
