// The debugger output: silent by default, one message per line when its category is on.
#include "platform/DebugOutput.h"
#include "support/DebugOutputRecorder.h"

#include <gtest/gtest.h>

namespace platform {
namespace {

int g_messages = 0;

void CountMessage(QtMsgType, const QMessageLogContext&, const QString&) {
    ++g_messages;
}

TEST(DebugOutput, IsSilentUntilItsCategoryIsOnThenWritesEachTextAsOneLineWithoutItsTrailingNewline) {
    g_messages = 0;
    const QtMessageHandler previous = qInstallMessageHandler(&CountMessage);
    OutputDebugString(QStringLiteral("Indication data received"));
    qInstallMessageHandler(previous);
    EXPECT_EQ(g_messages, 0);

    DebugOutputRecorder recorder;
    for (const char* text : {"Cur App received = 1\n", "Notification data recieved", "two\n\n", ""})
        OutputDebugString(QString::fromLatin1(text));
    EXPECT_EQ(recorder.lines(), (std::vector<QString>{QStringLiteral("Cur App received = 1"),
                                                      QStringLiteral("Notification data recieved"),
                                                      QStringLiteral("two\n"), QString()}));
}

} // namespace
} // namespace platform
