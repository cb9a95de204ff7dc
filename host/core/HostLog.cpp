// Host: the library's log lines (stderr, and the text log file while debug output is on).
#include "HostLog.h"

#include <fstream>
#include <iostream>
#include <streambuf>

namespace orv::host {
namespace {

// Writes every character to stderr (when asked) and to the open log file.
class TeeBuffer : public std::streambuf {
public:
    explicit TeeBuffer(bool toStderr) : m_toStderr(toStderr) {}
    void setFile(std::ofstream* file) { m_file = file; }

protected:
    int overflow(int c) override {
        if (c == traits_type::eof()) {
            return traits_type::not_eof(c);
        }
        const char ch = static_cast<char>(c);
        xsputn(&ch, 1);
        return c;
    }
    std::streamsize xsputn(const char* text, std::streamsize count) override {
        if (m_toStderr) {
            std::cerr.write(text, count);
        }
        if (m_file != nullptr) {
            m_file->write(text, count);
            if (count > 0 && text[count - 1] == '\n') {
                m_file->flush();
            }
        }
        return count;
    }

private:
    bool m_toStderr;
    std::ofstream* m_file = nullptr;
};

struct Logs {
    std::ofstream file;
    TeeBuffer warnings{true};
    TeeBuffer trace{false};
    std::ostream warningStream{&warnings};
    std::ostream traceStream{&trace};
};

Logs& logs() {
    static Logs instance;
    return instance;
}

} // namespace

std::ostream& hostLog() {
    return logs().warningStream;
}

std::ostream& debugLog() {
    return logs().traceStream;
}

bool openLogFile(const std::string& path) {
    closeLogFile();
    Logs& l = logs();
    l.file.open(path, std::ios::out | std::ios::trunc);
    if (!l.file) {
        return false;
    }
    l.warnings.setFile(&l.file);
    l.trace.setFile(&l.file);
    return true;
}

void closeLogFile() {
    Logs& l = logs();
    l.warnings.setFile(nullptr);
    l.trace.setFile(nullptr);
    if (l.file.is_open()) {
        l.file.close();
    }
}

} // namespace orv::host
