// Host: the library's log lines (stderr, and the text log file while debug output is on).
#pragma once

#include <ostream>
#include <string>

namespace orv::host {

// Warnings and refusals: always on stderr, copied to the text log file while it is open.
std::ostream& hostLog();
// Trace lines for the text log file only; discarded while no file is open.
std::ostream& debugLog();
// Opens (truncating) the text log file; false when it cannot be opened.
bool openLogFile(const std::string& path);
void closeLogFile();

} // namespace orv::host
