// The debugger output: off by default, one message per line when its category is on.
#include "platform/DebugOutput.h"
#include "support/DebugOutputRecorder.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

TEST(DebugOutput, IsOffUntilALoggingRuleTurnsItOnThenWritesEachTextAsOneLineWithoutItsTrailingNewline) {
    EXPECT_FALSE(lcDebugger().isDebugEnabled());

    DebugOutputRecorder recorder;
    for (const char* text : {"Cur App received = 1\n", "Notification data recieved", "two\n\n", ""})
        OutputDebugString(QString::fromLatin1(text));
    EXPECT_EQ(recorder.lines(), (std::vector<QString>{QStringLiteral("Cur App received = 1"),
                                                      QStringLiteral("Notification data recieved"),
                                                      QStringLiteral("two\n"), QString()}));
}

} // namespace
} // namespace platform
