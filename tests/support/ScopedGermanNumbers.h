// Numbers formatted the German way (decimal comma) in the C library and in Qt for the lifetime of the
// object, so that a test proves that a text is written or read in the C locale whatever the user's.
#pragma once

#include <QLocale>

#include <clocale>
#include <string>

class ScopedGermanNumbers {
public:
    ScopedGermanNumbers() : m_savedC(std::setlocale(LC_NUMERIC, nullptr)) {
        QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
        m_active = std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    }
    ~ScopedGermanNumbers() {
        std::setlocale(LC_NUMERIC, m_savedC.c_str());
        QLocale::setDefault(m_savedQt);
    }
    ScopedGermanNumbers(const ScopedGermanNumbers&) = delete;
    ScopedGermanNumbers& operator=(const ScopedGermanNumbers&) = delete;

    // False when the system lacks the de_DE.UTF-8 locale (scripts/bootstrap generates it).
    bool active() const { return m_active; }

private:
    QLocale m_savedQt;
    std::string m_savedC;
    bool m_active = false;
};
