// Records what reaches the debugger output (platform/DebugOutput) while the recorder exists.
#pragma once

#include "platform/DebugOutput.h"

#include <QString>
#include <cstring>
#include <vector>

// Turns the debugger category on with the logging rule a user would set and catches its messages;
// other messages go on to the handler installed before. Destruction clears the rule (and any other
// rule set through QLoggingCategory::setFilterRules) and restores that handler. One at a time.
class DebugOutputRecorder {
public:
    DebugOutputRecorder() : m_previous(qInstallMessageHandler(&DebugOutputRecorder::handle)) {
        s_current = this;
        QLoggingCategory::setFilterRules(QStringLiteral("tindrel.debugger.debug=true"));
    }
    ~DebugOutputRecorder() {
        QLoggingCategory::setFilterRules(QString());
        qInstallMessageHandler(m_previous);
        s_current = nullptr;
    }
    DebugOutputRecorder(const DebugOutputRecorder&) = delete;
    DebugOutputRecorder& operator=(const DebugOutputRecorder&) = delete;

    // Every line written so far, in order.
    const std::vector<QString>& lines() const { return m_lines; }

private:
    static void handle(QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (context.category && std::strcmp(context.category, platform::lcDebugger().categoryName()) == 0)
            s_current->m_lines.push_back(message);
        else
            s_current->m_previous(type, context, message);
    }

    static inline DebugOutputRecorder* s_current = nullptr;
    QtMessageHandler m_previous;
    std::vector<QString> m_lines;
};
