#include "platform/DebugOutput.h"

namespace platform {

// Messages below warning level are off by default.
Q_LOGGING_CATEGORY(lcDebugger, "tindrel.debugger", QtWarningMsg)

void OutputDebugString(const QString& text) {
    if (!lcDebugger().isDebugEnabled())
        return;
    const QStringView line = text.endsWith(QLatin1Char('\n')) ? QStringView(text).chopped(1) : text;
    qCDebug(lcDebugger).noquote() << line;
}

} // namespace platform
