// Debugger output: the stand-in for the desktop platform's debug-string channel.
#pragma once

#include <QLoggingCategory>
#include <QString>

namespace platform {

// The category "tindrel.debugger". Its debug level is off unless a logging rule turns it on, for
// example QT_LOGGING_RULES="tindrel.debugger.debug=true" in the environment; the lines then go
// wherever Qt's messages go (standard error unless a message handler is installed).
Q_DECLARE_LOGGING_CATEGORY(lcDebugger)

// Writes text as one debug message of lcDebugger; a single trailing newline is dropped, since every
// message ends its own line. Nothing is formatted while the category is off.
void OutputDebugString(const QString& text);

} // namespace platform
