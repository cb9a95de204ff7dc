// Log lines of the profile windows that also go to the debugger output.
#pragma once

#include <QString>

// Writes text to the main window's log (when there is a main window) and, with the same text, to the
// debugger output.
void LogProfileLine(const QString& text);
